#include "integration/BrowserList.h"
#include "platform/EError.h"
#include "platform/QtProcessLauncher.h"

#include "BrowserFixture.h"
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QTest>

#include <cerrno>

using namespace Qt::StringLiterals;

namespace {

const QString ExplorerKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE"_s;
const QString NetscapeKey = u"\\Software\\Netscape\\Netscape Navigator\\Main"_s;

QString entryKey(const QString &browser)
{
    return BrowserList::DefaultRegPath + '\\'_L1 + browser;
}

// A browser entry whose program is a real file.
QString addBrowser(BrowserFixture &f, const QString &name)
{
    const QString program = BrowserFixture::makeFile(f.folder + u"/programs/"_s + name, "#!/bin/sh\n", true);
    f.registry.writeString(Registry::Root::CurrentUser, entryKey(name), u"EXE Name"_s, program);
    f.registry.writeString(Registry::Root::CurrentUser, entryKey(name), u"DDE Name"_s, name.toUpper());
    return program;
}

QStringList startsOf(const ProcessLauncherDouble &launcher)
{
    QStringList lines;
    for (const ProcessLauncherDouble::Start &start : launcher.starts)
        lines.append((QStringList{start.program} + start.arguments).join('|'_L1));
    return lines;
}

} // namespace

class TestBrowserLaunch : public QObject
{
    Q_OBJECT
private slots:
    void openChosenBrowser_data();
    void openChosenBrowser();
    void openURLFindsBrowsers_data();
    void openURLFindsBrowsers();
    void missingProgramFailsQuietly();
    void startFailures_data();
    void startFailures();
    void blanksRetried_data();
    void blanksRetried();
    void secondFailureIsNotCaught();
    void fileQuestion_data();
    void fileQuestion();
    void realLauncher_data();
    void realLauncher();
    void notAProgramThroughTheRealLauncher();
    void browserThatEndsAtOnceIsReported();
    void classify_data();
    void classify();
};

void TestBrowserLaunch::openChosenBrowser_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("path") << u"/tmp/preview/~jvprev.htm"_s << QStringList{u"/tmp/preview/~jvprev.htm"_s};
    QTest::newRow("blanks kept") << u"/tmp/my pages/p.htm"_s << QStringList{u"/tmp/my pages/p.htm"_s};
    QTest::newRow("quoted url") << u"\"/tmp/p.htm\""_s << QStringList{u"/tmp/p.htm"_s};
    QTest::newRow("empty url: the program alone") << QString() << QStringList();
    QTest::newRow("a lone quote") << u"\""_s << QStringList();
}

void TestBrowserLaunch::openChosenBrowser()
{
    QFETCH(QString, url);
    QFETCH(QStringList, arguments);
    BrowserFixture f;
    f.list.SetRegPath(BrowserList::DefaultRegPath);
    const QString program = addBrowser(f, u"Lynx"_s);
    f.list.SetService(u"Lynx"_s);
    QVERIFY(f.list.OpenURL(url));
    QCOMPARE(f.launcher.starts.size(), 1);
    QCOMPARE(f.launcher.starts[0].program, program);
    QCOMPARE(f.launcher.starts[0].arguments, arguments);
    QVERIFY(f.prompts.shown.isEmpty());
    QCOMPARE(f.list.Service(), u"Lynx"_s);
}

void TestBrowserLaunch::openURLFindsBrowsers_data()
{
    QTest::addColumn<bool>("netscape");
    QTest::addColumn<bool>("explorer");
    QTest::addColumn<bool>("firefox");
    QTest::addColumn<QString>("defaultDde");
    QTest::addColumn<QString>("launched"); // "netscape", "explorer", "firefox"

    QTest::newRow("both: Netscape found last") << true << true << false << u"NETSCAPE"_s << u"netscape"_s;
    QTest::newRow("Internet Explorer only") << false << true << false << u"IEXPLORE"_s << u"explorer"_s;
    QTest::newRow("Firefox only") << false << false << true << u"FIREFOX"_s << u"firefox"_s;
    QTest::newRow("Firefox and Netscape") << true << false << true << u"NETSCAPE"_s << u"netscape"_s;
}

