#pragma once

#include "colour/TfrmColorPicker.h"

#include <QFrame>

#include <functional>
#include <optional>

class HtmlColourField;
class Prompts;
class QToolButton;
class TTarnCombo;

// The HTML colour field: a text box for RRGGBB or R,G,B with a drop-down of both forms, and
// a button that opens the colour picker dialog, framed by a 3-pixel swatch of the colour.
// All rules live in HtmlColourField; this control routes keys and text to it and shows it.
class TTarnColourPicker : public QFrame
{
    Q_OBJECT
public:
    // Works on a field owned elsewhere (the document's background colour).
    TTarnColourPicker(HtmlColourField &field, QWidget *parent = nullptr);
    // Owns a field of its own.
    TTarnColourPicker(Prompts &prompts, QWidget *parent = nullptr);
    ~TTarnColourPicker() override;

    HtmlColourField &Field() const { return *m_field; }
    TTarnCombo *TextBox() const { return m_textBox; }
    QToolButton *PickerButton() const { return m_button; }

    QString Text() const;
    void SetText(const QString &text);
    QString Version() const;
    void SetVersion(const QString &version);
    bool Warnings() const;
    void SetWarnings(bool warnings);

    QSize sizeHint() const override { return {113, 27}; }

    // The picker button and Ctrl+Enter open the colour picker dialog through these
    // services; until they are given the button stays disabled.
    void SetPickerServices(const ColourPickerServices &services);
    // Opens the dialog with the field's colour (when valid), applies an accepted colour and
    // raises clicked() either way.
    void OpenPicker();
    // Runs the dialog modally and returns its result; tests replace it.
    std::function<int(TfrmColorPicker &)> runPicker = [](TfrmColorPicker &dialog) { return dialog.exec(); };

    // The picker button's face: four ellipses, red, blue, yellow and green.
    static QPixmap ButtonFace(QSize buttonSize);

signals:
    // Raised after every change processing of the field.
    void OnChange();
    // Raised after the picker dialog closes, accepted or not.
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void build();
    void applyModeSettings();
    void showFieldText();
    void rebuildDropDown();
    void keyDown(QKeyEvent *event, bool &handled);

    HtmlColourField *m_field;
    HtmlColourField *m_ownField = nullptr;
    TTarnCombo *m_textBox = nullptr;
    QToolButton *m_button = nullptr;
    std::optional<ColourPickerServices> m_pickerServices;
};
