#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWindow>

#include <optional>

class QWidget;

// Keeps what Qt believes of a top-level window's place in step with the X server. Under a
// reparenting window manager (openbox) Qt is now and then left with a stale place after a
// window is mapped, typically 0,0 for a frameless window: menus, message boxes and saved
// positions then go wrong. A little after the native window is moved or exposed, the
// server is asked where the window's contents are; when Qt thinks otherwise the native
// window is asked to be where it already is, and the window manager's answer sets Qt's
// idea. Nothing is checked while a mouse button is held (a drag of the title bar).
class WindowPlaceCheck : public QObject
{
    Q_OBJECT
public:
    // Watches window, a top-level widget, for as long as it lives. Off X11 it does nothing.
    static void Watch(QWidget *window);

    // Where the X server has the window's contents in screen coordinates; no value off X11
    // or for a window that is not mapped.
    static std::optional<QPoint> ServerPosition(const QWidget *window);
    // Where the X server has the window manager's frame around the window (the window's
    // own place when nothing frames it); no value where ServerPosition has none.
    static std::optional<QPoint> ServerFramePosition(const QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit WindowPlaceCheck(QWidget *window);
    void check();

    QWidget *m_window;
    QPointer<QWindow> m_handle;
    bool m_pending = false;
    std::optional<QPoint> m_lastDisagreement;
};
