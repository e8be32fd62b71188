#pragma once

#include <QString>
#include <QStringList>

class AnimationDocument;

// The names the animation's files take when they are put side by side in one folder (the
// page's folder, a copy folder, the preview folder). Every output that places files in one
// folder, or refers to them there, takes its names from here, so the element and the copied
// files always agree.
struct SharedFolderNames
{
    QStringList frames;  // one per frame, in play order; empty for a path without a name
    QString soundtrack;  // empty when the soundtrack field names no file
    QString background;  // empty when the background image field names no file
};

// Walks the frames in play order, then the soundtrack, then the background image. A file
// whose canonical path was seen before keeps the name it got first; any other file gets its
// own file name, or, when that name is already taken, the first free "stem-N.ext" (N from
// 2). The names of the applet class files and of the web player script count as taken. With
// pagePath, the page the files go beside: its name counts as taken too, and a file that
// already lies in the page's folder keeps its own name, so its copy is itself and another
// file of that name never replaces it.
// Names compare exactly, as file names do on this system. The target folder is never
// looked into: the names depend on the document alone.
SharedFolderNames AssignSharedFolderNames(const AnimationDocument &document, const QString &pagePath = QString());

// The names no animation file may take in a shared folder.
const QStringList &ReservedFolderNames();

// The name that the "background" and "soundtrack" parameters give for a file path: its file
// name part, taken again while that part itself still reads as a path with a drive (a POSIX
// name like "x:y" in "/art/x:y"), so reading the element back and writing it again gives the
// same name.
QString BareFileName(const QString &path);
