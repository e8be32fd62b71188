#pragma once

#include <QObject>
#include <QPointer>
#include <QPoint>

class HelpViewer;
class QMenu;
class QShortcut;
class QWidget;

// Context help on the right mouse button and on F1.
//
// Help numbers are the dynamic property "helpTag" (int) of a control: a right press on an
// attached control pops up the one-item menu "&What's This ?" 2 pixels right of and below
// the pointer, and choosing it shows help: a negative number -k opens topic k in the help
// window, a positive number k shows pop-up k. A control whose number is 0 (or that has
// none) takes the number of its parent control: the nearest ancestor that carries a
// "helpTag" property, the window included. Widgets without the property are taken as
// layout plumbing (central widgets, tab stacks) and passed over; give a container
// "helpTag" 0 to stop the search there, as a control on it then has no help.
//
// F1 opens the full topic of the focused control's "helpContext" property (int), or of
// the nearest ancestor's with a non-zero one.
class TWhatsThis : public QObject
{
    Q_OBJECT
public:
    static constexpr const char *HelpTagProperty = "helpTag";
    static constexpr const char *HelpContextProperty = "helpContext";

    TWhatsThis(QWidget *owner, HelpViewer &viewer);
    ~TWhatsThis() override;

    static QString Version() { return QStringLiteral("1.01"); }

    // The control's help number by the rule above; 0 for none.
    static int HelpNumber(const QWidget *control);
    // The F1 help context of the control or its nearest ancestor with one; 0 for none.
    static int HelpContext(const QWidget *control);

    // Routes the control's right-button presses to MouseDown. For a scroll area the
    // presses on its empty background count too; for a main window those on its central
    // widget's background. Presses that another control under the pointer received first
    // and passed on are not taken.
    void Attach(QWidget *control);
    // Makes F1 in the window open the focused control's help context.
    void EnableHelpKey(QWidget *window);

    // The owner's mouse-down handler: only the right button counts; a control without a
    // help number does nothing. Otherwise the number is kept and the menu pops up.
    void MouseDown(QWidget *control, Qt::MouseButton button, const QPoint &globalPosition);
    // The menu item's action: help for the number of the last right press.
    void ShowLastHelp();
    // Help for a help number: negative numbers as topics, positive ones as pop-ups.
    void ShowHelp(int number, const QPoint &globalPosition);
    // F1: the full topic of the focused control's help context.
    void HelpKeyPressed();

    int LastHelpNumber() const { return m_lastNumber; }
    // The "&What's This ?" menu; it pops up without blocking.
    QMenu *PopupMenu() const { return m_menu; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *attachedControlFor(QObject *watched) const;
    bool pressBelongsTo(QWidget *control, QWidget *receiver, const QPoint &localPosition) const;

    QPointer<QWidget> m_owner;
    HelpViewer &m_viewer;
    QMenu *m_menu = nullptr;
    int m_lastNumber = 0;
    QPoint m_lastPosition;
};
