#pragma once

#include <QColor>
#include <QString>
#include <QtGlobal>

#include <optional>

class QPalette;

// A colour value: red in bits 0-7, green in 8-15, blue in 16-23, bits 24-31 zero. A value
// with the top bit set names a system colour, whose index is the low byte; it is resolved
// to its current RGB value before any conversion to text or channels.
using ColourValue = quint32;

// Marks a system colour.
inline constexpr ColourValue SystemColourFlag = 0x80000000u;
// The system button-face colour. The colour field uses it for "the text holds no valid colour".
inline constexpr ColourValue ButtonFaceColour = 0x8000000Fu;
inline constexpr ColourValue NoValidColour = ButtonFaceColour;

// The three bytes of a 24-bit bitmap pixel, in memory order.
struct ColourTriple
{
    quint8 blue = 0;
    quint8 green = 0;
    quint8 red = 0;

    friend bool operator==(const ColourTriple &a, const ColourTriple &b)
    {
        return a.blue == b.blue && a.green == b.green && a.red == b.red;
    }
};

constexpr ColourValue ColourFromRgb(int red, int green, int blue)
{
    return ColourValue(red & 0xFF) | (ColourValue(green & 0xFF) << 8) | (ColourValue(blue & 0xFF) << 16);
}
constexpr bool IsSystemColour(ColourValue colour) { return (colour & SystemColourFlag) != 0; }

// The RGB value of a colour: a system colour is looked up, anything else loses bits 24-31.
// The lookup uses the application palette when a GUI application exists, and the usual
// desktop defaults otherwise (a command-line run, or before the application is created).
ColourValue ResolveSystemColour(ColourValue colour);
// The same lookup in a given palette (tests, or a widget with a palette of its own).
ColourValue ResolveSystemColour(ColourValue colour, const QPalette &palette);
// The defaults used without a GUI application; an unknown index gives black.
ColourValue DefaultSystemColour(int index);

// Channels of a colour, after resolving a system colour.
int RedOf(ColourValue colour);
int GreenOf(ColourValue colour);
int BlueOf(ColourValue colour);

QColor ColourToQColor(ColourValue colour);
ColourValue QColorToColour(const QColor &colour);

// Six upper-case hexadecimal digits RRGGBB, no "#".
QString ColourToHex(ColourValue colour);
// Characters 1-2 are red, 3-4 green and the last two blue, each read as hexadecimal in
// either case. No value when a pair is empty or holds anything but hexadecimal digits.
std::optional<ColourValue> HexToColour(const QString &text);
// One or two hexadecimal digits in either case; no value for anything else.
std::optional<int> HexPairValue(QStringView pair);
// Red, green and blue in decimal joined by ",": "255,128,0".
QString ColourToDecimal(ColourValue colour);
// Split at ","; the first three items are red, green and blue as decimal integers, each
// channel keeping the low 8 bits of its number. No value when there are fewer than three
// items or one of them is not an integer.
std::optional<ColourValue> DecimalToColour(const QString &text);
// Blue, green, red: the order of a 24-bit bitmap pixel.
ColourTriple ColourToTriple(ColourValue colour);

// A decimal integer with an optional sign and nothing else around it. A number too large
// for 64 bits saturates, so "huge" numbers still compare as large.
std::optional<qint64> ParseColourInteger(const QString &text);
