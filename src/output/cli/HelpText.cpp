#include "output/cli/HelpText.h"

namespace ReelcraftCli {

namespace {

struct CommandText
{
    const char *name;
    const char *synopsis;
    const char *details;
};

// Lines stay within 80 columns.
const CommandText kCommands[] = {
    {"tag", "reelcraft-cli tag FILE [--form url|filename|folder|relative] [--base TEXT] [--player]",
     "Prints the applet element of FILE (a project file or a page holding one).\n"
     "  --form FORM   how pictures are named: url (the default, as project files\n"
     "                hold them), filename, folder or relative\n"
     "  --base TEXT   the folder for --form folder, the page for --form relative\n"
     "  --player      add the line that plays it in browsers without Java\n"},
    {"copy", "reelcraft-cli copy FILE DIR [--all] [--player]",
     "Copies the applet's class files for the animation of FILE into DIR (made when\n"
     "missing) and prints \"N files copied to DIR.\".\n"
     "  --all         also the pictures, the soundtrack and the background picture\n"
     "  --player      also the web player quilanim.js\n"},
    {"preview", "reelcraft-cli preview FILE",
     "Writes the preview page of FILE with its files and prints the page's path.\n"},
    {"make", "reelcraft-cli make OUT PICTURE... [options]",
     "Makes a slideshow of the pictures, in the order given; a folder gives its GIF\n"
     "and JPEG files in name order (img2 before img10). OUT ending in .rcf is a\n"
     "project file, as Save writes it; OUT ending in .htm or .html is a page that\n"
     "plays the show and fits phone screens, with the pictures, sound, background\n"
     "and player files copied beside it. Prints OUT's full path (and for a page\n"
     "\"N files copied to DIR.\"). Nothing is written when a picture cannot be read.\n"
     "Photos are measured upright, as their Exif orientation says.\n"
     "  --size WxH             the show's width and height (default: as --fit;\n"
     "                         600x200 with --scale none)\n"
     "  --fit                  the box the pictures need: the largest width and\n"
     "                         height; with --scale fit brought within 960x720\n"
     "                         (never enlarged) plus room for captions below\n"
     "  --scale fit|none       fit (the default): browsers show every picture\n"
     "                         whole, scaled down into the box and centred, with\n"
     "                         the captions below; none: each at its own size from\n"
     "                         the top left, as the Java applet draws (it ignores\n"
     "                         this setting). With fit, a JPEG larger than 1.5\n"
     "                         times the box is copied beside a page resized to\n"
     "                         that (upright, sRGB, quality 85, no metadata), and a\n"
     "                         page in the pictures' own folder is refused\n"
     "  --pause MS             time between frames in milliseconds (default 500)\n"
     "  --delay MS             delay before restarting in milliseconds (default 0)\n"
     "  --repeat N             times to repeat (default: without end)\n"
     "  --bg COLOUR            background colour, RRGGBB, #RRGGBB or R,G,B\n"
     "  --move H,V             movement speeds; positive H moves left to right,\n"
     "                         positive V top to bottom (default 0,0)\n"
     "  --edge bounce|wrap     bounce off the edge (default) or wrap around\n"
     "  --background FILE      background picture\n"
     "  --soundtrack FILE      soundtrack (.au)\n"
     "  --font NAME            caption font: Helvetica, TimesRoman, Courier, Dialog,\n"
     "                         DialogInput or Symbol\n"
     "  --font-size N          caption font size, 0 to 127 (default 16)\n"
     "  --font-style STYLE     plain, bold, italic or bold-italic\n"
     "  --captions FILE        one caption a line, in picture order; no \"|\"\n"
     "  --caption-from-name    each picture's file name without its extension\n"
     "                         (captions show only in a show that does not move)\n"
     "  --title TEXT           the page's title (default the first picture's folder)\n"
     "  --no-player            the page without the web player, for Java only\n"},
    {"palette", "reelcraft-cli palette FILE [--sort luminance]",
     "Prints the 256 colours the colour picker's grid shows for FILE (a GIF, \".pal\"\n"
     "or \".act\" file; websafe.pal alone is the built-in palette), one R,G,B line\n"
     "each, entry 0 first.\n"
     "  --sort luminance       in the order of the picker's luminance sort\n"},
    {"spectrum", "reelcraft-cli spectrum SPECTRUM.png [GREYS.png]",
     "Writes the colour picker's spectrum (91 x 390) and, when named, its grey strip\n"
     "(91 x 26) as PNG pictures, pixel for pixel as the picker draws them.\n"},
    {"nearest", "reelcraft-cli nearest R,G,B PALETTE|--spectrum [--sort luminance]",
     "Prints the cell the colour picker's nearest-colour search selects in PALETTE\n"
     "as \"column,row R,G,B\", or its spectrum position as \"x,y R,G,B\".\n"
     "  --spectrum             search the spectrum instead of a palette\n"
     "  --sort luminance       search the palette in luminance order\n"},
};

QString synopsisLines()
{
    QString text;
    bool first = true;
    for (const CommandText &command : kCommands) {
        text += (first ? QStringLiteral("Usage: ") : QStringLiteral("       ")) + QLatin1String(command.synopsis)
            + QLatin1Char('\n');
        first = false;
    }
    return text;
}

const QLatin1String kStatus("Exit status: 0 done, 1 a file could not be read or written, 2 usage.\n");

} // namespace

QString UsageText()
{
    return synopsisLines()
        + QStringLiteral("Run \"reelcraft-cli --help\" or \"reelcraft-cli COMMAND --help\" for details.\n");
}

QString HelpText()
{
    QString text = synopsisLines();
    for (const CommandText &command : kCommands)
        text += QLatin1Char('\n') + QLatin1String(command.name) + QLatin1Char('\n') + QLatin1String(command.details);
    return text + QLatin1Char('\n') + kStatus;
}

std::optional<QString> CommandHelp(const QString &name)
{
    for (const CommandText &command : kCommands)
        if (name == QLatin1String(command.name))
            return QStringLiteral("Usage: ") + QLatin1String(command.synopsis) + QStringLiteral("\n\n")
                + QLatin1String(command.details) + QLatin1Char('\n') + kStatus;
    return std::nullopt;
}

QStringList CommandNames()
{
    QStringList names;
    for (const CommandText &command : kCommands)
        names.append(QLatin1String(command.name));
    return names;
}

} // namespace ReelcraftCli
