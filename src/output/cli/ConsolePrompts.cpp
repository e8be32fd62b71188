#include "output/cli/ConsolePrompts.h"

void ConsolePrompts::write(const QString &text)
{
    QString line = text;
    line.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    const QByteArray bytes = QStringLiteral("reelcraft-cli: %1\n").arg(line).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), m_out);
    std::fflush(m_out);
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
