#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <optional>

// Light copies: a camera photo put beside a page for a show that scales its pictures needs no
// more pixels than the box shows, so it is written resized, upright, in sRGB, as a
// progressive JPEG of quality 85 without metadata. Plain functions without state: a worker
// thread may make copies while others do the same.

struct LightCopy
{
    QByteArray jpeg;       // the encoded copy; empty when it could not be made
    QSize size;            // its pixel size (upright)
    QString errorText;     // why it could not be made; empty on success

    bool ok() const { return errorText.isEmpty(); }
};

// The largest copy for a box: 1.5 times the box on each axis (rounded down, at least 1).
QSize LightCopyBound(QSize box);

// Whether a JPEG of this upright size gets a light copy for the box: it is larger than the
// bound on either axis. Smaller pictures, and every GIF, are copied as they are.
bool NeedsLightCopy(QSize uprightSize, QSize box);

// Whether the frame picture at path, of this upright size, gets a light copy for box when it
// decodes: a JPEG (by its name, as the decoder reads it) larger than the bound. The rule
// LightCopyIfNeeded follows, for pictures measured but not yet read.
bool GetsLightCopy(const QString &path, QSize uprightSize, QSize box);

// The copy's size: the upright size fitted within the bound, proportions kept (the show's
// own fitting rule), never enlarged.
QSize LightCopySize(QSize uprightSize, QSize box);

// Reads the JPEG at path once, decoding it at the smallest of the library's 1/8, 1/4 and 1/2
// scales that still covers the copy's size, turns it upright by its Exif orientation,
// converts it to sRGB, scales it down smoothly once and encodes it. Quality 85, progressive;
// no Exif, XMP, comment, Photoshop or colour profile segment is written.
LightCopy MakeLightCopy(const QString &path, QSize box);

// The light copy of path for box when it gets one: a JPEG (by its content) larger than the
// bound, upright. No value for any other file, which is copied as it is. A JPEG that cannot
// be decoded gives a copy holding ImageDecoder::damagedText, a file that cannot be opened one
// holding that reason.
std::optional<LightCopy> LightCopyIfNeeded(const QString &path, QSize box);

// The JPEG quality of light copies.
inline constexpr int LightCopyQuality = 85;
