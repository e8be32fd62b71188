#pragma once

#include <QRect>
#include <QSize>

// The arithmetic of the magnifier window, apart from its widgets.

// The view area inside the four bevels: width from the left bevel's width to the right
// bevel's left edge, height from the top bevel's height to the bottom bevel's top edge.
QSize MagnifierViewSize(int rightBevelLeft, int leftBevelWidth, int bottomBevelTop, int topBevelHeight);

// The screen rectangle magnified around a screen point: (view div zoom) in each direction,
// centred on the point, stopped at the screen's left and top edges and shifted back inside
// at its right and bottom edges. zoom below 1 counts as 1.
QRect MagnifierSource(const QPoint &centre, int zoom, const QSize &view, const QRect &screen);

// The part of the source that is copied: one pixel in from every edge, so an outline drawn
// on the source's edge pixels never appears in the view.
QRect MagnifierCopyRect(const QRect &source);
// Where the copy lands on the window's surface: (2, 2), (view width - 1) x (view height - 1).
QRect MagnifierTargetRect(const QSize &view);

// The places of the track bar and the bevels for a client size: the track bar at the right
// edge over the full height, the bevels framing the rest.
struct MagnifierLayout
{
    QRect trackBar;
    QRect top;
    QRect left;
    QRect bottom;
    QRect right;
};
MagnifierLayout LayOutMagnifier(const QSize &client, int trackBarWidth);
