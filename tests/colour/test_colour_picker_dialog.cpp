#include "colour/ColourSearch.h"
#include "colour/PaletteFiles.h"
#include "colour/PaletteSources.h"
#include "colour/TPaletteGrid.h"
#include "colour/TSpectrumPanel.h"
#include "colour/TTarnColourPicker.h"
#include "colour/TTriangle.h"
#include "colour/TfrmColorPicker.h"
#include "controls/TTarnCombo.h"
#include "controls/TTarnEdit.h"
#include "platform/Registry.h"
#include "platform/RegistryKey.h"

#include "PromptsDouble.h"
#include "ScreenSourceDouble.h"
#include "TestEnvironment.h"
#include "TestFiles.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace Qt::StringLiterals;

// The colour picker dialog's wiring, through the prompt and screen doubles.
class TestColourPickerDialog : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void numberFields_data();
    void numberFields();
    void findSelectsTheNearestCell();
    void paletteSources();
    void spectrumPanel();
    void releaseKeepsThePick_data();
    void releaseKeepsThePick();
    void dragsStayWithTheirControl_data();
    void dragsStayWithTheirControl();
    void markersFollowTheStartColour();
    void sampling();
    void fadeAndDoubleClick();
    void colourFieldOpensThePicker();

private:
    std::unique_ptr<TfrmColorPicker> makeDialog();
    std::unique_ptr<TfrmColorPicker> shownDialog();
    RegistryKey key();
    PromptsDouble m_prompts;
    ScreenSourceDouble m_screen;
    std::unique_ptr<Registry> m_registry;
};

void TestColourPickerDialog::init()
{
    m_prompts.clear();
    m_registry.reset();
    QFile::remove(TestEnvironment::instance().configHome() + u"/Tarnwick/registry.json"_s);
    m_registry = std::make_unique<Registry>();
}

std::unique_ptr<TfrmColorPicker> TestColourPickerDialog::makeDialog()
{
    return std::make_unique<TfrmColorPicker>(ColourPickerServices{m_prompts, *m_registry, m_screen});
}

std::unique_ptr<TfrmColorPicker> TestColourPickerDialog::shownDialog()
{
    auto dialog = makeDialog();
    dialog->show();
    if (!QTest::qWaitForWindowExposed(dialog.get()))
        qWarning("the dialog was not shown");
    return dialog;
}

RegistryKey TestColourPickerDialog::key()
{
    RegistryKey registry(*m_registry);
    registry.openKey(ColorPickerKey(), true);
    return registry;
}

void TestColourPickerDialog::numberFields_data()
{
    QTest::addColumn<QString>("field");     // the field typed or pasted into
    QTest::addColumn<QString>("typed");     // keys typed after emptying the field
    QTest::addColumn<QString>("clipboard"); // pasted with Ctrl+V when not empty
    QTest::addColumn<QString>("decimals");  // txtRed,txtGreen,txtBlue afterwards
    QTest::addColumn<QString>("hexes");
    QTest::addColumn<QStringList>("messages");

    // Every row starts from 1,2,3.
    QTest::newRow("ff into hex red") << u"txtHexRed"_s << u"ff"_s << u""_s << u"255,2,3"_s << u"FF,02,03"_s << QStringList{};
    QTest::newRow("one hex digit waits") << u"txtHexRed"_s << u"f"_s << u""_s << u"1,2,3"_s << u"f,02,03"_s << QStringList{};
    QTest::newRow("emptied decimal field waits") << u"txtGreen"_s << u""_s << u""_s << u"1,,3"_s << u"01,02,03"_s << QStringList{};
    QTest::newRow("paste #FF8000") << u"txtHexGreen"_s << u""_s << u"#FF8000"_s << u"255,128,0"_s << u"FF,80,00"_s << QStringList{};
    QTest::newRow("paste quoted ff8000") << u"txtHexBlue"_s << u""_s << u"\"ff8000\""_s << u"255,128,0"_s << u"FF,80,00"_s
                                         << QStringList{};
    QTest::newRow("paste five characters") << u"txtHexRed"_s << u""_s << u"#12345"_s << u"1,2,3"_s << u"01,02,03"_s
                                           << QStringList{u"12345 is not a valid HTML color code."_s};
    QTest::newRow("paste six non-hex characters") << u"txtHexRed"_s << u""_s << u"zz0000"_s << u"1,2,3"_s << u"01,02,03"_s
                                                  << QStringList{u"zz0000 is not a valid HTML color code."_s};
    QTest::newRow("paste 12,34,56 into red") << u"txtRed"_s << u""_s << u"12,34,56"_s << u"12,34,56"_s << u"0C,22,38"_s
                                             << QStringList{};
    QTest::newRow("paste two pieces into red") << u"txtRed"_s << u""_s << u"12,34"_s << u"1,2,3"_s << u"01,02,03"_s
                                               << QStringList{};
}

