#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

// The picture files the strip takes as frames: ".gif", ".jpg" and ".jpeg", in any case (cameras
// write ".JPG").
bool IsFramePictureFile(const QString &path);

// The local picture files among urls (a drop from the file manager), in the order given;
// other files and remote urls are left out. A folder named like a picture is kept: adding it
// reports that it cannot be opened, as for any unreadable file.
QStringList FramePictureFilesFromUrls(const QList<QUrl> &urls);

// The folder part of a file path, with its trailing "/" ("/pics/a.gif" gives "/pics/"); empty
// for a name without a folder.
QString FolderWithSeparator(const QString &filePath);

// Natural name order, as file managers sort: runs of digits compare by their number ("img2"
// before "img10"), everything else without regard to case; names that compare equal that way
// fall back to plain character order, so the order is total and repeatable.
bool NaturalNameLess(const QString &a, const QString &b);

// The frame picture files (IsFramePictureFile) directly inside folder, hidden ones left out,
// as full paths in natural name order. Sub-folders are not entered; a folder named like a
// picture is not a picture.
QStringList FramePictureFilesInFolder(const QString &folder);

// How many entries directly inside folder FramePictureFilesInFolder cannot give, because their
// names are not valid UTF-8 and so have no text: entries named like pictures (by the bytes of
// their extension), hidden ones and folders left out.
int UnnamedPictureFilesInFolder(const QString &folder);
