#include "output/cli/MakeArguments.h"

#include "colour/ColourText.h"
#include "document/AnimationDocument.h"
#include "document/AnimationSettings.h"
#include "document/CaptionText.h"

#include <QRegularExpression>

#include <cstdlib>
#include <limits>

namespace ReelcraftCli {

namespace {

// Digits only (as the numeric fields take them), at most maximum.
std::optional<int> digitsValue(const QString &text, qint64 maximum)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,10}$"));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    const qint64 value = text.toLongLong();
    if (value > maximum)
        return std::nullopt;
    return int(value);
}

std::optional<int> signedValue(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^[+-]?[0-9]{1,10}$"));
    if (!number.match(text).hasMatch())
        return std::nullopt;
    const qint64 value = text.toLongLong();
    if (value > std::numeric_limits<int>::max() || value < -qint64(std::numeric_limits<int>::max()))
        return std::nullopt;
    return int(value);
}

// The index of text among items, without regard to case; no value when it is none of them.
std::optional<int> itemIndex(const QStringList &items, const QString &text)
{
    for (int i = 0; i < items.size(); ++i)
        if (items.at(i).compare(text, Qt::CaseInsensitive) == 0)
            return i;
    return std::nullopt;
}

// The colour field's two forms: six hexadecimal digits (a leading "#" allowed) or R,G,B with
// each channel 0 to 255.
bool validColourText(const QString &text)
{
    if (text.contains(QLatin1Char(','))) {
        const QStringList parts = text.split(QLatin1Char(','));
        if (parts.size() != 3)
            return false;
        for (const QString &part : parts)
            if (!digitsValue(part, 255))
                return false;
        return true;
    }
    const QString hex = text.startsWith(QLatin1Char('#')) ? text.mid(1) : text;
    return hex.size() == 6 && HexToColour(hex).has_value();
}

const QStringList &fontStyleNames()
{
    static const QStringList names = {QStringLiteral("plain"), QStringLiteral("bold"), QStringLiteral("italic"),
                                      QStringLiteral("bold-italic")};
    return names;
}

constexpr int kLargestNumber = std::numeric_limits<int>::max();

} // namespace

bool MakeArguments::writesPage() const
{
    return out.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive)
        || out.endsWith(QLatin1String(".html"), Qt::CaseInsensitive);
}

