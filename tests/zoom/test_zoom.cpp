#include "colour/PaletteSources.h"
#include "colour/TfrmColorPicker.h"
#include "controls/FormPosition.h"
#include "platform/Registry.h"
#include "platform/RegistryKey.h"
#include "zoom/MagnifierRules.h"
#include "zoom/TfrmZoom.h"

#include "PromptsDouble.h"
#include "ScreenSourceDouble.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace Qt::StringLiterals;

// The magnifier window over a prepared screen whose every pixel tells its own place.
class TestZoom : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void source_data();
    void source();
    void dragThenPick();
    void clicksAndKeys();
    void opensFromThePicker();

private:
    std::unique_ptr<TfrmZoom> shownZoom();
    static void send(QWidget *target, QEvent::Type type, const QPoint &at, Qt::MouseButtons buttons);
    static QPoint placeOf(const QColor &pixel) { return QPoint(pixel.red() + 256 * (pixel.blue() & 15), pixel.green() + 16 * (pixel.blue() & 0xF0)); }
    PromptsDouble m_prompts;
    ScreenSourceDouble m_screen;
};

void TestZoom::initTestCase()
{
    m_screen.screen = QImage(QGuiApplication::primaryScreen()->virtualGeometry().size(), QImage::Format_RGB32);
    for (int y = 0; y < m_screen.screen.height(); ++y) {
        for (int x = 0; x < m_screen.screen.width(); ++x)
            m_screen.screen.setPixelColor(x, y, QColor(x & 255, y & 255, (x >> 8) | ((y >> 8) << 4)));
    }
}

void TestZoom::source_data()
{
    QTest::addColumn<QPoint>("centre");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QRect>("source");
    QTest::addColumn<QRect>("copy");

    // A view of 160 x 150.
    const QRect desktop(0, 0, 1280, 1024);
    QTest::newRow("middle") << QPoint(500, 400) << 2 << desktop << QRect(460, 363, 80, 75) << QRect(461, 364, 78, 73);
    QTest::newRow("left and top edge stop at 0") << QPoint(10, 5) << 2 << desktop << QRect(0, 0, 80, 75)
                                                 << QRect(1, 1, 78, 73);
    QTest::newRow("right and bottom edge shift back") << QPoint(1275, 1020) << 2 << desktop
                                                      << QRect(1200, 949, 80, 75) << QRect(1201, 950, 78, 73);
    QTest::newRow("zoom 16") << QPoint(500, 400) << 16 << desktop << QRect(495, 396, 10, 9) << QRect(496, 397, 8, 7);
    QTest::newRow("zoom 16 in the corner") << QPoint(1279, 1023) << 16 << desktop << QRect(1270, 1015, 10, 9)
                                           << QRect(1271, 1016, 8, 7);
    QTest::newRow("zoom 1") << QPoint(500, 400) << 1 << desktop << QRect(420, 325, 160, 150) << QRect(421, 326, 158, 148);
    QTest::newRow("desktop left of the primary screen")
        << QPoint(-1275, 5) << 2 << QRect(-1280, 0, 2560, 1024) << QRect(-1280, 0, 80, 75) << QRect(-1279, 1, 78, 73);
}

void TestZoom::source()
{
    QFETCH(QPoint, centre);
    QFETCH(int, zoom);
    QFETCH(QRect, screen);
    QFETCH(QRect, source);
    QFETCH(QRect, copy);
    const QRect found = MagnifierSource(centre, zoom, QSize(160, 150), screen);
    QCOMPARE(found, source);
    QCOMPARE(MagnifierCopyRect(found), copy);
    QVERIFY(screen.contains(found));
}

std::unique_ptr<TfrmZoom> TestZoom::shownZoom()
{
    auto zoom = std::make_unique<TfrmZoom>(m_screen, m_prompts, nullptr);
    zoom->move(560, 20);
    zoom->show();
    if (!QTest::qWaitForWindowExposed(zoom.get()))
        qWarning("the zoom window was not shown");
    return zoom;
}

