#include "colour/TfrmColorPicker.h"

#include "colour/ColourSearch.h"
#include "colour/PaletteFiles.h"
#include "colour/PaletteSources.h"
#include "colour/PickerFaces.h"
#include "colour/TCustomSchemes.h"
#include "colour/TPaletteGrid.h"
#include "colour/TSpectrumPanel.h"
#include "controls/BusyCursor.h"
#include "controls/FormPosition.h"
#include "controls/PathUtils.h"
#include "controls/ProgramCursors.h"
#include "controls/TTarnEdit.h"
#include "controls/TextUtils.h"
#include "controls/WidgetHelpers.h"
#include "platform/AppFolders.h"
#include "platform/Prompts.h"
#include "platform/ScreenSource.h"
#include "zoom/TfrmZoom.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>

bool TfrmColorPicker::s_fadeEnabled = false;

namespace {

constexpr int ClientHeight = 443;
constexpr int SpectrumPanelLeft = 247;
constexpr int SpectrumPanelWidth = 119;

QToolButton *flatButton(QWidget *parent, const QRect &geometry, const QString &hint, bool toggle)
{
    auto *button = new QToolButton(parent);
    button->setAutoRaise(true);
    button->setGeometry(geometry);
    button->setIconSize(QSize(16, 16));
    button->setFocusPolicy(Qt::NoFocus);
    button->setCheckable(toggle);
    button->setToolTip(hint);
    return button;
}

TTarnEdit *numberField(QWidget *parent, const QRect &geometry, bool hex, const QString &name)
{
    auto *edit = new TTarnEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(geometry);
    edit->setAlignment(Qt::AlignCenter);
    edit->Filter.Max = 255;
    if (hex) {
        edit->Filter.AllowChars = QStringLiteral("1234567890ABCDEFabcdef");
        edit->setMaxLength(2);
    } else {
        edit->Filter.NumericOnly = true;
        edit->setMaxLength(3);
    }
    return edit;
}

int fieldValue(const TTarnEdit *edit)
{
    return TextToInt(edit->text(), 0);
}

} // namespace

