#include "colour/TfrmColorPicker.h"
#include "platform/QtScreenSource.h"
#include "platform/Registry.h"
#include "platform/ScreenAccess.h"
#include "zoom/TfrmZoom.h"

#include "PrivateSessionBus.h"
#include "PromptsDouble.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QProcess>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace Qt::StringLiterals;

// Reading the screen where only the desktop portal may: the choice of the path, and the
// portal's answers from a stand-in portal on the test's own session bus.
class TestPortalScreen : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void chooseAccess_data();
    void chooseAccess();
    void portal_data();
    void portal();
    void dialogThroughPortal();

private:
    bool startPortal(const QStringList &arguments);
    QStringList leftoverShots() const;
    std::unique_ptr<PrivateSessionBus> m_bus;
    QProcess m_portal;
};

void TestPortalScreen::initTestCase()
{
    m_bus = std::make_unique<PrivateSessionBus>();
    QVERIFY(m_bus->isRunning());
    qputenv("REELCRAFT_SCREEN", "portal");
}

void TestPortalScreen::cleanup()
{
    if (m_portal.state() != QProcess::NotRunning) {
        m_portal.terminate();
        if (!m_portal.waitForFinished(5000)) {
            m_portal.kill();
            m_portal.waitForFinished(5000);
        }
    }
}

bool TestPortalScreen::startPortal(const QStringList &arguments)
{
    m_portal.setProgram(QStringLiteral(STAND_IN_PORTAL));
    m_portal.setArguments(arguments);
    m_portal.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_portal.start();
    while (m_portal.waitForReadyRead(10000) && !m_portal.canReadLine()) {
    }
    return m_portal.readLine().trimmed() == "ready";
}

QStringList TestPortalScreen::leftoverShots() const
{
    return QDir(QDir::tempPath()).entryList({u"portal-shot-*"_s}, QDir::Files);
}

void TestPortalScreen::chooseAccess_data()
{
    QTest::addColumn<QString>("screen"); // REELCRAFT_SCREEN
    QTest::addColumn<QString>("wayland"); // WAYLAND_DISPLAY
    QTest::addColumn<QString>("session"); // XDG_SESSION_TYPE
    QTest::addColumn<bool>("portal");

    QTest::newRow("plain X11") << u""_s << u""_s << u"x11"_s << false;
    QTest::newRow("nothing known") << u""_s << u""_s << u""_s << false;
    QTest::newRow("Wayland display") << u""_s << u"wayland-0"_s << u""_s << true;
    QTest::newRow("Wayland session") << u""_s << u""_s << u"Wayland"_s << true;
    QTest::newRow("forced x11 on Wayland") << u"x11"_s << u"wayland-0"_s << u"wayland"_s << false;
    QTest::newRow("forced portal on X11") << u"PORTAL"_s << u""_s << u"x11"_s << true;
    QTest::newRow("unknown override") << u"vnc"_s << u""_s << u"x11"_s << false;
}

void TestPortalScreen::chooseAccess()
{
    QFETCH(QString, screen);
    QFETCH(QString, wayland);
    QFETCH(QString, session);
    QFETCH(bool, portal);
    const auto lookup = [&](const char *name) {
        const QString value = qstrcmp(name, "REELCRAFT_SCREEN") == 0 ? screen
            : qstrcmp(name, "WAYLAND_DISPLAY") == 0                  ? wayland
            : qstrcmp(name, "XDG_SESSION_TYPE") == 0                 ? session
                                                                     : QString();
        return value.toUtf8();
    };
    QCOMPARE(ChooseScreenAccess(lookup) == ScreenAccess::Portal, portal);
}

void TestPortalScreen::portal_data()
{
    QTest::addColumn<QStringList>("arguments"); // of the stand-in; none: no portal at all
    QTest::addColumn<bool>("shot");              // Screenshot, else PickColor
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("colour");

    using S = ScreenReading::Status;
    QTest::newRow("pick rounds each channel") << QStringList{u"--color"_s, u"0.5,0.25,1"_s} << false << int(S::Done)
                                              << u"128,64,255"_s;
    QTest::newRow("pick out of range is clamped") << QStringList{u"--color"_s, u"1.5,-0.2,0.002"_s} << false
                                                  << int(S::Done) << u"255,0,1"_s;
    QTest::newRow("pick cancelled") << QStringList{u"--response"_s, u"1"_s} << false << int(S::Cancelled) << u""_s;
    QTest::newRow("pick ended otherwise") << QStringList{u"--response"_s, u"2"_s} << false << int(S::Unavailable)
                                          << u""_s;
    QTest::newRow("pick without a portal") << QStringList{} << false << int(S::Unavailable) << u""_s;
    QTest::newRow("screenshot") << QStringList{u"--picture"_s} << true << int(S::Done) << u"200,100,50"_s;
    QTest::newRow("screenshot without a file") << QStringList{u"--picture"_s, u"/nonexistent.png"_s} << true
                                               << int(S::Unavailable) << u""_s;
    QTest::newRow("screenshot without a portal") << QStringList{} << true << int(S::Unavailable) << u""_s;
}

