#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

class AnimationDocument;

// The arguments of "make OUT PICTURE... [options]": a slideshow made from pictures in one
// step. Every option is checked here, before any picture is decoded or file written; values
// are kept as the main window's fields would hold them.
namespace ReelcraftCli {

struct MakeArguments
{
    QString out;           // as given
    QStringList pictures;  // files and folders, as given, in order

    std::optional<QSize> size;   // --size WxH
    bool fit = false;            // --fit: the box the pictures need (see RunMake)
    bool scale = true;           // --scale fit|none: the element's "scale" parameter
    std::optional<int> pause;    // --pause MS
    std::optional<int> delay;    // --delay MS
    std::optional<int> repeat;   // --repeat N
    QString background;          // --bg, the colour field's text as given (either form)
    std::optional<int> moveH;    // --move H,V
    std::optional<int> moveV;
    std::optional<int> edge;     // --edge: an EdgeItem
    QString backgroundImage;     // --background FILE, as given
    QString soundtrack;          // --soundtrack FILE, as given
    std::optional<int> font;     // --font: an item of the font name list
    std::optional<int> fontSize; // --font-size N
    std::optional<int> fontStyle;// --font-style: a FontStyleItem
    QString captionsFile;        // --captions FILE
    bool captionFromName = false;
    std::optional<QString> title; // --title TEXT (pages only)
    bool noPlayer = false;        // --no-player (pages only)

    // OUT ends in ".htm" or ".html" (any case): a page; otherwise (".rcf") a project file.
    bool writesPage() const;
};

// The make command's arguments (those after "make"); no value and a reason naming the bad
// argument on a usage error.
std::optional<MakeArguments> ParseMakeArguments(const QStringList &arguments, QString *problem);

// Puts the settings of the options into the document (frames and --fit aside; --scale too), as a user
// would set the main window's fields: speeds as digits with the direction lists, the colour
// field's text, the font lists' items.
void ApplyMakeSettings(const MakeArguments &arguments, AnimationDocument &document);

// The captions of a captions file's text, one a line (LF or CR LF); the empty line after a
// final line break is no caption. No value and a reason when a line holds "|" (it would
// split the caption list) or there are more captions than pictures.
std::optional<QStringList> CaptionsFromText(const QString &text, int pictureCount, QString *problem);

} // namespace ReelcraftCli
