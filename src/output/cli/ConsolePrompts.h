#pragma once

#include "platform/Prompts.h"

#include <cstdio>

// Prompts for the command-line tool: messages go to standard error, every question and
// dialog is answered "No" or cancelled, since nobody is there to answer.
class ConsolePrompts : public Prompts
{
public:
    explicit ConsolePrompts(std::FILE *out = stderr) : m_out(out) {}

    void message(const QString &text, Kind kind = Kind::Plain) override;
    bool confirm(const QString &text) override;
    std::optional<QString> input(const QString &title, const QString &prompt,
                                 const QString &defaultText) override;
    QStringList openFiles(const FileDialog &dialog) override;
    std::optional<QString> openFile(const FileDialog &dialog) override;
    std::optional<QString> saveFile(const FileDialog &dialog) override;
    std::optional<QString> chooseFolder(const QString &title, const QString &startFolder) override;

private:
    void write(const QString &text);
    std::FILE *m_out;
};
