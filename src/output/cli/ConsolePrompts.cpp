#include "output/cli/ConsolePrompts.h"

#include "output/cli/ConsoleText.h"

void ConsolePrompts::write(const QString &text)
{
    QString line = text;
    line.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    ReelcraftCli::ReportProblem(m_out, line);
}

void ConsolePrompts::message(const QString &text, Kind)
{
    write(text);
}

bool ConsolePrompts::confirm(const QString &text)
{
    write(text + QStringLiteral(" (answered No)"));
    return false;
}

std::optional<QString> ConsolePrompts::input(const QString &, const QString &, const QString &)
{
    return std::nullopt;
}

QStringList ConsolePrompts::openFiles(const FileDialog &)
{
    return {};
}

std::optional<QString> ConsolePrompts::openFile(const FileDialog &)
{
    return std::nullopt;
}

std::optional<QString> ConsolePrompts::saveFile(const FileDialog &)
{
    return std::nullopt;
}

std::optional<QString> ConsolePrompts::chooseFolder(const QString &, const QString &)
{
    return std::nullopt;
}
