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
