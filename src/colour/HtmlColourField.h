#pragma once

#include "colour/ColourText.h"

#include <QColor>
#include <QObject>
#include <QString>
#include <QStringList>

#include <Qt>

class Prompts;

// The logic of the HTML colour field: one colour typed as six hexadecimal digits (RRGGBB)
// or as three decimal numbers (R,G,B). It holds the text of the field's text box, the mode,
// the colour and the IsHtmlColour flag, and runs the change processing with its messages.
//
// The widget around it only routes events here and shows the state:
// - a key going down in the text box goes to keyDown(); when the result says textReplaced
//   the box shows Text() with the caret at the end; unless it says swallow, the character
//   is then typed as usual (through the box's own character filter, see AllowedCharacters
//   and MaxLength, which follow the mode);
// - every change of the box's text goes to SetText();
// - the drop-down list shows DropDownItems() and a pick goes to ChooseDropDownItem();
// - the picker button starts the dialog at PickerStartColour() and an accepted dialog goes
//   to ApplyPickedColour();
// - the swatch (the frame around the box) is painted in SwatchColour().
// Whenever the field itself changed the text (a removed "#", a key rule) Text() differs from
// the box; the widget puts it into the box without sending it back.
class HtmlColourField : public QObject
{
    Q_OBJECT
public:
    // What the text box does with a key that goes down.
    struct KeyResult
    {
        bool openPicker = false;   // Ctrl+Enter: open the picker dialog; nothing is typed
        bool textReplaced = false; // show Text() in the box, caret at the end
        bool swallow = false;      // the character is not typed
    };

    explicit HtmlColourField(Prompts &prompts, QObject *parent = nullptr);

    // The text box's text. Setting a different text runs the change processing (which may
    // change the text again: a leading "#" is removed). The same text changes nothing.
    QString Text() const { return m_text; }
    void SetText(const QString &text);

    // The current colour value, or NoValidColour (0x8000000F) when the text is not valid.
    ColourValue Colour() const { return m_colour; }
    // The colour the swatch shows: the current colour, button-face grey when invalid.
    QColor SwatchColour() const;
    // ColourToHex of the colour when the text is valid in the current mode, otherwise "".
    QString HtmlColour() const;
    // The result of the last validity check made in hexadecimal mode; false at creation.
    bool IsHtmlColour() const { return m_isHtmlColour; }
    // True when the text is valid in the current mode (checked now, without messages).
    bool HasValidColour() const;

    bool DecimalMode() const { return m_decimalMode; }
    // Sets the mode and the text box's mode settings; no change processing runs.
    void SetDecimalMode(bool decimal);

    // When true, a decimal number out of range is reported with a message. True at creation.
    bool Warnings() const { return m_warnings; }
    void SetWarnings(bool warnings) { m_warnings = warnings; }

    // Informational; whatever is assigned, the stored value stays "1.4".
    QString Version() const { return m_version; }
    void SetVersion(const QString &) { m_version = QStringLiteral("1.4"); }

    // The characters the text box lets through in the current mode ("1234567890abcdef" in
    // hexadecimal mode, compared without regard to case; "1234567890," in decimal mode) and
    // its maximum length (6 in hexadecimal mode, 0 = unlimited in decimal mode).
    QString AllowedCharacters() const;
    int MaxLength() const;

    // A key going down in the text box, before its character is inserted.
    KeyResult keyDown(int key, Qt::KeyboardModifiers modifiers, const QString &character);

    // The drop-down list, built each time it opens: empty when the text is not valid,
    // otherwise the hexadecimal form and the decimal form (the one of the current mode is
    // the text as typed).
    QStringList DropDownItems() const;
    // Item 0 selects hexadecimal mode, item 1 decimal mode; the item's text replaces the
    // text and the change processing runs in the new mode.
    void ChooseDropDownItem(int index);

    // The colour the picker dialog starts with: the current colour when the text is valid.
    std::optional<ColourValue> PickerStartColour() const;
    // The dialog closed with OK: the text becomes the colour in the current mode's form and
    // the change processing runs.
    void ApplyPickedColour(ColourValue colour);

    // Empties the text and forgets the last hexadecimal check (IsHtmlColour false); the
    // mode is kept. Used when a document is reset, so no colour survives the reset.
    void Clear();

    // The messages of the change processing.
    static QString HexCharactersMessage();
    static QString RangeMessage();

signals:
    // Raised at the end of every change processing.
    void OnChange();
    // The mode changed (the text box's mode settings follow it).
    void ModeChanged(bool decimal);

private:
    enum class Check { Silent, WithWarnings };

    void runChangeProcessing();
    bool decimalTextValid(const QString &text, Check check) const;
    bool hexTextValid(const QString &text) const;
    void applyMode(bool decimal);

    Prompts &m_prompts;
    QString m_version = QStringLiteral("1.4");
    bool m_warnings = true;
    bool m_isHtmlColour = false;
    bool m_decimalMode = false;
    QString m_text;
    ColourValue m_colour = NoValidColour;
};
