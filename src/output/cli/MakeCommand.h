#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>
#include <optional>

// The command-line tool's "make" command: a project file or a playing page made from
// pictures in one step, on the same document, decoder, writer and copy as the main window.
namespace ReelcraftCli {

// The pictures of the PICTURE arguments as full paths, in the order given: a folder gives
// its GIF and JPEG files in natural name order, a file is taken as it is (a missing one is
// left to the decoder, which names it). No value and a reason when an argument is neither a
// folder nor a GIF or JPEG file name, or a folder holds no pictures. A folder with pictures
// whose names are not valid UTF-8 (which no text can name) adds a line to *notes.
std::optional<QStringList> ExpandPictureArguments(const QStringList &arguments, QString *problem,
                                                  QStringList *notes = nullptr);

// Whether folder is there or can be made: no file stands where it or one of its parents
// should be. False with a reason naming what is in the way.
bool CanHoldFolder(const QString &folder, QString *problem);

// "make OUT PICTURE... [options]": decodes the pictures on worker threads and writes OUT
// with the files it needs in one staged write (StagedFolderWrite). Any failure leaves the
// folder as it was. Prints
// OUT's full path and, for a page, "N files copied to DIR.".
int RunMake(const QStringList &arguments, std::FILE *out, std::FILE *err);

} // namespace ReelcraftCli
