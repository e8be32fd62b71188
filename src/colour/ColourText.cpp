#include "colour/ColourText.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPalette>

#include <array>
#include <limits>

namespace {

// System colour indexes that have a palette counterpart.
enum SystemColourIndex {
    ScrollBar = 0, Desktop = 1, ActiveCaption = 2, InactiveCaption = 3, Menu = 4, Window = 5,
    WindowFrame = 6, MenuText = 7, WindowText = 8, CaptionText = 9, ActiveBorder = 10,
    InactiveBorder = 11, AppWorkspace = 12, Highlight = 13, HighlightText = 14, ButtonFace = 15,
    ButtonShadow = 16, GrayText = 17, ButtonText = 18, InactiveCaptionText = 19,
    ButtonHighlight = 20, DarkShadow3D = 21, Light3D = 22, InfoText = 23, InfoBackground = 24,
    HotLight = 26, GradientActiveCaption = 27, GradientInactiveCaption = 28, MenuHighlight = 29,
    MenuBar = 30,
    SystemColourCount = 31
};

constexpr ColourValue rgb(quint32 rrggbb)
{
    return ColourFromRgb(int(rrggbb >> 16), int(rrggbb >> 8), int(rrggbb));
}

// The usual desktop defaults, written as RRGGBB.
constexpr std::array<ColourValue, SystemColourCount> DefaultColours = {
    rgb(0xC8C8C8), rgb(0x000000), rgb(0x99B4D1), rgb(0xBFCDDB), rgb(0xF0F0F0), rgb(0xFFFFFF),
    rgb(0x646464), rgb(0x000000), rgb(0x000000), rgb(0x000000), rgb(0xB4B4B4), rgb(0xF4F7FC),
    rgb(0xABABAB), rgb(0x0078D7), rgb(0xFFFFFF), rgb(0xF0F0F0), rgb(0xA0A0A0), rgb(0x6D6D6D),
    rgb(0x000000), rgb(0x000000), rgb(0xFFFFFF), rgb(0x696969), rgb(0xE3E3E3), rgb(0x000000),
    rgb(0xFFFFE1), rgb(0x000000), rgb(0x0066CC), rgb(0xB9D1EA), rgb(0xD7E4F2), rgb(0x3399FF),
    rgb(0xF0F0F0)};

struct PaletteEntry
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The palette colour of a system colour index; false for an index without one.
bool paletteEntry(int index, PaletteEntry &entry)
{
    using P = QPalette;
    switch (index) {
    case ScrollBar: entry = {P::Active, P::Button}; return true;
    case Desktop: entry = {P::Active, P::Dark}; return true;
    // Caption colours are the palette's active and inactive highlight colours.
    case ActiveCaption:
    case GradientActiveCaption: entry = {P::Active, P::Highlight}; return true;
    case InactiveCaption:
    case GradientInactiveCaption: entry = {P::Inactive, P::Highlight}; return true;
    case CaptionText: entry = {P::Active, P::HighlightedText}; return true;
    case InactiveCaptionText: entry = {P::Inactive, P::HighlightedText}; return true;
    case Menu:
    case MenuBar:
    case ActiveBorder:
    case InactiveBorder: entry = {P::Active, P::Window}; return true;
    case Window: entry = {P::Active, P::Base}; return true;
    case WindowFrame:
    case DarkShadow3D: entry = {P::Active, P::Shadow}; return true;
    case MenuText: entry = {P::Active, P::WindowText}; return true;
    case WindowText: entry = {P::Active, P::Text}; return true;
    case AppWorkspace: entry = {P::Active, P::Mid}; return true;
    case Highlight:
    case MenuHighlight: entry = {P::Active, P::Highlight}; return true;
    case HighlightText: entry = {P::Active, P::HighlightedText}; return true;
    case ButtonFace: entry = {P::Active, P::Button}; return true;
    case ButtonShadow: entry = {P::Active, P::Dark}; return true;
    case GrayText: entry = {P::Disabled, P::Text}; return true;
    case ButtonText: entry = {P::Active, P::ButtonText}; return true;
    case ButtonHighlight: entry = {P::Active, P::Light}; return true;
    case Light3D: entry = {P::Active, P::Midlight}; return true;
    case InfoText: entry = {P::Active, P::ToolTipText}; return true;
    case InfoBackground: entry = {P::Active, P::ToolTipBase}; return true;
    case HotLight: entry = {P::Active, P::Link}; return true;
    default: return false;
    }
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// A pair of one or two hexadecimal digits; -1 when empty or not hexadecimal.
int hexPair(QStringView pair)
{
    if (pair.isEmpty() || pair.size() > 2)
        return -1;
    int value = 0;
    for (QChar c : pair) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

} // namespace

std::optional<int> HexPairValue(QStringView pair)
{
    const int value = hexPair(pair);
    if (value < 0)
        return std::nullopt;
    return value;
}

ColourValue DefaultSystemColour(int index)
{
    if (index < 0 || index >= SystemColourCount)
        return 0;
    return DefaultColours[std::size_t(index)];
}

ColourValue ResolveSystemColour(ColourValue colour, const QPalette &palette)
{
    if (!IsSystemColour(colour))
        return colour & 0x00FFFFFFu;
    const int index = int(colour & 0xFFu);
    PaletteEntry entry;
    if (!paletteEntry(index, entry))
        return DefaultSystemColour(index);
    return QColorToColour(palette.color(entry.group, entry.role));
}

ColourValue ResolveSystemColour(ColourValue colour)
{
    if (!IsSystemColour(colour))
        return colour & 0x00FFFFFFu;
    // Without a GUI application there is no platform palette to ask.
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return DefaultSystemColour(int(colour & 0xFFu));
    return ResolveSystemColour(colour, QGuiApplication::palette());
}

int RedOf(ColourValue colour) { return int(ResolveSystemColour(colour) & 0xFFu); }
int GreenOf(ColourValue colour) { return int((ResolveSystemColour(colour) >> 8) & 0xFFu); }
int BlueOf(ColourValue colour) { return int((ResolveSystemColour(colour) >> 16) & 0xFFu); }

QColor ColourToQColor(ColourValue colour)
{
    const ColourValue rgbValue = ResolveSystemColour(colour);
    return QColor(int(rgbValue & 0xFFu), int((rgbValue >> 8) & 0xFFu), int((rgbValue >> 16) & 0xFFu));
}

ColourValue QColorToColour(const QColor &colour)
{
    const QColor c = colour.toRgb();
    return ColourFromRgb(c.red(), c.green(), c.blue());
}

QString ColourToHex(ColourValue colour)
{
    const ColourValue value = ResolveSystemColour(colour);
    // The text is red first, the reverse of the value's byte order.
    const ColourValue rrggbb = ((value & 0xFFu) << 16) | (value & 0xFF00u) | ((value >> 16) & 0xFFu);
    return QStringLiteral("%1").arg(rrggbb, 6, 16, QLatin1Char('0')).toUpper();
}

std::optional<ColourValue> HexToColour(const QString &text)
{
    const QStringView view(text);
    const int red = hexPair(view.left(2));
    const int green = hexPair(view.mid(2, 2));
    const int blue = hexPair(view.right(2));
    if (red < 0 || green < 0 || blue < 0)
        return std::nullopt;
    return ColourFromRgb(red, green, blue);
}

QString ColourToDecimal(ColourValue colour)
{
    return QStringLiteral("%1,%2,%3").arg(RedOf(colour)).arg(GreenOf(colour)).arg(BlueOf(colour));
}

std::optional<qint64> ParseColourInteger(const QString &text)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    constexpr qint64 Limit = std::numeric_limits<qint64>::max() / 10 - 9;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        if (u < u'0' || u > u'9')
            return std::nullopt;
        if (value < Limit)
            value = value * 10 + (u - u'0');
    }
    return negative ? -value : value;
}

std::optional<ColourValue> DecimalToColour(const QString &text)
{
    const QStringList items = text.split(QLatin1Char(','));
    if (items.size() < 3)
        return std::nullopt;
    int channels[3];
    for (int i = 0; i < 3; ++i) {
        const std::optional<qint64> number = ParseColourInteger(items.at(i));
        if (!number || *number < std::numeric_limits<qint32>::min()
            || *number > std::numeric_limits<qint32>::max())
            return std::nullopt;
        channels[i] = int(*number & 0xFF);
    }
    return ColourFromRgb(channels[0], channels[1], channels[2]);
}

ColourTriple ColourToTriple(ColourValue colour)
{
    ColourTriple triple;
    triple.blue = quint8(BlueOf(colour));
    triple.green = quint8(GreenOf(colour));
    triple.red = quint8(RedOf(colour));
    return triple;
}
