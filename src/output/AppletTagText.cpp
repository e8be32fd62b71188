#include "output/AppletTagText.h"

#include "controls/TextUtils.h"

#include <algorithm>
#include <limits>

namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr char32_t kLastCodePoint = 0x10FFFF;

void appendReference(QString &out, char32_t codePoint)
{
    out += QLatin1String("&#");
    out += QString::number(quint32(codePoint));
    out += QLatin1Char(';');
}

bool isDecimalDigit(QChar c) { return c >= u'0' && c <= u'9'; }

int hexDigitValue(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

// The numeric reference that starts at text[at] == '&' followed by '#'. On success gives
// the code point and the index just past the ';'.
std::optional<char32_t> numericReference(const QString &text, qsizetype at, qsizetype *end)
{
    qsizetype i = at + 2;
    const bool hex = i < text.size() && (text.at(i) == u'x' || text.at(i) == u'X');
    if (hex)
        ++i;
    const qsizetype digitsStart = i;
    quint32 value = 0;
    bool tooLarge = false;
    for (; i < text.size(); ++i) {
        const int digit = hex ? hexDigitValue(text.at(i)) : (isDecimalDigit(text.at(i)) ? text.at(i).unicode() - u'0' : -1);
        if (digit < 0)
            break;
        if (!tooLarge) {
            value = value * (hex ? 16 : 10) + quint32(digit);
            tooLarge = value > kLastCodePoint;
        }
    }
    if (i == digitsStart || i >= text.size() || text.at(i) != u';' || tooLarge)
        return std::nullopt;
    if (value >= 0xD800 && value <= 0xDFFF)
        return std::nullopt; // a surrogate is half a character, never one on its own
    *end = i + 1;
    return char32_t(value);
}

struct NamedReference
{
    QLatin1String name; // without "&" and ";"
    QChar character;
};

const NamedReference kNamedReferences[] = {
    {QLatin1String("amp"), QLatin1Char('&')},
    {QLatin1String("quot"), QLatin1Char('"')},
    {QLatin1String("lt"), QLatin1Char('<')},
    {QLatin1String("gt"), QLatin1Char('>')},
    {QLatin1String("apos"), QLatin1Char('\'')},
};

} // namespace

QString EscapeAttributeValue(const QString &value, ValueQuoting quoting)
{
    QString out;
    AppendEscapedAttributeValue(out, value, quoting);
    return out;
}

void AppendEscapedAttributeValue(QString &out, QStringView value, ValueQuoting quoting)
{
    // Room for a few references; grown geometrically so many small appends stay linear.
    const qsizetype needed = out.size() + value.size() + value.size() / 8 + 8;
    if (out.capacity() < needed)
        out.reserve(std::max(needed, out.capacity() * 2));
    const qsizetype size = value.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = value.at(i);
        const char16_t u = c.unicode();
        switch (u) {
        case u'&':
            out += QLatin1String("&amp;");
            continue;
        case u'"':
            out += QLatin1String("&quot;");
            continue;
        case u'<':
            out += QLatin1String("&lt;");
            continue;
        case u'>':
            out += QLatin1String("&gt;");
            continue;
        case u' ':
        case u'=':
            if (quoting == ValueQuoting::Unquoted)
                appendReference(out, u);
            else
                out += c;
            continue;
        default:
            break;
        }
        if (u > 0x20 && u < 0x7F) {
            out += c;
        } else if (c.isHighSurrogate() && i + 1 < size && value.at(i + 1).isLowSurrogate()) {
            appendReference(out, QChar::surrogateToUcs4(c, value.at(i + 1)));
            ++i;
        } else if (c.isSurrogate()) {
            appendReference(out, kReplacementCharacter);
        } else {
            appendReference(out, u);
        }
    }
}

QString DecodeCharacterReferences(const QString &value)
{
    qsizetype amp = value.indexOf(QLatin1Char('&'));
    if (amp < 0)
        return value;

    QString out;
    out.reserve(value.size());
    qsizetype copied = 0;
    while (amp >= 0) {
        qsizetype end = -1;
        QString replacement;
        if (amp + 1 < value.size() && value.at(amp + 1) == u'#') {
            if (const std::optional<char32_t> code = numericReference(value, amp, &end)) {
                const char32_t codePoint = *code;
                replacement = QString::fromUcs4(&codePoint, 1);
            }
        } else {
            for (const NamedReference &named : kNamedReferences) {
                const qsizetype nameEnd = amp + 1 + named.name.size();
                if (nameEnd < value.size() && value.at(nameEnd) == u';'
                    && QStringView(value).mid(amp + 1, named.name.size()) == named.name) {
                    replacement = named.character;
                    end = nameEnd + 1;
                    break;
                }
            }
        }
        if (end < 0) {
            amp = value.indexOf(QLatin1Char('&'), amp + 1);
            continue;
        }
        out += QStringView(value).mid(copied, amp - copied);
        out += replacement;
        copied = end;
        amp = value.indexOf(QLatin1Char('&'), end);
    }
    out += QStringView(value).mid(copied);
    return out;
}

