#include "imaging/StreamCompleteness.h"

#include <cstring>

namespace {

constexpr unsigned char MarkerPrefix = 0xFF;
constexpr unsigned char StartOfImage = 0xD8;
constexpr unsigned char EndOfImage = 0xD9;
constexpr unsigned char StartOfScan = 0xDA;

// Markers that stand alone, without a length field.
bool isStandalone(unsigned char marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// Index of the next 0xFF at or after pos, or -1.
qsizetype nextPrefix(const unsigned char *bytes, qsizetype size, qsizetype pos)
{
    if (pos >= size)
        return -1;
    const void *found = std::memchr(bytes + pos, MarkerPrefix, size_t(size - pos));
    return found ? static_cast<const unsigned char *>(found) - bytes : -1;
}

// Skips entropy-coded data from pos; returns the index of the 0xFF of the marker that ends it,
// or -1 when the data runs out first. Stuffed bytes (FF 00) and restart markers belong to it.
qsizetype skipCodedData(const unsigned char *bytes, qsizetype size, qsizetype pos)
{
    for (;;) {
        pos = nextPrefix(bytes, size, pos);
        if (pos < 0 || pos + 1 >= size)
            return -1;
        const unsigned char next = bytes[pos + 1];
        if (next == 0x00 || (next >= 0xD0 && next <= 0xD7))
            pos += 2;
        else if (next == MarkerPrefix)
            pos += 1; // fill byte in front of a marker
        else
            return pos;
    }
}

} // namespace

bool isCompleteJpegStream(const QByteArray &data)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(data.constData());
    const qsizetype size = data.size();
    if (size < 4 || bytes[0] != MarkerPrefix || bytes[1] != StartOfImage)
        return false;

    qsizetype pos = 2;
    for (;;) {
        // The reader skips stray bytes in front of a marker with a warning; so do we.
        pos = nextPrefix(bytes, size, pos);
        if (pos < 0)
            return false;
        while (pos < size && bytes[pos] == MarkerPrefix)
            ++pos;
        if (pos >= size)
            return false;
        const unsigned char marker = bytes[pos++];
        if (marker == EndOfImage)
            return true;
        if (marker == 0x00 || isStandalone(marker))
            continue;
        if (pos + 2 > size)
            return false;
        const qsizetype length = (qsizetype(bytes[pos]) << 8) | bytes[pos + 1];
        if (length < 2 || pos + length > size)
            return false;
        pos += length;
        if (marker == StartOfScan) {
            pos = skipCodedData(bytes, size, pos);
            if (pos < 0)
                return false;
        }
    }
}

namespace {

// Skips a chain of GIF data sub-blocks from pos up to and including the empty block that ends
// it; returns the index after it, or -1 when the data runs out first.
qsizetype skipGifSubBlocks(const unsigned char *bytes, qsizetype size, qsizetype pos)
{
    for (;;) {
        if (pos >= size)
            return -1;
        const int length = bytes[pos++];
        if (length == 0)
            return pos;
        pos += length;
    }
}

// Size in bytes of the colour table a packed field announces, 0 when it has none.
qsizetype gifColourTableSize(unsigned char packed)
{
    return (packed & 0x80) ? 3 * (qsizetype(2) << (packed & 0x07)) : 0;
}

} // namespace

bool isCompleteGifImage(const QByteArray &data)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(data.constData());
    const qsizetype size = data.size();
    constexpr qsizetype HeaderSize = 6 + 7; // signature and version, logical screen descriptor
    if (size < HeaderSize || !data.startsWith("GIF"))
        return false;
    qsizetype pos = HeaderSize + gifColourTableSize(bytes[10]);
    for (;;) {
        if (pos >= size)
            return false;
        const unsigned char introducer = bytes[pos++];
        if (introducer == 0x21) { // extension: label, then sub-blocks
            pos = skipGifSubBlocks(bytes, size, pos + 1);
        } else if (introducer == 0x2C) { // image: descriptor, local table, code size, sub-blocks
            constexpr qsizetype DescriptorRest = 9;
            if (pos + DescriptorRest > size)
                return false;
            pos += DescriptorRest + gifColourTableSize(bytes[pos + DescriptorRest - 1]);
            return skipGifSubBlocks(bytes, size, pos + 1) >= 0;
        } else {
            return false; // the trailer before any image, or not GIF structure at all
        }
        if (pos < 0)
            return false;
    }
}
