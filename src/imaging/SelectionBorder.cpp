#include "imaging/SelectionBorder.h"

#include <algorithm>
#include <cmath>

namespace {

// Rows or columns the 5-pixel pen covers on the full picture.
constexpr int LeadingBand = 4;  // top and left: centred on row / column 1
constexpr int TrailingBand = 2; // bottom and right: centred on row / column W or H

// One band's width in copy pixels along a side that is copyExtent pixels long on the copy,
// fullExtent on the full picture, and displayExtent on the display.
int bandWidth(int fullBand, int copyExtent, int fullExtent, int displayExtent)
{
    const double scaled = double(fullBand) * copyExtent / fullExtent;
    // One display pixel covers copyExtent / displayExtent copy pixels.
    const int onePixelOfDisplay = int(std::ceil(double(copyExtent) / std::max(1, displayExtent)));
    const int width = std::max({1, int(std::lround(scaled)), onePixelOfDisplay});
    return std::min(width, copyExtent);
}

} // namespace

SelectionBorderBands selectionBorderBands(QSize pictureSize, QSize fullSize, QSize displaySize)
{
    SelectionBorderBands bands;
    if (pictureSize.isEmpty())
        return bands;
    if (fullSize.isEmpty())
        fullSize = pictureSize;
    const int w = pictureSize.width();
    const int h = pictureSize.height();
    bands.top = bandWidth(LeadingBand, h, fullSize.height(), displaySize.height());
    bands.bottom = bandWidth(TrailingBand, h, fullSize.height(), displaySize.height());
    bands.left = bandWidth(LeadingBand, w, fullSize.width(), displaySize.width());
    bands.right = bandWidth(TrailingBand, w, fullSize.width(), displaySize.width());
    return bands;
}

void drawSelectionBorder(QImage &picture, QSize fullSize, QSize displaySize)
{
    if (picture.isNull())
        return;
    const QImage::Format format = picture.format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32)
        picture = picture.convertToFormat(QImage::Format_RGB32);

    const SelectionBorderBands bands = selectionBorderBands(picture.size(), fullSize, displaySize);
    const int w = picture.width();
    const int h = picture.height();
    // Columns inverted on rows between the top and bottom bands; they never overlap, so no
    // pixel is inverted twice.
    const int leftEnd = std::min(bands.left, w);
    const int rightStart = std::max(leftEnd, w - bands.right);
    constexpr QRgb Invert = 0x00FFFFFF; // colour bits only; alpha stays

    for (int y = 0; y < h; ++y) {
        auto *row = reinterpret_cast<QRgb *>(picture.scanLine(y));
        if (y < bands.top || y >= h - bands.bottom) {
            for (int x = 0; x < w; ++x)
                row[x] ^= Invert;
            continue;
        }
        for (int x = 0; x < leftEnd; ++x)
            row[x] ^= Invert;
        for (int x = rightStart; x < w; ++x)
            row[x] ^= Invert;
    }
}
