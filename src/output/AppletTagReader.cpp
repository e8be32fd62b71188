#include "output/AppletTagReader.h"

#include "controls/PathUtils.h"
#include "controls/TextUtils.h"
#include "document/AnimationDocument.h"
#include "integration/HostSession.h"
#include "output/AppletTagText.h"

#include <QFileInfo>
#include <QList>

namespace {

// The parameters the reader knows, in the order a token's name is compared with them.
enum class Parameter {
    CaptionList, ImageList, Move, Pause, EndDelay, Repeat, Bg, Soundtrack, Background, Bounce,
    FontName, FontSize, FontStyle, Scale,
};

struct ParameterName
{
    QLatin1String name;
    Parameter parameter;
};

const ParameterName kParameters[] = {
    {QLatin1String("captionlist"), Parameter::CaptionList},
    {QLatin1String("imagelist"), Parameter::ImageList},
    {QLatin1String("move"), Parameter::Move},
    {QLatin1String("pause"), Parameter::Pause},
    {QLatin1String("enddelay"), Parameter::EndDelay},
    {QLatin1String("repeat"), Parameter::Repeat},
    {QLatin1String("bg"), Parameter::Bg},
    {QLatin1String("soundtrack"), Parameter::Soundtrack},
    {QLatin1String("background"), Parameter::Background},
    {QLatin1String("bounce"), Parameter::Bounce},
    {QLatin1String("fontname"), Parameter::FontName},
    {QLatin1String("fontsize"), Parameter::FontSize},
    {QLatin1String("fontstyle"), Parameter::FontStyle},
    {QLatin1String("scale"), Parameter::Scale},
};

// The token's first word: up to its first blank, tab or line break.
QStringView firstWord(QStringView token)
{
    for (qsizetype i = 0; i < token.size(); ++i) {
        const QChar c = token.at(i);
        if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n')
            return token.left(i);
    }
    return token;
}

// Where the "<...>" tokens lie, as ExtractTags cuts them: each from a "<" to the first ">"
// after it; a "<" without one ends the cutting. Kept as places, so a large page is not
// copied token by token.
struct TokenPlace
{
    qsizetype start;
    qsizetype length;
};

QList<TokenPlace> tokenPlaces(const QString &text)
{
    QList<TokenPlace> places;
    for (qsizetype pos = 0;;) {
        const qsizetype open = text.indexOf(QLatin1Char('<'), pos);
        if (open < 0)
            break;
        const qsizetype close = text.indexOf(QLatin1Char('>'), open + 1);
        if (close < 0)
            break;
        places.append({open, close + 1 - open});
        pos = close + 1;
    }
    return places;
}

bool isAppletToken(QStringView token)
{
    return firstWord(token).compare(QLatin1String("<applet"), Qt::CaseInsensitive) == 0;
}

QString attribute(const QString &token, const QString &name)
{
    return DecodeCharacterReferences(GetAttributeValue(token, name));
}

class TagReader
{
public:
    TagReader(AnimationDocument &document, const AppletTagReaderOptions &options)
        : m_document(document), m_options(options)
    {
    }

    void handle(const QString &token)
    {
        if (isAppletToken(token)) {
            m_document.setText(TextSetting::JavaWidth, attribute(token, QStringLiteral("width")));
            m_document.setText(TextSetting::JavaHeight, attribute(token, QStringLiteral("height")));
            return;
        }
        const QString name = GetAttributeValue(token, QStringLiteral("name"));
        if (name.isEmpty())
            return;
        const QString decodedName = DecodeCharacterReferences(name);
        for (const ParameterName &known : kParameters) {
            if (decodedName.compare(known.name, Qt::CaseInsensitive) == 0) {
                apply(known.parameter, attribute(token, QStringLiteral("value")));
                return;
            }
        }
    }

private:
    void apply(Parameter parameter, const QString &value)
    {
        switch (parameter) {
        case Parameter::CaptionList:
            m_captions = SplitText(value, QStringLiteral("|"));
            break;
        case Parameter::ImageList:
            readImageList(value);
            break;
        case Parameter::Move:
            readMove(value);
            break;
        case Parameter::Pause:
            m_document.setText(TextSetting::BetweenFrames, value);
            break;
        case Parameter::EndDelay:
            m_document.setText(TextSetting::Delay, value);
            break;
        case Parameter::Repeat:
            m_document.setText(TextSetting::Repeat, value);
            break;
        case Parameter::Bg:
            readBackgroundColour(value);
            break;
        case Parameter::Soundtrack:
            m_document.setText(TextSetting::Soundtrack, fileReference(value));
            break;
        case Parameter::Background:
            m_document.setText(TextSetting::BackImage, fileReference(value));
            break;
        case Parameter::Bounce:
            m_document.setSelectedIndex(ListSetting::Edge,
                                        value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0
                                            ? BounceOffEdge
                                            : DisappearOffEdge);
            break;
        case Parameter::FontName:
            readFontName(value);
            break;
        case Parameter::FontSize:
            readFontSize(value);
            break;
        case Parameter::FontStyle:
            readFontStyle(value);
            break;
        case Parameter::Scale:
            // "fit" in any case scales; any other value is the applet's natural drawing.
            m_document.setScaleToFit(value.compare(QLatin1String("fit"), Qt::CaseInsensitive) == 0);
            break;
        }
    }

