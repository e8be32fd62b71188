#include "output/cli/MakeCommand.h"

#include "controls/FileText.h"
#include "document/AnimationDocument.h"
#include "document/CaptionText.h"
#include "document/FitGeometry.h"
#include "document/FramePictureFiles.h"
#include "imaging/BatchDecoder.h"
#include "imaging/ImageDecoder.h"
#include "imaging/LightCopy.h"
#include "output/AnimationFileCopy.h"
#include "output/AppletTagText.h"
#include "output/AppletTagWriter.h"
#include "output/ClassFiles.h"
#include "output/ProjectFiles.h"
#include "output/ShowPage.h"
#include "output/StagedFolderWrite.h"
#include "output/WebPlayer.h"
#include "output/cli/ConsolePrompts.h"
#include "output/cli/ConsoleText.h"
#include "output/cli/MakeArguments.h"
#include "output/cli/ProgressLine.h"
#include "output/cli/ReelcraftCli.h"
#include "platform/EError.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>


namespace ReelcraftCli {

namespace {

constexpr qint64 MaximumCaptionsFileSize = 16 * 1024 * 1024;

QString fullPath(const QString &path)
{
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

} // namespace

bool CanHoldFolder(const QString &folder, QString *problem)
{
    QString at = folder;
    while (!QFileInfo::exists(at) && QFileInfo(at).path() != at)
        at = QFileInfo(at).path();
    if (QFileInfo(at).isDir())
        return true;
    *problem = QStringLiteral("cannot make the folder \"%1\": \"%2\" is not a folder").arg(folder, at);
    return false;
}

namespace {

// The folders a run created, so a failure can take them away again.
class RunFiles
{
public:
    // Creates folder and its missing parents. False with a reason when something that is no
    // folder stands in the way or the folder cannot be made.
    bool makeFolder(const QString &folder, QString *problem)
    {
        if (!CanHoldFolder(folder, problem))
            return false;
        QStringList missing;
        for (QString at = folder; !QFileInfo::exists(at) && QFileInfo(at).path() != at; at = QFileInfo(at).path())
            missing.prepend(at);
        for (const QString &path : std::as_const(missing)) {
            if (!QDir().mkdir(path)) {
                *problem = QStringLiteral("cannot make the folder \"%1\"").arg(path);
                return false;
            }
            m_createdFolders.prepend(path);
        }
        return true;
    }