void TestBrowserLaunch::openURLFindsBrowsers()
{
    QFETCH(bool, netscape);
    QFETCH(bool, explorer);
    QFETCH(bool, firefox);
    QFETCH(QString, defaultDde);
    QFETCH(QString, launched);
    BrowserFixture f;
    QMap<QString, QString> programs;
    if (netscape) {
        const QString folder = f.folder + u"/Netscape"_s;
        programs[u"netscape"_s] = BrowserFixture::makeFile(folder + u"/netscape.exe"_s, "#!/bin/sh\n", true);
        f.registry.writeString(Registry::Root::CurrentUser, NetscapeKey, u"Install Directory"_s, folder);
    }
    if (explorer) {
        programs[u"explorer"_s] = BrowserFixture::makeFile(f.folder + u"/IE/iexplore.exe"_s, "#!/bin/sh\n", true);
        BrowserFixture::writeMachineValue(f.folder, ExplorerKey, QString(), programs[u"explorer"_s]);
    }
    if (firefox)
        programs[u"firefox"_s] = f.addToPath(u"firefox"_s);
    f.list.FindBrowsersOnCreate = false;
    f.list.SetRegPath(BrowserList::DefaultRegPath);
    f.list.Loaded();
    QCOMPARE(f.browsers(), QStringList());

    QVERIFY(f.list.OpenURL(u"/tmp/p.htm"_s));
    QCOMPARE(f.listValue(u"Default DDE Name"_s), defaultDde);
    QCOMPARE(f.list.Service(), defaultDde);
    QCOMPARE(startsOf(f.launcher), QStringList{programs[launched] + u"|/tmp/p.htm"_s});
    QVERIFY(f.prompts.shown.isEmpty());
}

void TestBrowserLaunch::missingProgramFailsQuietly()
{
    BrowserFixture f;
    f.list.SetRegPath(BrowserList::DefaultRegPath);
    f.registry.writeString(Registry::Root::CurrentUser, entryKey(u"Gone"_s), u"EXE Name"_s,
                           f.folder + u"/no/such/browser"_s);
    f.list.SetService(u"Gone"_s);
    QVERIFY(!f.list.OpenURL(u"/tmp/p.htm"_s));
    QVERIFY(f.prompts.shown.isEmpty());
    QVERIFY(f.launcher.starts.isEmpty());
}

void TestBrowserLaunch::startFailures_data()
{
    QTest::addColumn<int>("failure");
    QTest::addColumn<int>("systemError");
    QTest::addColumn<QString>("message"); // %1 stands for the program
    using F = ProcessLauncher::Failure;
    QTest::newRow("started") << int(F::None) << 0 << QString();
    QTest::newRow("code 0") << int(F::NoResources) << EAGAIN << u"Not enough system resources to run %1"_s;
    QTest::newRow("code 2") << int(F::FileNotFound) << ENOENT << u"File not found: %1"_s;
    QTest::newRow("code 3") << int(F::PathNotFound) << ENOENT << u"Path not found for program %1"_s;
    QTest::newRow("code 11") << int(F::NotExecutable) << ENOEXEC << u"The file %1 cannot be executed."_s;
    QTest::newRow("unknown") << int(F::Other) << EIO
                             << u"An unknown error (%2 prevented the program \"%1\" from being run."_s;
}

void TestBrowserLaunch::startFailures()
{
    QFETCH(int, failure);
    QFETCH(int, systemError);
    QFETCH(QString, message);
    BrowserFixture f;
    f.list.SetRegPath(BrowserList::DefaultRegPath);
    const QString program = addBrowser(f, u"Lynx"_s);
    f.list.SetService(u"Lynx"_s);
    if (failure != int(ProcessLauncher::Failure::None))
        f.launcher.failWith(ProcessLauncher::Failure(failure), systemError);
    const bool opened = f.list.OpenURL(u"/tmp/p.htm"_s);
    QCOMPARE(opened, message.isEmpty());
    const QStringList expected =
        message.isEmpty() ? QStringList() : QStringList{message.arg(program).replace(u"%2"_s, QString::number(systemError))};
    QCOMPARE(f.prompts.messages(), expected);
    // A failed start is reported, not retried.
    QCOMPARE(f.launcher.starts.size(), 1);
}

void TestBrowserLaunch::blanksRetried_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<int>("retryFailure");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("opened");
    using F = ProcessLauncher::Failure;
    QTest::newRow("blanks become %20") << u"/tmp/my page one.htm"_s << int(F::None)
                                       << QStringList{u"/tmp/my page one.htm"_s, u"/tmp/my%20page%20one.htm"_s}
                                       << true;
    QTest::newRow("no blanks: the same url again") << u"/tmp/p.htm"_s << int(F::None)
                                                   << QStringList{u"/tmp/p.htm"_s, u"/tmp/p.htm"_s} << true;
    QTest::newRow("the retry fails to start") << u"/tmp/a b.htm"_s << int(F::NotExecutable)
                                              << QStringList{u"/tmp/a b.htm"_s, u"/tmp/a%20b.htm"_s} << false;
}

