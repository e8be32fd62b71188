#include "colour/TTarnColourPicker.h"

#include "colour/HtmlColourField.h"
#include "controls/TTarnCombo.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QSignalBlocker>
#include <QToolButton>

TTarnColourPicker::TTarnColourPicker(HtmlColourField &field, QWidget *parent) : QFrame(parent), m_field(&field)
{
    build();
}

TTarnColourPicker::TTarnColourPicker(Prompts &prompts, QWidget *parent) : QFrame(parent)
{
    m_ownField = new HtmlColourField(prompts, this);
    m_field = m_ownField;
    build();
}

TTarnColourPicker::~TTarnColourPicker() = default;

void TTarnColourPicker::build()
{
    resize(113, 27);
    m_textBox = new TTarnCombo(this);
    m_button = new QToolButton(this);
    m_button->setAutoRaise(true);
    m_button->setFocusPolicy(Qt::NoFocus);
    m_button->setIcon(ButtonFace(QSize(21, 21)));
    m_button->setIconSize(QSize(18, 18));
    m_button->setToolTip(QStringLiteral("Choose a colour"));
    // The dialog needs its services; the owner gives them with SetPickerServices.
    m_button->setEnabled(false);
    connect(m_button, &QToolButton::clicked, this, &TTarnColourPicker::OpenPicker);

    applyModeSettings();
    showFieldText();

    connect(m_textBox, &TTarnCombo::keyDown, this, &TTarnColourPicker::keyDown);
    connect(m_textBox, &TTarnCombo::popupAboutToShow, this, &TTarnColourPicker::rebuildDropDown);
    connect(m_textBox->lineEdit(), &QLineEdit::textEdited, this, [this](const QString &text) {
        m_field->SetText(text);
        showFieldText();
    });
    connect(m_textBox, &QComboBox::activated, this, [this](int index) {
        m_field->ChooseDropDownItem(index);
        showFieldText();
    });
    connect(m_field, &HtmlColourField::ModeChanged, this, &TTarnColourPicker::applyModeSettings);
    connect(m_field, &HtmlColourField::OnChange, this, [this] {
        showFieldText();
        update();
        emit OnChange();
    });
}

QString TTarnColourPicker::Text() const
{
    return m_field->Text();
}

void TTarnColourPicker::SetText(const QString &text)
{
    m_field->SetText(text);
    showFieldText();
}

QString TTarnColourPicker::Version() const
{
    return m_field->Version();
}

void TTarnColourPicker::SetVersion(const QString &version)
{
    m_field->SetVersion(version);
}

bool TTarnColourPicker::Warnings() const
{
    return m_field->Warnings();
}

void TTarnColourPicker::SetWarnings(bool warnings)
{
    m_field->SetWarnings(warnings);
}

void TTarnColourPicker::applyModeSettings()
{
    m_textBox->AllowChars = m_field->AllowedCharacters();
    m_textBox->SetMaxLength(m_field->MaxLength());
}

void TTarnColourPicker::showFieldText()
{
    QLineEdit *edit = m_textBox->lineEdit();
    if (edit->text() == m_field->Text())
        return;
    // The field changed the text itself (a removed "#", a key rule, a reset): show it with
    // the caret at the end, without sending it back.
    const QSignalBlocker blocker(m_textBox);
    edit->setText(m_field->Text());
    edit->setCursorPosition(int(edit->text().size()));
}

void TTarnColourPicker::rebuildDropDown()
{
    const QString text = m_field->Text();
    const QSignalBlocker blocker(m_textBox);
    m_textBox->clear();
    m_textBox->addItems(m_field->DropDownItems());
    m_textBox->setCurrentIndex(-1);
    m_textBox->setEditText(text);
}

void TTarnColourPicker::keyDown(QKeyEvent *event, bool &handled)
{
    const HtmlColourField::KeyResult result = m_field->keyDown(event->key(), event->modifiers(), event->text());
    if (result.textReplaced)
        showFieldText();
    if (result.openPicker || result.swallow)
        handled = true;
    if (result.openPicker && m_pickerServices)
        OpenPicker();
}

void TTarnColourPicker::SetPickerServices(const ColourPickerServices &services)
{
    m_pickerServices.emplace(services);
    m_button->setEnabled(true);
}

void TTarnColourPicker::OpenPicker()
{
    if (!m_pickerServices)
        return;
    {
        TfrmColorPicker dialog(*m_pickerServices, window());
        if (const std::optional<ColourValue> start = m_field->PickerStartColour())
            dialog.SetCurrentColour(*start);
        if (runPicker(dialog) == QDialog::Accepted) {
            m_field->ApplyPickedColour(dialog.ChosenColour());
            showFieldText();
        }
    }
    emit clicked();
}

QPixmap TTarnColourPicker::ButtonFace(QSize buttonSize)
{
    const int width = buttonSize.width() - 3;
    const int height = buttonSize.height() - 3;
    QPixmap face(width, height);
    face.fill(Qt::transparent);
    const int w = buttonSize.width() / 2 - 1;
    const int h = buttonSize.height() / 2 - 1;
    QPainter painter(&face);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    const auto ellipse = [&painter](int x1, int y1, int x2, int y2, QColor colour) {
        painter.setBrush(colour);
        painter.drawEllipse(QRectF(x1 + 0.5, y1 + 0.5, x2 - x1 - 1, y2 - y1 - 1));
    };
    ellipse(0, 0, w, h, Qt::red);
    ellipse(w + 1, 0, 2 * w + 1, h, Qt::blue);
    ellipse(0, h + 1, w, 2 * h + 1, Qt::yellow);
    ellipse(w + 1, h + 1, 2 * w + 1, 2 * h + 1, Qt::green);
    return face;
}

void TTarnColourPicker::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(rect(), m_field->SwatchColour());
}

void TTarnColourPicker::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    m_textBox->setGeometry(3, 3, width() - 29, height() - 6);
    m_button->setGeometry(m_textBox->x() + m_textBox->width() + 2, 3, 21, 21);
}
