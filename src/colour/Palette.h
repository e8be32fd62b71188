#pragma once

#include "colour/ColourText.h"

#include <QByteArray>

#include <array>

// One palette entry: red, green, blue and a spare byte that is never used.
struct PaletteEntry
{
    quint8 red = 0;
    quint8 green = 0;
    quint8 blue = 0;
    quint8 spare = 0;

    friend bool operator==(const PaletteEntry &a, const PaletteEntry &b)
    {
        return a.red == b.red && a.green == b.green && a.blue == b.blue;
    }
};

inline constexpr int PaletteSize = 256;
// Always 256 entries; entries a file does not supply stay black.
using Palette = std::array<PaletteEntry, PaletteSize>;

inline ColourValue EntryColour(const PaletteEntry &entry)
{
    return ColourFromRgb(entry.red, entry.green, entry.blue);
}

// 256 colours of a ramp, kept as colour values (ColourToTriple gives the pixel bytes).
using GradientTable = std::array<ColourValue, 256>;

// Fills entries from..to of table with a straight ramp from start (at from) to end (at to):
// for each channel c, value(i) = c(start) - ((c(start) - c(end)) * (i - from)) div span with
// span = max(1, to - from) and div truncating toward zero. Nothing when from > to; indexes
// outside 0..255 are left alone.
void FillGradient(GradientTable &table, int from, int to, ColourValue start, ColourValue end);

// The sort key of an entry: (max + min) / 2 of its channels, halves rounded to even.
int LuminanceKey(const PaletteEntry &entry);
// Sorts the first count entries ascending by LuminanceKey with the picker's own quicksort
// (middle pivot, Hoare partition), so entries with equal keys end where that procedure
// leaves them. count is clamped to 0..256.
void SortByLuminance(Palette &palette, int count);