void TestBrowserLaunch::blanksRetried()
{
    QFETCH(QString, url);
    QFETCH(int, retryFailure);
    QFETCH(QStringList, arguments);
    QFETCH(bool, opened);
    BrowserFixture f;
    f.list.SetRegPath(BrowserList::DefaultRegPath);
    addBrowser(f, u"Lynx"_s);
    f.list.SetService(u"Lynx"_s);
    f.launcher.throwOnce();
    if (retryFailure != int(ProcessLauncher::Failure::None))
        f.launcher.failWith(ProcessLauncher::Failure(retryFailure));
    QCOMPARE(f.list.OpenURL(url), opened);
    QStringList got;
    for (const ProcessLauncherDouble::Start &start : std::as_const(f.launcher.starts))
        got += start.arguments;
    QCOMPARE(got, arguments);
    QCOMPARE(f.prompts.messages().size(), opened ? 0 : 1);
}

void TestBrowserLaunch::secondFailureIsNotCaught()
{
    BrowserFixture f;
    f.list.SetRegPath(BrowserList::DefaultRegPath);
    addBrowser(f, u"Lynx"_s);
    f.list.SetService(u"Lynx"_s);
    f.launcher.throwOnce(u"first"_s);
    f.launcher.throwOnce(u"second"_s);
    try {
        f.list.OpenURL(u"/tmp/a b.htm"_s);
        QFAIL("the second error must reach the caller");
    } catch (const EError &error) {
        QCOMPARE(error.message(), u"second"_s);
    }
    QCOMPARE(f.launcher.starts.size(), 2);
}

void TestBrowserLaunch::fileQuestion_data()
{
    QTest::addColumn<QString>("service");
    QTest::addColumn<int>("answer"); // 0 cancel, 1 an existing program, 2 a file that is not there
    QTest::addColumn<bool>("opened");
    QTest::addColumn<QString>("entry"); // where the choice is written
    QTest::newRow("chosen") << u"Mosaic"_s << 1 << true << u"Mosaic"_s;
    QTest::newRow("cancelled") << u"Mosaic"_s << 0 << false << QString();
    QTest::newRow("chosen file missing") << u"Mosaic"_s << 2 << false << u"Mosaic"_s;
    QTest::newRow("an entry without a program") << u"Empty"_s << 1 << true << u"Empty"_s;
}

void TestBrowserLaunch::fileQuestion()
{
    QFETCH(QString, service);
    QFETCH(int, answer);
    QFETCH(bool, opened);
    QFETCH(QString, entry);
    BrowserFixture f;
    f.list.SetRegPath(BrowserList::DefaultRegPath);
    f.registry.writeString(Registry::Root::CurrentUser, entryKey(u"Empty"_s), u"Created"_s, u"Manually"_s);
    const QString program = BrowserFixture::makeFile(f.folder + u"/chosen/mosaic"_s, "#!/bin/sh\n", true);
    const QString chosen = answer == 1 ? program : f.folder + u"/chosen/missing"_s;
    if (answer != 0)
        f.prompts.answers.enqueue(chosen);
    f.list.SetService(service);

    QCOMPARE(f.list.RunBrowserExe(u"/tmp/p.htm"_s), opened);
    QCOMPARE(f.prompts.shown.size(), 1);
    const PromptsDouble::Shown &question = f.prompts.shown[0];
    QCOMPARE(question.what, u"openFile"_s);
    QCOMPARE(question.text, u"Please indicate where the browser called \""_s + service + u"\" is located."_s);
    QCOMPARE(question.dialog.filter, u"All Files (*)"_s);
    QCOMPARE(question.dialog.fileName, QString());
    if (entry.isEmpty()) {
        QVERIFY(!f.registry.keyExists(Registry::Root::CurrentUser, entryKey(service)));
    } else {
        QCOMPARE(f.value(entry, u"EXE Name"_s), chosen);
        QCOMPARE(f.value(entry, u"DDE Name"_s), service);
    }
    QCOMPARE(startsOf(f.launcher), opened ? QStringList{program + u"|/tmp/p.htm"_s} : QStringList());
}

void TestBrowserLaunch::realLauncher_data()
{
    QTest::addColumn<QString>("program"); // below the test folder
    QTest::addColumn<int>("failure");
    using F = ProcessLauncher::Failure;
    QTest::newRow("a program") << u"good"_s << int(F::None);
    QTest::newRow("file missing") << u"missing"_s << int(F::FileNotFound);
    QTest::newRow("folder missing") << u"nofolder/missing"_s << int(F::PathNotFound);
    QTest::newRow("folder is a file") << u"plain/missing"_s << int(F::PathNotFound);
    QTest::newRow("text with execute permission") << u"text"_s << int(F::NotExecutable);
    QTest::newRow("no execute permission") << u"plain"_s << int(F::NotExecutable);
    QTest::newRow("a folder") << u"folder"_s << int(F::NotExecutable);
}

