#include "output/cli/MakeCommand.h"

#include "controls/FileText.h"
#include "document/AnimationDocument.h"
#include "document/CaptionText.h"
#include "document/FitGeometry.h"
#include "document/FramePictureFiles.h"
#include "imaging/BatchDecoder.h"
#include "output/AnimationFileCopy.h"
#include "output/AppletTagText.h"
#include "output/AppletTagWriter.h"
#include "output/ClassFiles.h"
#include "output/ProjectFiles.h"
#include "output/ShowPage.h"
#include "output/WebPlayer.h"
#include "output/cli/ConsolePrompts.h"
#include "output/cli/ConsoleText.h"
#include "output/cli/MakeArguments.h"
#include "output/cli/ReelcraftCli.h"
#include "platform/EError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <unistd.h>

namespace ReelcraftCli {

namespace {

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

// What a run put on disk, so a failure can take it away again: the folders it created and the
// names that were already in the output folder before anything was copied there.
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

    void rememberContents(const QString &folder)
    {
        m_folder = folder;
        const QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        m_before = QSet<QString>(names.begin(), names.end());
    }

    // Removes the files that came into the remembered folder during the run, then the
    // folders the run created (the innermost first; only when empty).
    void undo() const
    {
        if (!m_folder.isEmpty()) {
            const QDir dir(m_folder);
            for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
                if (!m_before.contains(name))
                    QFile::remove(dir.filePath(name));
        }
        for (const QString &folder : m_createdFolders)
            QDir().rmdir(folder);
    }

private:
    QStringList m_createdFolders; // innermost first
    QString m_folder;
    QSet<QString> m_before;
};

// "Adding pictures: N of M" rewritten in place on a terminal.
class ProgressLine
{
public:
    ProgressLine(std::FILE *err, int total)
        : m_err(err), m_total(total), m_shown(total > 8 && isatty(fileno(err)) == 1)
    {
    }
    void show(int done)
    {
        if (m_shown)
            WriteText(m_err, QStringLiteral("\rAdding pictures: %1 of %2").arg(done).arg(m_total));
    }
    // Clears the line so a message can follow.
    void clear()
    {
        if (m_shown)
            WriteText(m_err, QStringLiteral("\r\x1b[K"));
    }

private:
    std::FILE *m_err;
    int m_total;
    bool m_shown;
};

// Every picture decoded into a frame, in order. Each failure is reported with the decoder's
// own text; false when any picture failed.
bool addFrames(AnimationDocument &document, const QStringList &pictures, const QStringList &captions,
               std::FILE *err)
{
    BatchDecoder decoder;
    ProgressLine progress(err, int(pictures.size()));
    bool allDecoded = true;
    progress.show(0);
    decoder.decodeInOrder(pictures, [&](int index, const DecodedPicture &picture) {
        if (!picture.ok()) {
            progress.clear();
            ReportProblem(err, picture.errorText);
            allDecoded = false;
        } else if (allDecoded) {
            document.appendFrame(pictures.at(index), captions.value(index), picture.fullSize, picture.picture);
        }
        progress.show(index + 1);
        return true;
    });
    progress.clear();
    return allDecoded;
}

// A file named by an option must be there to be read.
bool readableFile(const QString &path, const QString &option, std::FILE *err)
{
    const QFileInfo info(path);
    if (info.isFile() && info.isReadable())
        return true;
    ReportProblem(err, QStringLiteral("%1: cannot read \"%2\"").arg(option, path));
    return false;
}

// The files the page refers to that are not in folder after the copy: a copy that failed
// (something else stands under that name, say) would leave a page that cannot play. The
// names are read from the element itself, so they are the ones the page uses.
QStringList missingCopies(const QString &element, const QString &folder, bool player)
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

    QStringList missing;
    for (const QString &name : std::as_const(names))
        if (!QFileInfo(FileInFolder(folder, name)).isFile())
            missing.append(name);
    return missing;
}

// Copies the page's files beside it and returns how many; throws EFileError when one of them
// is not in place afterwards.
int copyPageFiles(const AnimationDocument &document, const QString &element, const QString &folder, bool player,
                  std::FILE *err)
{
    ConsolePrompts prompts(err);
    ExtractClassFiles(prompts);
    const int count = CopyAnimationFiles(document, folder, true, player);
    const QStringList missing = missingCopies(element, folder, player);
    if (!missing.isEmpty())
        throw EFileError(QStringLiteral("cannot copy \"%1\" into \"%2\"").arg(missing.first(), folder));
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
    QFile file(make.captionsFile);
    if (!QFileInfo(make.captionsFile).isFile() || !file.open(QIODevice::ReadOnly)) {
        *problem = QStringLiteral("--captions: cannot read \"%1\"").arg(make.captionsFile);
        *status = FileFailure;
        return std::nullopt;
    }
    QString refused;
    const std::optional<QStringList> read = CaptionsFromText(DecodeFileText(file.readAll()), int(pictures.size()), &refused);
    if (!read) {
        *problem = QStringLiteral("--captions \"%1\": %2").arg(make.captionsFile, refused);
        *status = UsageFailure;
    }
    return read;
}

} // namespace

std::optional<QStringList> ExpandPictureArguments(const QStringList &arguments, QString *problem)
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

    const std::optional<QStringList> pictures = ExpandPictureArguments(make.pictures, &problem);
    if (!pictures)
        return usage(problem);

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
    if (!addFrames(document, *pictures, *captions, err))
        return FileFailure;
    // Without --size: with scale the box the fitted pictures and their captions need; with
    // --scale none, --fit takes the largest picture's natural size and no option keeps 600x200.
    if (!make.size && (make.fit || make.scale)) {
        const QSize box = FitGeometry::DefaultBoxFor(document);
        document.setText(TextSetting::JavaWidth, QString::number(box.width()));
        document.setText(TextSetting::JavaHeight, QString::number(box.height()));
    }

    RunFiles made;
    int copied = 0;
    try {
        if (!made.makeFolder(folder, &problem))
            throw EFileError(problem);
        QString text;
        if (make.writesPage()) {
            made.rememberContents(folder);
            const QString element = WriteAppletTag(document, BuildImageList(document, ImageListForm::FileNameOnly));
            copied = copyPageFiles(document, element, folder, !make.noPlayer, err);
            const QString title = make.title ? *make.title : QFileInfo(pictures->first()).dir().dirName();
            text = ShowPageText(title.isEmpty() ? QStringLiteral("Slideshow") : title,
                                make.noPlayer ? element : WithWebPlayer(element));
        } else {
            text = ProjectFiles::ProjectFileText(document);
        }
        WriteFileText(outPath, text);
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
