#include "controls/WindowPlaceCheck.h"

#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>

namespace {

// How long the window manager gets to finish placing a window before it is looked at.
constexpr int SettleMilliseconds = 250;

// Where the window's top-left corner is on the root window (the screen).
std::optional<QPoint> rootPosition(xcb_connection_t *connection, xcb_window_t window, xcb_window_t root)
{
    xcb_translate_coordinates_reply_t *place =
        xcb_translate_coordinates_reply(connection, xcb_translate_coordinates(connection, window, root, 0, 0), nullptr);
    if (!place)
        return std::nullopt;
    const QPoint at(place->dst_x, place->dst_y);
    std::free(place);
    return at;
}

} // namespace

WindowPlaceCheck::WindowPlaceCheck(QWidget *window) : QObject(window), m_window(window)
{
    window->installEventFilter(this);
}

void WindowPlaceCheck::Watch(QWidget *window)
{
    if (!window || !qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    new WindowPlaceCheck(window);
}

std::optional<QPoint> WindowPlaceCheck::ServerPosition(const QWidget *window)
{
    // Only the xcb platform talks to an X server (offscreen may offer the interface without
    // a connection).
    const auto *x11 = qGuiApp && QGuiApplication::platformName() == QLatin1String("xcb")
        ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
        : nullptr;
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection || !window->isVisible() || !window->windowHandle())
        return std::nullopt;
    const auto id = xcb_window_t(window->winId());
    xcb_get_window_attributes_reply_t *attributes =
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, id), nullptr);
    const bool viewable = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(attributes);
    if (!viewable)
        return std::nullopt;
    xcb_get_geometry_reply_t *geometry = xcb_get_geometry_reply(connection, xcb_get_geometry(connection, id), nullptr);
    if (!geometry)
        return std::nullopt;
    const xcb_window_t root = geometry->root;
    std::free(geometry);
    return rootPosition(connection, id, root);
}

std::optional<QPoint> WindowPlaceCheck::ServerFramePosition(const QWidget *window)
{
    if (!ServerPosition(window))
        return std::nullopt;
    auto *connection = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    // The frame is the window's ancestor just below the root.
    xcb_window_t frame = xcb_window_t(window->winId());
    xcb_window_t root = XCB_WINDOW_NONE;
    for (int depth = 0; depth < 16; ++depth) {
        xcb_query_tree_reply_t *tree = xcb_query_tree_reply(connection, xcb_query_tree(connection, frame), nullptr);
        if (!tree)
            return std::nullopt;
        root = tree->root;
        const xcb_window_t parent = tree->parent;
        std::free(tree);
        if (parent == root || parent == XCB_WINDOW_NONE)
            break;
        frame = parent;
    }
    return rootPosition(connection, frame, root);
}

bool WindowPlaceCheck::eventFilter(QObject *watched, QEvent *event)
{
    // The native window exists once the widget is shown; its own events carry the
    // platform's word, which the widget does not always hear.
    if (watched == m_window && event->type() == QEvent::Show && m_window->windowHandle() && !m_handle) {
        m_handle = m_window->windowHandle();
        m_handle->installEventFilter(this);
    }
    // The window manager places its frame in several steps: the check waits a little.
    const bool fromPlatform = event->type() == QEvent::Move || event->type() == QEvent::Expose;
    if (watched == m_handle && !m_pending && fromPlatform) {
        m_pending = true;
        QTimer::singleShot(SettleMilliseconds, this, &WindowPlaceCheck::check);
    }
    return QObject::eventFilter(watched, event);
}

void WindowPlaceCheck::check()
{
    m_pending = false;
    if (!m_handle || QGuiApplication::mouseButtons() != Qt::NoButton)
        return;
    const std::optional<QPoint> server = ServerPosition(m_window);
    if (!server || *server == m_handle->geometry().topLeft()) {
        m_lastDisagreement.reset();
        return;
    }
    // The server's word counts once it holds still: while the window manager is still
    // moving its frame into place, a first answer may be a passing one.
    if (m_lastDisagreement != server) {
        m_lastDisagreement = server;
        m_pending = true;
        QTimer::singleShot(SettleMilliseconds, this, &WindowPlaceCheck::check);
        return;
    }
    m_lastDisagreement.reset();
    // Asking for the place the window already has changes nothing on the screen; the window
    // manager's answer sets what Qt believes.
    m_handle->setPosition(*server);
}
