#pragma once

#include "controls/TarnComboList.h"

#include <QComboBox>

class Prompts;
class Registry;

// An editable combo box that keeps a history list, optionally capped, moved-to-top and free
// of duplicates, stored in the registry as one comma text.
class TTarnCombo : public QComboBox
{
    Q_OBJECT
public:
    enum TTarnComboOption { tcAddOnExit = 1, tcAddOnCR = 2, tcWriteOnExit = 4, tcWriteOnCR = 8 };
    Q_DECLARE_FLAGS(TTarnComboOptions, TTarnComboOption)

    explicit TTarnCombo(QWidget *parent = nullptr, Prompts *prompts = nullptr, Registry *registry = nullptr);

    QString Version() const { return QStringLiteral("1.05"); }
    void SetVersion(const QString &) {}

    bool PreventDuplicates() const { return m_list.PreventDuplicates; }
    void SetPreventDuplicates(bool on) { m_list.PreventDuplicates = on; }
    bool MoveSelectedToTop() const { return m_list.MoveSelectedToTop; }
    void SetMoveSelectedToTop(bool on) { m_list.MoveSelectedToTop = on; }
    qint32 MaxItems() const { return m_list.MaxItems(); }
    void SetMaxItems(qint32 maxItems) { m_list.SetMaxItems(maxItems); }
    // Compared without regard to case; "." and Backspace always pass AllowChars.
    QString AllowChars;
    QString BlockChars;
    // The longest text typing makes; 0 for no limit. Enforced on keystrokes only, so a
    // text the program sets or the user pastes is never cut (a pasted "#FF0000" keeps its
    // colour once the "#" is dropped).
    void SetMaxLength(int length) { m_maxLength = length; }
    int MaxLength() const { return m_maxLength; }

    QString RegPath() const { return m_regPath; }
    void SetRegPath(const QString &path);
    QString RegValue;
    bool RegStore = false;
    TTarnComboOptions Options;

    void AddItem(const QString &text);
    void TrimToMaxItems();
    void ReadFromRegistry();
    void WriteToRegistry();

    // The items in list order.
    QStringList Items() const;
    // Replaces the list without touching the text in the box.
    void SetItems(const QStringList &items);

signals:
    // A key going down in the text box, before any rule of the combo. Setting handled
    // makes the combo do nothing more with it.
    void keyDown(QKeyEvent *event, bool &handled);
    // Comes last, with the character that passed the filter.
    void keyPressed(QChar character);
    void exited();
    // The drop-down list is about to open; a handler may rebuild the items now.
    void popupAboutToShow();

public:
    void showPopup() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void syncFromList(int select);
    bool handleKey(QKeyEvent *event);

    Prompts *m_prompts;
    Registry *m_registry;
    TarnComboList m_list;
    QString m_regPath;
    int m_maxLength = 0;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TTarnCombo::TTarnComboOptions)
