#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The command-line tool's help: "reelcraft-cli --help" prints HelpText(), "reelcraft-cli
// COMMAND --help" that command's CommandHelp(). The installed manual page reelcraft-cli.1
// describes the same commands and options; a command or option added later goes into all
// of them in the same change.
namespace ReelcraftCli {

// The synopsis of every command and where to find more; what a usage error prints.
QString UsageText();
// The synopsis and every command with all its options.
QString HelpText();
// One command's synopsis and options; no value for a name that is no command.
std::optional<QString> CommandHelp(const QString &command);
// The commands, in the order the help lists them.
QStringList CommandNames();

} // namespace ReelcraftCli
