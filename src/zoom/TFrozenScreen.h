#pragma once

#include <QImage>
#include <QWidget>

// A screenshot shown full-screen and frameless, so the magnifier can be dragged over a
// still picture of the desktop where the live screen cannot be read.
class TFrozenScreen : public QWidget
{
public:
    explicit TFrozenScreen(const QImage &picture);
    // The screen area the picture stands for, in global coordinates.
    QRect Area() const { return m_area; }
    QImage Picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_picture;
    QRect m_area;
};