void TestPortalScreen::portal()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, shot);
    QFETCH(int, status);
    QFETCH(QString, colour);

    QImage prepared(40, 30, QImage::Format_RGB32);
    prepared.fill(QColor(1, 2, 3));
    prepared.setPixelColor(39, 29, QColor(200, 100, 50));
    const QString file = TestEnvironment::instance().freshFolder(u"prepared"_s) + u"/screen.png"_s;
    QVERIFY(prepared.save(file));
    if (arguments == QStringList{u"--picture"_s})
        arguments << file;
    if (!arguments.isEmpty())
        QVERIFY(startPortal(arguments));

    QtScreenSource source; // REELCRAFT_SCREEN=portal
    QVERIFY(!source.readsDirectly());
    QVERIFY(!source.pixelAt(QPoint(1, 1)));
    const ScreenReading reading = shot ? source.screenshot() : source.pickColour();
    QCOMPARE(int(reading.status), status);
    if (colour.isEmpty())
        return;
    if (shot) {
        QCOMPARE(reading.picture.size(), prepared.size());
        const QColor corner = reading.picture.pixelColor(39, 29);
        QCOMPARE(u"%1,%2,%3"_s.arg(corner.red()).arg(corner.green()).arg(corner.blue()), colour);
        QCOMPARE(leftoverShots(), QStringList{}); // the portal's file is deleted after reading
    } else {
        const QColor c = reading.colour;
        QCOMPARE(u"%1,%2,%3"_s.arg(c.red()).arg(c.green()).arg(c.blue()), colour);
    }
}

void TestPortalScreen::dialogThroughPortal()
{
    PromptsDouble prompts;
    Registry registry;
    QtScreenSource screen;
    TfrmColorPicker dialog({prompts, registry, screen});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    // No portal: one message each for sampling and the magnifier, nothing else happens.
    bool zoomRan = false;
    dialog.runZoom = [&](TfrmZoom &) {
        zoomRan = true;
        return int(QDialog::Accepted);
    };
    dialog.btnSample->click();
    dialog.btnZoom->click();
    QCOMPARE(prompts.messages(), QStringList(2, ScreenUnavailableMessage()));
    QVERIFY(!zoomRan);
    QVERIFY(!dialog.btnSample->isChecked() && !dialog.btnZoom->isChecked());

    // With a portal: the picked colour becomes current; the magnifier gets the screenshot.
    QImage prepared(64, 48, QImage::Format_RGB32);
    prepared.fill(QColor(9, 8, 7));
    const QString file = TestEnvironment::instance().freshFolder(u"shot"_s) + u"/screen.png"_s;
    QVERIFY(prepared.save(file));
    QVERIFY(startPortal({u"--color"_s, u"0,1,0.5"_s, u"--picture"_s, file}));
    prompts.clear();
    dialog.btnSample->click();
    QCOMPARE(ColourToDecimal(dialog.CurrentColour()), u"0,255,128"_s);
    // The magnifier works on the screenshot, shown full-screen behind it.
    QColor magnified;
    dialog.runZoom = [&](TfrmZoom &zoom) {
        zoomRan = true;
        zoom.show();
        QWidget *surface = zoom.pnlClient;
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseMove}) {
            const QPoint at = type == QEvent::MouseMove ? surface->mapFromGlobal(QPoint(0, 0)) : QPoint(5, 5);
            QMouseEvent event(type, QPointF(at), QPointF(surface->mapToGlobal(at)),
                              type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Qt::LeftButton,
                              Qt::NoModifier);
            QApplication::sendEvent(surface, &event);
        }
        magnified = zoom.View().pixelColor(0, 0);
        zoom.done(QDialog::Accepted);
        return int(QDialog::Accepted);
    };
    zoomRan = false;
    dialog.btnZoom->click();
    QVERIFY(zoomRan);
    QCOMPARE(magnified, QColor(9, 8, 7));
    QCOMPARE(prompts.messages(), QStringList{});
    QCOMPARE(leftoverShots(), QStringList{});
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QApplication app(argc, argv);
    TestPortalScreen test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_portal_screen.moc"