void TestColourPickerDialog::numberFields()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, clipboard);
    QFETCH(QString, decimals);
    QFETCH(QString, hexes);
    QFETCH(QStringList, messages);

    auto dialog = shownDialog();
    dialog->SetCurrentColour(ColourFromRgb(1, 2, 3));
    m_prompts.clear();
    TTarnEdit *edit = dialog->findChild<TTarnEdit *>(field);
    QVERIFY(edit);
    edit->setFocus();
    if (clipboard.isEmpty()) {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, typed);
    } else {
        QGuiApplication::clipboard()->setText(clipboard);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    }
    QCOMPARE(QStringList({dialog->txtRed->text(), dialog->txtGreen->text(), dialog->txtBlue->text()}).join(u','),
             decimals);
    QCOMPARE(QStringList({dialog->txtHexRed->text(), dialog->txtHexGreen->text(), dialog->txtHexBlue->text()})
                 .join(u','),
             hexes);
    QCOMPARE(m_prompts.messages(), messages);
    // The swatch follows the last complete set of values.
    if (!decimals.contains(u",,"_s))
        QCOMPARE(ColourToDecimal(dialog->CurrentColour()), decimals);
}

void TestColourPickerDialog::findSelectsTheNearestCell()
{
    auto dialog = shownDialog();
    QCOMPARE(dialog->grid1->CellText(0, 0), QStringLiteral("255,255,255"));
    dialog->SetCurrentColour(ColourFromRgb(60, 5, 0));
    dialog->btnFindClick();
    // 51,0,0 is entry 4 * 36 + 5 * 6 + 5 = 179: column 3, row 11.
    QCOMPARE(dialog->grid1->Selected(), QPoint(3, 11));
    QCOMPARE(ColourToDecimal(dialog->CurrentColour()), QStringLiteral("51,0,0"));
    QVERIFY(dialog->grid1->hasFocus());
}

void TestColourPickerDialog::paletteSources()
{
    // A remembered palette that has gone: the message, then the built-in palette.
    const QString folder = TestEnvironment::instance().freshFolder(u"palettes"_s);
    key().writeString(u"InitialDir"_s, folder);
    key().writeString(u"Last File"_s, u"gone.act"_s);
    writeAll(folder + u"/other.act"_s, QByteArray(768, '\x20'));
    auto dialog = makeDialog();
    QCOMPARE(m_prompts.messages(), QStringList{}); // gone.act is no longer listed
    QCOMPARE(dialog->cmbPal->currentText(), BuiltInPaletteName());
    dialog->cmbPal->setCurrentIndex(dialog->cmbPal->findText(u"other.act"_s));
    QFile::remove(folder + u"/other.act"_s);
    dialog->cmbPalClick();
    QCOMPARE(m_prompts.messages(),
             QStringList{u"The file \""_s + folder + u"/other.act\" does not exist.  The default websafe palette "_s
                         u"will be displayed instead."_s});
    QCOMPARE(dialog->cmbPal->currentText(), BuiltInPaletteName());
    QCOMPARE(dialog->CurrentPaletteFile(), BuiltInPalettePath());
    QCOMPARE(key().readString(u"Last File"_s), BuiltInPaletteName());

    // The file button: any palette file; its folder is listed and remembered.
    writeAll(folder + u"/x.gif"_s, QByteArray("GIF89a\1\0\1\0\x80\0\0", 13) + QByteArray("\x0a\x14\x1e\x28\x32\x3c", 6));
    writeAll(folder + u"/bad.gif"_s, QByteArray("not a gif"));
    m_prompts.answers.enqueue(folder + u"/x.gif"_s);
    dialog->btnLoadFileClick();
    QCOMPARE(m_prompts.shown.last().dialog.filterIndex, 1); // the current file is websafe.pal
    QCOMPARE(dialog->grid1->CellText(1, 0), QStringLiteral("40,50,60"));
    QCOMPARE(dialog->cmbPal->currentText(), QStringLiteral("x.gif"));
    QCOMPARE(key().readString(u"InitialDir"_s), folder);
    QCOMPARE(key().readString(u"Last File"_s), BuiltInPaletteName()); // written by the list only

    // Not a GIF: the message, and the grid keeps its colours.
    m_prompts.answers.enqueue(folder + u"/bad.gif"_s);
    dialog->btnLoadFileClick();
    QCOMPARE(m_prompts.shown.at(m_prompts.shown.size() - 2).dialog.filterIndex, 0);
    QCOMPARE(m_prompts.messages().last(), GifPaletteMessage());
    QCOMPARE(dialog->grid1->CellText(1, 0), QStringLiteral("40,50,60"));
}

