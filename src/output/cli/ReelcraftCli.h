#pragma once

#include "output/AppletTagWriter.h"
#include "output/cli/HelpText.h"

#include <QString>
#include <QStringList>

#include <cstdio>
#include <optional>

// The command-line tool: the document model, reader and writer without a window.
namespace ReelcraftCli {

enum ExitStatus { Done = 0, FileFailure = 1, UsageFailure = 2 };

// The arguments of "tag FILE [--form url|filename|folder|relative] [--base TEXT] [--player]".
struct TagArguments
{
    QString file;
    ImageListForm form = ImageListForm::FileUrl;
    QString base;        // the folder for "folder", the document name for "relative"
    bool player = false; // the web player's script line after the element
};

// The tag command's arguments (those after "tag"); no value and a reason on a usage error.
std::optional<TagArguments> ParseTagArguments(const QStringList &arguments, QString *problem);

// "url", "filename", "folder", "relative"; no value for any other text.
std::optional<ImageListForm> FormFromName(const QString &name);

// Reads the file as the program opens a project: with the applet tag reader, without a
// host, relative references resolved against the file's own folder. Returns the element in
// the chosen form (with the script line for --player), or no value after naming the failure
// in problem (a file that cannot be read or holds no applet element).
std::optional<QString> TagText(const TagArguments &arguments, std::FILE *err, QString *problem);

// Runs one command line (the arguments after the program name); writes its result to out
// and messages to err, and returns the exit status.
int Run(const QStringList &arguments, std::FILE *out, std::FILE *err);


} // namespace ReelcraftCli
