#include "zoom/TFrozenScreen.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

TFrozenScreen::TFrozenScreen(const QImage &picture)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    m_area = screen ? screen->virtualGeometry() : QRect(QPoint(0, 0), picture.size());
    // The portal's picture is in device pixels; the program works in logical ones.
    m_picture = picture.size() == m_area.size()
        ? picture
        : picture.scaled(m_area.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(m_area);
}

void TFrozenScreen::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
}
