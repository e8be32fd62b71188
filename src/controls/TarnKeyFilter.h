#pragma once

#include <QChar>
#include <QString>

class QKeyEvent;

// The keystroke rules of the registry-backed edit and combo, apart from any widget.
// Characters are the ones a key press produces: printable characters, Backspace as '\b'
// and the clipboard keys Ctrl+C, Ctrl+V and Ctrl+X as the control codes 3, 22 and 24.
namespace TarnKeys {
inline constexpr QChar Backspace{u'\b'};
inline constexpr QChar CtrlC{char16_t(3)};
inline constexpr QChar CtrlV{char16_t(22)};
inline constexpr QChar CtrlX{char16_t(24)};
inline constexpr QChar CarriageReturn{u'\r'};
} // namespace TarnKeys

// The edit's filter settings.
struct TarnEditFilter
{
    bool NumericOnly = false;
    bool AllowDecimal = false;
    QString AllowChars; // case-sensitive; empty lets every character through
    QString BlockChars; // case-sensitive
    qint32 Max = 0;     // > 0: a keystroke that would make the number larger is refused
    qint32 Min = 0;     // > 0: a smaller number is raised to it when the field is left

    // What one keystroke does to a field holding text, with the caret at cursor and
    // selectionLength characters selected from selectionStart.
    struct Outcome
    {
        bool accepted = false; // the character is inserted (or, for '\b', acts)
        bool clearFirst = false; // the whole text is emptied before the character goes in
    };
    Outcome filter(QChar character, const QString &text, int cursor, int selectionStart,
                   int selectionLength) const;

    // The text after leaving the field: a number below Min becomes Min. A text that is
    // not a number throws EError with the conversion message, as any bad number does.
    QString textOnExit(const QString &text) const;
};

// The combo's filter: AllowChars and BlockChars compared without regard to case; "." and
// Backspace are never refused by AllowChars.
bool TarnComboAccepts(QChar character, const QString &allowChars, const QString &blockChars);

// The character a key press gives the filters: its text, Backspace as '\b' and the
// clipboard keys as their control codes; a null character for keys that type nothing.
QChar TarnKeyCharacter(const QKeyEvent *event);

// "AU Files|*.au" becomes "AU Files (*.au)"; "Gif and JPEG|*.gif;*.jpg|Gif|*.gif" becomes
// "Gif and JPEG (*.gif *.jpg);;Gif (*.gif)".
QString QtFileFilter(const QString &windowsFilter);
