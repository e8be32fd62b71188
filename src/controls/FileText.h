#pragma once

#include <QByteArray>
#include <QString>

class Prompts;

// Whole-file text, embedded resources and clean-up of files on disk.

// The whole file as one text. UTF-8 when the bytes are valid UTF-8 (a leading byte-order
// mark is dropped), else Windows-1252, so files written on Windows keep their accents.
// A file that cannot be opened throws EFileError naming the path. A read error after the
// file opened is shown through prompts ("An error occurred while reading " + path + ...)
// and gives an empty text.
QString ReadFileText(const QString &path, Prompts &prompts);

// Creates or replaces the file with text as UTF-8, byte for byte. The new content goes to a
// temporary file beside the target that replaces it only once complete, so a failed write
// leaves any old file as it was. Throws EFileError naming the path on failure.
void WriteFileText(const QString &path, const QString &text);

// bytes read as UTF-8 when valid, else as Windows-1252.
QString DecodeFileText(const QByteArray &bytes);

// Writes the Qt resource ":/" + resourceName (or resourceName itself when it starts with
// ":") to filePath, creating the file's folder when missing and replacing any file there.
// A failure shows "An error occurred while trying to extract " + resourceName + " to " +
// filePath + "." with the reason, and returns false.
bool ExtractResourceToFile(const QString &filePath, const QString &resourceName, Prompts &prompts);

// Deletes the files in the folder of mask whose names match its file name part (wildcards
// "*" and "?"; exact case for POSIX masks, any case for Windows-form ones). With
// withSubfolders it then empties and removes every subfolder at any depth, inner folders
// first; symbolic links are removed, never followed. A mask without a folder part never
// touches subfolders. Returns false when something that should go could not be removed.
// Showing the busy cursor is the caller's part.
bool DeleteFiles(const QString &mask, bool withSubfolders);
