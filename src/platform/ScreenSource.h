#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>

#include <optional>

// What a request to the desktop for the screen gave.
struct ScreenReading
{
    enum class Status { Done, Cancelled, Unavailable };
    Status status = Status::Unavailable;
    QColor colour;   // PickColour
    QImage picture;  // Screenshot
};

// Reads what the screen shows: single pixels for the colour picker's sampling and
// rectangles for the magnifier. The Qt implementation grabs the screen; tests use a double
// that answers from a prepared image.
//
// Where no program may read the screen by itself (Wayland), readsDirectly() is false and
// the desktop is asked instead: pickColour() lets the user pick one pixel, screenshot()
// takes the whole screen once.
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

    virtual bool readsDirectly() const { return true; }
    virtual ScreenReading pickColour() { return {}; }
    virtual ScreenReading screenshot() { return {}; }
};

// The text shown when the desktop gives no access to the screen.
inline QString ScreenUnavailableMessage()
{
    return QStringLiteral("Reading the screen is not available on this desktop.");
}
