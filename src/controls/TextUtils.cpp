#include "controls/TextUtils.h"

#include <QVarLengthArray>

#include <array>
#include <limits>

namespace {

// Case folding one UTF-16 unit at a time keeps every position of the text where it is.
inline char16_t fold(QChar c)
{
    return QChar::toCaseFolded(c.unicode());
}

// Parts at least this long are searched with the skip table; shorter ones directly.
constexpr qsizetype kHorspoolMinimum = 9;

qsizetype findDirect(const QVarLengthArray<char16_t> &part, const QString &text, qsizetype start)
{
    const qsizetype m = part.size();
    const qsizetype last = text.size() - m;
    for (qsizetype pos = start; pos <= last; ++pos) {
        qsizetype j = 0;
        while (j < m && fold(text.at(pos + j)) == part[j])
            ++j;
        if (j == m)
            return pos;
    }
    return -1;
}

// Boyer-Moore-Horspool over folded characters. The table has 256 entries indexed by the low
// byte of a character; characters that share a low byte share the smallest shift of any of
// them, which only makes the shifts shorter, so no match is skipped. Every candidate is
// compared in full.
qsizetype findHorspool(const QVarLengthArray<char16_t> &part, const QString &text, qsizetype start)
{
    const qsizetype m = part.size();
    std::array<qsizetype, 256> skip;
    skip.fill(m);
    for (qsizetype i = 0; i < m - 1; ++i)
        skip[part[i] & 0xFF] = m - 1 - i;

    const qsizetype last = text.size() - m;
    qsizetype pos = start;
    while (pos <= last) {
        qsizetype j = m - 1;
        while (j >= 0 && fold(text.at(pos + j)) == part[j])
            --j;
        if (j < 0)
            return pos;
        pos += skip[fold(text.at(pos + m - 1)) & 0xFF];
    }
    return -1;
}

// 0-based index of part in text from index start, without regard to case; -1 when absent.
qsizetype indexOfFolded(const QString &part, const QString &text, qsizetype start)
{
    const qsizetype m = part.size();
    if (m == 0 || start < 0 || start > text.size() - m)
        return -1;
    QVarLengthArray<char16_t> folded(m);
    for (qsizetype i = 0; i < m; ++i)
        folded[i] = fold(part.at(i));
    return m >= kHorspoolMinimum ? findHorspool(folded, text, start)
                                 : findDirect(folded, text, start);
}

inline bool isBlank(QChar c)
{
    return c.unicode() <= u' ';
}

const QLatin1Char kQuote('"');

// The masking key; it needs no secrecy, only to turn plain text into unreadable numbers.
constexpr char kScrambleKey[] = "Qx7#Lm2!Rk9@Tw4$Zp6";
constexpr int kScrambleKeyLength = sizeof(kScrambleKey) - 1;
static_assert(kScrambleKeyLength == 19, "the masking key has 19 characters");

QString scramble(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    QStringList numbers;
    numbers.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes.at(i));
        const auto key = static_cast<unsigned char>(kScrambleKey[i % kScrambleKeyLength]);
        numbers.append(QString::number(byte ^ key));
    }
    QString result = numbers.join(QLatin1Char(','));
    // A single number carries no "," and would read back as plain text; the trailing ","
    // marks it as masked, so every text comes back.
    if (bytes.size() == 1)
        result += QLatin1Char(',');
    return result;
}

// A decimal byte value of 1 to 3 digits, or -1.
int parseByte(const QString &piece)
{
    if (piece.isEmpty() || piece.size() > 3)
        return -1;
    int value = 0;
    for (QChar c : piece) {
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value <= 255 ? value : -1;
}

QString unscramble(const QString &text)
{
    if (!text.contains(QLatin1Char(',')))
        return text;
    const QStringList pieces = SplitText(text, QStringLiteral(","));
    QByteArray bytes;
    bytes.reserve(pieces.size());
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const int value = parseByte(pieces.at(i));
        if (value < 0)
            return text; // not a masked text
        const auto key = static_cast<unsigned char>(kScrambleKey[i % kScrambleKeyLength]);
        bytes.append(static_cast<char>(static_cast<unsigned char>(value) ^ key));
    }
    return QString::fromUtf8(bytes);
}

} // namespace

QString GetAttributeValue(const QString &tag, const QString &name)
{
    const QString text = TrimBlanks(tag);
    const int found = FindText(name + QLatin1Char('='), text);
    if (found == 0)
        return QString();
    const qsizetype start = found - 1 + name.size() + 1;
    if (start >= text.size())
        return QString();

    const bool quoted = text.at(start) == kQuote;
    // A quoted value is scanned from the character after its opening quote. An unquoted one
    // is scanned from its first character, so "name= x" and "name=>" give nothing.
    qsizetype end = text.size();
    for (qsizetype i = quoted ? start + 1 : start; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == kQuote) {
            end = i + 1;
            break;
        }
        if (c == u'>') {
            end = i;
            break;
        }
        if (!quoted && (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n')) {
            end = i + 1;
            break;
        }
    }
    return Unquote(text.mid(start, end - start));
}

