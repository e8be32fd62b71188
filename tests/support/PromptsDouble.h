#pragma once

#include "platform/Prompts.h"

#include <QQueue>
#include <QStringList>
#include <QVariant>

// Records every text shown and answers from a queue. A question or dialog that finds the
// queue empty answers "No" / cancel, and is counted in unanswered, so a test sees it.
class PromptsDouble : public Prompts
{
public:
    struct Shown
    {
        QString what;  // "message", "confirm", "input", "openFiles", "openFile", "saveFile", "folder"
        QString text;  // the message, question, prompt or dialog title
        Kind kind = Kind::Plain;
        FileDialog dialog;
    };

    QList<Shown> shown;
    QQueue<QVariant> answers; // bool for confirm; QString / QStringList for the others; invalid = cancel
    int unanswered = 0;

    void message(const QString &text, Kind kind) override;
    bool confirm(const QString &text) override;
    std::optional<QString> input(const QString &title, const QString &prompt,
                                 const QString &defaultText) override;
    QStringList openFiles(const FileDialog &dialog) override;
    std::optional<QString> openFile(const FileDialog &dialog) override;
    std::optional<QString> saveFile(const FileDialog &dialog) override;
    std::optional<QString> chooseFolder(const QString &title, const QString &startFolder) override;

    // The texts of every box shown, in order.
    QStringList texts() const;
    QStringList messages() const;
    void clear();

private:
    QVariant next();
    std::optional<QString> nextText();
};
