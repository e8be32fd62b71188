#include "imaging/JpegMetadata.h"

#include <QList>

namespace {

constexpr uchar StartOfImage = 0xD8;
constexpr uchar EndOfImage = 0xD9;
constexpr uchar StartOfScan = 0xDA;
constexpr uchar App0 = 0xE0;
constexpr uchar App1 = 0xE1;
constexpr uchar App13 = 0xED;
constexpr uchar Comment = 0xFE;
constexpr int OrientationTag = 0x0112;
constexpr int ShortType = 3;

const QByteArray ExifHeader("Exif\0\0", 6);

// One marker segment before the scan: where it starts (at its 0xFF), its marker, and where
// its payload (after the length) starts and ends.
struct Segment
{
    qsizetype start = 0;
    uchar marker = 0;
    qsizetype payload = 0;
    qsizetype end = 0;
};

bool standalone(uchar marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// The segments from after the start marker up to (not including) the first start of scan or
// end marker, whose offset goes to *rest. No value when a segment is cut off or a marker is
// not where one must be.
std::optional<QList<Segment>> segmentsBeforeScan(const QByteArray &data, qsizetype *rest)
{
    if (data.size() < 4 || uchar(data.at(0)) != 0xFF || uchar(data.at(1)) != StartOfImage)
        return std::nullopt;
    QList<Segment> segments;
    qsizetype at = 2;
    for (;;) {
        if (at >= data.size() || uchar(data.at(at)) != 0xFF)
            return std::nullopt;
        const qsizetype start = at;
        while (at < data.size() && uchar(data.at(at)) == 0xFF) // fill bytes
            ++at;
        if (at >= data.size())
            return std::nullopt;
        const uchar marker = uchar(data.at(at++));
        if (marker == StartOfScan || marker == EndOfImage) {
            *rest = start;
            return segments;
        }
        if (standalone(marker)) {
            segments.append({start, marker, at, at});
            continue;
        }
        if (at + 2 > data.size())
            return std::nullopt;
        const int length = (uchar(data.at(at)) << 8) | uchar(data.at(at + 1));
        if (length < 2 || at + length > data.size())
            return std::nullopt;
        segments.append({start, marker, at + 2, at + length});
        at += length;
    }
}

// Reads 16 or 32 bits of a TIFF structure in its byte order; false past the end.
class TiffReader
{
public:
    TiffReader(const char *data, qsizetype size, bool bigEndian) : m_data(data), m_size(size), m_bigEndian(bigEndian) {}

    bool read16(qsizetype at, int *value) const
    {
        if (at < 0 || at + 2 > m_size)
            return false;
        const uchar a = uchar(m_data[at]), b = uchar(m_data[at + 1]);
        *value = m_bigEndian ? (a << 8) | b : (b << 8) | a;
        return true;
    }
    bool read32(qsizetype at, quint32 *value) const
    {
        int high = 0, low = 0;
        if (!read16(at, m_bigEndian ? &high : &low) || !read16(at + 2, m_bigEndian ? &low : &high))
            return false;
        *value = (quint32(high) << 16) | quint32(low);
        return true;
    }

private:
    const char *m_data;
    qsizetype m_size;
    bool m_bigEndian;
};

// The orientation in the first directory of an Exif payload, 1 when there is none.
int orientationIn(const char *payload, qsizetype size)
{
    if (size < ExifHeader.size() + 8 || QByteArray::fromRawData(payload, ExifHeader.size()) != ExifHeader)
        return 1;
    const char *tiff = payload + ExifHeader.size();
    const qsizetype tiffSize = size - ExifHeader.size();
    const QByteArray order = QByteArray::fromRawData(tiff, 2);
    if (order != "II" && order != "MM")
        return 1;
    const TiffReader reader(tiff, tiffSize, order == "MM");
    int magic = 0, count = 0;
    quint32 directory = 0;
    if (!reader.read16(2, &magic) || magic != 42 || !reader.read32(4, &directory)
        || !reader.read16(qsizetype(directory), &count))
        return 1;
    for (int i = 0; i < count; ++i) {
        const qsizetype entry = qsizetype(directory) + 2 + 12 * qsizetype(i);
        int tag = 0, type = 0, value = 0;
        if (!reader.read16(entry, &tag) || !reader.read16(entry + 2, &type))
            return 1;
        if (tag != OrientationTag)
            continue;
        if (type != ShortType || !reader.read16(entry + 8, &value) || value < 1 || value > 8)
            return 1;
        return value;
    }
    return 1;
}

// An Exif segment with one directory entry: the orientation.
QByteArray orientationSegment(int orientation)
{
    QByteArray payload = ExifHeader;
    payload.append("MM\x00\x2A\x00\x00\x00\x08", 8);     // big-endian, first directory at 8
    payload.append("\x00\x01", 2);                          // one entry
    payload.append("\x01\x12\x00\x03\x00\x00\x00\x01", 8); // orientation, SHORT, count 1
    payload.append(char(0));
    payload.append(char(orientation));
    payload.append("\x00\x00", 2);
    payload.append("\x00\x00\x00\x00", 4); // no next directory
    QByteArray segment("\xFF\xE1", 2);
    const qsizetype length = payload.size() + 2;
    segment.append(char(length >> 8));
    segment.append(char(length & 0xFF));
    return segment + payload;
}

bool isMetadata(uchar marker)
{
    return marker == App1 || marker == App13 || marker == Comment;
}

} // namespace

int JpegExifOrientation(const QByteArray &jpeg)
{
    qsizetype rest = 0;
    const std::optional<QList<Segment>> segments = segmentsBeforeScan(jpeg, &rest);
    if (!segments)
        return 1;
    for (const Segment &segment : *segments) {
        if (segment.marker == App1) {
            const int orientation = orientationIn(jpeg.constData() + segment.payload, segment.end - segment.payload);
            if (orientation != 1)
                return orientation;
        }
    }
    return 1;
}

std::optional<QByteArray> JpegWithoutMetadata(const QByteArray &jpeg)
{
    qsizetype rest = 0;
    const std::optional<QList<Segment>> segments = segmentsBeforeScan(jpeg, &rest);
    if (!segments)
        return std::nullopt;
    const int orientation = JpegExifOrientation(jpeg);

    QByteArray out;
    out.reserve(jpeg.size());
    out.append(jpeg.constData(), 2);
    bool orientationWritten = orientation == 1;
    for (const Segment &segment : *segments) {
        // The JFIF segment must stay first; the orientation goes right after it.
        if (!orientationWritten && segment.marker != App0) {
            out += orientationSegment(orientation);
            orientationWritten = true;
        }
        if (!isMetadata(segment.marker))
            out.append(jpeg.constData() + segment.start, segment.end - segment.start);
    }
    if (!orientationWritten)
        out += orientationSegment(orientation);
    out.append(jpeg.constData() + rest, jpeg.size() - rest);
    return out;
}
