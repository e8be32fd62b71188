#include "output/AnimationFileCopy.h"

#include "document/AnimationDocument.h"
#include "document/SharedFolderNames.h"
#include "imaging/ImageDecoder.h"
#include "output/ClassFiles.h"
#include "output/StagedFolderWrite.h"
#include "output/WebPlayer.h"
#include "platform/EError.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {

// Why the file at path is not published beside the page; empty when it is.
enum class Kind { Picture, Sound };
QString leftOutReason(const QString &path, Kind kind)
{
    if (!QFileInfo::exists(path))
        return QStringLiteral("it does not exist.");
    if (kind == Kind::Sound)
        return IsSunAudio(path) ? QString() : QStringLiteral("it is not a Sun audio file.");
    return ImageDecoder().check(path).isEmpty() ? QString() : QStringLiteral("it is not a picture.");
}

} // namespace

void EnsureFolder(const QString &folder)
{
    if (QFileInfo(folder).isDir())
        return;
    if (folder.isEmpty() || !QDir().mkpath(folder) || !QFileInfo(folder).isDir())
        throw EFileError(QStringLiteral("The folder ") + folder + QStringLiteral(" could not be created."));
}

bool IsSunAudio(const QString &path)
{
    RegularFile file;
    QString problem;
    if (!file.open(path, &problem))
        return false;
    return file.readUpTo(4) == ".snd";
}

QString FileInFolder(const QString &folder, const QString &name)
{
    if (folder.isEmpty())
        return name;
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

int CopyAnimationFiles(const AnimationDocument &document, const QString &folder, bool all, bool player,
                       QStringList *notCopied, const QString &pagePath)
{
    // Also when only the class files are copied: a count of files that went nowhere would
    // report a copy that never happened.
    EnsureFolder(folder);
    StagedFolderWrite write(folder);
    const int count = StageAnimationFiles(write, document, all, player, notCopied, pagePath);
    QString problem;
    if (!write.commit(&problem))
        throw EFileError(problem);
    return count;
}

int StageAnimationFiles(StagedFolderWrite &write, const AnimationDocument &document, bool all, bool player,
                        QStringList *notCopied, const QString &pagePath)
{
    int count = 0;
    QString problem;
    if (all) {
        // The names the element of the FileNameOnly and InFolder forms gives the files; a
        // file that several frames show is copied once.
        const SharedFolderNames names = AssignSharedFolderNames(document, pagePath);
        QSet<QString> handled;
        const auto copyAs = [&](const QString &path, const QString &name, Kind kind) {
            if (name.isEmpty() || handled.contains(name))
                return;
            handled.insert(name);
            const QString reason = leftOutReason(path, kind);
            if (!reason.isEmpty()) {
                if (notCopied)
                    notCopied->append(path + QStringLiteral(" was not copied: ") + reason);
                return;
            }
            if (!write.stageCopy(path, name, &problem))
                throw EFileError(problem);
            ++count;
        };
        const FrameList &frames = document.Frames();
        for (qsizetype i = 0; i < frames.size(); ++i)
            copyAs(frames.at(i).PicturePath, names.frames.at(i), Kind::Picture);
        // A sound or background field that names nothing that exists, or a folder, names no file.
        const auto fileName = [](const QString &path, const QString &name) {
            const QFileInfo info(path);
            return info.exists() && !info.isDir() ? name : QString();
        };
        const QString soundtrack = document.text(TextSetting::Soundtrack);
        copyAs(soundtrack, fileName(soundtrack, names.soundtrack), Kind::Sound);
        const QString background = document.text(TextSetting::BackImage);
        copyAs(background, fileName(background, names.background), Kind::Picture);
    }

    int classFileCount = 0;
    const AppletClassFile *classFiles = AppletClassFiles(&classFileCount);
    QStringList programFiles;
    for (int i = 0; i < classFileCount; ++i)
        programFiles.append(classFiles[i].fileName);
    if (player)
        programFiles.append(QString(WebPlayerFileName));
    for (const QString &name : std::as_const(programFiles)) {
        // A class file that could not be extracted at start-up was reported then.
        if (QFileInfo(ClassFilesFolder() + name).isFile() && write.stageCopy(ClassFilesFolder() + name, name, &problem))
            ++count;
    }
    return count;
}
