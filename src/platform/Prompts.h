#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Everything the program asks or tells the user through a modal box or a common dialog.
// The Qt implementation shows real dialogs; tests use a double that records every text
// and answers from a queue, so no test ever blocks on a box.
class Prompts
{
public:
    enum class Kind { Plain, Information, Warning, Error };

    struct FileDialog
    {
        QString title;
        QString folder;      // start folder; empty for the dialog's own choice
        QString fileName;    // preset file name
        QString filter;      // Qt form: "Gif and JPEG (*.gif *.jpg);;Gif (*.gif)"
        int filterIndex = 0; // the filter entry chosen at first, counted from 0
        QString defaultSuffix;
    };

    virtual ~Prompts() = default;

    // A message box with the application title as its caption and an OK button.
    virtual void message(const QString &text, Kind kind = Kind::Plain) = 0;
    // A Yes/No confirmation; true on Yes.
    virtual bool confirm(const QString &text) = 0;
    // An input box; no value when cancelled.
    virtual std::optional<QString> input(const QString &title, const QString &prompt,
                                         const QString &defaultText) = 0;
    // File-open with multiple selection; an empty list when cancelled.
    virtual QStringList openFiles(const FileDialog &dialog) = 0;
    virtual std::optional<QString> openFile(const FileDialog &dialog) = 0;
    virtual std::optional<QString> saveFile(const FileDialog &dialog) = 0;
    // The folder picker; no value when cancelled.
    virtual std::optional<QString> chooseFolder(const QString &title, const QString &startFolder) = 0;
};
