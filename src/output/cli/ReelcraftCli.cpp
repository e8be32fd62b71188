#include "output/cli/ReelcraftCli.h"

#include "colour/ColourCommands.h"
#include "document/AnimationDocument.h"
#include "output/cli/ConsolePrompts.h"
#include "output/cli/ConsoleText.h"
#include "output/cli/FileCommands.h"
#include "output/cli/HelpText.h"
#include "output/cli/MakeCommand.h"
#include "output/WebPlayer.h"


namespace ReelcraftCli {

namespace {

// "--name value" or "--name=value" at arguments[*index]; advances past what it used.
std::optional<QString> optionValue(const QStringList &arguments, qsizetype *index, const QString &name,
                                   bool *matched, QString *problem)
{
    const QString argument = arguments.at(*index);
    const QString withEquals = name + QLatin1Char('=');
    if (argument.startsWith(withEquals)) {
        *matched = true;
        return argument.mid(withEquals.size());
    }
    if (argument != name) {
        *matched = false;
        return std::nullopt;
    }
    *matched = true;
    if (*index + 1 >= arguments.size()) {
        *problem = name + QStringLiteral(" needs a value");
        return std::nullopt;
    }
    ++*index;
    return arguments.at(*index);
}

} // namespace

std::optional<ImageListForm> FormFromName(const QString &name)
{
    if (name == QLatin1String("url"))
        return ImageListForm::FileUrl;
    if (name == QLatin1String("filename"))
        return ImageListForm::FileNameOnly;
    if (name == QLatin1String("folder"))
        return ImageListForm::InFolder;
    if (name == QLatin1String("relative"))
        return ImageListForm::RelativeToDocument;
    return std::nullopt;
}

std::optional<TagArguments> ParseTagArguments(const QStringList &arguments, QString *problem)
{
    TagArguments result;
    bool haveFile = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString argument = arguments.at(i);
        bool matched = false;
        if (const std::optional<QString> form =
                optionValue(arguments, &i, QStringLiteral("--form"), &matched, problem)) {
            const std::optional<ImageListForm> chosen = FormFromName(*form);
            if (!chosen) {
                *problem = QStringLiteral("unknown form \"%1\" (use url, filename, folder or relative)").arg(*form);
                return std::nullopt;
            }
            result.form = *chosen;
            continue;
        }
        if (matched)
            return std::nullopt;
        if (const std::optional<QString> base =
                optionValue(arguments, &i, QStringLiteral("--base"), &matched, problem)) {
            result.base = *base;
            continue;
        }
        if (matched)
            return std::nullopt;
        if (argument == QLatin1String("--player")) {
            result.player = true;
            continue;
        }
        if (argument.startsWith(QLatin1String("--"))) {
            *problem = QStringLiteral("unknown option \"%1\"").arg(argument);
            return std::nullopt;
        }
        if (haveFile) {
            *problem = QStringLiteral("tag takes one FILE, \"%1\" is one too many").arg(argument);
            return std::nullopt;
        }
        result.file = argument;
        haveFile = true;
    }
    if (!haveFile || result.file.isEmpty()) {
        *problem = QStringLiteral("tag needs a FILE");
        return std::nullopt;
    }
    return result;
}

std::optional<QString> TagText(const TagArguments &arguments, std::FILE *err, QString *problem)
{
    ConsolePrompts prompts(err);
    AnimationDocument document(prompts);
    if (!ReadDocumentFile(arguments.file, document, problem))
        return std::nullopt;
    const QString element =
        WriteAppletTag(document, BuildImageList(document, arguments.form, arguments.base), arguments.form);
    return arguments.player ? WithWebPlayer(element) : element;
}

int Run(const QStringList &arguments, std::FILE *out, std::FILE *err)
{
    if (arguments.isEmpty())
        return UsageFailureWith(err, QStringLiteral("no command given"));
    const QString command = arguments.first();
    const QStringList rest = arguments.mid(1);

    const auto isHelp = [](const QString &argument) {
        return argument == QLatin1String("--help") || argument == QLatin1String("-h");
    };
    if (isHelp(command) || command == QLatin1String("help")) {
        // "help COMMAND" is the same as "COMMAND --help".
        const std::optional<QString> one = rest.isEmpty() ? std::nullopt : CommandHelp(rest.first());
        WriteText(out, one ? *one : HelpText());
        std::fflush(out);
        return Done;
    }
    if (const std::optional<QString> help = CommandHelp(command); help && (rest.contains(QStringLiteral("--help")) || rest == QStringList{QStringLiteral("-h")})) {
        WriteText(out, *help);
        std::fflush(out);
        return Done;
    }
    if (command == QLatin1String("make"))
        return RunMake(rest, out, err);
    if (command == QLatin1String("copy"))
        return RunCopy(rest, out, err);
    if (command == QLatin1String("preview"))
        return RunPreview(rest, out, err);
    if (command == QLatin1String("palette"))
        return RunPalette(rest, out, err);
    if (command == QLatin1String("spectrum"))
        return RunSpectrum(rest, out, err);
    if (command == QLatin1String("nearest"))
        return RunNearest(rest, out, err);
    if (command != QLatin1String("tag"))
        return UsageFailureWith(err, QStringLiteral("unknown command \"%1\"").arg(command));

    QString problem;
    const std::optional<TagArguments> tag = ParseTagArguments(rest, &problem);
    if (!tag)
        return UsageFailureWith(err, problem);
    const std::optional<QString> text = TagText(*tag, err, &problem);
    if (!text) {
        ReportProblem(err, problem);
        return FileFailure;
    }
    WriteText(out, *text);
    if (std::fflush(out) != 0 || std::ferror(out)) {
        ReportProblem(err, QStringLiteral("cannot write the element to standard output"));
        return FileFailure;
    }
    return Done;
}

} // namespace ReelcraftCli
