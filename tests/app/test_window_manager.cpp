#include "app/ReelcraftApplication.h"
#include "app/TfrmReelcraft.h"
#include "controls/FormPosition.h"
#include "controls/TfrmSplash.h"
#include "platform/NoHostLink.h"
#include "platform/Registry.h"
#include "platform/RegistryKey.h"
#include "colour/PaletteSources.h"
#include "colour/TfrmColorPicker.h"
#include "zoom/TfrmZoom.h"

#include "HelpViewerDouble.h"
#include "ProcessLauncherDouble.h"
#include "PromptsDouble.h"
#include "ScreenSourceDouble.h"
#include "TestEnvironment.h"

#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <functional>

#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

namespace {
// An X server and openbox of the test's own, so windows are placed, framed and moved by a
// real window manager. Both are ended by their process ids.
class OwnDisplay
{
public:
    bool start()
    {
        m_server.setProgram(u"Xvfb"_s);
        m_server.setArguments({u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s, u"1280x1024x24"_s, u"-nolisten"_s,
                               u"tcp"_s});
        m_server.setStandardErrorFile(QProcess::nullDevice());
        m_server.start();
        if (!m_server.waitForStarted(10000))
            return fail("Xvfb does not start");
        while (!m_server.canReadLine() && m_server.waitForReadyRead(10000)) {
        }
        const QByteArray number = m_server.readLine().trimmed();
        if (number.isEmpty())
            return fail("Xvfb names no display");
        display = ':'_L1 + QString::fromLatin1(number);
        qputenv("DISPLAY", display.toLatin1());

        m_manager.setProgram(u"openbox"_s);
        m_manager.setStandardOutputFile(QProcess::nullDevice());
        m_manager.setStandardErrorFile(QProcess::nullDevice());
        m_manager.start();
        if (!m_manager.waitForStarted(10000))
            return fail("openbox does not start");
        // openbox announces itself on the root window once it manages the screen.
        for (int tries = 0; tries < 400; ++tries) {
            if (rootProperty(u"_NET_SUPPORTING_WM_CHECK"_s).contains(u"window id"_s))
                return true;
            QThread::msleep(50);
        }
        return fail("openbox does not announce itself");
    }

    static bool fail(const char *why)
    {
        qCritical("%s", why);
        return false;
    }

    void stop()
    {
        for (QProcess *process : {&m_manager, &m_server}) {
            if (process->state() == QProcess::NotRunning)
                continue;
            process->terminate();
            if (!process->waitForFinished(5000)) {
                process->kill();
                process->waitForFinished(5000);
            }
        }
    }

    static QString rootProperty(const QString &name)
    {
        QProcess xprop;
        xprop.start(u"xprop"_s, {u"-root"_s, name});
        xprop.waitForFinished(5000);
        return QString::fromLocal8Bit(xprop.readAllStandardOutput());
    }

    QString display;

private:
    QProcess m_server;
    QProcess m_manager;
};

// Where the X server has the window's contents, in screen coordinates.
std::optional<QPoint> serverPosition(const QWidget *window)
{
    QProcess xwininfo;
    xwininfo.start(u"xwininfo"_s, {u"-id"_s, QString::number(window->winId())});
    xwininfo.waitForFinished(5000);
    const QString text = QString::fromLocal8Bit(xwininfo.readAllStandardOutput());
    const QRegularExpression x(u"Absolute upper-left X:\\s+(-?\\d+)"_s);
    const QRegularExpression y(u"Absolute upper-left Y:\\s+(-?\\d+)"_s);
    const QRegularExpressionMatch mx = x.match(text);
    const QRegularExpressionMatch my = y.match(text);
    if (!mx.hasMatch() || !my.hasMatch())
        return std::nullopt;
    return QPoint(mx.captured(1).toInt(), my.captured(1).toInt());
}

// Waits until the window manager has placed the window and Qt agrees with the server, or
// the time is up; gives what the server says then.
QPoint settledPosition(const QWidget *window)
{
    std::optional<QPoint> server;
    for (int tries = 0; tries < 20; ++tries) {
        QTest::qWait(50);
        server = serverPosition(window);
        if (server && *server == window->mapToGlobal(QPoint(0, 0)))
            break;
    }
    return server.value_or(QPoint(-1, -1));
}

} // namespace

// Windows under a real window manager: what Qt believes of their place is where they are,
// and the magnifier's stored place comes back unchanged.
class TestWindowManager : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void mainWindowKnowsWhereItIs();
    void magnifierKeepsItsPlace_data();
    void magnifierKeepsItsPlace();

private:
    std::unique_ptr<Registry> m_registry;
    PromptsDouble m_prompts;
};

