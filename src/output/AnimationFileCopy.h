#pragma once

#include <QString>

class AnimationDocument;

// Copies what a page needs to run the animation into folder and returns how many files it
// wrote. With all: every frame picture (in play order), then the soundtrack and the
// background image when their files exist, each under its AssignSharedFolderNames name, the
// name the element of the page forms gives it (a picture shown by several frames is copied
// once). Always: the two applet class files from ClassFilesFolder(); with player, the web
// player script from there right after them. Each copy replaces a file of the same name
// through a temporary file, so an old copy stays whole until the new one is complete.
//
// The folder is created with its missing parents when it is not there; when that fails (a
// regular file stands in its way, say) EFileError is thrown and nothing is copied. A single
// copy that fails (a picture that no longer exists, a class file that could not be
// extracted) is skipped silently and not counted: the count is the number of files written.
int CopyAnimationFiles(const AnimationDocument &document, const QString &folder, bool all, bool player = false);

// The path of name inside folder; a folder written with a trailing "/" gives no doubled one.
QString FileInFolder(const QString &folder, const QString &name);

// Copies source to target, replacing target only once the whole copy is written. A source
// that is the target itself is left alone and counts as copied. False when nothing could be
// copied; an earlier target then stays as it was.
bool ReplaceFileWithCopy(const QString &source, const QString &target);
