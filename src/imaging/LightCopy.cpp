#include "imaging/LightCopy.h"

#include "document/FitGeometry.h"
#include "imaging/ImageDecoder.h"
#include "imaging/StreamCompleteness.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>

#include <algorithm>

namespace {

QString copyText(const QString &path, const QString &reason)
{
    return QStringLiteral("No smaller copy of ") + path + QStringLiteral(" could be made: ") + reason;
}

LightCopy failed(const QString &path, const QString &reason)
{
    LightCopy copy;
    copy.errorText = copyText(path, reason);
    return copy;
}

// A picture that cannot be decoded is reported as the decoder reports it: where its copy is
// the only decode of the picture, as in a page that make writes, this is that report.
LightCopy undecodable(const QString &path)
{
    LightCopy copy;
    copy.errorText = ImageDecoder::damagedText(path);
    return copy;
}

// The pixels alone: no text keys (the reader keeps a comment as one, which the writer would
// write back), no colour profile and no resolution.
QImage barePixels(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    return QImage(rgb.constBits(), rgb.width(), rgb.height(), rgb.bytesPerLine(), QImage::Format_RGB32).copy();
}

} // namespace

QSize LightCopyBound(QSize box)
{
    return QSize(std::max(1, box.width() * 3 / 2), std::max(1, box.height() * 3 / 2));
}

bool NeedsLightCopy(QSize uprightSize, QSize box)
{
    const QSize bound = LightCopyBound(box);
    return uprightSize.width() > bound.width() || uprightSize.height() > bound.height();
}

bool GetsLightCopy(const QString &path, QSize uprightSize, QSize box)
{
    return !box.isEmpty() && ImageDecoder::readerFormatFor(path) == "jpeg" && NeedsLightCopy(uprightSize, box);
}

QSize LightCopySize(QSize uprightSize, QSize box)
{
    return FitGeometry::FittedSize(uprightSize, LightCopyBound(box));
}

namespace {

// The copy of the JPEG bytes read from path; with onlyWhenNeeded, no value for a file that is
// no JPEG or needs no copy.
std::optional<LightCopy> lightCopy(const QString &path, QByteArray bytes, QSize box, bool onlyWhenNeeded)
{
    const bool jpegContent = bytes.startsWith(QByteArray("\xff\xd8\xff", 3));
    if (onlyWhenNeeded && !jpegContent)
        return std::nullopt;
    if (bytes.size() < ImageDecoder::MinimumFileSize || !jpegContent || !isCompleteJpegStream(bytes))
        return undecodable(path);

    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, QByteArrayLiteral("jpeg"));
    reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    if (!stored.isValid() || stored.isEmpty())
        return undecodable(path);
    const bool turned = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    const QSize upright = turned ? stored.transposed() : stored;
    if (onlyWhenNeeded && !NeedsLightCopy(upright, box))
        return std::nullopt;
    const QSize target = LightCopySize(upright, box);
    if (target.isEmpty())
        return failed(path, QStringLiteral("the box is empty."));

    // The library scales while it decodes, in the stored orientation, before turning.
    const QSize decodeSize = ImageDecoder::jpegDecodeSize(stored, turned ? target.transposed() : target);
    if (decodeSize != stored)
        reader.setScaledSize(decodeSize);
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return undecodable(path);
    buffer.close();
    bytes.clear();

    // Browsers take untagged JPEGs as sRGB; a photo in another space is converted first.
    if (image.colorSpace().isValid() && image.colorSpace() != QColorSpace(QColorSpace::SRgb))
        image.convertToColorSpace(QColorSpace::SRgb);
    if (image.size() != target)
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image = barePixels(image);

    LightCopy copy;
    QBuffer out(&copy.jpeg);
    out.open(QIODevice::WriteOnly);
    QImageWriter writer(&out, QByteArrayLiteral("jpeg"));
    writer.setQuality(LightCopyQuality);
    writer.setProgressiveScanWrite(true);
    writer.setOptimizedWrite(true);
    if (!writer.write(image)) {
        copy.jpeg.clear();
        copy.errorText = copyText(path, writer.errorString());
        return copy;
    }
    copy.size = image.size();
    return copy;
}

QByteArray fileBytes(const QString &path, bool *opened)
{
    QFile file(path);
    *opened = file.open(QIODevice::ReadOnly);
    return *opened ? file.readAll() : QByteArray();
}

} // namespace

LightCopy MakeLightCopy(const QString &path, QSize box)
{
    bool opened = false;
    QByteArray bytes = fileBytes(path, &opened);
    if (!opened)
        return failed(path, QStringLiteral("the file cannot be opened."));
    return *lightCopy(path, std::move(bytes), box, false);
}

std::optional<LightCopy> LightCopyIfNeeded(const QString &path, QSize box)
{
    bool opened = false;
    QByteArray bytes = fileBytes(path, &opened);
    if (!opened)
        return failed(path, QStringLiteral("the file cannot be opened."));
    return lightCopy(path, std::move(bytes), box, true);
}
