#include "controls/TarnKeyFilter.h"

#include "platform/EError.h"

#include <QKeyEvent>
#include <QStringList>

namespace {

bool isClipboardKey(QChar c)
{
    return c == TarnKeys::CtrlC || c == TarnKeys::CtrlV || c == TarnKeys::CtrlX;
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

TarnEditFilter::Outcome TarnEditFilter::filter(QChar c, const QString &text, int cursor,
                                               int selectionStart, int selectionLength) const
{
    Outcome outcome;
    const bool backspace = c == TarnKeys::Backspace;
    const bool hasSelection = selectionLength > 0;

    if (NumericOnly) {
        if (!isDigit(c) && c != QLatin1Char('.') && !backspace && !isClipboardKey(c))
            return outcome;
        if (c == QLatin1Char('.') && (!AllowDecimal || text.contains(QLatin1Char('.'))))
            return outcome;
    }

    if (NumericOnly && !backspace) {
        // The number the keystroke would leave. A selection is replaced by the digit; when
        // everything is selected that is the same as clearing the field first.
        QString result = text;
        if (hasSelection && isDigit(c)) {
            if (selectionStart <= 0 && selectionLength >= text.size())
                outcome.clearFirst = true;
            result.remove(selectionStart, selectionLength);
            cursor = selectionStart;
        }
        if (Max > 0 && !isClipboardKey(c)) {
            result.insert(qBound(0, cursor, int(result.size())), c);
            bool isNumber = false;
            const qlonglong number = result.toLongLong(&isNumber);
            if (isNumber && number > Max)
                return {};
        }
    }

    if (!backspace) {
        if (BlockChars.contains(c))
            return {};
        if (!AllowChars.isEmpty() && !AllowChars.contains(c))
            return {};
    }
    outcome.accepted = true;
    return outcome;
}

QString TarnEditFilter::textOnExit(const QString &text) const
{
    if (Min <= 0 || text.isEmpty())
        return text;
    bool isNumber = false;
    const qlonglong number = text.trimmed().toLongLong(&isNumber);
    if (!isNumber)
        throw EError(QLatin1Char('\'') + text + QStringLiteral("' is not a valid integer value"));
    return number < Min ? QString::number(Min) : text;
}

bool TarnComboAccepts(QChar c, const QString &allowChars, const QString &blockChars)
{
    if (c == TarnKeys::Backspace)
        return true;
    if (blockChars.contains(c, Qt::CaseInsensitive))
        return false;
    if (c == QLatin1Char('.'))
        return true;
    return allowChars.isEmpty() || allowChars.contains(c, Qt::CaseInsensitive);
}

QChar TarnKeyCharacter(const QKeyEvent *event)
{
    if (event->key() == Qt::Key_Backspace)
        return TarnKeys::Backspace;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return TarnKeys::CarriageReturn;
    if (event->modifiers() & Qt::ControlModifier) {
        switch (event->key()) {
        case Qt::Key_C: return TarnKeys::CtrlC;
        case Qt::Key_V: return TarnKeys::CtrlV;
        case Qt::Key_X: return TarnKeys::CtrlX;
        default:
            // Any other Ctrl combination is a command (Ctrl+A selects all), whatever text
            // the event carries; Ctrl+Alt is AltGr on some keyboards and types.
            if (!(event->modifiers() & Qt::AltModifier))
                return QChar();
            break;
        }
    }
    const QString text = event->text();
    if (text.size() != 1 || !text.at(0).isPrint())
        return QChar();
    return text.at(0);
}

QString QtFileFilter(const QString &windowsFilter)
{
    const QStringList parts = windowsFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters.append(parts.at(i) + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}
