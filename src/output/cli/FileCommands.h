#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>
#include <optional>

class AnimationDocument;

// The command-line tool's "copy" and "preview" commands: the animation of a project file
// (or a page holding an element) copied into a folder, or written as the preview page.
namespace ReelcraftCli {

// The arguments of "copy FILE DIR [--all] [--player]".
struct CopyArguments
{
    QString file;
    QString folder;
    bool all = false;
    bool player = false;
};

// The copy command's arguments (those after "copy"); no value and a reason on a usage error.
std::optional<CopyArguments> ParseCopyArguments(const QStringList &arguments, QString *problem);
// The preview command's one FILE (the arguments after "preview").
std::optional<QString> ParsePreviewArguments(const QStringList &arguments, QString *problem);

// Reads the file into the document as the tag command does: the reset values first, then
// the applet tag reader without a host, relative references against the file's own folder.
// False after naming the failure in problem when the file cannot be read or holds no applet
// element (NoAnimationMessage); the document is then untouched.
bool ReadDocumentFile(const QString &path, AnimationDocument &document, QString *problem);

// "copy FILE DIR [--all] [--player]": creates DIR when missing, copies as the compile
// dialog does and prints "N files copied to DIR.". The class files and the web player are
// extracted first when missing.
int RunCopy(const QStringList &arguments, std::FILE *out, std::FILE *err);
// "preview FILE": writes the preview page with its files and prints the page's path.
int RunPreview(const QStringList &arguments, std::FILE *out, std::FILE *err);

} // namespace ReelcraftCli
