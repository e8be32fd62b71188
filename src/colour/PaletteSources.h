#pragma once

#include <QString>
#include <QStringList>

class Prompts;

// Where the colour picker's palettes come from: the built-in web-safe palette, written to
// the temporary folder, and the palette files of one folder.

// The list entry that always means the built-in palette: "websafe.pal".
QString BuiltInPaletteName();
// The resource name of the built-in palette file, "WEBSAFE" (Qt path ":/WEBSAFE").
QString BuiltInPaletteResource();
// JoinPath(GetTempFolder(), "websafe.pal").
QString BuiltInPalettePath();
// Writes the built-in palette to BuiltInPalettePath() when no file is there. A failure is
// shown through prompts ("An error occurred while trying to extract WEBSAFE to ...").
bool EnsureBuiltInPalette(Prompts &prompts);

// The palette list of a folder: "websafe.pal", then every file named "*.pal", "*.gif" and
// "*.act" (extensions in any case), sorted alphabetically without regard to case. A file of
// the folder that is itself named "websafe.pal" is not listed: that entry is the built-in one.
QStringList PaletteListEntries(const QString &folder);

// The file-open dialog's filters and the one preselected for the current palette file
// (".pal" the second, ".act" the third, anything else the first; counted from 0).
QString PaletteFileFilter();
int PaletteFilterIndex(const QString &currentFile);

// The registry key of the colour picker and the names of its palette values.
QString ColorPickerKey();