void TestWindowManager::init()
{
    const QString folder = TestEnvironment::instance().freshFolder(u"wm"_s);
    m_registry = std::make_unique<Registry>(folder + u"/user.json"_s, folder + u"/machine.json"_s);
    m_prompts.clear();
}

void TestWindowManager::mainWindowKnowsWhereItIs()
{
    NoHostLink host;
    HelpViewerDouble help;
    ProcessLauncherDouble launcher;
    TfrmReelcraft window(AppServices{m_prompts, *m_registry, host, help, launcher, [](TfrmSplash &, int) {}});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QPoint server = settledPosition(&window);
    QCOMPARE(window.mapToGlobal(QPoint(0, 0)), server);
    // A menu opens below its title in the menu bar, wherever the window is.
    QMenu *file = window.menuBar()->actions().constFirst()->menu();
    const QRect title = window.menuBar()->actionGeometry(window.menuBar()->actions().constFirst());
    file->popup(window.menuBar()->mapToGlobal(title.bottomLeft()));
    QVERIFY(QTest::qWaitForWindowExposed(file));
    const QPoint menu = settledPosition(file);
    file->close();
    QCOMPARE(menu, window.menuBar()->mapToGlobal(title.bottomLeft()));
    QVERIFY2((menu - server).manhattanLength() < 200, qPrintable(u"%1,%2"_s.arg(menu.x()).arg(menu.y())));
}

void TestWindowManager::magnifierKeepsItsPlace_data()
{
    QTest::addColumn<QPoint>("stored"); // Left and Top, or none stored
    QTest::newRow("nothing stored: centred") << QPoint(-1, -1);
    QTest::newRow("stored place") << QPoint(300, 200);
    QTest::newRow("top edge") << QPoint(40, 0);
}

void TestWindowManager::magnifierKeepsItsPlace()
{
    QFETCH(QPoint, stored);
    RegistryKey key(*m_registry);
    QVERIFY(key.openKey(ColorPickerKey(), true));
    const QString place = key.absolutePath(FormPositionKey(u"Color Picker Zoom"_s));
    if (stored.x() >= 0) {
        m_registry->writeString(Registry::Root::CurrentUser, place, u"Left"_s, QString::number(stored.x()));
        m_registry->writeString(Registry::Root::CurrentUser, place, u"Top"_s, QString::number(stored.y()));
    }
    // Opened three times from the colour picker, as a person does with its button.
    ScreenSourceDouble screen;
    TfrmColorPicker picker({m_prompts, *m_registry, screen});
    picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picker));
    QList<QPoint> frames;
    QList<QPoint> saved;
    QString mismatch;
    std::function<void(TfrmZoom &)> probe;
    picker.runZoom = [&](TfrmZoom &zoom) {
        // Modal, as the picker runs it; looked at once it is up, then hidden, which ends it.
        QTimer::singleShot(0, &zoom, [&] { probe(zoom); });
        return zoom.exec();
    };
    probe = [&](TfrmZoom &zoom) {
        if (QTest::qWaitForWindowExposed(&zoom)) {
            const QPoint server = settledPosition(&zoom);
            if (zoom.mapToGlobal(QPoint(0, 0)) != server)
                mismatch = u"Qt %1,%2, server %3,%4"_s.arg(zoom.mapToGlobal(QPoint(0, 0)).x())
                               .arg(zoom.mapToGlobal(QPoint(0, 0)).y()).arg(server.x()).arg(server.y());
        }
        frames.append(zoom.frameGeometry().topLeft());
        zoom.hide();
        saved.append(QPoint(m_registry->readString(Registry::Root::CurrentUser, place, u"Left"_s).toInt(),
                            m_registry->readString(Registry::Root::CurrentUser, place, u"Top"_s).toInt()));
    };
    for (int opening = 0; opening < 3; ++opening)
        picker.btnZoomClick();
    QCOMPARE(mismatch, QString());
    const QPoint first = stored.x() >= 0 ? stored : saved.constFirst();
    QCOMPARE(frames, QList<QPoint>(3, first));
    QCOMPARE(saved, QList<QPoint>(3, first));
    // Not stuck to the top edge unless it was put there.
    if (stored.y() != 0)
        QVERIFY(first.y() > 0);
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    // A busy machine may keep openbox from coming up in time: a second try starts afresh.
    OwnDisplay first;
    OwnDisplay second;
    OwnDisplay *display = &first;
    if (!first.start()) {
        first.stop();
        display = &second;
        if (!second.start()) {
            second.stop();
            qCritical("Xvfb with openbox cannot be started");
            return 1;
        }
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    int status = 0;
    {
        ReelcraftApplication app(argc, argv);
        TestWindowManager test;
        status = QTest::qExec(&test, argc, argv);
    }
    display->stop();
    return status;
}

#include "test_window_manager.moc"
