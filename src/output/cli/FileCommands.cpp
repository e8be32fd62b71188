#include "output/cli/FileCommands.h"

#include "controls/FileText.h"
#include "document/AnimationDocument.h"
#include "output/AnimationFileCopy.h"
#include "output/AppletTagReader.h"
#include "output/ClassFiles.h"
#include "output/PreviewPage.h"
#include "output/cli/ConsolePrompts.h"
#include "output/cli/ConsoleText.h"
#include "output/cli/ProgressLine.h"
#include "output/cli/ReelcraftCli.h"
#include "platform/EError.h"
#include "platform/RegularFile.h"

#include <QFile>

namespace ReelcraftCli {

namespace {

// Prints the result line; a standard output that cannot take it is a write failure.
int printResult(std::FILE *out, std::FILE *err, const QString &line)
{
    WriteText(out, line + QLatin1Char('\n'));
    if (std::ferror(out)) {
        ReportProblem(err, QStringLiteral("cannot write to standard output"));
        return FileFailure;
    }
    return Done;
}

// The files the commands copy come from the classes folder; they are put there as the
// program does at start-up. False after the failure was reported on err.
bool classFilesInPlace(std::FILE *err)
{
    ConsolePrompts prompts(err);
    return ExtractClassFiles(prompts);
}

// The files left out of a copy, one line each; they are not failures.
void reportNotCopied(std::FILE *err, const QStringList &notCopied)
{
    for (const QString &line : notCopied)
        WriteText(err, line + QLatin1Char('\n'));
}

} // namespace

std::optional<CopyArguments> ParseCopyArguments(const QStringList &arguments, QString *problem)
{
    CopyArguments result;
    QStringList positional;
    for (const QString &argument : arguments) {
        if (argument == QLatin1String("--all")) {
            result.all = true;
            continue;
        }
        if (argument == QLatin1String("--player")) {
            result.player = true;
            continue;
        }
        if (argument.startsWith(QLatin1String("--"))) {
            *problem = QStringLiteral("unknown option \"%1\"").arg(argument);
            return std::nullopt;
        }
        positional.append(argument);
    }
    if (positional.size() > 2) {
        *problem = QStringLiteral("copy takes FILE and DIR, \"%1\" is one too many").arg(positional.at(2));
        return std::nullopt;
    }
    if (positional.size() < 2 || positional.at(0).isEmpty() || positional.at(1).isEmpty()) {
        *problem = QStringLiteral("copy needs a FILE and a DIR");
        return std::nullopt;
    }
    result.file = positional.at(0);
    result.folder = positional.at(1);
    return result;
}

std::optional<QString> ParsePreviewArguments(const QStringList &arguments, QString *problem)
{
    QStringList positional;
    for (const QString &argument : arguments) {
        if (argument.startsWith(QLatin1String("--"))) {
            *problem = QStringLiteral("unknown option \"%1\"").arg(argument);
            return std::nullopt;
        }
        positional.append(argument);
    }
    if (positional.size() > 1) {
        *problem = QStringLiteral("preview takes one FILE, \"%1\" is one too many").arg(positional.at(1));
        return std::nullopt;
    }
    if (positional.isEmpty() || positional.first().isEmpty()) {
        *problem = QStringLiteral("preview needs a FILE");
        return std::nullopt;
    }
    return positional.first();
}

bool ReadDocumentFile(const QString &path, AnimationDocument &document, QString *problem)
{
    // Only a regular file: a FIFO would block the command for ever.
    const std::optional<QByteArray> bytes = ReadRegularFile(path, problem);
    if (!bytes)
        return false;
    const QString text = DecodeFileText(*bytes);
    if (!HoldsAppletElement(text)) {
        *problem = NoAnimationMessage(path);
        return false;
    }
    document.ResetDocument();
    AppletTagReaderOptions options;
    // Relative references name files beside the file that holds them.
    options.baseDocumentName = FileReadingBase(path);
    ReadAppletTag(document, text, options);
    return true;
}

int RunCopy(const QStringList &arguments, std::FILE *out, std::FILE *err)
{
    QString problem;
    const std::optional<CopyArguments> copy = ParseCopyArguments(arguments, &problem);
    if (!copy)
        return UsageFailureWith(err, problem);

    ConsolePrompts prompts(err);
    AnimationDocument document(prompts);
    if (!ReadDocumentFile(copy->file, document, &problem)) {
        ReportProblem(err, problem);
        return FileFailure;
    }
    if (!classFilesInPlace(err))
        return FileFailure;
    int count = 0;
    QStringList notCopied;
    // Light copies of many photos take a while: a terminal shows how far they are.
    ProgressLine progress(err, document.frameCount(), QStringLiteral("Copying pictures"));
    try {
        count = CopyAnimationFiles(document, copy->folder, copy->all, copy->player, &notCopied, QString(),
                                   progress.reporter());
        progress.clear();
    } catch (const EError &error) {
        progress.clear();
        ReportProblem(err, error.message());
        return FileFailure;
    }
    reportNotCopied(err, notCopied);
    return printResult(out, err, QString::number(count) + QStringLiteral(" files copied to ") + copy->folder
                                     + QLatin1Char('.'));
}

int RunPreview(const QStringList &arguments, std::FILE *out, std::FILE *err)
{
    QString problem;
    const std::optional<QString> file = ParsePreviewArguments(arguments, &problem);
    if (!file)
        return UsageFailureWith(err, problem);

    ConsolePrompts prompts(err);
    AnimationDocument document(prompts);
    if (!ReadDocumentFile(*file, document, &problem)) {
        ReportProblem(err, problem);
        return FileFailure;
    }
    if (!classFilesInPlace(err))
        return FileFailure;
    QString page;
    QStringList notCopied;
    ProgressLine progress(err, document.frameCount(), QStringLiteral("Copying pictures"));
    try {
        page = WritePreviewPage(document, &notCopied, progress.reporter());
        progress.clear();
    } catch (const EError &error) {
        progress.clear();
        ReportProblem(err, error.message());
        return FileFailure;
    }
    reportNotCopied(err, notCopied);
    return printResult(out, err, page);
}

} // namespace ReelcraftCli