void TestColourPickerDialog::spectrumPanel()
{
    key().writeString(u"Show "_s, u"true"_s);
    key().writeString(u" Arrow Key Movement"_s, u"25"_s);
    auto dialog = shownDialog();
    TSpectrumPanel *panel = dialog->pnlSpectrum;
    QVERIFY(panel->isVisible());
    QCOMPARE(dialog->width(), 366);
    // Black at creation is already under the unset marker: an arrow key moves nothing.
    QCOMPARE(panel->Marker(), QPoint(-1, -1));
    QTest::keyClick(dialog->grid1, Qt::Key_Right);
    QCOMPARE(panel->Marker(), QPoint(-1, -1));

    // A click on the spectrum picks its pixel and places the markers.
    QTest::mouseClick(panel->imgSpectrum, Qt::LeftButton, {}, QPoint(45, 65));
    QCOMPARE(panel->Marker(), QPoint(45, 65));
    QCOMPARE(ColourToDecimal(dialog->CurrentColour()), QStringLiteral("255,255,0"));
    QCOMPARE(panel->triHoriz->x(), 51);
    QCOMPARE(panel->triVert->y(), 68);
    QTest::keyClick(dialog->grid1, Qt::Key_Right, Qt::ControlModifier);
    QCOMPARE(panel->Marker(), QPoint(70, 65));
    QTest::keyClick(dialog->grid1, Qt::Key_Left, Qt::ControlModifier);
    QTest::keyClick(dialog->grid1, Qt::Key_Left, Qt::ControlModifier);
    QTest::keyClick(dialog->grid1, Qt::Key_Left, Qt::ControlModifier); // would leave the picture
    QCOMPARE(panel->Marker(), QPoint(20, 65));

    // Markers: their shapes, dragging within their ranges, clicks on the panel beside them.
    QCOMPARE(panel->triHoriz->Corners(), QPolygon({QPoint(0, 0), QPoint(16, 0), QPoint(8, 8)}));
    QCOMPARE(panel->triVert->Corners(), QPolygon({QPoint(0, 0), QPoint(0, 16), QPoint(8, 8)}));
    const auto mouse = [](QWidget *target, QEvent::Type type, const QPoint &at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    };
    mouse(panel->triVert, QEvent::MouseMove, QPoint(4, 1000), Qt::LeftButton);
    QCOMPARE(panel->Marker(), QPoint(20, 385)); // the lowest a drag reaches
    mouse(panel->triHoriz, QEvent::MouseMove, QPoint(-1000, 4), Qt::LeftButton);
    QCOMPARE(panel->Marker(), QPoint(0, 385));
    mouse(panel, QEvent::MouseButtonRelease, QPoint(50, 5), Qt::NoButton);
    QCOMPARE(panel->triHoriz->x(), 42);
    QCOMPARE(panel->Marker(), QPoint(35, 385));

    // btnFind looks in the spectrum first: a colour of the spectrum lands on its pixel.
    dialog->SetCurrentColour(ColourFromRgb(255, 0, 0));
    dialog->btnFindClick();
    QCOMPARE(panel->Marker(), QPoint(45, 0));

    // Hiding the panel.
    dialog->btnMoreColor->click();
    QVERIFY(!panel->isVisible());
    QCOMPARE(dialog->width(), 245);
    QCOMPARE(key().readString(u"Show "_s), QStringLiteral("false"));
    // Opening it for a colour outside the spectrum moves the colour onto the spectrum.
    dialog->SetCurrentColour(ColourFromRgb(100, 100, 90));
    dialog->btnMoreColor->click();
    const QPoint at = panel->Marker();
    QCOMPARE(dialog->CurrentColour(), ReadPixel(panel->Spectrum(), at.x(), at.y()));
}

