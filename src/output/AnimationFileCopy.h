#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

class AnimationDocument;
class StagedFolderWrite;

// Copies what a page needs to run the animation into folder and returns how many files it
// wrote. With all: every frame picture (in play order), then the soundtrack and the
// background image, each under its AssignSharedFolderNames name (with pagePath, the page's),
// the name the element of the page forms gives it (a picture shown by several frames is
// copied once). Only what plays leaves the machine: a frame picture or background only when
// it passes ImageDecoder::check, the soundtrack only when it is Sun audio (IsSunAudio). Each
// file left out is named in *notCopied (when given) with the reason. Always: the two applet
// class files from ClassFilesFolder(); with player, the web player script from there right
// after them. JPEG copies lose their private metadata (JpegWithoutMetadata).
//
// Everything goes through one StagedFolderWrite: either every file arrives or the folder
// stays as it was. The folder is created with its missing parents when it is not there; when
// that fails (a regular file stands in its way, say), or when a target cannot be replaced (a
// folder of that name), EFileError is thrown and nothing in the folder has changed. A class
// file that could not be extracted is skipped and not counted: the count is the number of
// files written (a picture that already is its own copy counts, untouched).
//
// Light copies: with all and the document's "Scale pictures to fit" on, a JPEG frame larger
// than 1.5 times the box on either axis (LightCopyBox) is written, under its own name, as its
// light copy (MakeLightCopy); GIF frames, smaller JPEGs and the background are copied as they
// are. The copies are made on worker threads; progress(done, total) follows on the calling
// thread after each frame, and its false (Cancel) throws ECancelled with nothing written.
// Where a light copy would land on its own source (the pictures' own folder), EFileError
// with LightCopyOverSourceText(folder) is thrown, and nothing is written.
using CopyProgress = std::function<bool(int done, int total)>;
int CopyAnimationFiles(const AnimationDocument &document, const QString &folder, bool all, bool player = false,
                       QStringList *notCopied = nullptr, const QString &pagePath = QString(),
                       const CopyProgress &progress = CopyProgress());

// The staging part of CopyAnimationFiles, for callers that put more files (their page) into
// the same write: stages the files and returns their count; commit() is left to the caller.
// Throws EFileError when a file that plays cannot be read.
int StageAnimationFiles(StagedFolderWrite &write, const AnimationDocument &document, bool all, bool player,
                        QStringList *notCopied = nullptr, const QString &pagePath = QString(),
                        const CopyProgress &progress = CopyProgress());

// The box light copies are made for: the document's width and height when scale is on and both
// are whole numbers above 0; an empty size (no light copies) otherwise.
QSize LightCopyBox(const AnimationDocument &document);

// The refusal when a light copy would replace its own original.
QString LightCopyOverSourceText(const QString &folder);

// Creates folder with its missing parents when it is not there; EFileError when that fails.
void EnsureFolder(const QString &folder);

// Whether the file at path is Sun audio (it begins with ".snd"), the only sound the applet plays.
bool IsSunAudio(const QString &path);

// The path of name inside folder; a folder written with a trailing "/" gives no doubled one.
QString FileInFolder(const QString &folder, const QString &name);
