#pragma once

#include "colour/Palette.h"

#include <QByteArray>
#include <QString>

// The palette readers: GIF global colour tables, JASC text palettes, RIFF "PAL " files and
// Photoshop colour tables. They only ever read the bytes they are given, whatever the
// headers claim.

// What reading one palette file gives the grid.
struct PaletteRead
{
    // True when the grid shows palette; false when it keeps the colours it has (the
    // message says why).
    bool show = false;
    Palette palette{};
    // The entries the luminance order sorts: 256 for GIF and ".act" files, the entries
    // actually read for ".pal" files.
    int count = 0;
    // A message to show: instead of the palette when show is false, beside it otherwise.
    QString message;
};

// The message for a file that is no GIF or has no global colour table.
QString GifPaletteMessage();

// A GIF's global colour table (2 to 256 entries from entry 0 upward).
PaletteRead ReadGifPalette(const QByteArray &bytes);
// A JASC text palette: "JASC-PAL", a version line, the entry count, one "R G B" line per
// entry, lines separated by CR LF only. path names the file in messages.
PaletteRead ReadJascPalette(const QString &text, const QString &path);
// A RIFF "PAL " file; a file whose signatures do not match reads no entries.
PaletteRead ReadRiffPalette(const QByteArray &bytes, const QString &path);
// A Photoshop colour table: 256 entries of red, green, blue, no header.
PaletteRead ReadActPalette(const QByteArray &bytes);
// The content of a file chosen by its extension (any case): ".gif", ".pal" (JASC when the
// text begins with "JASC-PAL", otherwise RIFF) and ".act"; any other extension reads
// nothing and shows 256 black entries.
PaletteRead ReadPaletteBytes(const QByteArray &bytes, const QString &path);
// Reads the file and then ReadPaletteBytes; a file that cannot be opened or read gives a
// message naming the failure and keeps the grid.
PaletteRead ReadPaletteFile(const QString &path);
// ReadPaletteFile, then the luminance order when asked.
PaletteRead LoadPalette(const QString &path, bool byLuminance);
// The same for bytes already in hand (the built-in palette of the command-line tool).
PaletteRead LoadPaletteBytes(const QByteArray &bytes, const QString &path, bool byLuminance);