TfrmColorPicker::TfrmColorPicker(ColourPickerServices services, QWidget *parent)
    : QDialog(parent), m_services(services), m_registry(services.registry)
{
    setWindowTitle(QStringLiteral("Color Picker"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    buildWindow();
    // Group boxes as the layout expects them: the frame line runs through the middle of
    // the title, so the controls placed near their tops sit inside the frame.
    setStyleSheet(QStringLiteral("QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 7px; }"
                                 "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"));

    // 1-2: palette order, spectrum panel hidden, markers at their start. The current
    // colour, black until the caller gives one, shows in the swatch and the number fields,
    // so OK returns the colour the dialog shows.
    cmbSort->setCurrentIndex(0);
    SetCurrentColour(m_current);
    // Each control keeps the mouse events that land on it, as a control with a window of
    // its own does: a drag that leaves the palette grid, or starts on a label, never
    // reaches the dialog, where a drag samples the screen.
    for (QWidget *child : findChildren<QWidget *>())
        child->setAttribute(Qt::WA_NoMousePropagation);
    setFixedSize(SpectrumPanelLeft - 2, ClientHeight);
    // 3-4: the default palette folder and the settings key.
    m_programFolder = ProgramFolder();
    m_registry.openKey(ColorPickerKey(), true);
    // 5: the custom colour schemes.
    Schemes->LoadSchemeList();
    // 6: the palettes.
    preparePalettes();
    // 7: the spectrum panel as it was left.
    if (TextToBool(m_registry.readString(QStringLiteral("Show "), QStringLiteral("false")))) {
        pressToggle(btnMoreColor);
        btnMoreColorClick();
    }
    // 8: the fade setting.
    s_fadeEnabled = TextToBool(m_registry.readString(QStringLiteral("Fade"), QStringLiteral("false")));
    mnuFade->setChecked(s_fadeEnabled);
}

TfrmColorPicker::~TfrmColorPicker()
{
    if (m_cursorOverridden)
        QApplication::restoreOverrideCursor();
}

void TfrmColorPicker::buildWindow()
{
    Panel1 = new QFrame(this);
    Panel1->setGeometry(0, 0, SpectrumPanelLeft, ClientHeight);
    buildLeftControls();
    buildColourFrame();

    btnOK = new QPushButton(QStringLiteral("&OK"), Panel1);
    btnOK->setGeometry(99, 414, 65, 25);
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), Panel1);
    btnCancel->setGeometry(168, 414, 65, 25);
    connect(btnOK, &QPushButton::clicked, this, &TfrmColorPicker::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    pnlSpectrum = new TSpectrumPanel(this);
    pnlSpectrum->setGeometry(SpectrumPanelLeft, 0, SpectrumPanelWidth, ClientHeight);
    pnlSpectrum->hide();
    connect(pnlSpectrum, &TSpectrumPanel::colourPicked, this, &TfrmColorPicker::SetCurrentColour);

    mnuCool = new QMenu(this);
    mnuFade = mnuCool->addAction(QStringLiteral("&Fade"));
    mnuFade->setCheckable(true);
    connect(mnuFade, &QAction::triggered, this, &TfrmColorPicker::mnuFadeClick);

    // Keys reach the dialog before its controls (arrow keys for the spectrum, paste rules).
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
}

void TfrmColorPicker::buildLeftControls()
{
    cmbPal = new QComboBox(Panel1);
    cmbPal->setGeometry(18, 5, 165, 21);
    cmbPal->setToolTip(QStringLiteral("Select palette or GIF"));
    connect(cmbPal, &QComboBox::activated, this, &TfrmColorPicker::cmbPalClick);

    btnLoadFile = flatButton(Panel1, QRect(182, 5, 23, 21), QStringLiteral("Load palette"), false);
    LoadGlyph(btnLoadFile, QStringLiteral("OPENFILE"));
    connect(btnLoadFile, &QToolButton::clicked, this, &TfrmColorPicker::btnLoadFileClick);
    btnMoreColor = flatButton(Panel1, QRect(205, 5, 23, 21), QStringLiteral("More colors"), true);
    btnMoreColor->setIcon(spectrumFace());
    connect(btnMoreColor, &QToolButton::clicked, this, [this] {
        pressToggle(btnMoreColor->isChecked() ? btnMoreColor : nullptr);
        btnMoreColorClick();
    });

    cmbSort = new QComboBox(Panel1);
    cmbSort->setGeometry(20, 30, 209, 21);
    cmbSort->addItems({QStringLiteral("Palette Order"), QStringLiteral("Luminance")});
    connect(cmbSort, &QComboBox::activated, this, &TfrmColorPicker::cmbSortClick);

    grid1 = new TPaletteGrid(Panel1);
    grid1->setGeometry(18, 54, 211, 212);
    connect(grid1, &TPaletteGrid::cellSelected, this, [this](int column, int row) {
        SetCurrentColour(DecimalToColour(grid1->CellText(column, row)).value_or(0));
    });
    connect(grid1, &TPaletteGrid::cellDoubleClicked, this, &TfrmColorPicker::btnOKClick);

    // Custom colour schemes come into this box.
    GroupBox2 = new QGroupBox(QStringLiteral("Custom Color Schemes"), Panel1);
    GroupBox2->setGeometry(11, 264, 226, 73);
    Schemes = new TCustomSchemes(m_registry, m_services.prompts, [this] { return m_current; }, GroupBox2);
    Schemes->setGeometry(0, 0, 226, 73);
    connect(Schemes, &TCustomSchemes::swatchClicked, this, &TfrmColorPicker::SetCurrentColour);
}

void TfrmColorPicker::buildColourFrame()
{
    fraColour = new QGroupBox(QStringLiteral("Current Color"), Panel1);
    fraColour->setGeometry(10, 340, 227, 70);
    shColor = new QFrame(fraColour);
    shColor->setGeometry(9, 16, 84, 22);
    shColor->setFrameShape(QFrame::Box);
    shColor->setAutoFillBackground(true);
    shColor->setToolTip(QStringLiteral("Selected color"));

    Label1 = new QLabel(QStringLiteral("RGB"), fraColour);
    Label1->move(97, 20);
    Label2 = new QLabel(QStringLiteral("Hex"), fraColour);
    Label2->move(99, 46);
    const QColor bars[3] = {Qt::red, QColor(0, 255, 0), Qt::blue};
    const int columns[3] = {124, 158, 192};
    for (int i = 0; i < 3; ++i) {
        auto *bar = new QFrame(fraColour);
        bar->setGeometry(columns[i], 9, 30, 5);
        bar->setAutoFillBackground(true);
        QPalette colours = bar->palette();
        colours.setColor(QPalette::Window, bars[i]);
        bar->setPalette(colours);
    }
    txtRed = numberField(fraColour, QRect(124, 16, 30, 21), false, QStringLiteral("txtRed"));
    txtGreen = numberField(fraColour, QRect(158, 16, 30, 21), false, QStringLiteral("txtGreen"));
    txtBlue = numberField(fraColour, QRect(192, 16, 30, 21), false, QStringLiteral("txtBlue"));
    txtHexRed = numberField(fraColour, QRect(124, 44, 30, 21), true, QStringLiteral("txtHexRed"));
    txtHexGreen = numberField(fraColour, QRect(158, 44, 30, 21), true, QStringLiteral("txtHexGreen"));
    txtHexBlue = numberField(fraColour, QRect(192, 44, 30, 21), true, QStringLiteral("txtHexBlue"));
    const std::pair<TTarnEdit *, TTarnEdit *> pairs[3] = {{txtRed, txtHexRed}, {txtGreen, txtHexGreen},
                                                          {txtBlue, txtHexBlue}};
    for (const auto &[decimal, hex] : pairs) {
        connect(decimal, &QLineEdit::textChanged, this, [this, d = decimal, h = hex] { decimalChanged(d, h); });
        connect(hex, &QLineEdit::textChanged, this, [this, h = hex, d = decimal] { hexChanged(h, d); });
    }

    btnSample = flatButton(fraColour, QRect(10, 42, 23, 23), QStringLiteral("Pick a color from the screen"), true);
    btnSample->setIcon(QIcon(QStringLiteral(":/cursors/sample.svg")));
    connect(btnSample, &QToolButton::clicked, this, [this] { startSampling(); });
    btnZoom = flatButton(fraColour, QRect(41, 42, 23, 23), QStringLiteral("Magnifier"), true);
    btnZoom->setIcon(QIcon(QStringLiteral(":/cursors/magnify.svg")));
    connect(btnZoom, &QToolButton::clicked, this, [this] {
        pressToggle(btnZoom);
        btnZoomClick();
    });
    btnFind = flatButton(fraColour, QRect(70, 42, 23, 23), QStringLiteral("Find nearest color in the palette"), false);
    btnFind->setIcon(findFace());
    connect(btnFind, &QToolButton::clicked, this, &TfrmColorPicker::btnFindClick);
}

// ---- The current colour and the number fields ---------------------------------------------

void TfrmColorPicker::SetCurrentColour(ColourValue colour)
{
    m_current = ResolveSystemColour(colour);
    const int channels[3] = {RedOf(m_current), GreenOf(m_current), BlueOf(m_current)};
    TTarnEdit *decimals[3] = {txtRed, txtGreen, txtBlue};
    TTarnEdit *hexes[3] = {txtHexRed, txtHexGreen, txtHexBlue};
    // Red, blue, green, as the fields have always been written; a field that already holds
    // the value (say "05" for 5) keeps its text.
    for (int i : {0, 2, 1}) {
        if (decimals[i]->text().isEmpty() || fieldValue(decimals[i]) != channels[i]
            || !ParseColourInteger(decimals[i]->text()))
            setFieldText(decimals[i], QString::number(channels[i]));
        const QString hex = QStringLiteral("%1").arg(channels[i], 2, 16, QLatin1Char('0')).toUpper();
        if (hexes[i]->text() != hex)
            setFieldText(hexes[i], hex);
    }
    QPalette colours = shColor->palette();
    colours.setColor(QPalette::Window, ColourToQColor(m_current));
    shColor->setPalette(colours);
}

void TfrmColorPicker::setFieldText(TTarnEdit *edit, const QString &text)
{
    const QSignalBlocker blocker(edit);
    const int caret = edit->cursorPosition();
    edit->setText(text);
    edit->setCursorPosition(std::min(caret, int(text.size())));
}

ColourValue TfrmColorPicker::decimalFieldsColour() const
{
    return ColourFromRgb(fieldValue(txtRed), fieldValue(txtGreen), fieldValue(txtBlue));
}

void TfrmColorPicker::decimalChanged(TTarnEdit *decimal, TTarnEdit *hex)
{
    if (decimal->text().isEmpty())
        return;
    const QString h = QStringLiteral("%1").arg(fieldValue(decimal) & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
    if (hex->text() == h)
        return;
    setFieldText(hex, h);
    SetCurrentColour(decimalFieldsColour());
}

void TfrmColorPicker::hexChanged(TTarnEdit *hex, TTarnEdit *decimal)
{
    if (hex->text().size() != 2)
        return;
    const std::optional<int> value = HexPairValue(hex->text());
    // Only hexadecimal digits can be typed; anything else cannot come in through a paste.
    if (!value || fieldValue(decimal) == *value)
        return;
    setFieldText(decimal, QString::number(*value));
    SetCurrentColour(decimalFieldsColour());
}

bool TfrmColorPicker::pasteKey(TTarnEdit *edit)
{
    const QString clipboard = QGuiApplication::clipboard()->text();
    if (clipboard.isEmpty())
        return false;
    if (edit == txtHexRed || edit == txtHexGreen || edit == txtHexBlue) {
        QString text = clipboard;
        text.remove(QLatin1Char('#'));
        text = Unquote(text);
        // A text of six characters that are not all hexadecimal is refused the same way.
        if (text.size() != 6 || !HexToColour(text)) {
            m_services.prompts.message(text + QStringLiteral(" is not a valid HTML color code."));
            return true;
        }
        txtHexRed->setText(text.mid(0, 2));
        txtHexGreen->setText(text.mid(2, 2));
        txtHexBlue->setText(text.mid(4, 2));
        return true;
    }
    if (edit == txtRed && clipboard.contains(QLatin1Char(','))) {
        const QStringList pieces = SplitText(clipboard, QStringLiteral(","));
        if (pieces.size() == 3) {
            txtRed->setText(pieces.at(0).trimmed());
            txtGreen->setText(pieces.at(1).trimmed());
            txtBlue->setText(pieces.at(2).trimmed());
        }
        return true;
    }
    return false;
}

// ---- Palettes -----------------------------------------------------------------------------

void TfrmColorPicker::preparePalettes()
{
    EnsureBuiltInPalette(m_services.prompts);
    fillPaletteList(m_registry.readString(QStringLiteral("InitialDir")));
    const int last = cmbPal->findText(m_registry.readString(QStringLiteral("Last file"), BuiltInPaletteName()));
    cmbPal->setCurrentIndex(last >= 0 ? last : cmbPal->findText(BuiltInPaletteName()));
    cmbPalClick();
}

void TfrmColorPicker::fillPaletteList(const QString &folder)
{
    const QSignalBlocker blocker(cmbPal);
    cmbPal->clear();
    m_paletteFolder = folder.isEmpty() ? m_programFolder : folder;
    cmbPal->addItems(PaletteListEntries(m_paletteFolder));
}

void TfrmColorPicker::cmbPalClick()
{
    const QString name = cmbPal->currentText();
    if (name != BuiltInPaletteName()) {
        m_currentFile = JoinPath(m_paletteFolder, name);
        if (!QFileInfo::exists(m_currentFile)) {
            m_services.prompts.message(QStringLiteral("The file ") + QuoteText(m_currentFile)
                                       + QStringLiteral(" does not exist.  The default websafe palette will be "
                                                        "displayed instead."));
            cmbPal->setCurrentIndex(cmbPal->findText(BuiltInPaletteName()));
            m_currentFile = BuiltInPalettePath();
        }
    } else {
        m_currentFile = BuiltInPalettePath();
    }
    loadPalette();
    m_registry.writeString(QStringLiteral("Last File"), cmbPal->currentText());
}

void TfrmColorPicker::btnLoadFileClick()
{
    Prompts::FileDialog dialog;
    dialog.title = QStringLiteral("Open");
    dialog.folder = m_registry.readString(QStringLiteral("InitialDir"));
    if (dialog.folder.isEmpty())
        dialog.folder = m_programFolder;
    dialog.filter = PaletteFileFilter();
    dialog.filterIndex = PaletteFilterIndex(m_currentFile);
    const std::optional<QString> chosen = m_services.prompts.openFile(dialog);
    if (!chosen || chosen->isEmpty())
        return;
    m_currentFile = *chosen;
    loadPalette();
    const QString folder = QFileInfo(*chosen).absolutePath();
    m_registry.writeString(QStringLiteral("InitialDir"), folder);
    fillPaletteList(folder);
    const QSignalBlocker blocker(cmbPal);
    cmbPal->setCurrentIndex(cmbPal->findText(QFileInfo(*chosen).fileName()));
}

void TfrmColorPicker::cmbSortClick()
{
    loadPalette();
}

void TfrmColorPicker::loadPalette()
{
    if (m_currentFile.isEmpty())
        return;
    PaletteRead read;
    {
        const BusyCursor busy;
        read = LoadPalette(m_currentFile, cmbSort->currentIndex() == 1);
    }
    if (read.show)
        grid1->ShowPalette(read.palette, s_fadeEnabled);
    if (!read.message.isEmpty())
        m_services.prompts.message(read.message, Prompts::Kind::Error);
}

// ---- Searching, more colours, the fade menu, OK ------------------------------------------

void TfrmColorPicker::btnFindClick()
{
    if (btnMoreColor->isChecked() && pnlSpectrum->SpectrumBuilt())
        pnlSpectrum->FindInSpectrum(m_current);
    const QPoint cell = NearestCell(grid1->Cells(), m_current);
    grid1->SelectCell(cell.x(), cell.y());
    grid1->setFocus();
}

void TfrmColorPicker::btnMoreColorClick()
{
    // The panel's own state: isVisible() is false for every child before the dialog shows.
    const bool show = pnlSpectrum->isHidden();
    if (!show) {
        setFixedSize(SpectrumPanelLeft - 2, ClientHeight);
        btnFind->setToolTip(QStringLiteral("Find nearest color in palette"));
    } else {
        if (!pnlSpectrum->SpectrumBuilt())
            pnlSpectrum->BuildSpectrum();
        setFixedSize(SpectrumPanelLeft + SpectrumPanelWidth, ClientHeight);
        pnlSpectrum->FindInSpectrum(m_current);
        btnFind->setToolTip(QStringLiteral("Find nearest color in palette and spectrum"));
    }
    pnlSpectrum->setVisible(show);
    m_registry.writeString(QStringLiteral("Show "), BoolToText(show));
}

void TfrmColorPicker::mnuFadeClick()
{
    s_fadeEnabled = !s_fadeEnabled;
    m_registry.writeString(QStringLiteral("Fade"), BoolToText(s_fadeEnabled));
    mnuFade->setChecked(s_fadeEnabled);
}

void TfrmColorPicker::btnOKClick()
{
    m_chosen = m_current;
    Schemes->SaveScheme();
    accept();
}

void TfrmColorPicker::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    grid1->setFocus();
    // The spectrum opened at creation, before the caller gave the starting colour: the
    // markers go to that colour now, which stays as given.
    if (!m_markersPlaced && pnlSpectrum->SpectrumBuilt() && !pnlSpectrum->isHidden())
        pnlSpectrum->MarkNearest(m_current);
    m_markersPlaced = true;
    if (!m_zoom) {
        m_zoom = new TfrmZoom(m_services.screen, m_services.prompts, this);
        connect(m_zoom, &TfrmZoom::colourPointed, this, &TfrmColorPicker::SetCurrentColour);
    }
}

void TfrmColorPicker::done(int result)
{
    delete m_zoom;
    m_zoom = nullptr;
    QDialog::done(result);
}

void TfrmColorPicker::btnZoomClick()
{
    setFocus();
    if (m_zoom) {
        // Where the screen cannot be read directly, the magnifier works on one screenshot.
        bool ready = true;
        if (!m_services.screen.readsDirectly()) {
            const ScreenReading shot = m_services.screen.screenshot();
            if (shot.status == ScreenReading::Status::Unavailable)
                m_services.prompts.message(ScreenUnavailableMessage());
            ready = shot.status == ScreenReading::Status::Done;
            if (ready)
                m_zoom->UseScreenshot(shot.picture);
        }
        if (ready) {
            m_zoom->SetRegistry(&m_registry);
            LoadFormPosition(m_registry, m_zoom, QStringLiteral("Color Picker Zoom"));
            if (runZoom)
                runZoom(*m_zoom);
            else
                m_zoom->exec();
            m_zoom->UseScreenshot(QImage());
        }
    }
    btnZoom->setChecked(false);
}

// ---- The toggle group and screen sampling ---------------------------------------------------

void TfrmColorPicker::pressToggle(QToolButton *button)
{
    // More colours, sampling and the magnifier: at most one is down.
    for (QToolButton *toggle : {btnMoreColor, btnSample, btnZoom})
        toggle->setChecked(toggle == button);
}

void TfrmColorPicker::startSampling()
{
    pressToggle(btnSample);
    if (!m_services.screen.readsDirectly()) {
        pickThroughDesktop();
        return;
    }
    m_sampling = true;
    if (!m_cursorOverridden)
        QApplication::setOverrideCursor(SamplingCursor());
    m_cursorOverridden = true;
    // Moves without a button held must reach the dialog too.
    setMouseTracking(true);
    grabMouse();
}

void TfrmColorPicker::stopSampling()
{
    if (m_sampling)
        btnSample->setChecked(false);
    m_sampling = false;
    if (m_cursorOverridden)
        QApplication::restoreOverrideCursor();
    m_cursorOverridden = false;
    setMouseTracking(false);
    releaseMouse();
}

void TfrmColorPicker::pickThroughDesktop()
{
    // The desktop lets the user pick the pixel; the answer comes back as one colour.
    const ScreenReading reading = m_services.screen.pickColour();
    if (reading.status == ScreenReading::Status::Done)
        SetCurrentColour(QColorToColour(reading.colour));
    else if (reading.status == ScreenReading::Status::Unavailable)
        m_services.prompts.message(ScreenUnavailableMessage());
    btnSample->setChecked(false);
}

void TfrmColorPicker::sampleAt(const QPoint &global)
{
    if (const std::optional<QColor> pixel = m_services.screen.pixelAt(global))
        SetCurrentColour(QColorToColour(*pixel));
}

void TfrmColorPicker::mouseMoveEvent(QMouseEvent *event)
{
    if (m_sampling || (event->buttons() & Qt::LeftButton))
        sampleAt(event->globalPosition().toPoint());
    QDialog::mouseMoveEvent(event);
}

void TfrmColorPicker::mouseReleaseEvent(QMouseEvent *event)
{
    stopSampling();
    QDialog::mouseReleaseEvent(event);
}

bool TfrmColorPicker::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool arrow = key->key() == Qt::Key_Up || key->key() == Qt::Key_Down || key->key() == Qt::Key_Left
            || key->key() == Qt::Key_Right;
        if (arrow && btnMoreColor->isChecked()) {
            const int step = (key->modifiers() & Qt::ControlModifier)
                ? TextToInt(m_registry.readString(QStringLiteral(" Arrow Key Movement"), QStringLiteral("10")), 10)
                : 1;
            return pnlSpectrum->ArrowKey(key->key(), step);
        }
        const bool paste = (key->key() == Qt::Key_V && key->modifiers() == Qt::ControlModifier)
            || (key->key() == Qt::Key_Insert && key->modifiers() == Qt::ShiftModifier);
        if (paste) {
            if (auto *edit = qobject_cast<TTarnEdit *>(watched))
                return pasteKey(edit);
        }
    }
    if (watched == btnSample && event->type() == QEvent::MouseButtonPress) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::RightButton || (mouse->modifiers() & Qt::ShiftModifier)) {
            startSampling();
            return true;
        }
    }
    if (watched == shColor && event->type() == QEvent::MouseButtonPress) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::RightButton && (mouse->modifiers() & Qt::ShiftModifier)) {
            mnuCool->popup(mouse->globalPosition().toPoint());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