QString EscapePictureReference(const QString &reference)
{
    if (!reference.contains(QLatin1Char('%')) && !reference.contains(QLatin1Char(',')))
        return reference;
    QString out;
    out.reserve(reference.size() + 8);
    for (const QChar c : reference) {
        if (c == u'%')
            out += QLatin1String("%25");
        else if (c == u',')
            out += QLatin1String("%2C");
        else
            out += c;
    }
    return out;
}

namespace {

QString percentEncoded(char16_t c)
{
    return QStringLiteral("%%1").arg(int(c), 2, 16, QLatin1Char('0')).toUpper();
}

bool isControl(char16_t c)
{
    return c < 0x20 || c == 0x7F;
}

// The characters a "%XX" of a picture reference stands for.
bool isDecodedCharacter(int value)
{
    return value == '%' || value == ',' || value == '#' || value == '?' || value == ' ' || isControl(char16_t(value));
}

} // namespace

QString EscapePageReference(const QString &reference)
{
    const qsizetype nameStart = std::max(reference.lastIndexOf(QLatin1Char('/')), reference.lastIndexOf(QLatin1Char('\\'))) + 1;
    // Blanks that lead or trail the whole reference or its name part.
    const auto atAnEnd = [&](qsizetype i) {
        const auto blanksFrom = [&](qsizetype from, qsizetype to) {
            for (qsizetype j = from; j < to; ++j)
                if (reference.at(j) != u' ')
                    return false;
            return true;
        };
        return blanksFrom(0, i) || blanksFrom(i + 1, reference.size()) || (i >= nameStart && blanksFrom(nameStart, i));
    };
    QString out;
    out.reserve(reference.size() + 8);
    for (qsizetype i = 0; i < reference.size(); ++i) {
        const char16_t c = reference.at(i).unicode();
        if (c == u'%' || c == u',' || c == u'#' || c == u'?' || isControl(c) || (c == u' ' && atAnEnd(i)))
            out += percentEncoded(c);
        else
            out += QChar(c);
    }
    return out;
}

namespace {

bool onlyEscapedBlanks(QStringView text)
{
    if (text.size() % 3 != 0)
        return false;
    for (qsizetype i = 0; i < text.size(); i += 3)
        if (text.mid(i, 3) != u"%20")
            return false;
    return true;
}

// Whether the "%20" at percent stands for a blank the writer escaped: one at either end of the
// entry or of its name part. A "%20" inside a name is left as it is.
bool isEscapedEndBlank(const QString &entry, qsizetype percent)
{
    const qsizetype nameStart = std::max(entry.lastIndexOf(QLatin1Char('/')), entry.lastIndexOf(QLatin1Char('\\'))) + 1;
    const QStringView text(entry);
    return onlyEscapedBlanks(text.mid(0, percent)) || onlyEscapedBlanks(text.mid(percent + 3))
        || (percent >= nameStart && onlyEscapedBlanks(text.mid(nameStart, percent - nameStart)));
}

} // namespace

QString DecodePictureReference(const QString &entry)
{
    qsizetype percent = entry.indexOf(QLatin1Char('%'));
    if (percent < 0)
        return entry;
    QString out;
    out.reserve(entry.size());
    qsizetype copied = 0;
    while (percent >= 0) {
        if (percent + 2 < entry.size()) {
            const int high = hexDigitValue(entry.at(percent + 1));
            const int low = hexDigitValue(entry.at(percent + 2));
            const int value = high * 16 + low;
            if (high >= 0 && low >= 0 && isDecodedCharacter(value) && (value != ' ' || isEscapedEndBlank(entry, percent))) {
                out += QStringView(entry).mid(copied, percent - copied);
                out += QChar(char16_t(value));
                copied = percent + 3;
                percent = entry.indexOf(QLatin1Char('%'), copied);
                continue;
            }
        }
        percent = entry.indexOf(QLatin1Char('%'), percent + 1);
    }
    out += QStringView(entry).mid(copied);
    return out;
}

std::optional<qint64> ParseIntegerText(const QString &text)
{
    const QString trimmed = TrimBlanks(text);
    qsizetype i = 0;
    bool negative = false;
    if (i < trimmed.size() && (trimmed.at(i) == u'+' || trimmed.at(i) == u'-')) {
        negative = trimmed.at(i) == u'-';
        ++i;
    }
    if (i >= trimmed.size())
        return std::nullopt;
    // Gathered as a negative number, whose range holds the smallest 64-bit value too.
    qint64 value = 0;
    constexpr qint64 lowest = std::numeric_limits<qint64>::min();
    for (; i < trimmed.size(); ++i) {
        const QChar c = trimmed.at(i);
        if (!isDecimalDigit(c))
            return std::nullopt;
        const int digit = c.unicode() - u'0';
        if (value < (lowest + digit) / 10)
            return std::nullopt;
        value = value * 10 - digit;
    }
    if (!negative) {
        if (value == lowest)
            return std::nullopt;
        value = -value;
    }
    return value;
}