    // Removes the folders the run created (the innermost first; only when empty).
    void undo() const
    {
        for (const QString &folder : m_createdFolders)
            QDir().rmdir(folder);
    }

private:
    QStringList m_createdFolders; // innermost first
};

// Decodes every picture on worker threads and hands the good ones to onPicture, in order. Each
// failure is reported with the decoder's own text; false when any picture failed.
bool decodePictures(const QStringList &paths, std::FILE *err,
                    const std::function<void(int index, const DecodedPicture &picture)> &onPicture)
{
    BatchDecoder decoder;
    ProgressLine progress(err, int(paths.size()));
    bool allDecoded = true;
    progress.show(0);
    decoder.decodeInOrder(paths, [&](int index, const DecodedPicture &picture) {
        if (!picture.ok()) {
            progress.clear();
            ReportProblem(err, picture.errorText);
            allDecoded = false;
        } else if (allDecoded) {
            onPicture(index, picture);
        }
        progress.show(index + 1);
        return true;
    });
    progress.clear();
    return allDecoded;
}

// Every picture decoded into a frame, in order; false when any failed.
bool addFrames(AnimationDocument &document, const QStringList &pictures, const QStringList &captions,
               std::FILE *err)
{
    return decodePictures(pictures, err, [&](int index, const DecodedPicture &picture) {
        document.appendFrame(pictures.at(index), captions.value(index), picture.fullSize, picture.picture);
    });
}

// Every picture checked and measured (ImageDecoder::measure) into a frame, in order, but not
// decoded. False, with no frame added and nothing reported, as soon as one fails.
bool measureFrames(AnimationDocument &document, const QStringList &pictures, const QStringList &captions,
                   std::FILE *err)
{
    BatchDecoder decoder;
    ProgressLine progress(err, int(pictures.size()));
    QList<QSize> sizes;
    progress.show(0);
    decoder.measureInOrder(pictures, [&](int index, const DecodedPicture &picture) {
        if (!picture.ok())
            return false;
        sizes.append(picture.fullSize);
        progress.show(index + 1);
        return true;
    });
    progress.clear();
    if (sizes.size() != pictures.size())
        return false;
    for (qsizetype i = 0; i < pictures.size(); ++i)
        document.appendFrame(pictures.at(i), captions.value(i), sizes.at(i));
    return true;
}

// A page's light copy is the one decode of its picture, and reports it when it cannot be
// decoded; every other picture of the measured frames is decoded here, so that one that cannot
// be stops make before anything is written. False when any failed.
bool decodeWithoutLightCopies(const AnimationDocument &document, std::FILE *err)
{
    const QSize box = LightCopyBox(document);
    QStringList paths;
    for (const AnimationFrame &frame : document.Frames())
        if (!GetsLightCopy(frame.PicturePath, frame.PictureSize, box))
            paths.append(frame.PicturePath);
    return decodePictures(paths, err, [](int, const DecodedPicture &) {});
}

// A file named by an option must be a regular file there to be read.
bool readableFile(const QString &path, const QString &option, std::FILE *err)
{
    const QString problem = RegularFileProblem(path);
    if (problem.isEmpty())
        return true;
    ReportProblem(err, option + QStringLiteral(": ") + problem);
    return false;
}

// The files the page refers to that will not be in folder once write is committed: a class
// file that could not be extracted would leave a page that cannot play. The names are read
// from the element itself, so they are the ones the page uses.
QStringList missingCopies(const QString &element, const StagedFolderWrite &write, bool player)
{
    QStringList names;
    static const QRegularExpression files(QStringLiteral("<param name=\"(imagelist|background|soundtrack)\" value=\"([^\"]*)\">"));
    for (const QRegularExpressionMatch &match : files.globalMatch(element)) {
        const QString value = DecodeCharacterReferences(match.captured(2));
        const QStringList entries = match.captured(1) == QLatin1String("imagelist")
            ? value.split(QLatin1Char(','), Qt::SkipEmptyParts) : QStringList{value};
        for (const QString &entry : entries)
            names.append(DecodePictureReference(entry));
    }
    int classCount = 0;
    const AppletClassFile *classFiles = AppletClassFiles(&classCount);
    for (int i = 0; i < classCount; ++i)
        names.append(classFiles[i].fileName);
    if (player)
        names.append(WebPlayerFileName);

    const QStringList staged = write.stagedNames();
    QStringList missing;
    for (const QString &name : std::as_const(names))
        if (!staged.contains(name) && !QFileInfo(FileInFolder(write.folder(), name)).isFile())
            missing.append(name);
    return missing;
}

// Stages the page's files beside it and returns how many; throws EFileError when one of them
// would be missing.
int stagePageFiles(StagedFolderWrite &write, const AnimationDocument &document, const QString &element,
                   const QString &pagePath, bool player, std::FILE *err)
{
    ConsolePrompts prompts(err);
    ExtractClassFiles(prompts);
    QStringList notCopied;
    // Light copies take a moment each: a terminal shows how far they are.
    ProgressLine progress(err, document.frameCount(), QStringLiteral("Copying pictures"));
    const int count = StageAnimationFiles(write, document, true, player, &notCopied, pagePath, progress.reporter());
    progress.clear();
    for (const QString &line : std::as_const(notCopied))
        WriteText(err, line + QLatin1Char('\n'));
    const QStringList missing = missingCopies(element, write, player);
    if (!missing.isEmpty())
        throw EFileError(QStringLiteral("cannot copy \"%1\" into \"%2\"").arg(missing.first(), write.folder()));
    return count;
}

// The captions of the options, one per picture at most. No value with a reason and the exit
// status when the captions file cannot be read or is refused.
std::optional<QStringList> captionsFor(const MakeArguments &make, const QStringList &pictures, QString *problem,
                                       int *status)
{
    QStringList captions;
    if (make.captionFromName) {
        for (const QString &picture : pictures)
            captions.append(WithoutCaptionSeparators(QFileInfo(picture).completeBaseName()));
    }
    if (make.captionsFile.isEmpty())
        return captions;
    // A captions file is text for a few hundred pictures; a larger one is a mistake, and would
    // cost many times its size in memory.
    const std::optional<QByteArray> bytes = ReadRegularFile(make.captionsFile, problem, MaximumCaptionsFileSize);
    if (!bytes) {
        *problem = QStringLiteral("--captions: ") + *problem;
        *status = FileFailure;
        return std::nullopt;
    }
    QString refused;
    const std::optional<QStringList> read = CaptionsFromText(DecodeFileText(*bytes), int(pictures.size()), &refused);
    if (!read) {
        *problem = QStringLiteral("--captions \"%1\": %2").arg(make.captionsFile, refused);
        *status = UsageFailure;
    }
    return read;
}

} // namespace

std::optional<QStringList> ExpandPictureArguments(const QStringList &arguments, QString *problem, QStringList *notes)
{
    QStringList pictures;
    for (const QString &argument : arguments) {
        const QString path = fullPath(argument);
        if (QFileInfo(path).isDir()) {
            const QStringList inFolder = FramePictureFilesInFolder(path);
            if (inFolder.isEmpty()) {
                *problem = QStringLiteral("the folder \"%1\" holds no GIF or JPEG pictures").arg(argument);
                return std::nullopt;
            }
            pictures += inFolder;
            // Names that are not UTF-8 have no text to name them by: say so rather than
            // leave them out without a word.
            const int unnamed = UnnamedPictureFilesInFolder(path);
            if (unnamed > 0 && notes)
                notes->append(QStringLiteral("\"%1\": %2 picture%3 left out, since %4 name%3 %5 not valid UTF-8")
                                  .arg(argument)
                                  .arg(unnamed)
                                  .arg(unnamed == 1 ? QString() : QStringLiteral("s"),
                                       unnamed == 1 ? QStringLiteral("its") : QStringLiteral("their"),
                                       unnamed == 1 ? QStringLiteral("is") : QStringLiteral("are")));
        } else if (IsFramePictureFile(path)) {
            pictures.append(path);
        } else {
            *problem = QStringLiteral("\"%1\" is neither a folder nor a GIF or JPEG file").arg(argument);
            return std::nullopt;
        }
    }
    return pictures;
}

int RunMake(const QStringList &arguments, std::FILE *out, std::FILE *err)
{
    QString problem;
    const auto usage = [&](const QString &text) {
        ReportProblem(err, text);
        WriteText(err, QStringLiteral("Try \"reelcraft-cli make --help\".\n"));
        return int(UsageFailure);
    };
    std::optional<MakeArguments> parsed = ParseMakeArguments(arguments, &problem);
    if (!parsed)
        return usage(problem);
    MakeArguments &make = *parsed;

    QStringList notes;
    const std::optional<QStringList> pictures = ExpandPictureArguments(make.pictures, &problem, &notes);
    if (!pictures)
        return usage(problem);
    for (const QString &note : std::as_const(notes))
        ReportProblem(err, note);

    int status = Done;
    const std::optional<QStringList> captions = captionsFor(make, *pictures, &problem, &status);
    if (!captions && status == UsageFailure)
        return usage(problem);
    if (!captions) {
        ReportProblem(err, problem);
        return FileFailure;
    }
    for (QString *file : {&make.backgroundImage, &make.soundtrack}) {
        if (file->isEmpty())
            continue;
        *file = fullPath(*file);
        if (!readableFile(*file, file == &make.backgroundImage ? QStringLiteral("--background") : QStringLiteral("--soundtrack"), err))
            return FileFailure;
    }
    // What the page names must play: the applet plays only Sun audio.
    if (!make.soundtrack.isEmpty() && !IsSunAudio(make.soundtrack)) {
        ReportProblem(err, QStringLiteral("--soundtrack: \"%1\" is not a Sun audio file").arg(make.soundtrack));
        return FileFailure;
    }
    if (!make.backgroundImage.isEmpty()) {
        const QString refused = ImageDecoder().check(make.backgroundImage);
        if (!refused.isEmpty()) {
            ReportProblem(err, QStringLiteral("--background: ") + refused);
            return FileFailure;
        }
    }

    // What stands in the way of OUT is found before the pictures are decoded.
    const QString outPath = fullPath(make.out);
    const QString folder = QFileInfo(outPath).path();
    if (!CanHoldFolder(folder, &problem) || QFileInfo(outPath).isDir()) {
        ReportProblem(err, problem.isEmpty() ? QStringLiteral("cannot write \"%1\": it is a folder").arg(outPath) : problem);
        return FileFailure;
    }

    ConsolePrompts prompts(err);
    AnimationDocument document(prompts);
    ApplyMakeSettings(make, document);
    // A page that scales its pictures gets light copies of its large JPEGs, and making them
    // decodes them: until the box is known, pictures are only measured. When one fails that,
    // all are decoded after all, which reports every fault in order.
    const bool measured = make.writesPage() && document.ScaleToFit() && measureFrames(document, *pictures, *captions, err);
    if (!measured && !addFrames(document, *pictures, *captions, err))
        return FileFailure;
    // Without --size: with scale the box the fitted pictures and their captions need; with
    // --scale none, --fit takes the largest picture's natural size and no option keeps 600x200.
    if (!make.size && (make.fit || make.scale)) {
        const QSize box = FitGeometry::DefaultBoxFor(document);
        document.setText(TextSetting::JavaWidth, QString::number(box.width()));
        document.setText(TextSetting::JavaHeight, QString::number(box.height()));
    }
    if (measured && !decodeWithoutLightCopies(document, err))
        return FileFailure;

    RunFiles made;
    int copied = 0;
    try {
        if (!made.makeFolder(folder, &problem))
            throw EFileError(problem);
        if (make.writesPage()) {
            // The page and every file it needs arrive together, or nothing changes.
            const QString pageName = QFileInfo(outPath).fileName();
            const QString element = WriteAppletTag(
                document, BuildImageList(document, ImageListForm::FileNameOnly, QString(), outPath),
                ImageListForm::FileNameOnly, outPath);
            const QString title = make.title ? *make.title : QFileInfo(pictures->first()).dir().dirName();
            const QString text = ShowPageText(title.isEmpty() ? QStringLiteral("Slideshow") : title,
                                              make.noPlayer ? element : WithWebPlayer(element));
            StagedFolderWrite write(folder);
            if (!write.stageBytes(pageName, text.toUtf8(), &problem))
                throw EFileError(problem);
            copied = stagePageFiles(write, document, element, outPath, !make.noPlayer, err);
            if (!write.commit(&problem))
                throw EFileError(problem);
        } else {
            WriteFileText(outPath, ProjectFiles::ProjectFileText(document));
        }
    } catch (const EError &error) {
        made.undo();
        ReportProblem(err, error.message());
        return FileFailure;
    }

    WriteText(out, outPath + QLatin1Char('\n'));
    if (make.writesPage())
        WriteText(out, QStringLiteral("%1 files copied to %2.\n").arg(copied).arg(folder));
    if (std::ferror(out)) {
        ReportProblem(err, QStringLiteral("cannot write to standard output"));
        return FileFailure;
    }
    return Done;
}

} // namespace ReelcraftCli