namespace {

// A mouse event as the window system delivers it, free to travel up to the parents.
void mouseAt(QWidget *target, QEvent::Type type, const QPoint &at, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

} // namespace

void TestColourPickerDialog::releaseKeepsThePick_data()
{
    QTest::addColumn<int>("target"); // 0: top marker, 1: side marker, 2: the spectrum
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("moveTo");
    QTest::newRow("drag of the top marker") << 0 << QPoint(8, 4) << QPoint(18, 4);
    QTest::newRow("drag of the side marker") << 1 << QPoint(4, 8) << QPoint(4, 30);
    QTest::newRow("click on spectrum row 0") << 2 << QPoint(30, 0) << QPoint(30, 0);
    QTest::newRow("click on spectrum row 1") << 2 << QPoint(60, 1) << QPoint(60, 1);
    QTest::newRow("click in spectrum column 0") << 2 << QPoint(0, 50) << QPoint(0, 50);
}

void TestColourPickerDialog::releaseKeepsThePick()
{
    QFETCH(int, target);
    QFETCH(QPoint, press);
    QFETCH(QPoint, moveTo);
    key().writeString(u"Show "_s, u"true"_s);
    auto dialog = shownDialog();
    TSpectrumPanel *panel = dialog->pnlSpectrum;
    QTest::mouseClick(panel->imgSpectrum, Qt::LeftButton, {}, QPoint(45, 65));
    QWidget *widget = QList<QWidget *>{panel->triHoriz, panel->triVert, panel->imgSpectrum}.at(target);
    mouseAt(widget, QEvent::MouseButtonPress, press, Qt::LeftButton);
    const QPoint global = widget->mapToGlobal(moveTo);
    mouseAt(widget, QEvent::MouseMove, moveTo, Qt::LeftButton);
    const QPoint markers(panel->triHoriz->x(), panel->triVert->y()), picked = panel->Marker();
    const ColourValue colour = dialog->CurrentColour();
    if (target == 2)
        QCOMPARE(markers, moveTo + QPoint(6, 3));
    // The release, where the pointer now is, changes nothing.
    mouseAt(widget, QEvent::MouseButtonRelease, widget->mapFromGlobal(global), Qt::NoButton);
    QCOMPARE(QPoint(panel->triHoriz->x(), panel->triVert->y()), markers);
    QCOMPARE(panel->Marker(), picked);
    QCOMPARE(dialog->CurrentColour(), colour);
}

void TestColourPickerDialog::dragsStayWithTheirControl_data()
{
    QTest::addColumn<QPoint>("moveTo"); // in the grid; (-1, -1): over the "RGB" label
    QTest::addColumn<QPoint>("selected");
    QTest::newRow("to another cell") << TPaletteGrid::CellRect(5, 6).center() << QPoint(5, 6);
    QTest::newRow("onto a grid line") << QPoint(TPaletteGrid::CellRect(2, 3).right() + 1, 40) << QPoint(2, 3);
    QTest::newRow("out over a label") << QPoint(-1, -1) << QPoint(2, 3);
}

void TestColourPickerDialog::dragsStayWithTheirControl()
{
    QFETCH(QPoint, moveTo);
    QFETCH(QPoint, selected);
    auto dialog = shownDialog();
    TPaletteGrid *grid = dialog->grid1;
    const QPoint cell = TPaletteGrid::CellRect(2, 3).center();
    mouseAt(grid, QEvent::MouseButtonPress, cell, Qt::LeftButton);
    // A drag that leaves the grid stays with the grid, which holds the press.
    const QPoint to = moveTo.x() < 0 ? grid->mapFromGlobal(dialog->Label1->mapToGlobal(QPoint(3, 3))) : moveTo;
    mouseAt(grid, QEvent::MouseMove, to, Qt::LeftButton);
    mouseAt(grid, QEvent::MouseButtonRelease, to, Qt::NoButton);
    QCOMPARE(grid->Selected(), selected);
    QCOMPARE(dialog->CurrentColour(), grid->Cells()[size_t(selected.x())][size_t(selected.y())]);
    QCOMPARE(m_screen.pixelRequests, QList<QPoint>());
}

void TestColourPickerDialog::markersFollowTheStartColour()
{
    key().writeString(u"Show "_s, u"true"_s); // open from the last run, before the start colour
    auto dialog = makeDialog();
    dialog->SetCurrentColour(ColourFromRgb(255, 255, 0));
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    QCOMPARE(dialog->pnlSpectrum->Marker(), QPoint(45, 65));
    QCOMPARE(dialog->pnlSpectrum->triHoriz->x(), 45 + 6);
    QCOMPARE(dialog->CurrentColour(), ColourFromRgb(255, 255, 0));
}

void TestColourPickerDialog::sampling()
{
    m_screen.screen = QImage(300, 200, QImage::Format_RGB32);
    m_screen.screen.fill(QColor(10, 20, 30));
    m_screen.screen.setPixelColor(250, 150, QColor(200, 100, 50));
    auto dialog = shownDialog();
    dialog->btnSample->click();
    QVERIFY(dialog->Sampling());
    QVERIFY(QApplication::overrideCursor());

    const auto send = [&](QEvent::Type type, const QPoint &global, Qt::MouseButtons buttons) {
        QMouseEvent event(type, dialog->mapFromGlobal(QPointF(global)), QPointF(global),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(dialog.get(), &event);
    };
    send(QEvent::MouseMove, QPoint(250, 150), Qt::NoButton);
    QCOMPARE(ColourToDecimal(dialog->CurrentColour()), QStringLiteral("200,100,50"));
    QCOMPARE(dialog->txtHexRed->text(), QStringLiteral("C8"));
    send(QEvent::MouseButtonRelease, QPoint(3, 3), Qt::NoButton);
    QVERIFY(!dialog->Sampling());
    QVERIFY(!dialog->btnSample->isChecked());
    QVERIFY(!QApplication::overrideCursor());
    // Afterwards a move without a button samples nothing; with the left button held it does.
    send(QEvent::MouseMove, QPoint(4, 4), Qt::NoButton);
    QCOMPARE(ColourToDecimal(dialog->CurrentColour()), QStringLiteral("200,100,50"));
    send(QEvent::MouseMove, QPoint(4, 4), Qt::LeftButton);
    QCOMPARE(ColourToDecimal(dialog->CurrentColour()), QStringLiteral("10,20,30"));
}

void TestColourPickerDialog::fadeAndDoubleClick()
{
    auto dialog = shownDialog();
    QVERIFY(!TfrmColorPicker::FadeEnabled());
    dialog->mnuFade->trigger();
    QVERIFY(TfrmColorPicker::FadeEnabled());
    QCOMPARE(key().readString(u"Fade"_s), QStringLiteral("true"));
    dialog->cmbSort->setCurrentIndex(1);
    dialog->cmbSortClick(); // the fade runs through its frames and ends on the palette
    QCOMPARE(dialog->grid1->CellText(0, 0), QStringLiteral("0,0,0"));
    dialog->mnuFade->trigger();

    QTest::mouseDClick(dialog->grid1, Qt::LeftButton, {}, TPaletteGrid::CellRect(15, 15).center());
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(dialog->ChosenColour(), ColourFromRgb(255, 255, 255));
}

void TestColourPickerDialog::colourFieldOpensThePicker()
{
    TTarnColourPicker field(m_prompts);
    QVERIFY(!field.PickerButton()->isEnabled());
    field.SetPickerServices({m_prompts, *m_registry, m_screen});
    QVERIFY(field.PickerButton()->isEnabled());
    field.SetText(u"102030"_s);
    QSignalSpy clicks(&field, &TTarnColourPicker::clicked);
    ColourValue started = 0;
    int answer = QDialog::Rejected;
    field.runPicker = [&](TfrmColorPicker &dialog) {
        started = dialog.CurrentColour();
        dialog.SetCurrentColour(ColourFromRgb(1, 2, 3));
        if (answer == QDialog::Accepted)
            dialog.btnOKClick();
        return answer;
    };
    field.PickerButton()->click();
    QCOMPARE(started, ColourFromRgb(0x10, 0x20, 0x30));
    QCOMPARE(field.Text(), QStringLiteral("102030")); // cancelled
    QCOMPARE(clicks.count(), 1);

    answer = QDialog::Accepted;
    field.show();
    field.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&field));
    field.TextBox()->setFocus();
    QWidget *keys = QApplication::focusWidget();
    QCOMPARE(keys, field.TextBox());
    QTest::keyClick(keys, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(field.Text(), QStringLiteral("010203"));
    QCOMPARE(clicks.count(), 2);
    QTest::keyClick(keys, Qt::Key_Return); // swallowed: no dialog
    QCOMPARE(clicks.count(), 2);
    // From a field without a colour the dialog shows black and returns it.
    QTest::keyClick(keys, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(keys, u"12"_s);
    QString shown;
    field.runPicker = [&](TfrmColorPicker &dialog) {
        shown = dialog.txtRed->text() + dialog.txtHexGreen->text() + dialog.txtBlue->text() + u' '
            + dialog.shColor->palette().color(QPalette::Window).name();
        dialog.btnOKClick();
        return int(QDialog::Accepted);
    };
    field.PickerButton()->click();
    QCOMPARE(shown, u"0000 #000000"_s);
    QCOMPARE(field.Text(), QStringLiteral("000000"));
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QApplication app(argc, argv);
    TestColourPickerDialog test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_colour_picker_dialog.moc"
