#include "app/ReelcraftApplication.h"
#include "app/TfrmReelcraft.h"
#include "controls/TTarnEdit.h"
#include "controls/TfrmSplash.h"
#include "document/SettingsKey.h"
#include "platform/AppFolders.h"
#include "platform/Registry.h"

#include "HelpViewerDouble.h"
#include "HostLinkDouble.h"
#include "ProcessLauncherDouble.h"
#include "PromptsDouble.h"
#include "TestEnvironment.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTest>

#include <memory>

// What start-up and shutdown of the main window leave behind, in the order they do it.
class TestFormCreate : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void splashOnlyWithoutAHost_data();
    void splashOnlyWithoutAHost();
    void startupWritesAndLoads();
    void shutdownRemovesOnlyTemporaryPages();
    void hostSelectionOpensWhenShown();
    void hostObjectThatCannotBeMadeIsShownAndStartupGoesOn();

private:
    std::unique_ptr<TfrmReelcraft> makeWindow(HostLink &host, int *splashes = nullptr);
    QString m_folder;
    std::unique_ptr<Registry> m_registry;
    PromptsDouble m_prompts;
    HelpViewerDouble m_help;
    ProcessLauncherDouble m_launcher;
};

void TestFormCreate::init()
{
    m_folder = TestEnvironment::instance().freshFolder(QStringLiteral("formcreate"));
    m_registry = std::make_unique<Registry>(m_folder + QStringLiteral("/user.json"), m_folder + QStringLiteral("/machine.json"));
    m_prompts.clear();
}

std::unique_ptr<TfrmReelcraft> TestFormCreate::makeWindow(HostLink &host, int *splashes)
{
    auto wait = [splashes](TfrmSplash &splash, int milliseconds) {
        QCOMPARE(milliseconds, 2001);
        QVERIFY(splash.isVisible());
        if (splashes)
            ++*splashes;
    };
    return std::make_unique<TfrmReelcraft>(AppServices{m_prompts, *m_registry, host, m_help, m_launcher, wait});
}

void TestFormCreate::splashOnlyWithoutAHost_data()
{
    QTest::addColumn<bool>("hostRunning");
    QTest::addColumn<int>("splashes");
    QTest::addColumn<bool>("objectCreated");
    QTest::newRow("no host") << false << 1 << false;
    QTest::newRow("host running") << true << 0 << true;
}

void TestFormCreate::splashOnlyWithoutAHost()
{
    QFETCH(bool, hostRunning);
    QFETCH(int, splashes);
    QFETCH(bool, objectCreated);
    HostLinkDouble host;
    host.probeResult = hostRunning;
    int shown = 0;
    auto window = makeWindow(host, &shown);
    QCOMPARE(shown, splashes);
    QCOMPARE(window->host().HostLinked(), hostRunning);
    QCOMPARE(host.hasObject(), objectCreated);
    QVERIFY(window->initialised());
}

void TestFormCreate::startupWritesAndLoads()
{
    const QString key = SettingsKey;
    const QString recent = key + QStringLiteral("\\Recent Files");
    m_registry->writeString(Registry::Root::CurrentUser, recent, QStringLiteral("/work/first.rcf"), QString());
    m_registry->writeString(Registry::Root::CurrentUser, recent, QStringLiteral("/work/second.rcf"), QString());
    QFile::remove(ProgramFolder() + QStringLiteral("/classes/quilanim.class"));

    HostLinkDouble host;
    host.probeResult = false;
    auto window = makeWindow(host);

    QCOMPARE(m_registry->readString(Registry::Root::CurrentUser, key, QStringLiteral("Picture Extension")),
             QStringLiteral("*.gif;*.jpg"));
    QVERIFY(QFile::exists(ProgramFolder() + QStringLiteral("/classes/quilanim.class")));
    QVERIFY(QFile::exists(ProgramFolder() + QStringLiteral("/classes/WrappingLabel.class")));
    QVERIFY(QFile::exists(ProgramFolder() + QStringLiteral("/help/reelcraft.html")));
    QCOMPARE(window->windowTitle(), QStringLiteral("Java Reelcraft 1.7"));
    // The first name read ends on top of the File menu's list.
    QStringList captions;
    for (QAction *item : window->recentFiles().items())
        captions.append(item->text());
    QCOMPARE(captions, (QStringList{QStringLiteral("&1 /work/first.rcf"), QStringLiteral("&2 /work/second.rcf")}));
    QVERIFY(window->recentFiles().firstSeparator()->isVisible());
    // Outside host mode nothing was asked of the editor.
    QVERIFY(host.methods().isEmpty() || host.methods() == QStringList{QStringLiteral("probe")});

    // Shutdown saves the list, newest first.
    window->recentFiles().AddRecentFile(QStringLiteral("/work/third.rcf"));
    window.reset();
    QCOMPARE(m_registry->valueNames(Registry::Root::CurrentUser, recent),
             (QStringList{QStringLiteral("/work/third.rcf"), QStringLiteral("/work/first.rcf"),
                          QStringLiteral("/work/second.rcf")}));
}