std::optional<MakeArguments> ParseMakeArguments(const QStringList &arguments, QString *problem)
{
    MakeArguments result;
    QStringList positional;
    const auto fail = [problem](const QString &text) {
        *problem = text;
        return std::nullopt;
    };

    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString argument = arguments.at(i);
        if (argument == QLatin1String("--")) {
            positional += arguments.mid(i + 1);
            break;
        }
        if (!argument.startsWith(QLatin1String("--"))) {
            positional.append(argument);
            continue;
        }
        if (argument == QLatin1String("--fit")) {
            result.fit = true;
            continue;
        }
        if (argument == QLatin1String("--caption-from-name")) {
            result.captionFromName = true;
            continue;
        }
        if (argument == QLatin1String("--no-player")) {
            result.noPlayer = true;
            continue;
        }

        // Every other option takes a value: "--name value" or "--name=value".
        QString value;
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        static const QStringList valued = {
            QStringLiteral("--size"), QStringLiteral("--pause"), QStringLiteral("--delay"),
            QStringLiteral("--repeat"), QStringLiteral("--bg"), QStringLiteral("--move"),
            QStringLiteral("--edge"), QStringLiteral("--background"), QStringLiteral("--soundtrack"),
            QStringLiteral("--font"), QStringLiteral("--font-size"), QStringLiteral("--font-style"),
            QStringLiteral("--captions"), QStringLiteral("--title"), QStringLiteral("--scale")};
        if (equals > 0) {
            value = argument.mid(equals + 1);
            argument.truncate(equals);
        }
        if (!valued.contains(argument))
            return fail(QStringLiteral("unknown option \"%1\"").arg(arguments.at(i)));
        if (equals < 0) {
            if (i + 1 >= arguments.size())
                return fail(argument + QStringLiteral(" needs a value"));
            value = arguments.at(++i);
        }
        const auto badValue = [&](const QString &expected) {
            return fail(QStringLiteral("%1 \"%2\": %3").arg(argument, value, expected));
        };

        if (argument == QLatin1String("--size")) {
            const QStringList parts = value.split(QLatin1Char('x'));
            const std::optional<int> w = parts.size() == 2 ? digitsValue(parts.at(0), kLargestNumber) : std::nullopt;
            const std::optional<int> h = parts.size() == 2 ? digitsValue(parts.at(1), kLargestNumber) : std::nullopt;
            if (!w || !h)
                return badValue(QStringLiteral("give the width and height in pixels as WxH, like 640x480"));
            result.size = QSize(*w, *h);
        } else if (argument == QLatin1String("--pause") || argument == QLatin1String("--delay")) {
            const std::optional<int> ms = digitsValue(value, kLargestNumber);
            if (!ms)
                return badValue(QStringLiteral("give milliseconds as digits"));
            (argument == QLatin1String("--pause") ? result.pause : result.delay) = ms;
        } else if (argument == QLatin1String("--repeat")) {
            result.repeat = digitsValue(value, AnimationSettings::maximum(TextSetting::Repeat));
            if (!result.repeat)
                return badValue(QStringLiteral("give a count from 0 to 9999999 (leave the option out to repeat without end)"));
        } else if (argument == QLatin1String("--bg")) {
            if (!validColourText(value))
                return badValue(QStringLiteral("give six hexadecimal digits (RRGGBB or #RRGGBB) or R,G,B from 0 to 255"));
            result.background = value;
        } else if (argument == QLatin1String("--move")) {
            const QStringList parts = value.split(QLatin1Char(','));
            const std::optional<int> h = parts.size() == 2 ? signedValue(parts.at(0)) : std::nullopt;
            const std::optional<int> v = parts.size() == 2 ? signedValue(parts.at(1)) : std::nullopt;
            if (!h || !v)
                return badValue(QStringLiteral("give two whole speeds as H,V, like 2,0 or -3,1"));
            result.moveH = h;
            result.moveV = v;
        } else if (argument == QLatin1String("--edge")) {
            if (value == QLatin1String("bounce"))
                result.edge = BounceOffEdge;
            else if (value == QLatin1String("wrap"))
                result.edge = DisappearOffEdge;
            else
                return badValue(QStringLiteral("use bounce or wrap"));
        } else if (argument == QLatin1String("--background") || argument == QLatin1String("--soundtrack")) {
            if (value.isEmpty())
                return badValue(QStringLiteral("give a file"));
            (argument == QLatin1String("--background") ? result.backgroundImage : result.soundtrack) = value;
        } else if (argument == QLatin1String("--font")) {
            const QStringList names = AnimationSettings::items(ListSetting::FontName);
            result.font = itemIndex(names, value);
            if (!result.font)
                return badValue(QStringLiteral("use one of ") + names.join(QStringLiteral(", ")));
        } else if (argument == QLatin1String("--font-size")) {
            result.fontSize = digitsValue(value, AnimationSettings::maximum(TextSetting::FontSize));
            if (!result.fontSize)
                return badValue(QStringLiteral("give a size from 0 to 127"));
        } else if (argument == QLatin1String("--font-style")) {
            result.fontStyle = itemIndex(fontStyleNames(), value);
            if (!result.fontStyle)
                return badValue(QStringLiteral("use plain, bold, italic or bold-italic"));
        } else if (argument == QLatin1String("--scale")) {
            if (value == QLatin1String("fit"))
                result.scale = true;
            else if (value == QLatin1String("none"))
                result.scale = false;
            else
                return badValue(QStringLiteral("use fit or none"));
        } else if (argument == QLatin1String("--captions")) {
            if (value.isEmpty())
                return badValue(QStringLiteral("give a file"));
            result.captionsFile = value;
        } else {
            result.title = value;
        }
    }

    if (positional.isEmpty() || positional.first().isEmpty())
        return fail(QStringLiteral("make needs OUT and at least one PICTURE"));
    result.out = positional.takeFirst();
    if (positional.isEmpty())
        return fail(QStringLiteral("make needs at least one PICTURE after OUT"));
    for (const QString &picture : std::as_const(positional))
        if (picture.isEmpty())
            return fail(QStringLiteral("an empty PICTURE argument"));
    result.pictures = positional;

    if (!result.writesPage() && !result.out.endsWith(QLatin1String(".rcf"), Qt::CaseInsensitive))
        return fail(QStringLiteral("OUT \"%1\" must end in .rcf (a project) or .htm or .html (a page)").arg(result.out));
    if (result.size && result.fit)
        return fail(QStringLiteral("--size and --fit both set the size; give one of them"));
    if (!result.captionsFile.isEmpty() && result.captionFromName)
        return fail(QStringLiteral("--captions and --caption-from-name both give the captions; give one of them"));
    if (!result.writesPage() && (result.title || result.noPlayer))
        return fail(QStringLiteral("%1 is only for a page (OUT ending in .htm or .html)")
                        .arg(result.title ? QStringLiteral("--title") : QStringLiteral("--no-player")));
    return result;
}

