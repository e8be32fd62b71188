#pragma once

#include "controls/TarnKeyFilter.h"

#include <QLineEdit>
#include <QPointer>
#include <QToolButton>

class Prompts;
class Registry;

// A one-line edit that filters keystrokes (digits only, one decimal point, allowed and
// blocked characters), keeps a typed number at or below Max and lifts it to Min when the
// user leaves the field, can carry a browse button that opens a file dialog, and can keep
// its text in the registry.
class TTarnEdit : public QLineEdit
{
    Q_OBJECT
public:
    enum TTarnGlyph { tgOpen, tgSave };
    enum TTarnEditOption { teOnExit = 1, teOnCarriageReturn = 2, teOnChange = 4 };
    Q_DECLARE_FLAGS(TTarnEditOptions, TTarnEditOption)

    // prompts shows the internal-error message and the file dialogs; registry keeps the
    // text with RegStore. Both may be null for an edit that uses neither.
    explicit TTarnEdit(QWidget *parent = nullptr, Prompts *prompts = nullptr, Registry *registry = nullptr);
    ~TTarnEdit() override;

    TarnEditFilter Filter;

    QString Version() const { return QStringLiteral("1.3"); }
    void SetVersion(const QString &) {}

    bool FileBrowser() const { return m_browseButton != nullptr; }
    void SetFileBrowser(bool on);
    QToolButton *BrowseButton() const { return m_browseButton; }
    QString FileBrowserInitDirRegPath;
    QString FileBrowserInitDirRegValue;
    // Windows form "Name|patterns|Name|patterns"; shown as Qt filters.
    QString FileFilter;
    QString FileDefaultExt;
    TTarnGlyph FileGlyph() const { return m_glyph; }
    void SetFileGlyph(TTarnGlyph glyph);

    QString RegPath() const { return m_regPath; }
    // A path without a leading "\" gets one; an empty path stays empty.
    void SetRegPath(const QString &path);
    QString RegValue;
    bool RegStore = false;
    TTarnEditOptions Options;

    void ReadFromRegistry();
    void WriteToRegistry();
    void BrowseForFile();

signals:
    // Comes before the filter and sees the character unfiltered.
    void keyPressed(QChar character);
    // Comes after the Min rule and the registry write when the user leaves the field.
    void exited();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool event(QEvent *event) override;

private:
    void placeBrowseButton();
    void textChangedByUser();

    Prompts *m_prompts;
    Registry *m_registry;
    QString m_regPath;
    TTarnGlyph m_glyph = tgOpen;
    QPointer<QToolButton> m_browseButton;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TTarnEdit::TTarnEditOptions)

