#include "colour/HtmlColourField.h"

#include "platform/Prompts.h"

namespace {

bool isDecimalDigit(QChar c) { return c >= u'0' && c <= u'9'; }

bool allDecimalDigits(const QString &text)
{
    for (QChar c : text) {
        if (!isDecimalDigit(c))
            return false;
    }
    return true;
}

// The pieces of a decimal text: split at ","; an empty piece after a final "," is dropped,
// an empty text has none.
QStringList decimalPieces(const QString &text)
{
    if (text.isEmpty())
        return {};
    QStringList pieces = text.split(QLatin1Char(','));
    if (text.endsWith(QLatin1Char(',')))
        pieces.removeLast();
    return pieces;
}

} // namespace

HtmlColourField::HtmlColourField(Prompts &prompts, QObject *parent)
    : QObject(parent), m_prompts(prompts)
{
}

QString HtmlColourField::HexCharactersMessage()
{
    return QStringLiteral("HTML colours must be entered using hexadecimal characters.  This includes "
                          "the numbers from 0 to 9 and the letters from A to F.");
}

QString HtmlColourField::RangeMessage()
{
    return QStringLiteral("All values must be between 0 and 255.");
}

void HtmlColourField::SetText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    runChangeProcessing();
}

QColor HtmlColourField::SwatchColour() const
{
    return ColourToQColor(m_colour);
}

bool HtmlColourField::hexTextValid(const QString &text) const
{
    // Six characters, and every pair must be hexadecimal: a pasted "..0000" is no colour.
    return text.size() == 6 && HexToColour(text).has_value();
}

bool HtmlColourField::decimalTextValid(const QString &text, Check check) const
{
    const QStringList pieces = decimalPieces(text);
    if (pieces.size() != 3)
        return false;
    // In order, stopping at the first piece that fails.
    for (const QString &piece : pieces) {
        const std::optional<qint64> number = ParseColourInteger(piece);
        if (!number)
            return false;
        if (*number < 0 || *number > 255) {
            if (check == Check::WithWarnings && m_warnings)
                m_prompts.message(RangeMessage());
            return false;
        }
    }
    return true;
}

bool HtmlColourField::HasValidColour() const
{
    return m_decimalMode ? decimalTextValid(m_text, Check::Silent) : hexTextValid(m_text);
}

QString HtmlColourField::HtmlColour() const
{
    const std::optional<ColourValue> colour = PickerStartColour();
    return colour ? ColourToHex(*colour) : QString();
}

std::optional<ColourValue> HtmlColourField::PickerStartColour() const
{
    // The colour of the text in the current mode, so a mode set without change processing
    // never pairs a text with the colour of another reading.
    if (!HasValidColour())
        return std::nullopt;
    return m_decimalMode ? DecimalToColour(m_text) : HexToColour(m_text);
}

void HtmlColourField::applyMode(bool decimal)
{
    if (decimal == m_decimalMode)
        return;
    m_decimalMode = decimal;
    emit ModeChanged(decimal);
}

void HtmlColourField::SetDecimalMode(bool decimal)
{
    applyMode(decimal);
}

QString HtmlColourField::AllowedCharacters() const
{
    return m_decimalMode ? QStringLiteral("1234567890,") : QStringLiteral("1234567890abcdef");
}

int HtmlColourField::MaxLength() const
{
    return m_decimalMode ? 0 : 6;
}

void HtmlColourField::runChangeProcessing()
{
    if (m_text.contains(QLatin1Char(',')))
        applyMode(true);

    if (m_decimalMode) {
        // IsHtmlColour keeps the result of the last hexadecimal check.
        if (decimalTextValid(m_text, Check::WithWarnings))
            m_colour = DecimalToColour(m_text).value_or(NoValidColour);
        else
            m_colour = NoValidColour;
    } else {
        if (m_text.startsWith(QLatin1Char('#')))
            m_text.remove(0, 1);
        if (m_text.size() == 6) {
            const std::optional<ColourValue> colour = HexToColour(m_text);
            m_isHtmlColour = colour.has_value();
            m_colour = colour.value_or(NoValidColour);
            if (!colour)
                m_prompts.message(HexCharactersMessage());
        } else {
            m_isHtmlColour = false;
            m_colour = NoValidColour;
        }
    }
    emit OnChange();
}

HtmlColourField::KeyResult HtmlColourField::keyDown(int key, Qt::KeyboardModifiers modifiers,
                                                    const QString &character)
{
    KeyResult result;
    const bool control = modifiers.testFlag(Qt::ControlModifier);
    const bool commandModifier = control || modifiers.testFlag(Qt::AltModifier)
                                 || modifiers.testFlag(Qt::MetaModifier);

    if (control && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        result.openPicker = true;
        result.swallow = true;
        return result;
    }

    const bool comma = key == Qt::Key_Comma || character == QLatin1String(",");
    if (comma && !m_decimalMode) {
        if (!allDecimalDigits(m_text)) {
            // Two-character pieces at positions 1, 3 and 5, each read as hexadecimal.
            QStringList numbers;
            const qsizetype length = m_text.size();
            QList<qsizetype> starts;
            if (length > 1)
                starts << 0;
            if (length > 3)
                starts << 2;
            if (length == 6)
                starts << 4;
            for (qsizetype start : starts) {
                const std::optional<int> value = HexPairValue(QStringView(m_text).mid(start, 2));
                if (!value) {
                    // A pasted character that is not hexadecimal: nothing is converted.
                    m_prompts.message(HexCharactersMessage());
                    result.swallow = true;
                    return result;
                }
                numbers << QString::number(*value);
            }
            result.textReplaced = true;
            SetText(numbers.join(QLatin1Char(',')));
        }
        applyMode(true);
        result.swallow = decimalTextValid(m_text, Check::Silent);
        return result;
    }

    const bool hexLetter = key >= Qt::Key_A && key <= Qt::Key_F && !commandModifier;
    if (hexLetter && m_decimalMode) {
        // The numbers are not converted: the digits are kept as the start of a hex text.
        QString text = m_text;
        text.remove(QLatin1Char(','));
        text.truncate(5);
        result.textReplaced = true;
        SetText(text);
        applyMode(false);
        return result;
    }
    return result;
}

QStringList HtmlColourField::DropDownItems() const
{
    const std::optional<ColourValue> colour = PickerStartColour();
    if (!colour)
        return {};
    if (m_decimalMode)
        return {ColourToHex(*colour), m_text};
    return {m_text, ColourToDecimal(*colour)};
}

void HtmlColourField::ChooseDropDownItem(int index)
{
    const QStringList items = DropDownItems();
    if (index < 0 || index >= items.size())
        return;
    applyMode(index == 1);
    m_text = items.at(index);
    runChangeProcessing();
}

void HtmlColourField::ApplyPickedColour(ColourValue colour)
{
    m_text = m_decimalMode ? ColourToDecimal(colour) : ColourToHex(colour);
    runChangeProcessing();
}

void HtmlColourField::Clear()
{
    m_isHtmlColour = false;
    m_text.clear();
    runChangeProcessing();
}
