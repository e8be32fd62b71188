#pragma once

#include <QString>

// Path helpers for the picture references of the applet element, project files and copies.
// Texts in Windows form (a drive letter "X:" at the start, or any backslash) keep the rules
// they had on Windows, so elements and project files written there still read the same;
// other texts are POSIX paths with "/" as their only separator.

// Whether path is in Windows form: "X:" at the start (X a letter) or a "\" anywhere.
bool IsWindowsFormPath(const QString &path);

// a + separator + b, where the separator is "\" when a holds one, else "/". One separator
// ending a and one starting b are dropped first ("\" or "/"); an empty a gives b.
QString JoinPath(const QString &a, const QString &b);

// The reference to file from the folder of page, going up with ".." where needed. A page
// ending in a separator is a folder. Windows form: the drive (first two characters) must
// match without regard to case, comparison ignores case, and the separator is "\" unless
// the page holds a "/". POSIX: both must start with "/", comparison is case-sensitive.
// Anything else (another drive, a relative path) gives file unchanged; an empty page gives
// file, an empty file gives an empty text.
QString MakeRelativePath(const QString &page, const QString &file);

// The path that reference names from the folder of page. The reference is unquoted and
// each leading ".." step goes up one folder (never above the root; with an empty or
// relative page the steps are dropped). Windows-form page: "/" becomes "\" and a reference
// with a drive comes back unchanged. Empty or POSIX page: "\" becomes "/", and a reference
// starting with "/" or a drive comes back unchanged.
QString ResolveRelativePath(const QString &page, const QString &reference);

// "C:\My Pictures\a.gif" -> "file:///C|/My Pictures/a.gif"; "/pics/a.gif" -> "file:///pics/a.gif".
// Nothing is encoded; any other text (a URL, a relative path) comes back unchanged.
QString PathToFileURL(const QString &path);

// The reverse of PathToFileURL. The URL is unquoted; the text after its first "///" is a
// Windows path when it starts with a drive ("C|" or "C:"), else "/" + that text. A text
// without "///" that is a Windows path gets "\" and ":" likewise; any other stays as it is.
QString FileURLToPath(const QString &url);

// The file name part: after the last "/" (POSIX) or the last "\", "/" or ":" (Windows form).
QString ExtractFileName(const QString &path);
// The folder part including its trailing separator: what ExtractFileName leaves.
QString ExtractFileFolder(const QString &path);

// Whether two paths name the same file: without regard to case when either is in Windows
// form, exactly otherwise.
bool SamePath(const QString &a, const QString &b);