    // The item of that name, without regard to case; an unknown name changes nothing.
    void readFontName(const QString &value)
    {
        const QStringList items = AnimationSettings::items(ListSetting::FontName);
        for (qsizetype i = 0; i < items.size(); ++i) {
            if (items.at(i).compare(value, Qt::CaseInsensitive) == 0) {
                m_document.setSelectedIndex(ListSetting::FontName, int(i));
                return;
            }
        }
    }

    // A size the field itself would take (digits, up to its maximum); anything else, an
    // empty value too, changes nothing.
    void readFontSize(const QString &value)
    {
        bool digitsOnly = !value.isEmpty() && value.size() <= 9;
        for (const QChar c : value)
            digitsOnly = digitsOnly && c >= u'0' && c <= u'9';
        if (digitsOnly && value.toInt() <= AnimationSettings::maximum(TextSetting::FontSize))
            m_document.setText(TextSetting::FontSize, value);
    }

    // "0" to "3" select the style of that index; anything else changes nothing.
    void readFontStyle(const QString &value)
    {
        const std::optional<qint64> style = ParseIntegerText(value);
        if (style && *style >= FontStyleNone && *style <= FontStyleBoldItalic)
            m_document.setSelectedIndex(ListSetting::FontStyle, int(*style));
    }

    void readImageList(const QString &value)
    {
        const QStringList entries = SplitText(value, QStringLiteral(","));
        for (qsizetype i = 0; i < entries.size(); ++i) {
            const QString entry = DecodePictureReference(entries.at(i));
            const QString path = entry.contains(QLatin1String("file:///"))
                ? fileUrlPath(entry)
                : resolveKeepingEscapedBlanks(entries.at(i));
            if (!ReferencedFileExists(path))
                continue;
            const QString caption = i < m_captions.size() ? m_captions.at(i) : QString();
            if (m_options.addFrame)
                m_options.addFrame(path, caption);
            else
                m_document.appendFrame(path, caption);
        }
        if (m_options.layoutFrames)
            m_options.layoutFrames();
    }

    void readMove(const QString &value)
    {
        const qsizetype comma = value.indexOf(QLatin1Char(','));
        const std::optional<qint64> horizontal =
            comma < 0 ? std::nullopt : ParseIntegerText(value.left(comma));
        const std::optional<qint64> vertical =
            comma < 0 ? std::nullopt : ParseIntegerText(value.mid(comma + 1));
        if (!horizontal || !vertical) {
            // Unreadable: no sideways movement; the vertical fields are left as they are.
            m_document.setSelectedIndex(ListSetting::HorizDirection, NoSidewaysMovement);
            m_document.setText(TextSetting::HorizSpeed, QStringLiteral("0"));
            return;
        }
        setMovement(*horizontal, ListSetting::HorizDirection, TextSetting::HorizSpeed);
        setMovement(*vertical, ListSetting::VertDirection, TextSetting::VerticalSpeed);
    }

    void setMovement(qint64 component, ListSetting direction, TextSetting speed)
    {
        // ParseIntegerText never gives the smallest 64-bit value, so the negation is safe.
        m_document.setText(speed, QString::number(component < 0 ? -component : component));
        // Item 1 moves toward growing coordinates (left to right, top to bottom), item 2 back.
        m_document.setSelectedIndex(direction, component == 0 ? 0 : (component > 0 ? 1 : 2));
    }

