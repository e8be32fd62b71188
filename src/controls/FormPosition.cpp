#include "controls/FormPosition.h"

#include "controls/WindowPlaceCheck.h"
#include "platform/RegistryKey.h"

#include <QWidget>

namespace {

constexpr int NotStored = -999;
constexpr Qt::WindowStates SizeStates = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;

// A number that does not parse counts as not stored, rather than ending the caller.
int readNumber(const Registry &registry, Registry::Root root, const QString &key, const QString &name)
{
    bool ok = false;
    const int value = registry.readString(root, key, name, QString::number(NotStored)).trimmed().toInt(&ok);
    return ok ? value : NotStored;
}

void setSizeState(QWidget *window, Qt::WindowState state)
{
    window->setWindowState((window->windowState() & ~SizeStates) | state);
}

} // namespace

QString FormPositionKey(const QString &name)
{
    return QStringLiteral("Form Positions\\") + name;
}

bool LoadFormPosition(const RegistryKey &registry, QWidget *window, const QString &name)
{
    if (!window)
        return false;
    const Registry &store = registry.registry();
    const Registry::Root root = registry.root();
    const QString key = registry.absolutePath(FormPositionKey(name));

    const int top = readNumber(store, root, key, QStringLiteral("Top"));
    const int left = readNumber(store, root, key, QStringLiteral("Left"));
    const int width = readNumber(store, root, key, QStringLiteral("Width"));
    const int height = readNumber(store, root, key, QStringLiteral("Height"));
    const QString state = store.readString(root, key, QStringLiteral("Window State"), QString());

    bool result = false;
    if (state.compare(QLatin1String("Max"), Qt::CaseInsensitive) == 0) {
        setSizeState(window, Qt::WindowMaximized);
        result = true;
    } else if (state.compare(QLatin1String("Min"), Qt::CaseInsensitive) == 0) {
        setSizeState(window, Qt::WindowMinimized);
        result = true;
    } else if (state.compare(QLatin1String("Normal"), Qt::CaseInsensitive) == 0) {
        setSizeState(window, Qt::WindowNoState);
        result = true;
    }

    if (window->windowState() & SizeStates)
        return result;
    // One move to the whole stored place. On a hidden window that has been shown before,
    // x() and y() after a move count a frame the move left out, so a second move built on
    // them lands a frame's height off (the magnifier crept up on every opening).
    const QPoint place = window->pos();
    if (top == NotStored)
        result = false;
    const QPoint target(left != NotStored ? left : place.x(), top != NotStored ? top : place.y());
    if (target != place)
        window->move(target);
    if (width != NotStored || height != NotStored)
        window->resize(width != NotStored ? width : window->width(), height != NotStored ? height : window->height());
    return result;
}

bool SaveFormPosition(RegistryKey &registry, const QWidget *window, const QString &name)
{
    if (!window)
        return false;
    Registry &store = registry.registry();
    const Registry::Root root = registry.root();
    const QString key = registry.absolutePath(FormPositionKey(name));

    QString state = QStringLiteral("Normal");
    if (window->windowState() & Qt::WindowMinimized)
        state = QStringLiteral("Min");
    else if (window->windowState() & Qt::WindowMaximized)
        state = QStringLiteral("Max");

    // The X server's word where there is one: Qt learns the window manager's frame only a
    // while after the window is shown, and until then gives the place of its contents.
    const QPoint place = WindowPlaceCheck::ServerFramePosition(window).value_or(QPoint(window->x(), window->y()));
    bool written = store.writeString(root, key, QStringLiteral("Top"), QString::number(place.y()));
    written = store.writeString(root, key, QStringLiteral("Left"), QString::number(place.x())) && written;
    written = store.writeString(root, key, QStringLiteral("Width"), QString::number(window->width())) && written;
    written = store.writeString(root, key, QStringLiteral("Height"), QString::number(window->height())) && written;
    written = store.writeString(root, key, QStringLiteral("Window State"), state) && written;
    return written;
}
