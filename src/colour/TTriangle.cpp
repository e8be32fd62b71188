#include "colour/TTriangle.h"

#include <QPainter>

TTriangle::TTriangle(QWidget *parent) : QWidget(parent)
{
    resize(14, 8);
    // Only the triangle is painted; the panel shows through around it.
    setAttribute(Qt::WA_TranslucentBackground);
}

void TTriangle::SetHorizontal(bool horizontal)
{
    m_horizontal = horizontal;
    update();
}

void TTriangle::SetPen(const QPen &pen)
{
    m_pen = pen;
    update();
}

void TTriangle::SetBrush(const QBrush &brush)
{
    m_brush = brush;
    update();
}

QPolygon TTriangle::Corners() const
{
    const int p = m_pen.width();
    const int o = p / 2;
    const int w = width() - p + (p == 0 ? 0 : 1);
    const int h = height() - p + (p == 0 ? 0 : 1);
    if (m_horizontal)
        return QPolygon({QPoint(o, o), QPoint(o + w - 1, o), QPoint((o + w - 1) / 2, o + h - 1)});
    return QPolygon({QPoint(o, o), QPoint(o, o + h - 1), QPoint(o + w - 1, (o + h - 1) / 2)});
}

void TTriangle::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(m_pen);
    painter.setBrush(m_brush);
    painter.drawPolygon(Corners());
}
