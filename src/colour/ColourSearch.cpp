#include "colour/ColourSearch.h"

#include "colour/Palette.h"

#include <algorithm>

int ColourDistance(ColourValue a, ColourValue b, int limit)
{
    const int dR = RedOf(a) - RedOf(b);
    const int dG = GreenOf(a) - GreenOf(b);
    const int dB = BlueOf(a) - BlueOf(b);
    const int d = 10 * dG * dG;
    if (d >= limit)
        return FarDistance;
    return d + 3 * dR * dR + dB * dB;
}

QPoint NearestCell(const PaletteCells &cells, ColourValue colour)
{
    int best = FarDistance;
    QPoint answer(0, 0);
    for (int column = 0; column < 16; ++column) {
        for (int row = 0; row < 16; ++row) {
            const int d = ColourDistance(cells[size_t(column)][size_t(row)], colour, best);
            if (d < best) {
                best = d;
                answer = QPoint(column, row);
            }
            // Nothing later can beat an exact match.
            if (d == 0)
                return answer;
        }
    }
    return answer;
}

namespace {

void writeRow(QImage &picture, int y, const GradientTable &row, int width)
{
    uchar *line = picture.scanLine(y);
    for (int x = 0; x < width; ++x) {
        line[3 * x] = uchar(RedOf(row[size_t(x)]));
        line[3 * x + 1] = uchar(GreenOf(row[size_t(x)]));
        line[3 * x + 2] = uchar(BlueOf(row[size_t(x)]));
    }
}

} // namespace

QImage BuildSpectrum(int width)
{
    const int n = SpectrumBandRows;
    QImage picture(width, 6 * n, QImage::Format_RGB888);
    picture.fill(Qt::black);
    const ColourValue anchors[6] = {ColourFromRgb(255, 0, 0), ColourFromRgb(255, 255, 0), ColourFromRgb(0, 255, 0),
                                    ColourFromRgb(0, 255, 255), ColourFromRgb(0, 0, 255), ColourFromRgb(128, 0, 128)};
    const ColourValue black = 0;
    const ColourValue white = ColourFromRgb(255, 255, 255);
    const int half = (width - 1) / 2;
    for (int k = 5; k >= 0; --k) {
        GradientTable band{};
        FillGradient(band, 0, n, anchors[k], anchors[(k + 1) % 6]);
        for (int r = n - 1; r >= 0; --r) {
            const ColourValue hue = band[size_t(r)];
            GradientTable row{};
            FillGradient(row, 0, 6, black, hue);
            FillGradient(row, 1, half, row[1], hue);
            FillGradient(row, 249, 255, hue, white);
            FillGradient(row, half, width - 2, hue, row[254]);
            if (width >= 1 && width <= 256)
                row[size_t(width - 1)] = white;
            writeRow(picture, k * n + r, row, std::min(width, 256));
        }
    }
    return picture;
}

QImage BuildGreyStrip(int width, int height)
{
    GradientTable greys{};
    FillGradient(greys, 0, width - 1, 0, ColourFromRgb(255, 255, 255));
    QImage row(width, 1, QImage::Format_RGB888);
    writeRow(row, 0, greys, std::min(width, 256));
    return row.scaled(width, height);
}

ColourValue ReadPixel(const QImage &picture, int x, int y)
{
    x = std::max(x, 0);
    y = std::max(y, 0);
    if (x >= picture.width() || y >= picture.height())
        return 0;
    return QColorToColour(picture.pixelColor(x, y));
}

std::optional<QPoint> FindInSpectrum(const QImage &spectrum, ColourValue colour, std::optional<QPoint> marker)
{
    if (marker && colour == ReadPixel(spectrum, marker->x(), marker->y()))
        return std::nullopt;
    const int width = spectrum.width();
    const int height = spectrum.height();
    if (colour == ColourFromRgb(255, 255, 255))
        return QPoint(width - 1, height / 2);
    if (colour == 0)
        return QPoint(0, height / 2);
    int best = FarDistance;
    QPoint answer(0, 0);
    for (int x = width - 1; x >= 0; --x) {
        for (int y = height - 2; y >= 0; --y) {
            const ColourValue p = ReadPixel(spectrum, x, y);
            const int d = ColourDistance(colour, p, best);
            if (d < best) {
                answer = QPoint(x, y);
                best = d;
            }
            if (p == colour)
                return QPoint(x, y);
        }
    }
    return answer;
}
