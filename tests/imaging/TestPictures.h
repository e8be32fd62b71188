#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

// Picture files made at test time. Qt writes JPEG and PNG; GIF bytes come from a small GIF89a
// encoder here, since Qt cannot write GIF.
namespace TestPictures {

// A GIF89a file of an Indexed8 picture (at most 256 colours), optionally with one transparent
// colour index. The LZW data restarts with a clear code often enough to stay at 9-bit codes.
QByteArray gifBytes(const QImage &indexed, int transparentIndex = -1);

// A picture of w x h whose left half is left and right half is right, with a gentle gradient
// over it so it is not flat.
QImage twoColours(QSize size, QColor left, QColor right);

// An Indexed8 picture of four colours in quarters: red, green, blue, yellow (left to right,
// top to bottom).
QImage fourColourQuarters(QSize size);

QByteArray jpegBytes(const QImage &image, int quality = 90);
QByteArray pngBytes(const QImage &image);

// Whole small picture files of a given size, for tests that need a file that plays.
QByteArray gifOfSize(QSize size);
QByteArray jpegOfSize(QSize size);

// jpeg with an Exif segment right after the start marker, holding a small JPEG thumbnail with
// its own end marker, as camera files have. exifEnd receives the offset just after the segment.
QByteArray withExifThumbnail(const QByteArray &jpeg, qsizetype *exifEnd = nullptr);

// A phone photo's metadata around jpeg (a file as jpegBytes makes it): right after its JFIF
// segment, an Exif segment whose first directory holds the given orientation and a GPS
// position (52 deg 31' 12" N, 13 deg 24' 36" E), then an XMP segment, a Photoshop (APP13)
// segment and a comment. Every one of them holds PrivateMarker, so a test can tell that none
// of them is left in a copy.
QByteArray jpegWithOrientationAndGps(const QByteArray &jpeg, int orientation = 6);
inline constexpr char PrivateMarker[] = "GPS-52.5200N-13.4100E";

// Writes bytes to folder/name and returns the full path.
QString writeFile(const QString &folder, const QString &name, const QByteArray &bytes);

// True when the picture has more than one colour and is not all black: something a user sees.
bool isVisible(const QImage &image);

} // namespace TestPictures