void TestBrowserLaunch::realLauncher()
{
    QFETCH(QString, program);
    QFETCH(int, failure);
    const QString folder = TestEnvironment::instance().freshFolder(u"launch"_s);
    BrowserFixture::makeFile(folder + u"/good"_s, "#!/bin/sh\nexit 0\n", true);
    BrowserFixture::makeFile(folder + u"/text"_s, "just some text, no interpreter line\n", true);
    BrowserFixture::makeFile(folder + u"/plain"_s, "#!/bin/sh\nexit 0\n", false);
    QDir().mkpath(folder + u"/folder"_s);

    QtProcessLauncher launcher;
    const ProcessLauncher::Result result = launcher.start(folder + '/'_L1 + program, {u"/tmp/p.htm"_s});
    QCOMPARE(int(result.failure), failure);
    QCOMPARE(result.started(), failure == int(ProcessLauncher::Failure::None));
}

void TestBrowserLaunch::notAProgramThroughTheRealLauncher()
{
    BrowserFixture f;
    const QString text = BrowserFixture::makeFile(f.folder + u"/browser.txt"_s, "not a program\n", true);
    QtProcessLauncher realLauncher;
    BrowserList list({f.registry, f.prompts, realLauncher, f.session});
    list.SetRegPath(BrowserList::DefaultRegPath);
    f.registry.writeString(Registry::Root::CurrentUser, entryKey(u"Text"_s), u"EXE Name"_s, text);
    list.SetService(u"Text"_s);
    QVERIFY(!list.OpenURL(u"/tmp/p.htm"_s));
    QCOMPARE(f.prompts.messages(), QStringList{u"The file "_s + text + u" cannot be executed."_s});
}

void TestBrowserLaunch::browserThatEndsAtOnceIsReported()
{
    BrowserFixture f;
    const QString program = BrowserFixture::makeFile(f.folder + u"/chromium"_s, "#!/bin/sh\nexit 21\n", true);
    QtProcessLauncher realLauncher;
    BrowserList list({f.registry, f.prompts, realLauncher, f.session});
    list.SetRegPath(BrowserList::DefaultRegPath);
    f.registry.writeString(Registry::Root::CurrentUser, entryKey(u"Chromium"_s), u"EXE Name"_s, program);
    list.SetService(u"Chromium"_s);
    QVERIFY(list.OpenURL(u"/tmp/p.htm"_s));
    QTRY_COMPARE(f.prompts.messages(), QStringList{u"The browser Chromium ended at once (exit status 21)."_s});
    BrowserFixture::makeFile(program, "#!/bin/sh\n/bin/sleep 4\nexit 3\n", true); // too late to tell
    QVERIFY(list.OpenURL(u"/tmp/p.htm"_s));
    QTest::qWait(ProcessLauncher::EarlyExitMilliseconds + 1500);
    QCOMPARE(f.prompts.messages(), QStringList{u"The browser Chromium ended at once (exit status 21)."_s});
}

void TestBrowserLaunch::classify_data()
{
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("program");
    QTest::addColumn<int>("failure");
    QTest::addColumn<int>("systemError");
    using F = ProcessLauncher::Failure;
    const QString tmp = QDir::tempPath();
    QTest::newRow("fork") << u"fork: "_s + qt_error_string(EAGAIN) << tmp + u"/x"_s << int(F::NoResources) << EAGAIN;
    QTest::newRow("pipe") << u"pipe: "_s + qt_error_string(EMFILE) << tmp + u"/x"_s << int(F::NoResources) << EMFILE;
    QTest::newRow("out of memory") << u"execv: "_s + qt_error_string(ENOMEM) << tmp + u"/x"_s << int(F::NoResources)
                                   << ENOMEM;
    QTest::newRow("missing file") << u"execv: "_s + qt_error_string(ENOENT) << tmp + u"/x"_s << int(F::FileNotFound)
                                  << ENOENT;
    QTest::newRow("missing folder") << u"execv: "_s + qt_error_string(ENOENT) << u"/no/such/folder/x"_s
                                    << int(F::PathNotFound) << ENOENT;
    QTest::newRow("permission") << u"execv: "_s + qt_error_string(EACCES) << tmp + u"/x"_s << int(F::NotExecutable)
                                << EACCES;
    QTest::newRow("format") << u"execv: "_s + qt_error_string(ENOEXEC) << tmp + u"/x"_s << int(F::NotExecutable)
                            << ENOEXEC;
    QTest::newRow("other") << u"execv: "_s + qt_error_string(EIO) << tmp + u"/x"_s << int(F::Other) << EIO;
    QTest::newRow("unreadable text") << u"something odd"_s << tmp + u"/x"_s << int(F::Other) << 0;
}

void TestBrowserLaunch::classify()
{
    QFETCH(QString, error);
    QFETCH(QString, program);
    QFETCH(int, failure);
    QFETCH(int, systemError);
    const ProcessLauncher::Result result = QtProcessLauncher::classify(error, program);
    QCOMPARE(int(result.failure), failure);
    QCOMPARE(result.systemError, systemError);
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QCoreApplication app(argc, argv);
    TestBrowserLaunch test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_browser_launch.moc"
