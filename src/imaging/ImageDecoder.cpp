#include "imaging/ImageDecoder.h"

#include "imaging/StreamCompleteness.h"
#include "platform/Prompts.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

const QByteArray GifFormat = QByteArrayLiteral("gif");
const QByteArray JpegFormat = QByteArrayLiteral("jpeg");

// Below the JPEG reader's high-quality threshold: it then skips the smoothing upsampling of the
// colour planes. Used only for scaled decodes, which are reduced further afterwards anyway.
constexpr int ScaledJpegQuality = 49;

QString pictureText(const QString &path, const QString &reason)
{
    return QStringLiteral("The picture ") + path + QStringLiteral(" could not be read: ") + reason;
}

// 24-bit colour; transparent parts of GIF or PNG pictures are put on white.
QImage toRgb32(const QImage &image)
{
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    QImage opaque(image.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    QPainter painter(&opaque);
    painter.drawImage(0, 0, image);
    painter.end();
    return opaque;
}

} // namespace

ImageDecoder::ImageDecoder(QSize keptBound) : m_keptBound(keptBound.expandedTo(QSize(1, 1))) {}

ImageDecoder::~ImageDecoder() = default;

QByteArray ImageDecoder::readerFormatFor(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toUpper();
    if (suffix == u"GIF")
        return GifFormat;
    if (suffix == u"JPG" || suffix == u"JPEG")
        return JpegFormat;
    return {};
}

QSize ImageDecoder::keptSizeFor(QSize fullSize, QSize bound)
{
    bound = bound.expandedTo(QSize(1, 1));
    if (fullSize.width() <= bound.width() && fullSize.height() <= bound.height())
        return fullSize;
    const double scale = std::min(double(bound.width()) / fullSize.width(),
                                  double(bound.height()) / fullSize.height());
    const int width = std::clamp(int(std::lround(fullSize.width() * scale)), 1, bound.width());
    const int height = std::clamp(int(std::lround(fullSize.height() * scale)), 1, bound.height());
    return QSize(width, height);
}

QSize ImageDecoder::jpegDecodeSize(QSize fullSize, QSize keptSize)
{
    for (int denominator : {8, 4, 2}) {
        const QSize scaled(fullSize.width() / denominator, fullSize.height() / denominator);
        if (scaled.width() >= keptSize.width() && scaled.height() >= keptSize.height())
            return scaled;
    }
    return fullSize;
}

QImage ImageDecoder::placeholder(QSize size)
{
    size = size.expandedTo(QSize(1, 1));
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(0xC0, 0xC0, 0xC0));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const int side = std::min(size.width(), size.height());
    const int penWidth = std::max(1, side / 16);
    painter.setPen(QPen(QColor(0x40, 0x40, 0x40), penWidth, Qt::SolidLine, Qt::SquareCap));
    const double inset = penWidth / 2.0;
    const QRectF box(inset, inset, size.width() - penWidth, size.height() - penWidth);
    painter.drawRect(box);
    painter.drawLine(box.topLeft(), box.bottomRight());
    painter.drawLine(box.topRight(), box.bottomLeft());
    painter.end();
    return image;
}

QString ImageDecoder::exceptionText()
{
    return QStringLiteral("An exception error occured in the imagelib dll. We recommend to exit the "
                          "application and to restart it by clicking its icon!");
}

QString ImageDecoder::damagedText(const QString &path)
{
    return pictureText(path, QStringLiteral("it is damaged or not a GIF or JPEG file."));
}

void ImageDecoder::report(const DecodedPicture &picture, Prompts &prompts)
{
    if (!picture.ok())
        prompts.message(picture.errorText, Prompts::Kind::Error);
}

DecodedPicture ImageDecoder::decode(const QString &path) const
{
    try {
        return decodeFile(path);
    } catch (...) {
        return exceptionFailure(path);
    }
}

DecodedPicture ImageDecoder::exceptionFailure(const QString &path) const
{
    // Out of memory, or anything else a reader plug-in throws: the frame still gets its box.
    try {
        return failure(path, DecodedPicture::Failure::Exception, exceptionText());
    } catch (...) {
        DecodedPicture bare;
        bare.path = path;
        bare.failure = DecodedPicture::Failure::Exception;
        bare.errorText = exceptionText();
        return bare;
    }
}

DecodedPicture ImageDecoder::failure(const QString &path, DecodedPicture::Failure why,
                                     const QString &text) const
{
    DecodedPicture result;
    result.path = path;
    result.failure = why;
    result.errorText = text;
    result.picture = placeholder(m_keptBound);
    return result;
}