void ApplyMakeSettings(const MakeArguments &arguments, AnimationDocument &document)
{
    document.setScaleToFit(arguments.scale);
    if (arguments.size) {
        document.setText(TextSetting::JavaWidth, QString::number(arguments.size->width()));
        document.setText(TextSetting::JavaHeight, QString::number(arguments.size->height()));
    }
    if (arguments.pause)
        document.setText(TextSetting::BetweenFrames, QString::number(*arguments.pause));
    if (arguments.delay)
        document.setText(TextSetting::Delay, QString::number(*arguments.delay));
    if (arguments.repeat)
        document.setText(TextSetting::Repeat, QString::number(*arguments.repeat));
    if (arguments.moveH) {
        // A sign is a direction of the list; the speed field holds digits only.
        const int h = *arguments.moveH;
        const int v = *arguments.moveV;
        document.setSelectedIndex(ListSetting::HorizDirection, h == 0 ? NoSidewaysMovement : h > 0 ? LeftToRight : RightToLeft);
        document.setText(TextSetting::HorizSpeed, QString::number(std::abs(h)));
        document.setSelectedIndex(ListSetting::VertDirection, v == 0 ? NoVerticalMovement : v > 0 ? TopToBottom : BottomToTop);
        document.setText(TextSetting::VerticalSpeed, QString::number(std::abs(v)));
    }
    if (arguments.edge)
        document.setSelectedIndex(ListSetting::Edge, *arguments.edge);
    if (!arguments.backgroundImage.isEmpty())
        document.setText(TextSetting::BackImage, arguments.backgroundImage);
    if (!arguments.soundtrack.isEmpty())
        document.setText(TextSetting::Soundtrack, arguments.soundtrack);
    if (arguments.font)
        document.setSelectedIndex(ListSetting::FontName, *arguments.font);
    if (arguments.fontSize)
        document.setText(TextSetting::FontSize, QString::number(*arguments.fontSize));
    if (arguments.fontStyle)
        document.setSelectedIndex(ListSetting::FontStyle, *arguments.fontStyle);
    if (!arguments.background.isEmpty()) {
        HtmlColourField &field = document.BackgroundColour();
        const bool decimal = arguments.background.contains(QLatin1Char(','));
        const std::optional<ColourValue> colour =
            decimal ? DecimalToColour(arguments.background) : HexToColour(arguments.background.mid(
                          arguments.background.startsWith(QLatin1Char('#')) ? 1 : 0));
        // The field as it stands after the colour was typed in hexadecimal and, for the decimal
        // form, shown as R,G,B through the field's list: a decimal colour typed straight into
        // a fresh field would not count as an HTML colour.
        field.SetText(ColourToHex(colour.value_or(0)));
        if (decimal)
            field.ChooseDropDownItem(1);
    }
}

std::optional<QStringList> CaptionsFromText(const QString &text, int pictureCount, QString *problem)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (int i = 0; i < lines.size(); ++i) {
        QString &line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.contains(CaptionSeparator)) {
            *problem = QStringLiteral("caption %1 holds \"|\", which separates captions; use another character")
                           .arg(i + 1);
            return std::nullopt;
        }
    }
    // Blank lines past the last picture are no captions.
    while (lines.size() > pictureCount && lines.last().trimmed().isEmpty())
        lines.removeLast();
    if (lines.size() > pictureCount) {
        *problem = QStringLiteral("%1 captions for %2 pictures").arg(lines.size()).arg(pictureCount);
        return std::nullopt;
    }
    return lines;
}

} // namespace ReelcraftCli