    void readBackgroundColour(const QString &value)
    {
        HtmlColourField &field = m_document.BackgroundColour();
        // Each bg value decides the colour on its own: no validity found for an earlier one
        // may stay behind when this one is in decimal form or no colour at all.
        field.Clear();
        field.SetDecimalMode(false);
        field.SetText(value.startsWith(QLatin1Char('#')) ? value.mid(1) : value);
    }

    // The path of a file URL the writer made. FileURLToPath trims blanks and control
    // characters around a quoted text; those at the end of a URL belong to the file's name
    // ("tune.au " is a file of its own), so they are kept.
    static QString fileUrlPath(const QString &url)
    {
        qsizetype end = url.size();
        while (end > 0 && url.at(end - 1).unicode() <= u' ')
            --end;
        const QString path = FileURLToPath(url);
        return end < url.size() && !url.left(end).endsWith(QLatin1Char('"')) ? path + url.mid(end) : path;
    }

    // A soundtrack or background value: a file URL (a project file) names its path; any
    // other reference is resolved and taken when a file is found there, else kept as read.
    QString fileReference(const QString &value) const
    {
        const QString reference = DecodePictureReference(value);
        if (reference.contains(QLatin1String("file:///")))
            return fileUrlPath(reference);
        const QString resolved = resolveKeepingEscapedBlanks(value);
        return ReferencedFileExists(resolved) ? resolved : reference;
    }

    // Resolves a reference as read (still escaped) against the base, decoded. Blanks written
    // as "%20" at its ends belong to the name, but resolving trims a reference (as it should
    // trim blanks typed around a comma); they are carried through it as private-use
    // characters.
    QString resolveKeepingEscapedBlanks(const QString &raw) const
    {
        constexpr char16_t Kept = 0xE000;
        const QLatin1String blank("%20");
        QString held = raw;
        if (!held.contains(QChar(Kept))) {
            qsizetype at = 0;
            while (at < held.size() && held.at(at) == u' ')
                ++at;
            for (; QStringView(held).mid(at, 3) == blank; ++at)
                held.replace(at, 3, QChar(Kept));
            qsizetype end = held.size();
            while (end > 0 && held.at(end - 1) == u' ')
                --end;
            for (; end >= 3 && QStringView(held).mid(end - 3, 3) == blank; end -= 3)
                held.replace(end - 3, 3, QChar(Kept));
        }
        return ResolveRelativePath(m_options.baseDocumentName, DecodePictureReference(held))
            .replace(QChar(Kept), QLatin1Char(' '));
    }

    AnimationDocument &m_document;
    const AppletTagReaderOptions &m_options;
    QStringList m_captions;
};

} // namespace

bool HoldsAppletElement(const QString &text)
{
    for (const TokenPlace &place : tokenPlaces(text)) {
        if (isAppletToken(QStringView(text).mid(place.start, place.length)))
            return true;
    }
    return false;
}

QString NoAnimationMessage(const QString &fileName)
{
    return fileName
        + QStringLiteral(" holds no Java animation: no applet element was found in it.\r\n\r\n"
                         "The file was not opened, and your current work is unchanged.");
}

QString FileReadingBase(const QString &fileName)
{
    if (fileName.isEmpty() || IsWindowsFormPath(fileName))
        return fileName;
    return QFileInfo(fileName).absoluteFilePath();
}

bool ReferencedFileExists(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

QString ReaderBaseDocumentName(HostSession *host)
{
    if (!host || !host->HostLinked())
        return QString();
    return host->GetHostDocumentName();
}

void ReadAppletTag(AnimationDocument &document, const QString &text, const AppletTagReaderOptions &options)
{
    if (text.isEmpty())
        return;
    document.ResetDocument();

    const QList<TokenPlace> places = tokenPlaces(text);

    TagReader reader(document, options);
    for (qsizetype i = places.size() - 1; i >= 0; --i) {
        const QStringView token = QStringView(text).mid(places.at(i).start, places.at(i).length);
        // Only an applet tag or a tag with a name attribute can change anything; the
        // other tags of a page are passed over without being copied.
        if (token.startsWith(u"<applet", Qt::CaseInsensitive) || token.contains(u"name=", Qt::CaseInsensitive))
            reader.handle(token.toString());
    }
}
