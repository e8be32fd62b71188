#pragma once

#include <QString>

// The program's writable per-user data folder, without a trailing separator; created
// when missing. Its subfolders "classes", "preview", "help" and "AnimFiles" hold the
// applet class files, the preview page, the help file and the fallback copy folder.
QString ProgramFolder();

// The user's temporary folder with a trailing "/" (TMPDIR is honoured).
QString GetTempFolder();