void TestZoom::send(QWidget *target, QEvent::Type type, const QPoint &at, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void TestZoom::dragThenPick()
{
    auto zoom = shownZoom();
    QWidget *surface = zoom->pnlClient;
    // The layout: the track bar at the right edge, the bevels around the rest.
    QCOMPARE(surface->size(), QSize(203, 172));
    QCOMPARE(zoom->trZoom->geometry(), QRect(170, 0, 33, 172));
    QCOMPARE(zoom->bvlRight->geometry(), QRect(167, 1, 2, 169));
    QCOMPARE(zoom->bvlBottom->geometry(), QRect(0, 170, 167, 2));
    QCOMPARE(zoom->ViewSize(), QSize(165, 168));
    QCOMPARE(zoom->trZoom->value(), 2);
    // Before anything is magnified the instruction pictures take turns, the text below them.
    QTRY_COMPARE_WITH_TIMEOUT(zoom->lblHowTo->pos(), QPoint(167 / 2 - 75, 87 + 15), 5000);

    QSignalSpy pointed(zoom.get(), &TfrmZoom::colourPointed);
    send(surface, QEvent::MouseButtonPress, QPoint(20, 20), Qt::LeftButton);
    QVERIFY(zoom->Dragging());
    send(surface, QEvent::MouseMove, surface->mapFromGlobal(QPoint(100, 100)), Qt::LeftButton);
    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(zoom->Pointer(), TfrmZoom::PointerKind::Magnifier);
    QCOMPARE(zoom->SourceRect(), QRect(59, 58, 82, 84));
    QVERIFY(zoom->FrameVisible());
    // The view: the source less its edge pixels, stretched pixel for pixel.
    const QImage view = zoom->View();
    QCOMPARE(view.size(), QSize(164, 167));
    QCOMPARE(placeOf(view.pixelColor(0, 0)), QPoint(60, 59));
    QCOMPARE(placeOf(view.pixelColor(163, 166)), QPoint(139, 140));
    QCOMPARE(pointed.count(), 0);

    // Zoom 16 around the same point.
    zoom->trZoom->setValue(16);
    QCOMPARE(zoom->SourceRect(), QRect(95, 95, 10, 10));
    QCOMPARE(placeOf(zoom->View().pixelColor(0, 0)), QPoint(96, 96));

    // Back over the window itself: the view keeps its picture.
    send(surface, QEvent::MouseMove, QPoint(30, 30), Qt::LeftButton);
    QCOMPARE(zoom->SourceRect(), QRect(95, 95, 10, 10));
    QCOMPARE(placeOf(zoom->View().pixelColor(0, 0)), QPoint(96, 96));

    // Released away from the window: no click. Pointing back at the view picks live.
    send(surface, QEvent::MouseButtonRelease, surface->mapFromGlobal(QPoint(100, 100)), Qt::NoButton);
    QVERIFY(!zoom->Dragging());
    QVERIFY(!zoom->FrameVisible());
    QVERIFY(zoom->isVisible());
    send(surface, QEvent::MouseMove, QPoint(2 + 40, 2 + 40), Qt::NoButton);
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(zoom->Pointer(), TfrmZoom::PointerKind::Sampling);
    QCOMPARE(pointed.count(), 1);
    QCOMPARE(zoom->PickedColour(), QColorToColour(m_screen.screen.pixelColor(placeOf(zoom->View().pixelColor(40, 40)))));
    // A click now picks and closes.
    send(surface, QEvent::MouseButtonPress, QPoint(42, 42), Qt::LeftButton);
    send(surface, QEvent::MouseButtonRelease, QPoint(42, 42), Qt::NoButton);
    QCOMPARE(pointed.count(), 2);
    QCOMPARE(pointed.last().constFirst().value<ColourValue>(), zoom->PickedColour());
    QVERIFY(!zoom->isVisible());
    QCOMPARE(zoom->result(), int(QDialog::Accepted));

    // The view follows the screen: a changed screen shows up on the next refresh.
    zoom->show();
    QVERIFY(QTest::qWaitForWindowExposed(zoom.get()));
    send(surface, QEvent::MouseButtonPress, QPoint(20, 20), Qt::LeftButton);
    send(surface, QEvent::MouseMove, surface->mapFromGlobal(QPoint(100, 100)), Qt::LeftButton);
    send(surface, QEvent::MouseButtonRelease, surface->mapFromGlobal(QPoint(100, 100)), Qt::NoButton);
    const QImage before = m_screen.screen;
    m_screen.screen.fill(Qt::magenta);
    QTRY_COMPARE_WITH_TIMEOUT(zoom->View().pixelColor(0, 0), QColor(Qt::magenta), 5000);
    m_screen.screen = before;
}

void TestZoom::clicksAndKeys()
{
    Registry registry;
    RegistryKey key(registry);
    key.openKey(ColorPickerKey(), true);
    auto zoom = shownZoom();
    zoom->SetRegistry(&key);
    QWidget *surface = zoom->pnlClient;
    // A larger window: the track bar stays at the right edge, the view grows.
    zoom->resize(zoom->width() + 100, zoom->height() + 50);
    QCOMPARE(zoom->trZoom->geometry(), QRect(270, 0, 33, 222));
    QCOMPARE(zoom->bvlBottom->geometry(), QRect(0, 220, 267, 2));
    QCOMPARE(zoom->ViewSize(), QSize(265, 218));

    // A first click without a drag only changes the cursor; the second picks and closes.
    QSignalSpy pointed(zoom.get(), &TfrmZoom::colourPointed);
    send(zoom->lblHowTo, QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton);
    send(zoom->lblHowTo, QEvent::MouseButtonRelease, QPoint(5, 5), Qt::NoButton);
    QCOMPARE(zoom->Pointer(), TfrmZoom::PointerKind::Sampling);
    QVERIFY(zoom->isVisible());
    QVERIFY(!zoom->HasMagnified());
    send(surface, QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton);
    send(surface, QEvent::MouseButtonRelease, QPoint(5, 5), Qt::NoButton);
    QVERIFY(!zoom->isVisible());
    QCOMPARE(pointed.count(), 2);
    // Hiding stored the position.
    QCOMPARE(key.readString(FormPositionKey(u"Color Picker Zoom"_s) + u"\\Left"_s), QString());
    RegistryKey position(registry);
    QVERIFY(position.openKey(ColorPickerKey() + u"\\"_s + FormPositionKey(u"Color Picker Zoom"_s), false));
    QCOMPARE(position.readString(u"Left"_s), QString::number(zoom->x()));

    // Esc closes on its release.
    zoom->show();
    QVERIFY(QTest::qWaitForWindowExposed(zoom.get()));
    QTest::keyPress(zoom.get(), Qt::Key_Escape);
    QVERIFY(zoom->isVisible());
    QTest::keyRelease(zoom.get(), Qt::Key_Escape);
    QVERIFY(!zoom->isVisible());

    // The help text.
    zoom->mnuHowToUse->trigger();
    QCOMPARE(m_prompts.messages().size(), 1);
    const QString help = m_prompts.messages().constFirst();
    QVERIFY(help.startsWith(u"The Color Picker's Zoom Window allows you to magnify an area of the screen and easily "
                            u"select a pixel who's color you wish to use.\r\n\r\nTo magnify an area"_s));
    QVERIFY(help.contains(u"hold down the left mouse button and drag the cursor to the area of interest.  Make sure "
                          u"you keep the button held down while moving or the zoom window will not magnify the area "
                          u"you want.\r\n\r\nOnce you have"_s));
    QVERIFY(help.endsWith(u"that's all it takes !\r\n\r\nThe slider bar on the side of the zoom window controls the "
                          u"level of magnification."_s));
}

void TestZoom::opensFromThePicker()
{
    Registry registry;
    RegistryKey key(registry);
    key.openKey(ColorPickerKey() + u"\\Form Positions\\Color Picker Zoom"_s, true);
    key.writeString(u"Window State"_s, u"Normal"_s);
    key.writeString(u"Left"_s, u"33"_s);
    key.writeString(u"Top"_s, u"44"_s);
    TfrmColorPicker dialog({m_prompts, registry, m_screen});
    QVERIFY(!dialog.Zoom());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.Zoom());
    QPoint placed;
    bool pressed = false;
    dialog.runZoom = [&](TfrmZoom &zoom) {
        placed = zoom.pos();
        pressed = dialog.btnZoom->isChecked();
        emit zoom.colourPointed(ColourFromRgb(7, 8, 9));
        return int(QDialog::Accepted);
    };
    dialog.btnZoom->click();
    QCOMPARE(placed, QPoint(33, 44));
    QVERIFY(pressed);
    QCOMPARE(ColourToDecimal(dialog.CurrentColour()), u"7,8,9"_s);
    QVERIFY(!dialog.btnZoom->isChecked());
    dialog.btnCancel->click();
    QVERIFY(!dialog.Zoom());
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QApplication app(argc, argv);
    TestZoom test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_zoom.moc"
