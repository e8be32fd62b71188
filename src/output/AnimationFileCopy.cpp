#include "output/AnimationFileCopy.h"

#include "document/AnimationDocument.h"
#include "document/SharedFolderNames.h"
#include "imaging/BatchDecoder.h"
#include "imaging/ImageDecoder.h"
#include "imaging/LightCopy.h"
#include "output/AppletTagText.h"
#include "output/ClassFiles.h"
#include "output/PreviewPage.h"
#include "output/StagedFolderWrite.h"
#include "output/WebPlayer.h"
#include "platform/EError.h"
#include "platform/RegularFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <optional>
#include <vector>

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
                       QStringList *notCopied, const QString &pagePath, const CopyProgress &progress)
{
    // Also when only the class files are copied: a count of files that went nowhere would
    // report a copy that never happened.
    EnsureFolder(folder);
    StagedFolderWrite write(folder);
    const int count = StageAnimationFiles(write, document, all, player, notCopied, pagePath, progress);
    QString problem;
    if (!write.commit(&problem))
        throw EFileError(problem);
    return count;
}

QSize LightCopyBox(const AnimationDocument &document)
{
    if (!document.ScaleToFit())
        return QSize();
    const std::optional<qint64> width = ParseIntegerText(document.text(TextSetting::JavaWidth));
    const std::optional<qint64> height = ParseIntegerText(document.text(TextSetting::JavaHeight));
    // Larger boxes than any screen need no light copies either.
    const auto usable = [](const std::optional<qint64> &side) { return side && *side > 0 && *side <= 100000; };
    return usable(width) && usable(height) ? QSize(int(*width), int(*height)) : QSize();
}

QString LightCopyOverSourceText(const QString &folder)
{
    return folder + QStringLiteral(" holds the original pictures; write the page to another folder or turn off "
                                   "Scale pictures to fit.");
}

namespace {

// The preview keeps its light copies between previews: a record beside them says what each
// was made from, and one whose source has the same path, size and modification time, made
// for the same box, is used again rather than made anew.
const QLatin1String LightCopyRecordName(".reelcraft-light-copies");

QString recordLine(const QString &name, const QString &source, QSize box)
{
    const QFileInfo info(source);
    return QStringList{name, info.canonicalFilePath(), QString::number(info.size()),
                       QString::number(info.lastModified().toMSecsSinceEpoch()), QString::number(box.width()),
                       QString::number(box.height())}
        .join(QLatin1Char('\t'));
}

QSet<QString> readRecord(const QString &folder)
{
    QFile file(FileInFolder(folder, LightCopyRecordName));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QStringList lines = QString::fromUtf8(file.read(1 << 20)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return QSet<QString>(lines.begin(), lines.end());
}

// The light copies of the frames that get one, made on worker threads and staged in play
// order; every other frame goes to copyAs. Throws ECancelled when progress says stop.
void stageFramesWithLightCopies(StagedFolderWrite &write, const AnimationDocument &document,
                                const SharedFolderNames &names, QSize box,
                                const std::function<void(int index)> &copyAs, const CopyProgress &progress)
{
    const FrameList &frames = document.Frames();
    const int count = int(frames.size());
    // Only the first frame of each name is copied; the work list says which.
    std::vector<bool> first(std::size_t(count), false);
    QSet<QString> seen;
    for (int i = 0; i < count; ++i) {
        const QString &name = names.frames.at(i);
        first[std::size_t(i)] = !name.isEmpty() && !seen.contains(name);
        seen.insert(name);
    }
    // In the preview folder, copies recorded as made from the same file for the same box stay.
    const bool keepsRecord = QFileInfo(write.folder()).canonicalFilePath() == QFileInfo(PreviewFolder()).canonicalFilePath();
    const QSet<QString> recorded = keepsRecord ? readRecord(write.folder()) : QSet<QString>();
    std::vector<bool> reused(std::size_t(count), false);
    for (int i = 0; keepsRecord && i < count; ++i)
        reused[std::size_t(i)] = first[std::size_t(i)]
            && recorded.contains(recordLine(names.frames.at(i), frames.at(i).PicturePath, box))
            && QFileInfo(FileInFolder(write.folder(), names.frames.at(i))).isFile();
    QStringList record;
    std::vector<std::optional<LightCopy>> copies(static_cast<std::size_t>(count));
    QString problem;
    BatchDecoder threads;
    bool cancelled = false;
    threads.runInOrder(count, [&](int i) {
        if (first[std::size_t(i)] && !reused[std::size_t(i)])
            copies[std::size_t(i)] = LightCopyIfNeeded(frames.at(i).PicturePath, box);
    }, [&](int i) {
        if (reused[std::size_t(i)]) {
            record.append(recordLine(names.frames.at(i), frames.at(i).PicturePath, box));
            copyAs(-1 - i);
            cancelled = progress && !progress(i + 1, count);
            return !cancelled;
        }
        std::optional<LightCopy> copy = std::move(copies[std::size_t(i)]);
        copies[std::size_t(i)].reset();
        const QString &path = frames.at(i).PicturePath;
        const QString &name = names.frames.at(i);
        // A copy made of a file named as a JPEG has passed every check ImageDecoder::check makes
        // (the file, its size, its header, a whole stream), so the file is not read again.
        const bool madeOfAJpeg = copy && copy->ok() && ImageDecoder::readerFormatFor(path) == "jpeg";
        if (!copy || (!madeOfAJpeg && !ImageDecoder().check(path).isEmpty())) {
            copyAs(i);
        } else {
            // A copy that could not be made (a picture that cannot be decoded) is reported first.
            if (!copy->ok())
                throw EFileError(copy->errorText);
            // A copy onto its own original would lose the photo.
            const QFileInfo target(FileInFolder(write.folder(), name));
            if (target.exists() && target.canonicalFilePath() == QFileInfo(path).canonicalFilePath())
                throw EFileError(LightCopyOverSourceText(write.folder()));
            if (!write.stageBytes(name, copy->jpeg, &problem))
                throw EFileError(problem);
            record.append(recordLine(name, path, box));
            copyAs(-1 - i); // counted, not copied
        }
        cancelled = progress && !progress(i + 1, count);
        return !cancelled;
    });
    if (cancelled)
        throw ECancelled(QStringLiteral("The copy was cancelled; nothing was written."));
    if (keepsRecord && !write.stageBytes(LightCopyRecordName, (record.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8(), &problem))
        throw EFileError(problem);
}

} // namespace

int StageAnimationFiles(StagedFolderWrite &write, const AnimationDocument &document, bool all, bool player,
                        QStringList *notCopied, const QString &pagePath, const CopyProgress &progress)
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
        const QSize box = LightCopyBox(document);
        if (box.isEmpty()) {
            for (qsizetype i = 0; i < frames.size(); ++i)
                copyAs(frames.at(i).PicturePath, names.frames.at(i), Kind::Picture);
            // Originals now lie where light copies were: the record of them goes.
            if (QFileInfo::exists(FileInFolder(write.folder(), LightCopyRecordName))
                && !write.stageBytes(LightCopyRecordName, QByteArray(), &problem))
                throw EFileError(problem);
        } else {
            // index < 0: frame -1 - index went as its light copy.
            stageFramesWithLightCopies(write, document, names, box, [&](int index) {
                if (index >= 0) {
                    copyAs(frames.at(index).PicturePath, names.frames.at(index), Kind::Picture);
                } else {
                    handled.insert(names.frames.at(-1 - index));
                    ++count;
                }
            }, progress);
        }
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
