#include "app/ReelcraftApplication.h"
#include "app/TfrmReelcraft.h"
#include "colour/PaletteSources.h"
#include "colour/TfrmColorPicker.h"
#include "controls/FormPosition.h"
#include "controls/TfrmSplash.h"
#include "platform/NoHostLink.h"
#include "platform/Registry.h"
#include "platform/RegistryKey.h"
#include "zoom/TfrmZoom.h"

#include "HelpViewerDouble.h"
#include "ProcessLauncherDouble.h"
#include "PromptsDouble.h"
#include "ScreenSourceDouble.h"
#include "TestEnvironment.h"

#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(5000);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// An X server and openbox of the test's own, both ended by their process ids.
struct OwnDisplay
{
    QProcess server, manager;

    bool start()
    {
        server.start(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s, u"1280x1024x24"_s, u"-nolisten"_s, u"tcp"_s});
        while (server.waitForReadyRead(10000) && !server.canReadLine()) {
        }
        const QByteArray number = server.readLine().trimmed();
        if (number.isEmpty())
            return false;
        qputenv("DISPLAY", ':' + number);
        manager.setStandardOutputFile(QProcess::nullDevice());
        manager.setStandardErrorFile(QProcess::nullDevice());
        // A busy machine now and then keeps openbox from coming up: a second one is started.
        for (int attempt = 0; attempt < 2; ++attempt, manager.kill(), manager.waitForFinished(5000)) {
            manager.start(u"openbox"_s, {});
            for (int tries = 0; tries < 200; ++tries, QThread::msleep(50))
                if (run(u"xprop"_s, {u"-root"_s, u"_NET_SUPPORTING_WM_CHECK"_s}).contains(u"window id"_s))
                    return true;
        }
        return false;
    }

    void stop()
    {
        for (QProcess *process : {&manager, &server}) {
            process->terminate();
            if (!process->waitForFinished(5000))
                process->kill();
            process->waitForFinished(5000);
        }
    }
};

// Where the X server has the window's contents, once Qt agrees or a second is up.
QPoint serverPosition(const QWidget *window)
{
    static const QRegularExpression corner(u"Absolute upper-left X:\\s+(-?\\d+)\\s+Absolute upper-left Y:\\s+(-?\\d+)"_s);
    QPoint server(-1, -1);
    for (int tries = 0; tries < 20 && server != window->mapToGlobal(QPoint(0, 0)); ++tries) {
        QTest::qWait(50);
        const QRegularExpressionMatch m = corner.match(run(u"xwininfo"_s, {u"-id"_s, QString::number(window->winId())}));
        server = m.hasMatch() ? QPoint(m.captured(1).toInt(), m.captured(2).toInt()) : QPoint(-1, -1);
    }
    return server;
}

// Where the X server has the window manager's frame around the window: its contents less
// the frame's left and top extents.
QPoint serverFrame(const QWidget *window)
{
    static const QRegularExpression extents(u"= (\\d+), \\d+, (\\d+), \\d+"_s);
    QRegularExpressionMatch m;
    for (int tries = 0; tries < 20 && !m.hasMatch(); ++tries, QTest::qWait(50))
        m = extents.match(run(u"xprop"_s, {u"-id"_s, QString::number(window->winId()), u"_NET_FRAME_EXTENTS"_s}));
    const QPoint frame = m.hasMatch() ? QPoint(m.captured(1).toInt(), m.captured(2).toInt()) : QPoint(-1000, -1000);
    return serverPosition(window) - frame;
}

} // namespace

// Windows under a real window manager: the frameless main window knows where it is, and the
// magnifier opens where it was stored.
class TestWindowManager : public QObject
{
    Q_OBJECT
private slots:
    void mainWindowKnowsWhereItIs();
    void magnifierKeepsItsPlace_data();
    void magnifierKeepsItsPlace();
};

void TestWindowManager::mainWindowKnowsWhereItIs()
{
    const QString folder = TestEnvironment::instance().freshFolder(u"wm"_s);
    Registry registry(folder + u"/user.json"_s, folder + u"/machine.json"_s);
    PromptsDouble prompts;
    NoHostLink host;
    HelpViewerDouble help;
    ProcessLauncherDouble launcher;
    TfrmReelcraft window(AppServices{prompts, registry, host, help, launcher, [](TfrmSplash &, int) {}});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QPoint server = serverPosition(&window);
    QCOMPARE(window.mapToGlobal(QPoint(0, 0)), server);
    // Where a person sees it: in the middle of the screen.
    QRect centred(QPoint(), window.size());
    centred.moveCenter(window.screen()->availableGeometry().center());
    QCOMPARE(server, centred.topLeft());
}

void TestWindowManager::magnifierKeepsItsPlace_data()
{
    QTest::addColumn<QPoint>("first");  // Left and Top stored before the first opening
    QTest::addColumn<QPoint>("second"); // stored before the third opening, as by another run
    QTest::newRow("stored place") << QPoint(300, 200) << QPoint(300, 200);
    QTest::newRow("top edge, then elsewhere") << QPoint(40, 0) << QPoint(500, 400);
}

void TestWindowManager::magnifierKeepsItsPlace()
{
    QFETCH(QPoint, first);
    QFETCH(QPoint, second);
    const QString folder = TestEnvironment::instance().freshFolder(u"wm"_s);
    Registry registry(folder + u"/user.json"_s, folder + u"/machine.json"_s);
    RegistryKey key(registry);
    QVERIFY(key.openKey(ColorPickerKey(), true));
    const QString place = key.absolutePath(FormPositionKey(u"Color Picker Zoom"_s));
    const auto store = [&](QPoint at) {
        registry.writeString(Registry::Root::CurrentUser, place, u"Left"_s, QString::number(at.x()));
        registry.writeString(Registry::Root::CurrentUser, place, u"Top"_s, QString::number(at.y()));
    };
    PromptsDouble prompts;
    ScreenSourceDouble screen;
    TfrmColorPicker picker({prompts, registry, screen});
    picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picker));
    store(first);
    // Opened with its button and closed with Esc, four times; where its frame is and what it
    // stores each time.
    QList<QPoint> frames, saved;
    for (int opening = 0; opening < 4; ++opening) {
        if (opening == 2)
            store(second);
        QTimer::singleShot(0, &picker, [&] {
            TfrmZoom *zoom = picker.Zoom();
            if (QTest::qWaitForWindowActive(zoom))
                frames.append(serverFrame(zoom));
            if (QApplication::focusWidget() && QApplication::focusWidget()->window() == zoom)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            else
                zoom->close(); // the lists then differ
        });
        QTest::mouseClick(picker.btnZoom, Qt::LeftButton);
        saved.append(QPoint(registry.readString(Registry::Root::CurrentUser, place, u"Left"_s).toInt(),
                            registry.readString(Registry::Root::CurrentUser, place, u"Top"_s).toInt()));
    }
    const QList<QPoint> expected{first, first, second, second};
    QCOMPARE(frames, expected);
    QCOMPARE(saved, expected);
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    OwnDisplay display;
    if (!display.start()) {
        display.stop();
        qCritical("Xvfb with openbox cannot be started");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    int status = 0;
    {
        ReelcraftApplication app(argc, argv);
        TestWindowManager test;
        status = QTest::qExec(&test, argc, argv);
    }
    display.stop();
    return status;
}

#include "test_window_manager.moc"
