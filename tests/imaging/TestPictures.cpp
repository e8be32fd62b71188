#include "TestPictures.h"

#include <QBuffer>
#include <QFile>
#include <QSet>

namespace TestPictures {

namespace {

void appendLe16(QByteArray &out, int value)
{
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

// Packs variable-width codes least significant bit first, as GIF wants.
class CodePacker
{
public:
    void put(int code, int width)
    {
        m_bits |= quint32(code) << m_count;
        m_count += width;
        while (m_count >= 8) {
            m_bytes.append(char(m_bits & 0xFF));
            m_bits >>= 8;
            m_count -= 8;
        }
    }
    QByteArray finish()
    {
        if (m_count > 0)
            m_bytes.append(char(m_bits & 0xFF));
        m_bits = 0;
        m_count = 0;
        return m_bytes;
    }

private:
    QByteArray m_bytes;
    quint32 m_bits = 0;
    int m_count = 0;
};

} // namespace

QByteArray gifBytes(const QImage &indexed, int transparentIndex)
{
    Q_ASSERT(indexed.format() == QImage::Format_Indexed8);
    QByteArray out("GIF89a");
    appendLe16(out, indexed.width());
    appendLe16(out, indexed.height());
    out.append(char(0xF7)); // global colour table of 256 entries, 8 bits per primary
    out.append(char(0));    // background colour index
    out.append(char(0));    // pixel aspect ratio
    const QList<QRgb> colours = indexed.colorTable();
    for (int i = 0; i < 256; ++i) {
        const QRgb rgb = i < colours.size() ? colours.at(i) : qRgb(0, 0, 0);
        out.append(char(qRed(rgb)));
        out.append(char(qGreen(rgb)));
        out.append(char(qBlue(rgb)));
    }
    if (transparentIndex >= 0) {
        out.append("\x21\xF9\x04\x01\x00\x00", 6);
        out.append(char(transparentIndex));
        out.append(char(0));
    }
    out.append(char(0x2C));
    appendLe16(out, 0);
    appendLe16(out, 0);
    appendLe16(out, indexed.width());
    appendLe16(out, indexed.height());
    out.append(char(0)); // no local colour table, not interlaced

    constexpr int MinimumCodeSize = 8;
    constexpr int Clear = 1 << MinimumCodeSize;
    constexpr int End = Clear + 1;
    constexpr int CodeWidth = MinimumCodeSize + 1;
    // Every literal after the first adds a table entry; clearing well before the table reaches
    // 512 entries keeps every code 9 bits wide.
    constexpr int LiteralsPerClear = 250;
    CodePacker packer;
    packer.put(Clear, CodeWidth);
    int sinceClear = 0;
    for (int y = 0; y < indexed.height(); ++y) {
        const uchar *row = indexed.constScanLine(y);
        for (int x = 0; x < indexed.width(); ++x) {
            if (sinceClear == LiteralsPerClear) {
                packer.put(Clear, CodeWidth);
                sinceClear = 0;
            }
            packer.put(row[x], CodeWidth);
            ++sinceClear;
        }
    }
    packer.put(End, CodeWidth);
    const QByteArray data = packer.finish();

    out.append(char(MinimumCodeSize));
    for (qsizetype pos = 0; pos < data.size(); pos += 255) {
        const QByteArray block = data.mid(pos, 255);
        out.append(char(block.size()));
        out.append(block);
    }
    out.append(char(0));    // block terminator
    out.append(char(0x3B)); // trailer
    return out;
}

QImage twoColours(QSize size, QColor left, QColor right)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        const int shade = size.height() > 1 ? 24 * y / (size.height() - 1) : 0;
        for (int x = 0; x < size.width(); ++x) {
            const QColor base = x < size.width() / 2 ? left : right;
            row[x] = qRgb(qBound(0, base.red() - shade, 255), qBound(0, base.green() + shade / 2, 255),
                          qBound(0, base.blue() - shade, 255));
        }
    }
    return image;
}

QImage fourColourQuarters(QSize size)
{
    QImage image(size, QImage::Format_Indexed8);
    image.setColorTable({qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 0)});
    for (int y = 0; y < size.height(); ++y) {
        uchar *row = image.scanLine(y);
        for (int x = 0; x < size.width(); ++x)
            row[x] = uchar((x < size.width() / 2 ? 0 : 1) + (y < size.height() / 2 ? 0 : 2));
    }
    return image;
}

QByteArray jpegBytes(const QImage &image, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", quality);
    return bytes;
}

QByteArray gifOfSize(QSize size)
{
    return gifBytes(fourColourQuarters(size));
}

QByteArray jpegOfSize(QSize size)
{
    return jpegBytes(twoColours(size, Qt::red, Qt::blue));
}

