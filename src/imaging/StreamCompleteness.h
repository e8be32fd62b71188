#pragma once

#include <QByteArray>

// The picture readers quietly fill a cut-off file (grey for JPEG, the rest of the frame for GIF)
// and call it a success; these walks over the file's structure tell such a file from a whole one.

// True when data is a JPEG stream that reaches its end-of-image marker: it starts with the
// start-of-image marker, every marker segment is whole, and the coded data after the last scan
// header is followed by the end marker. Segments are
// skipped by their lengths, so the end marker of a thumbnail inside an Exif segment does not
// count; anything after the end marker (padding some cameras add) is ignored.
bool isCompleteJpegStream(const QByteArray &data);

// True when data is a GIF stream whose first image (the one a frame shows) is whole: the
// header, the colour tables, the extension blocks before it and every data sub-block of the
// image up to its block terminator are all present.
bool isCompleteGifImage(const QByteArray &data);
