#include "controls/FileText.h"

#include "controls/PathUtils.h"
#include "platform/EError.h"
#include "platform/Prompts.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

// Windows-1252 bytes 0x80 to 0x9F; the five bytes the code page leaves undefined keep
// their own code, as Windows itself maps them.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString decodeWindows1252(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes.at(i));
        out[i] = (byte >= 0x80 && byte <= 0x9F) ? QChar(kWindows1252High[byte - 0x80]) : QChar(char16_t(byte));
    }
    return text;
}

// Writes bytes to path through a temporary file that replaces the target only when the
// whole content is on disk. Returns the reason of a failure, or an empty text.
QString writeAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

bool removeEntry(const QFileInfo &entry)
{
    return QFile::remove(entry.absoluteFilePath());
}

} // namespace

QString DecodeFileText(const QByteArray &bytes)
{
    // Stateless, so a sequence cut short at the end counts as an error as well.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return decodeWindows1252(bytes);
}

QString ReadFileText(const QString &path, Prompts &prompts)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EFileError(QStringLiteral("Cannot open file \"") + path + QStringLiteral("\". ")
                         + file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        prompts.message(QStringLiteral("An error occurred while reading ") + path
                            + QStringLiteral("\r\n\r\n") + file.errorString(),
                        Prompts::Kind::Error);
        return QString();
    }
    return DecodeFileText(bytes);
}

void WriteFileText(const QString &path, const QString &text)
{
    const QString reason = writeAtomically(path, text.toUtf8());
    if (!reason.isEmpty())
        throw EFileError(QStringLiteral("Cannot write file \"") + path + QStringLiteral("\". ") + reason);
}

bool ExtractResourceToFile(const QString &filePath, const QString &resourceName, Prompts &prompts)
{
    const auto fail = [&](const QString &reason) {
        prompts.message(QStringLiteral("An error occurred while trying to extract ") + resourceName
                            + QStringLiteral(" to ") + filePath + QStringLiteral(".")
                            + QStringLiteral("\r\n\r\n") + reason,
                        Prompts::Kind::Error);
        return false;
    };

    const QString source = resourceName.startsWith(QLatin1Char(':'))
        ? resourceName
        : QStringLiteral(":/") + resourceName;
    QFile resource(source);
    if (resourceName.isEmpty() || !resource.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("The program holds no resource of that name."));
    const QByteArray bytes = resource.readAll();
    if (resource.error() != QFileDevice::NoError)
        return fail(resource.errorString());

    const QString folder = ExtractFileFolder(filePath);
    if (!folder.isEmpty() && !QDir().mkpath(folder))
        return fail(QStringLiteral("The folder ") + folder + QStringLiteral(" could not be created."));

    const QString reason = writeAtomically(filePath, bytes);
    if (!reason.isEmpty())
        return fail(reason);
    return true;
}

bool DeleteFiles(const QString &mask, bool withSubfolders)
{
    const QString folderText = ExtractFileFolder(mask);
    const QString pattern = ExtractFileName(mask);
    const QDir folder(folderText.isEmpty() ? QStringLiteral(".") : folderText);
    bool allRemoved = true;

    if (!pattern.isEmpty()) {
        QDir::Filters filters = QDir::Files | QDir::Hidden | QDir::System;
        if (!IsWindowsFormPath(mask))
            filters |= QDir::CaseSensitive;
        const QFileInfoList matches = folder.entryInfoList({pattern}, filters);
        for (const QFileInfo &entry : matches)
            allRemoved = removeEntry(entry) && allRemoved;
    }

    // Without a folder in the mask this would empty the current folder's whole tree.
    if (!withSubfolders || folderText.isEmpty())
        return allRemoved;

    QStringList subfolders;
    QDirIterator walk(folder.path(), QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks,
                      QDirIterator::Subdirectories);
    while (walk.hasNext())
        subfolders.append(walk.next());
    // A folder sorts before every folder inside it, so walking the sorted list backwards
    // empties inner folders before the folders that hold them.
    subfolders.sort();
    for (qsizetype i = subfolders.size() - 1; i >= 0; --i) {
        const QDir subfolder(subfolders.at(i));
        const QFileInfoList entries = subfolder.entryInfoList(
            QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
        for (const QFileInfo &entry : entries) {
            // Links (also links to folders) go themselves; what they point at stays.
            if (entry.isSymLink() || !entry.isDir())
                allRemoved = removeEntry(entry) && allRemoved;
        }
        allRemoved = QDir().rmdir(subfolders.at(i)) && allRemoved;
    }
    return allRemoved;
}