QStringList ExtractTags(const QString &text, const QString &opening, const QString &closing,
                        bool withPositions)
{
    QStringList tags;
    if (opening.isEmpty() || closing.isEmpty())
        return tags;
    qsizetype pos = 0;
    for (;;) {
        const qsizetype open = text.indexOf(opening, pos);
        if (open < 0)
            break;
        const qsizetype close = text.indexOf(closing, open + opening.size());
        if (close < 0)
            break;
        pos = close + closing.size();
        QString tag = text.mid(open, pos - open);
        if (withPositions)
            tag += QLatin1Char(',') + QString::number(open);
        tags.append(tag);
    }
    return tags;
}

QStringList SplitText(const QString &text, const QString &separator)
{
    QStringList pieces;
    if (text.isEmpty())
        return pieces;
    if (separator.isEmpty())
        return {text};
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype next = text.indexOf(separator, pos);
        if (next < 0) {
            pieces.append(text.mid(pos));
            break;
        }
        pieces.append(text.mid(pos, next - pos));
        pos = next + separator.size();
    }
    return pieces;
}

int FindText(const QString &part, const QString &text, int from)
{
    const qsizetype index = indexOfFolded(part, text, from < 1 ? 0 : qsizetype(from) - 1);
    return index < 0 ? 0 : int(index + 1);
}

QString ReplaceText(const QString &text, const QString &oldText, const QString &newText,
                    bool caseSensitive)
{
    if (oldText.isEmpty())
        return text;
    QString result;
    qsizetype pos = 0;
    for (;;) {
        const qsizetype found = caseSensitive ? text.indexOf(oldText, pos, Qt::CaseSensitive)
                                              : indexOfFolded(oldText, text, pos);
        if (found < 0)
            break;
        result += QStringView(text).mid(pos, found - pos);
        result += newText;
        pos = found + oldText.size(); // the search goes on in the original text
    }
    result += QStringView(text).mid(pos);
    return result;
}

QString TextBefore(const QString &text, const QString &separator, bool wholeIfMissing)
{
    const qsizetype at = separator.isEmpty() ? -1 : text.indexOf(separator);
    if (at <= 0)
        return wholeIfMissing ? text : QString();
    return text.left(at);
}

QString TextAfter(const QString &text, const QString &separator, bool wholeIfMissing)
{
    const qsizetype at = separator.isEmpty() ? -1 : text.indexOf(separator);
    if (at < 0)
        return wholeIfMissing ? text : QString();
    return text.mid(at + separator.size());
}

QString TextBetween(const QString &text, const QString &start, const QString &end)
{
    return TextBefore(TextAfter(text, start, false), end, false);
}

QString QuoteText(const QString &text)
{
    QString result = text;
    if (!result.startsWith(kQuote))
        result.prepend(kQuote);
    // A lone quote is an opening one; it still needs its closing quote.
    if (result.size() < 2 || !result.endsWith(kQuote))
        result.append(kQuote);
    return result;
}

QString Unquote(const QString &text)
{
    QString result = TrimBlanks(text);
    if (result.startsWith(kQuote))
        result.remove(0, 1);
    if (result.endsWith(kQuote))
        result.chop(1);
    return result;
}

QString TrimBlanks(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && isBlank(text.at(first)))
        ++first;
    while (last > first && isBlank(text.at(last - 1)))
        --last;
    return text.mid(first, last - first);
}

QString ScrambleText(const QString &text, const QString &mode)
{
    if (mode.compare(QLatin1String("ENC"), Qt::CaseInsensitive) == 0)
        return scramble(text);
    if (mode.compare(QLatin1String("DEC"), Qt::CaseInsensitive) == 0)
        return unscramble(text);
    return text;
}

int TextToInt(const QString &text, int defaultValue)
{
    const QString digits = TrimBlanks(text);
    qsizetype i = 0;
    bool negative = false;
    if (i < digits.size() && (digits.at(i) == u'+' || digits.at(i) == u'-')) {
        negative = digits.at(i) == u'-';
        ++i;
    }
    if (i == digits.size())
        return defaultValue;
    // Accumulate as a negative number, which also holds the smallest int.
    constexpr long long lowest = std::numeric_limits<int>::min();
    long long value = 0;
    for (; i < digits.size(); ++i) {
        const QChar c = digits.at(i);
        if (c < u'0' || c > u'9')
            return defaultValue;
        value = value * 10 - (c.unicode() - u'0');
        if (value < lowest)
            return defaultValue;
    }
    if (!negative) {
        value = -value;
        if (value > std::numeric_limits<int>::max())
            return defaultValue;
    }
    return int(value);
}

QString BoolToText(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

bool TextToBool(const QString &text)
{
    return text.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0
        || text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0
        || text == QLatin1String("1");
}

bool VariantIsInteger(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}
