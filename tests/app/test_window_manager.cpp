#include "app/ReelcraftApplication.h"
#include "app/TfrmReelcraft.h"
#include "colour/TfrmColorPicker.h"
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

} // namespace

// Windows under a real window manager: where Qt and the X server say they are.
class TestWindowManager : public QObject
{
    Q_OBJECT
private slots:
    void mainWindowKnowsWhereItIs();
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
    QCOMPARE(window.mapToGlobal(QPoint(0, 0)), server); // and a person sees it in the middle:
    QCOMPARE(QRect(server, window.size()).center(), window.screen()->availableGeometry().center());
}

void TestWindowManager::magnifierKeepsItsPlace()
{
    const QString folder = TestEnvironment::instance().freshFolder(u"wm"_s);
    Registry registry(folder + u"/user.json"_s, folder + u"/machine.json"_s);
    RegistryKey key(registry);
    QVERIFY(key.openKey(u"\\Software\\Tarnwick\\Color Picker\\Form Positions\\Color Picker Zoom"_s, true));
    PromptsDouble prompts;
    ScreenSourceDouble screen;
    TfrmColorPicker picker({prompts, registry, screen});
    picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picker));
    // Opened and closed with Esc; before the third opening another run stores another place.
    const QList<QPoint> places{{300, 200}, {300, 200}, {500, 400}, {500, 400}};
    QList<QPoint> saved;
    for (int opening = 0; opening < places.size(); ++opening) {
        if (opening % 2 == 0) {
            key.writeString(u"Left"_s, QString::number(places[opening].x()));
            key.writeString(u"Top"_s, QString::number(places[opening].y()));
        }
        QTimer::singleShot(0, &picker, [&] {
            QWidget *keys = QTest::qWaitForWindowActive(picker.Zoom()) ? QApplication::focusWidget() : nullptr;
            keys && keys->window() == picker.Zoom() ? QTest::keyClick(keys, Qt::Key_Escape) : void(picker.Zoom()->close());
        });
        picker.btnZoomClick();
        saved.append({key.readString(u"Left"_s).toInt(), key.readString(u"Top"_s).toInt()});
    }
    QCOMPARE(saved, places);
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
