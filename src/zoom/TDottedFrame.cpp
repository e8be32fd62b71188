#include "zoom/TDottedFrame.h"

#include <QPainter>
#include <QRegion>

TDottedFrame::TDottedFrame()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                           | Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus
                           | Qt::X11BypassWindowManagerHint)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void TDottedFrame::ShowAround(const QRect &global)
{
    if (global.width() < 1 || global.height() < 1) {
        hide();
        return;
    }
    setGeometry(global);
    const QRect all(QPoint(0, 0), global.size());
    QRegion outline(all);
    if (global.width() > 2 && global.height() > 2)
        outline -= QRegion(all.adjusted(1, 1, -1, -1));
    setMask(outline);
    show();
    raise();
}

void TDottedFrame::paintEvent(QPaintEvent *)
{
    // Alternate black and white pixels, so the outline shows on any background.
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    QPen dots(Qt::black, 1, Qt::CustomDashLine);
    dots.setDashPattern({1, 1});
    painter.setPen(dots);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