struct ImageDecoder::Inspected
{
    QByteArray bytes;
    QBuffer buffer;
    QImageReader reader;
    QSize storedSize;  // as the file holds it
    QSize fullSize;    // upright
    QSize keptSize;
    QSize decodeSize;
};

bool ImageDecoder::inspect(const QString &path, Inspected &inspected, DecodedPicture *failed) const
{
    using Failure = DecodedPicture::Failure;
    const QFileInfo info(path);
    if (!info.exists()) {
        *failed = failure(path, Failure::Missing, pictureText(path, QStringLiteral("the file does not exist.")));
        return false;
    }
    // Only a regular file: opening a FIFO would wait for a writer.
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        *failed = failure(path, Failure::Unopenable, pictureText(path, QStringLiteral("the file cannot be opened.")));
        return false;
    }
    // One read for the completeness check and the decoder; only the compressed bytes are held.
    inspected.bytes = file.readAll();
    file.close();
    const QByteArray &bytes = inspected.bytes;
    if (bytes.size() < MinimumFileSize) {
        *failed = failure(path, Failure::TooSmall,
                          pictureText(path, QStringLiteral("the file is shorter than %1 bytes.").arg(MinimumFileSize)));
        return false;
    }

    const QString damaged = damagedText(path);
    inspected.buffer.setBuffer(&inspected.bytes);
    inspected.buffer.open(QIODevice::ReadOnly);
    QImageReader &reader = inspected.reader;
    const QByteArray format = readerFormatFor(path);
    if (!format.isEmpty()) {
        reader.setFormat(format);
        reader.setAutoDetectImageFormat(false);
    } else {
        reader.setDecideFormatFromContent(true);
    }
    // Browsers draw photos upright by their Exif orientation, so the program measures and
    // shows them upright too.
    reader.setAutoTransform(true);
    reader.setDevice(&inspected.buffer);

    const QSize storedSize = reader.size();
    if (!storedSize.isValid() || storedSize.isEmpty()) {
        *failed = failure(path, Failure::Undecodable, damaged);
        return false;
    }
    const bool jpeg = reader.format() == JpegFormat;
    if ((jpeg && !isCompleteJpegStream(bytes)) || (reader.format() == GifFormat && !isCompleteGifImage(bytes))) {
        *failed = failure(path, Failure::Undecodable, damaged);
        return false;
    }

    const bool turned = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    const QSize fullSize = turned ? storedSize.transposed() : storedSize;
    inspected.storedSize = storedSize;
    inspected.fullSize = fullSize;
    inspected.keptSize = keptSizeFor(fullSize, m_keptBound);
    // The reader scales while decoding, before it turns the picture upright: the size it is
    // asked for is in the stored orientation.
    inspected.decodeSize = jpeg && inspected.keptSize != fullSize
        ? jpegDecodeSize(storedSize, turned ? inspected.keptSize.transposed() : inspected.keptSize)
        : storedSize;
    // The reader refuses what needs more memory than its limit at the size it decodes.
    const qint64 limitBytes = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    if (limitBytes > 0 && qint64(inspected.decodeSize.width()) * inspected.decodeSize.height() * 4 > limitBytes) {
        *failed = failure(path, Failure::TooLarge,
                          pictureText(path, QStringLiteral("it is %1 \u00D7 %2 pixels, larger than this program decodes.")
                                                .arg(fullSize.width())
                                                .arg(fullSize.height())));
        return false;
    }
    return true;
}

DecodedPicture ImageDecoder::measure(const QString &path) const
{
    try {
        Inspected inspected;
        DecodedPicture result;
        if (!inspect(path, inspected, &result))
            return result;
        result.path = path;
        result.fullSize = inspected.fullSize;
        return result;
    } catch (...) {
        return exceptionFailure(path);
    }
}

QString ImageDecoder::check(const QString &path) const
{
    return measure(path).errorText;
}

DecodedPicture ImageDecoder::decodeFile(const QString &path) const
{
    using Failure = DecodedPicture::Failure;
    Inspected inspected;
    DecodedPicture failed;
    if (!inspect(path, inspected, &failed))
        return failed;
    QImageReader &reader = inspected.reader;
    if (inspected.decodeSize != inspected.storedSize) {
        reader.setScaledSize(inspected.decodeSize);
        reader.setQuality(ScaledJpegQuality);
    }
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return failure(path, Failure::Undecodable, damagedText(path));
    inspected.buffer.close();
    inspected.bytes.clear();

    image = toRgb32(image);
    if (image.size() != inspected.keptSize)
        image = image.scaled(inspected.keptSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);

    DecodedPicture result;
    result.path = path;
    result.fullSize = inspected.fullSize;
    result.picture = std::move(image);
    return result;
}
