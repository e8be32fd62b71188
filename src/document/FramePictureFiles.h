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
