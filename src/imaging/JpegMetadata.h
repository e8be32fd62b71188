#pragma once

#include <QByteArray>

#include <optional>

// Photos carry private data beside their pixels: the camera's Exif block (GPS position, serial
// numbers, a thumbnail), XMP, Photoshop's IPTC block and comments. A picture published on a
// web page must not take them along.

// The Exif orientation (1 to 8) of a JPEG stream; 1 when it has none or an unreadable one.
int JpegExifOrientation(const QByteArray &jpeg);

// jpeg without its APP1 (Exif, XMP), APP13 and COM segments before the first scan. Every other
// segment, and everything from the first start-of-scan marker on, is kept byte for byte, so
// the pixels do not change. When the orientation was not 1, a minimal Exif segment holding
// only that orientation is put back (after the JFIF segment, where readers look for it), so
// the picture still shows upright. No value when the segments before the scan are not whole.
std::optional<QByteArray> JpegWithoutMetadata(const QByteArray &jpeg);
