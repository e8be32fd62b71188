// libFuzzer target: any bytes go through the four palette readers. A reader must keep to
// the bytes it is given, report a message whenever it refuses a file and leave black every
// entry it did not read; sorting keeps the entries.

#include "colour/PaletteFiles.h"
#include "controls/FileText.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *what, const QString &detail = QString())
{
    std::fprintf(stderr, "invariant broken: %s %s\n", what, detail.toUtf8().constData());
    std::abort();
}

// Entries from count on are black, unless the format fills a fixed table.
void checkRead(const PaletteRead &read, int blackFrom, const char *reader)
{
    if (read.count < 0 || read.count > PaletteSize)
        fail(reader, QStringLiteral("count %1").arg(read.count));
    if (!read.show && read.message.isEmpty())
        fail(reader, QStringLiteral("refused without a message"));
    if (!read.show)
        return;
    for (int i = std::max(0, blackFrom); i < PaletteSize; ++i) {
        if (!(read.palette[size_t(i)] == PaletteEntry{}))
            fail(reader, QStringLiteral("entry %1 is not black").arg(i));
    }
    Palette sorted = read.palette;
    SortByLuminance(sorted, read.count);
    if (!std::is_permutation(sorted.begin(), sorted.end(), read.palette.begin()))
        fail(reader, QStringLiteral("sorting lost an entry"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString path = QStringLiteral("/fuzz/input.pal");

    const PaletteRead gif = ReadGifPalette(bytes);
    const int gifEntries = size > 10 ? 1 << ((data[10] & 7) + 1) : 0;
    checkRead(gif, std::min<int>(gifEntries, (int(std::min<size_t>(size, 4096)) - 13 + 2) / 3), "gif");

    const PaletteRead jasc = ReadJascPalette(DecodeFileText(bytes), path);
    checkRead(jasc, jasc.count, "jasc");

    const PaletteRead riff = ReadRiffPalette(bytes, path);
    checkRead(riff, riff.count, "riff");

    const PaletteRead act = ReadActPalette(bytes);
    checkRead(act, int(std::min<size_t>(size, 768) + 2) / 3, "act");

    // The ".pal" dispatch agrees with the reader it picks.
    const PaletteRead pal = ReadPaletteBytes(bytes, path);
    const PaletteRead &expected = bytes.startsWith("JASC-PAL") ? jasc : riff;
    if (!bytes.startsWith("\xEF\xBB\xBF") && (pal.palette != expected.palette || pal.count != expected.count))
        fail("pal dispatch");
    return 0;
}
