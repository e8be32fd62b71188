#pragma once

#include <QString>

#include <functional>

class AnimationDocument;
class HostSession;

// What the reader needs besides the document and the text.
struct AppletTagReaderOptions
{
    // The page that relative references are resolved against (its folder is taken). Empty:
    // references stay relative and are looked up in the current folder. A folder text ending
    // in "/" stands for a page inside that folder, which makes the paths absolute.
    QString baseDocumentName;
    // Adds one frame whose picture file exists. Empty: the document's appendFrame without a
    // decoded picture. The main window passes the strip's AddFrame, which decodes it.
    std::function<void(const QString &picturePath, const QString &captionText)> addFrame;
    // Runs after the frames of each image list are added; the strip lays itself out.
    std::function<void()> layoutFrames;
};

// Resets the document and rebuilds it from the applet element parameters found anywhere in
// text (a project file, a whole page, a selection). The reader does not parse HTML: it cuts the text into "<...>" tokens and
// handles them from the last to the first, so of a setting given twice the one nearer the
// start wins. An "<applet" token gives the width and height; any tag with a known "name"
// attribute applies its "value": captionlist, imagelist, move, pause, enddelay, repeat, bg,
// soundtrack, background, bounce, fontname, fontsize, fontstyle, scale ("fit" in any case
// turns ScaleToFit on, any other value off). Character references are
// decoded in every value, and "%2C" and "%25" in each picture, soundtrack and background
// reference; a file URL among them becomes its path. Pictures whose file is missing are
// skipped with their captions. A font name matches its item without regard to case, a font
// size is digits up to the field's maximum and a font style is 0 to 3; any other value
// leaves the field as reset. An empty text changes nothing at all.
void ReadAppletTag(AnimationDocument &document, const QString &text,
                   const AppletTagReaderOptions &options = AppletTagReaderOptions());

// Whether text holds an applet element: a "<...>" token whose first word is "<applet", in
// any case. A file without one holds no animation and is not opened.
bool HoldsAppletElement(const QString &text);
// The message that refuses to open such a file.
QString NoAnimationMessage(const QString &fileName);

// The page that the relative references of a file read from disk resolve against: the file
// itself, made absolute (a Windows-form name stays as it is).
QString FileReadingBase(const QString &fileName);

// The base document for reading: the host editor's current document when the program is
// linked with it, empty otherwise.
QString ReaderBaseDocumentName(HostSession *host);

// Whether a file (not a folder) exists at path; relative paths count from the current folder.
bool ReferencedFileExists(const QString &path);
