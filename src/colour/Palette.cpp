#include "colour/Palette.h"

#include <algorithm>
#include <utility>

void FillGradient(GradientTable &table, int from, int to, ColourValue start, ColourValue end)
{
    if (from > to)
        return;
    const int span = std::max(1, to - from);
    const int startChannels[3] = {RedOf(start), GreenOf(start), BlueOf(start)};
    const int endChannels[3] = {RedOf(end), GreenOf(end), BlueOf(end)};
    for (int i = to; i >= from; --i) {
        if (i < 0 || i >= int(table.size()))
            continue;
        int value[3];
        for (int c = 0; c < 3; ++c)
            value[c] = startChannels[c] - ((startChannels[c] - endChannels[c]) * (i - from)) / span;
        table[size_t(i)] = ColourFromRgb(value[0], value[1], value[2]);
    }
}

int LuminanceKey(const PaletteEntry &entry)
{
    const int high = std::max({entry.red, entry.green, entry.blue});
    const int low = std::min({entry.red, entry.green, entry.blue});
    const int sum = high + low;
    int key = sum / 2;
    // A half goes to the even neighbour.
    if ((sum & 1) != 0 && (key & 1) != 0)
        ++key;
    return key;
}

namespace {

void quickSort(Palette &palette, std::array<int, PaletteSize> &keys, int lo, int hi)
{
    int i = lo;
    int j = hi;
    const int pivot = keys[size_t((lo + hi) / 2)];
    do {
        while (keys[size_t(i)] < pivot)
            ++i;
        while (keys[size_t(j)] > pivot)
            --j;
        if (i <= j) {
            std::swap(palette[size_t(i)], palette[size_t(j)]);
            std::swap(keys[size_t(i)], keys[size_t(j)]);
            ++i;
            --j;
        }
    } while (i <= j);
    if (lo < j)
        quickSort(palette, keys, lo, j);
    if (i < hi)
        quickSort(palette, keys, i, hi);
}

} // namespace

void SortByLuminance(Palette &palette, int count)
{
    count = std::clamp(count, 0, PaletteSize);
    if (count < 2)
        return;
    std::array<int, PaletteSize> keys{};
    for (int i = 0; i < count; ++i)
        keys[size_t(i)] = LuminanceKey(palette[size_t(i)]);
    quickSort(palette, keys, 0, count - 1);
}
