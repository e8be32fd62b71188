#pragma once

#include <QImage>
#include <QSize>

// The inverting selection border of a thumbnail. On the full picture it is a pen 5 pixels wide
// that inverts what it covers, drawn from (1, 1) to (W, 1), (W, H), (1, H) and back: centred on
// row and column 1 it covers 4 rows at the top and 4 columns at the left, and centred just
// outside the last row and column it covers 2 at the bottom and right. A frame keeps a reduced
// copy of its picture, so the bands are scaled by the copy's share of the full size, but never
// drawn thinner than one pixel of the display the copy is stretched into (65 x 65 device pixels
// for a thumbnail), so a selected photo always looks selected.
struct SelectionBorderBands
{
    int top = 0;
    int bottom = 0;
    int left = 0;
    int right = 0;
};

inline constexpr QSize ThumbnailDisplaySize{65, 65};

// Band widths, in pixels of a copy of pictureSize, for a picture whose full size is fullSize
// (an empty fullSize means the copy is the full picture).
SelectionBorderBands selectionBorderBands(QSize pictureSize, QSize fullSize,
                                          QSize displaySize = ThumbnailDisplaySize);

// Inverts the border bands of picture in place (every pixel once, corners included), so
// drawing it a second time restores the picture exactly. A picture not in a 32-bit RGB format
// is converted to Format_RGB32 first.
void drawSelectionBorder(QImage &picture, QSize fullSize, QSize displaySize = ThumbnailDisplaySize);