void TestFormCreate::shutdownRemovesOnlyTemporaryPages()
{
    const QString temp = GetTempFolder();
    QDir().mkpath(temp + QStringLiteral("inner"));
    const QStringList removed = {QStringLiteral("~sj1.htm"), QStringLiteral("~sjA.htm")};
    const QStringList kept = {QStringLiteral("~sj1.txt"), QStringLiteral("sj2.htm"), QStringLiteral("inner/~sj3.htm")};
    for (const QString &name : removed + kept) {
        QFile file(temp + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    HostLinkDouble host;
    host.probeResult = false;
    auto window = makeWindow(host);
    window.reset();
    for (const QString &name : removed)
        QVERIFY2(!QFile::exists(temp + name), qPrintable(name));
    for (const QString &name : kept)
        QVERIFY2(QFile::exists(temp + name), qPrintable(name));
}

void TestFormCreate::hostSelectionOpensWhenShown()
{
    const QString pictures = TestEnvironment::instance().freshFolder(QStringLiteral("host-pictures"));
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(pictures + QStringLiteral("/a.jpg")));

    HostLinkDouble host;
    host.probeResult = true;
    host.openDocAnswer = QStringLiteral("true");
    host.documentName = pictures + QStringLiteral("/page.htm");
    host.selectedText = QStringLiteral("<applet code=\"quilanim\" width=120 height=90>\r\n"
                                       "<param name=\"imagelist\" value=\"a.jpg\">\r\n"
                                       "<param name=\"pause\" value=\"250\">\r\n</applet>");
    auto window = makeWindow(host);
    QCOMPARE(window->document().frameCount(), 0);
    window->show();
    QTRY_COMPARE(window->document().frameCount(), 1);
    QCOMPARE(window->document().frame(0).PicturePath, pictures + QStringLiteral("/a.jpg"));
    QCOMPARE(window->document().text(TextSetting::JavaWidth), QStringLiteral("120"));
    QCOMPARE(window->txtBetweenFrames->text(), QStringLiteral("250"));
    QVERIFY(host.methods().contains(QStringLiteral("getseltext")));
}

void TestFormCreate::hostObjectThatCannotBeMadeIsShownAndStartupGoesOn()
{
    auto *app = qobject_cast<ReelcraftApplication *>(QCoreApplication::instance());
    QVERIFY(app);
    QStringList shown;
    app->setErrorSink([&shown](const QString &message) { shown.append(message); });
    HostLinkDouble host;
    host.probeResult = true;
    host.createObjectThrows = true;
    auto window = makeWindow(host);
    app->setErrorSink({});

    // The application's handler showed the error once; the program runs on its own.
    QCOMPARE(shown, QStringList{QStringLiteral("Cannot create the automation object Quillon4.Plugin")});
    QVERIFY(window->initialised());
    QVERIFY(!window->host().HostLinked());
    window->show();
    QTest::qWait(50);
    QVERIFY(!host.methods().contains(QStringLiteral("getseltext")));
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    ReelcraftApplication app(argc, argv);
    TestFormCreate test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_form_create.moc"
