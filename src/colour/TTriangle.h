#pragma once

#include <QBrush>
#include <QPen>
#include <QWidget>

// A small filled triangle used as a marker beside the spectrum. Horizontal: it points down
// (its base along the top); otherwise it points right (its base along the left edge).
class TTriangle : public QWidget
{
    Q_OBJECT
public:
    explicit TTriangle(QWidget *parent = nullptr);

    bool Horizontal() const { return m_horizontal; }
    void SetHorizontal(bool horizontal);
    QPen Pen() const { return m_pen; }
    void SetPen(const QPen &pen);
    QBrush Brush() const { return m_brush; }
    void SetBrush(const QBrush &brush);

    // The corners of the triangle for the current size and pen width.
    QPolygon Corners() const;

    QSize sizeHint() const override { return {14, 8}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_horizontal = true;
    QPen m_pen{Qt::black, 1};
    QBrush m_brush{Qt::white};
};
