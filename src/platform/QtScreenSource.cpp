#include "platform/QtScreenSource.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

std::optional<QColor> QtScreenSource::pixelAt(const QPoint &global)
{
    const QImage pixel = grab(QRect(global, QSize(1, 1)));
    if (pixel.isNull() || pixel.width() < 1 || pixel.height() < 1)
        return std::nullopt;
    return pixel.pixelColor(0, 0);
}

QImage QtScreenSource::grab(const QRect &global)
{
    if (!readsDirectly())
        return QImage();
    QScreen *screen = QGuiApplication::screenAt(global.topLeft());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QImage();
    // grabWindow(0) takes coordinates relative to the screen and device-independent sizes.
    const QRect geometry = screen->geometry();
    const QPixmap picture = screen->grabWindow(0, global.x() - geometry.x(), global.y() - geometry.y(),
                                               global.width(), global.height());
    return picture.toImage().convertToFormat(QImage::Format_RGB32);
}

ScreenReading QtScreenSource::pickColour()
{
    return readsDirectly() ? ScreenReading() : m_portal.pickColour();
}

ScreenReading QtScreenSource::screenshot()
{
    if (!readsDirectly())
        return m_portal.screenshot();
    // Directly: the whole desktop in one picture.
    QScreen *screen = QGuiApplication::primaryScreen();
    ScreenReading reading;
    if (!screen)
        return reading;
    reading.picture = grab(screen->virtualGeometry());
    if (!reading.picture.isNull())
        reading.status = ScreenReading::Status::Done;
    return reading;
}
