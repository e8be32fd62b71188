#include "document/FramePictureFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

bool IsFramePictureFile(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    return suffix.compare(u"gif", Qt::CaseInsensitive) == 0
        || suffix.compare(u"jpg", Qt::CaseInsensitive) == 0
        || suffix.compare(u"jpeg", Qt::CaseInsensitive) == 0;
}

QStringList FramePictureFilesFromUrls(const QList<QUrl> &urls)
{
    QStringList files;
    for (const QUrl &url : urls) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        if (!path.isEmpty() && IsFramePictureFile(path))
            files.append(path);
    }
    return files;
}

QString FolderWithSeparator(const QString &filePath)
{
    const qsizetype slash = filePath.lastIndexOf(u'/');
    return slash < 0 ? QString() : filePath.left(slash + 1);
}

namespace {

// Compares the digit runs starting at a[i] and b[j] by value; advances both past their run.
int compareNumbers(QStringView a, qsizetype &i, QStringView b, qsizetype &j)
{
    // Leading zeros carry no value; the longer remaining run is the larger number.
    while (i < a.size() && a.at(i) == u'0' && i + 1 < a.size() && a.at(i + 1).isDigit())
        ++i;
    while (j < b.size() && b.at(j) == u'0' && j + 1 < b.size() && b.at(j + 1).isDigit())
        ++j;
    qsizetype endA = i;
    qsizetype endB = j;
    while (endA < a.size() && a.at(endA).isDigit())
        ++endA;
    while (endB < b.size() && b.at(endB).isDigit())
        ++endB;
    int result = 0;
    if (endA - i != endB - j)
        result = endA - i < endB - j ? -1 : 1;
    else
        result = a.mid(i, endA - i).compare(b.mid(j, endB - j));
    i = endA;
    j = endB;
    return result;
}

} // namespace

bool NaturalNameLess(const QString &a, const QString &b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        int order = 0;
        if (a.at(i).isDigit() && b.at(j).isDigit()) {
            order = compareNumbers(a, i, b, j);
        } else {
            order = QStringView(a).mid(i, 1).compare(QStringView(b).mid(j, 1), Qt::CaseInsensitive);
            ++i;
            ++j;
        }
        if (order != 0)
            return order < 0;
    }
    if ((a.size() - i) != (b.size() - j))
        return a.size() - i < b.size() - j;
    return a < b;
}

QStringList FramePictureFilesInFolder(const QString &folder)
{
    const QDir dir(folder);
    QStringList names = dir.entryList(QDir::Files | QDir::NoDotAndDotDot);
    names.erase(std::remove_if(names.begin(), names.end(), [](const QString &name) { return !IsFramePictureFile(name); }),
                names.end());
    std::sort(names.begin(), names.end(), NaturalNameLess);
    QStringList paths;
    paths.reserve(names.size());
    for (const QString &name : std::as_const(names))
        paths.append(dir.absoluteFilePath(name));
    return paths;
}

int UnnamedPictureFilesInFolder(const QString &folder)
{
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return 0;
    int count = 0;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name.startsWith('.'))
            continue;
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8.decode(name);
        if (!utf8.hasError() || !IsFramePictureFile(text))
            continue;
        struct stat status = {};
        if (::fstatat(::dirfd(dir), entry->d_name, &status, 0) == 0 && S_ISDIR(status.st_mode))
            continue;
        ++count;
    }
    ::closedir(dir);
    return count;
}
