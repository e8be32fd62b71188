#include "output/AnimationFileCopy.h"

#include "controls/PathUtils.h"
#include "document/AnimationDocument.h"
#include "output/AppletTagWriter.h"
#include "output/ClassFiles.h"
#include "output/WebPlayer.h"
#include "platform/EError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

constexpr qint64 CopyChunkSize = 256 * 1024;

void ensureFolder(const QString &folder)
{
    if (QFileInfo(folder).isDir())
        return;
    if (folder.isEmpty() || !QDir().mkpath(folder) || !QFileInfo(folder).isDir())
        throw EFileError(QStringLiteral("The folder ") + folder + QStringLiteral(" could not be created."));
}

// A file named by a setting: the text names an existing regular file.
bool namesExistingFile(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

} // namespace

QString FileInFolder(const QString &folder, const QString &name)
{
    if (folder.isEmpty())
        return name;
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

bool ReplaceFileWithCopy(const QString &source, const QString &target)
{
    const QFileInfo sourceInfo(source);
    if (!sourceInfo.isFile())
        return false;
    // Copying a file onto itself (the pictures already lie in the target folder) must not
    // touch it.
    const QFileInfo targetInfo(target);
    if (targetInfo.exists() && sourceInfo.canonicalFilePath() == targetInfo.canonicalFilePath())
        return true;

    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    QByteArray chunk;
    while (!in.atEnd()) {
        chunk = in.read(CopyChunkSize);
        if (in.error() != QFileDevice::NoError || out.write(chunk) != chunk.size()) {
            out.cancelWriting();
            return false;
        }
    }
    if (in.error() != QFileDevice::NoError) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

int CopyAnimationFiles(const AnimationDocument &document, const QString &folder, bool all, bool player)
{
    // Also when only the class files are copied: a count of files that went nowhere would
    // report a copy that never happened.
    ensureFolder(folder);

    int count = 0;
    if (all) {
        for (const AnimationFrame &frame : document.Frames()) {
            // The name the "imagelist" entry of the FileNameOnly form gives the picture.
            ReplaceFileWithCopy(frame.PicturePath, FileInFolder(folder, ExtractFileName(frame.PicturePath)));
            ++count;
        }
        for (const TextSetting setting : {TextSetting::Soundtrack, TextSetting::BackImage}) {
            const QString path = document.text(setting);
            if (!namesExistingFile(path))
                continue;
            // The name the "soundtrack" and "background" parameters give the file.
            ReplaceFileWithCopy(path, FileInFolder(folder, BareFileName(path)));
            ++count;
        }
    }

    int classFileCount = 0;
    const AppletClassFile *classFiles = AppletClassFiles(&classFileCount);
    for (int i = 0; i < classFileCount; ++i) {
        ReplaceFileWithCopy(ClassFilesFolder() + classFiles[i].fileName,
                            FileInFolder(folder, classFiles[i].fileName));
        ++count;
    }
    if (player) {
        ReplaceFileWithCopy(ClassFilesFolder() + WebPlayerFileName, FileInFolder(folder, WebPlayerFileName));
        ++count;
    }
    return count;
}
