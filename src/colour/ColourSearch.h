#pragma once

#include "colour/ColourText.h"

#include <QImage>
#include <QPoint>

#include <array>
#include <optional>

// The nearest-colour searches of the colour picker and the pictures they search.

inline constexpr int FarDistance = 2147483647;

// Green weighs 10, red 3, blue 1: d = 10 dG^2; when d >= limit the answer is FarDistance,
// otherwise d + 3 dR^2 + dB^2. The early answer never changes which candidate wins a strict
// "less than" comparison against limit.
int ColourDistance(ColourValue a, ColourValue b, int limit);

// The 16 x 16 cells of the palette grid, indexed [column][row].
using PaletteCells = std::array<std::array<ColourValue, 16>, 16>;

// The cell the nearest-colour search selects: columns 0 to 15, in each column rows 0 to 15;
// the first cell with the smallest distance to colour (an exact match ends the search).
QPoint NearestCell(const PaletteCells &cells, ColourValue colour);

// The spectrum: 91 pixels wide, six bands of 65 rows (390 rows), 24-bit pixels. Every row
// runs black, dark hue, the pure hue at x = 45, pale hue, white; the bands run red, yellow,
// green, cyan, blue, purple and back to red.
inline constexpr int SpectrumWidth = 91;
inline constexpr int SpectrumBandRows = 65;
inline constexpr int SpectrumHeight = 6 * SpectrumBandRows;
QImage BuildSpectrum(int width = SpectrumWidth);
// The grey strip: black at the left to white at the right, one ramp stretched over height.
inline constexpr int GreyStripWidth = 91;
inline constexpr int GreyStripHeight = 26;
QImage BuildGreyStrip(int width = GreyStripWidth, int height = GreyStripHeight);

// A pixel of a picture: coordinates below 0 count as 0; a point at or beyond the width or
// height gives black.
ColourValue ReadPixel(const QImage &picture, int x, int y);

// The spectrum position the nearest search lands on for colour, or no value when colour is
// already the pixel under marker (a marker outside the picture reads as ReadPixel does; no
// marker skips that check). White lands on (width - 1, height / 2), black on
// (0, height / 2) without scanning; anything else scans columns right to left, in each
// column the rows from height - 2 up to 0, and takes the first position with the smallest
// distance (an exact match ends the scan).
std::optional<QPoint> FindInSpectrum(const QImage &spectrum, ColourValue colour, std::optional<QPoint> marker);