QByteArray pngBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray withExifThumbnail(const QByteArray &jpeg, qsizetype *exifEnd)
{
    QByteArray payload("Exif\0\0", 6);
    // A little-endian TIFF header with one empty directory.
    payload.append("II\x2A\x00\x08\x00\x00\x00\x00\x00\x00\x00\x00\x00", 14);
    payload.append(jpegBytes(twoColours(QSize(32, 24), Qt::white, Qt::black), 70));
    QByteArray segment("\xFF\xE1", 2);
    const int length = int(payload.size()) + 2;
    segment.append(char((length >> 8) & 0xFF));
    segment.append(char(length & 0xFF));
    segment.append(payload);
    QByteArray out = jpeg.left(2) + segment + jpeg.mid(2);
    if (exifEnd)
        *exifEnd = 2 + segment.size();
    return out;
}

namespace {

void appendBe16(QByteArray &out, int value)
{
    out.append(char((value >> 8) & 0xFF));
    out.append(char(value & 0xFF));
}

void appendLe32(QByteArray &out, quint32 value)
{
    appendLe16(out, int(value & 0xFFFF));
    appendLe16(out, int(value >> 16));
}

// One 12-byte directory entry of a little-endian TIFF structure.
void appendEntry(QByteArray &out, int tag, int type, quint32 count, quint32 valueOrOffset)
{
    appendLe16(out, tag);
    appendLe16(out, type);
    appendLe32(out, count);
    appendLe32(out, valueOrOffset);
}

QByteArray segment(int marker, const QByteArray &payload)
{
    QByteArray out;
    out.append(char(0xFF));
    out.append(char(marker));
    appendBe16(out, int(payload.size()) + 2);
    out.append(payload);
    return out;
}

// Exif: IFD0 with the orientation and a pointer to the GPS directory, which holds the
// latitude and longitude with their references, then the marker as a maker note string.
QByteArray exifPayload(int orientation)
{
    constexpr int Short = 3, Long = 4, Ascii = 2, Rational = 5;
    QByteArray tiff("II\x2A\x00", 4);
    appendLe32(tiff, 8);
    // IFD0 at 8: 3 entries -> 2 + 36 + 4 = 42 bytes, ends at 50.
    const quint32 gpsOffset = 50;
    // GPS IFD at 50: 4 entries -> 2 + 48 + 4 = 54 bytes, ends at 104; rationals follow.
    const quint32 latitudeOffset = 104, longitudeOffset = 128, markerOffset = 152;
    const QByteArray marker = QByteArray(PrivateMarker) + '\0';
    appendLe16(tiff, 3);
    appendEntry(tiff, 0x0112, Short, 1, quint32(orientation));
    appendEntry(tiff, 0x8825, Long, 1, gpsOffset);
    appendEntry(tiff, 0x010E, Ascii, quint32(marker.size()), markerOffset); // image description
    appendLe32(tiff, 0);
    appendLe16(tiff, 4);
    appendEntry(tiff, 0x0001, Ascii, 2, 'N');
    appendEntry(tiff, 0x0002, Rational, 3, latitudeOffset);
    appendEntry(tiff, 0x0003, Ascii, 2, 'E');
    appendEntry(tiff, 0x0004, Rational, 3, longitudeOffset);
    appendLe32(tiff, 0);
    for (quint32 value : {52u, 31u, 12u, 13u, 24u, 36u}) {
        appendLe32(tiff, value);
        appendLe32(tiff, 1);
    }
    tiff.append(marker);
    return QByteArray("Exif\0\0", 6) + tiff;
}

} // namespace

QByteArray jpegWithOrientationAndGps(const QByteArray &jpeg, int orientation)
{
    const QByteArray marker(PrivateMarker);
    QByteArray metadata = segment(0xE1, exifPayload(orientation));
    metadata += segment(0xE1, QByteArray("http://ns.adobe.com/xap/1.0/\0", 29)
                                  + "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><exif:GPSLatitude>" + marker
                                  + "</exif:GPSLatitude></x:xmpmeta>");
    metadata += segment(0xED, QByteArray("Photoshop 3.0\0", 14) + "8BIM" + marker);
    metadata += segment(0xFE, "Taken at " + marker);
    // After the start marker and the JFIF segment, where cameras put theirs.
    qsizetype at = 2;
    if (jpeg.size() > 6 && uchar(jpeg.at(2)) == 0xFF && uchar(jpeg.at(3)) == 0xE0)
        at = 4 + ((uchar(jpeg.at(4)) << 8) | uchar(jpeg.at(5)));
    return jpeg.left(at) + metadata + jpeg.mid(at);
}

QString writeFile(const QString &folder, const QString &name, const QByteArray &bytes)
{
    const QString path = folder + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write test picture %s", qPrintable(path));
    return path;
}

bool isVisible(const QImage &image)
{
    if (image.isNull())
        return false;
    const QImage rgb = image.convertToFormat(QImage::Format_ARGB32);
    QSet<QRgb> colours;
    bool anyOpaqueNonBlack = false;
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb pixel = rgb.pixel(x, y);
            colours.insert(pixel);
            if (qAlpha(pixel) == 255 && (pixel & 0x00FFFFFF) != 0)
                anyOpaqueNonBlack = true;
        }
    }
    return colours.size() > 1 && anyOpaqueNonBlack;
}

} // namespace TestPictures
