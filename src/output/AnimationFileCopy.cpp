#include "output/AnimationFileCopy.h"

#include "controls/PathUtils.h"
#include "document/AnimationDocument.h"
#include "document/SharedFolderNames.h"
#include "output/ClassFiles.h"
#include "output/WebPlayer.h"
#include "platform/EError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

namespace {

constexpr qint64 CopyChunkSize = 256 * 1024;

void ensureFolder(const QString &folder)
{
    if (QFileInfo(folder).isDir())
        return;
    if (folder.isEmpty() || !QDir().mkpath(folder) || !QFileInfo(folder).isDir())
        throw EFileError(QStringLiteral("The folder ") + folder + QStringLiteral(" could not be created."));
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
        // The names the element of the FileNameOnly and InFolder forms gives the files; a
        // file that several frames show is copied once.
        const SharedFolderNames names = AssignSharedFolderNames(document);
        QSet<QString> written;
        const auto copyAs = [&](const QString &path, const QString &name) {
            if (name.isEmpty() || written.contains(name))
                return;
            if (ReplaceFileWithCopy(path, FileInFolder(folder, name))) {
                written.insert(name);
                ++count;
            }
        };
        const FrameList &frames = document.Frames();
        for (qsizetype i = 0; i < frames.size(); ++i)
            copyAs(frames.at(i).PicturePath, names.frames.at(i));
        copyAs(document.text(TextSetting::Soundtrack), names.soundtrack);
        copyAs(document.text(TextSetting::BackImage), names.background);
    }

    int classFileCount = 0;
    const AppletClassFile *classFiles = AppletClassFiles(&classFileCount);
    for (int i = 0; i < classFileCount; ++i) {
        if (ReplaceFileWithCopy(ClassFilesFolder() + classFiles[i].fileName,
                                FileInFolder(folder, classFiles[i].fileName)))
            ++count;
    }
    if (player && ReplaceFileWithCopy(ClassFilesFolder() + WebPlayerFileName, FileInFolder(folder, WebPlayerFileName)))
        ++count;
    return count;
}
