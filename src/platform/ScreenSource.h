#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>

#include <optional>

// Reads what the screen shows: single pixels for the colour picker's sampling and
// rectangles for the magnifier. The Qt implementation grabs the screen; tests use a double
// that answers from a prepared image.
class ScreenSource
{
public:
    virtual ~ScreenSource() = default;

    // The colour of the screen pixel at a global position; no value when the screen cannot
    // be read there.
    virtual std::optional<QColor> pixelAt(const QPoint &global) = 0;
    // A copy of a rectangle of the screen in global coordinates; a null image when the
    // screen cannot be read.
    virtual QImage grab(const QRect &global) = 0;
};
