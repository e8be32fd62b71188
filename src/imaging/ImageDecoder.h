#pragma once

#include "imaging/DecodedPicture.h"

#include <QByteArray>
#include <QSize>
#include <QString>

class Prompts;

// Decodes one picture file for a frame with QImageReader.
//
// - The extension chooses the reader, compared in upper case: ".GIF" reads as GIF, ".JPG" and
//   ".JPEG" as JPEG, and content is then never used to pick another reader, so a GIF renamed
//   ".jpg" fails as a damaged JPEG does. Any other extension (project files and pages may name
//   ".png" or ".bmp") lets the reader choose by the file's content.
// - Files shorter than MinimumFileSize bytes are refused before decoding.
// - The result keeps the picture's full pixel size and a reduced copy that fits within
//   keptBound(), aspect kept (130 x 130 by default: twice the 65 x 65 thumbnail, so it stays
//   crisp on a 2x screen). JPEG files are decoded at 1/2, 1/4 or 1/8 scale straight from the
//   compressed data, so a 4000 x 3000 photo is never held at full size.
// - The copy is always Format_RGB32 (24-bit colour); transparent parts are put on white.
// - A file that cannot be read gives our own error text naming the file, and a visible
//   placeholder picture, so the frame can still be added.
// - A picture with more pixels than QImageReader's allocation limit allows (at the size it is
//   decoded at) fails as too large, not as damaged.
// - Pictures are turned upright by their Exif orientation, as browsers draw them: the full
//   size and the copy are upright (a portrait phone photo stored as 4000 x 3000 with
//   orientation 6 is 3000 x 4000). Without an orientation other than 1 nothing changes.
//
// decode() is const and keeps no state between calls: several threads may call it at once.
class ImageDecoder
{
public:
    static constexpr qint64 MinimumFileSize = 50;
    static constexpr int DefaultKeptSide = 130;

    explicit ImageDecoder(QSize keptBound = QSize(DefaultKeptSide, DefaultKeptSide));
    virtual ~ImageDecoder();

    ImageDecoder(const ImageDecoder &) = default;
    ImageDecoder &operator=(const ImageDecoder &) = default;

    // Never throws: an exception while decoding gives the Exception failure.
    DecodedPicture decode(const QString &path) const;
    // decode() short of decoding the pixels: the file, its header, its size and whether the
    // stream is whole are checked, and the result holds decode()'s failure and text, or its
    // full size without a reduced copy (a null picture). Never throws.
    DecodedPicture measure(const QString &path) const;
    // measure()'s error text: empty for a file a frame plays.
    QString check(const QString &path) const;

    QSize keptBound() const { return m_keptBound; }

    // "gif" or "jpeg" for the extensions that choose a reader, empty for any other.
    static QByteArray readerFormatFor(const QString &path);
    // The size of the kept copy: fullSize itself when it fits within bound, otherwise scaled
    // down to fit, aspect kept, at least 1 x 1.
    static QSize keptSizeFor(QSize fullSize, QSize bound);
    // The smallest of 1/8, 1/4 and 1/2 of a JPEG's size (rounded down) that still covers
    // keptSize, or fullSize when none does. Asking the JPEG reader for exactly this size lets
    // the library scale while it decodes.
    static QSize jpegDecodeSize(QSize fullSize, QSize keptSize);
    // A grey square with a dark frame and a cross, shown for a picture that could not be read.
    static QImage placeholder(QSize size);
    // The text for a fault inside the decoder.
    static QString exceptionText();
    // The text for a picture file whose content cannot be decoded.
    static QString damagedText(const QString &path);

    // Shows picture's error text in an error box when decoding failed; nothing otherwise.
    static void report(const DecodedPicture &picture, Prompts &prompts);

protected:
    // The decoding itself; may throw. decode() turns an exception into the Exception failure.
    virtual DecodedPicture decodeFile(const QString &path) const;
    // A failed result for path: the placeholder at the kept bound and a 0 x 0 full size.
    DecodedPicture failure(const QString &path, DecodedPicture::Failure why, const QString &text) const;
    // The Exception failure for path; never throws.
    DecodedPicture exceptionFailure(const QString &path) const;

private:
    struct Inspected;
    // Reads path and runs every check before the decoding itself; on failure, sets *failed.
    bool inspect(const QString &path, Inspected &inspected, DecodedPicture *failed) const;

    QSize m_keptBound;
};
