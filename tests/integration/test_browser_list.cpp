#include "integration/BrowserList.h"
#include "platform/RegistryKey.h"

#include "BrowserFixture.h"
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString NetscapeKey = u"\\Software\\Netscape\\Netscape Navigator\\Main"_s;
const QString ExplorerKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE"_s;
const QChar RS(0x1E);

QString replaceQuestionText(const QString &oldPath, const QString &newPath)
{
    return u"AutoFind has located a registered browser that you have not included in your list.\r\n\r\n"
           "Would you like to replace the reference to "_s
        + oldPath + u" with "_s + newPath + u" ?"_s;
}

// "Name|EXE Name|DDE Name|Created" for every browser in the list, sorted.
QStringList describe(const BrowserFixture &f)
{
    QStringList lines;
    for (const QString &browser : f.browsers())
        lines.append(browser + '|'_L1 + f.value(browser, u"EXE Name"_s) + '|'_L1 + f.value(browser, u"DDE Name"_s)
                     + '|'_L1 + f.value(browser, u"Created"_s));
    lines.sort();
    return lines;
}

// Lays out Netscape and Internet Explorer as a Windows machine would have registered them.
enum Netscape { NoNetscape, NetscapeKeyOnly, NetscapeFolderMissing, NetscapeDirect, NetscapeInProgram, NetscapeBoth };
enum Explorer { NoExplorer, ExplorerFileMissing, ExplorerPresent };

struct Installed
{
    QString netscape;
    QString explorer;
};

Installed install(BrowserFixture &f, Netscape netscape, Explorer explorer)
{
    Installed paths;
    const QString netscapeFolder = f.folder + u"/Netscape/Communicator"_s;
    if (netscape != NoNetscape) {
        f.registry.writeString(Registry::Root::CurrentUser, NetscapeKey, u"Install Directory"_s,
                               netscape == NetscapeKeyOnly ? QString() : netscapeFolder);
    }
    if (netscape == NetscapeDirect || netscape == NetscapeBoth)
        paths.netscape = BrowserFixture::makeFile(netscapeFolder + u"/netscape.exe"_s, "MZ", true);
    if (netscape == NetscapeInProgram || netscape == NetscapeBoth) {
        const QString inProgram =
            BrowserFixture::makeFile(netscapeFolder + u"/Program/netscape.exe"_s, "MZ", true);
        if (paths.netscape.isEmpty())
            paths.netscape = inProgram;
    }
    if (explorer != NoExplorer) {
        const QString program = f.folder + u"/Internet Explorer/iexplore.exe"_s;
        if (explorer == ExplorerPresent)
            BrowserFixture::makeFile(program, "MZ", true);
        BrowserFixture::writeMachineValue(f.folder, ExplorerKey, QString(), program);
        if (explorer == ExplorerPresent)
            paths.explorer = program;
    }
    return paths;
}

} // namespace

class TestBrowserList : public QObject
{
    Q_OBJECT
private slots:
    void firstStartWithNoBrowser();
    void regPath_data();
    void regPath();
    void loadedWithoutRegPath();
    void service_data();
    void service();
    void platformBrowsers_data();
    void platformBrowsers();
    void netscapeAndExplorer_data();
    void netscapeAndExplorer();
    void replaceQuestion_data();
    void replaceQuestion();
    void autoFindSkipsKnownBrowsers_data();
    void autoFindSkipsKnownBrowsers();
    void localMenu();
    void hostList_data();
    void hostList();
    void hostMenuEntry_data();
    void hostMenuEntry();
    void hostNoLongerRunning();
};

void TestBrowserList::firstStartWithNoBrowser()
{
    BrowserFixture f;
    QVERIFY(f.list.FindBrowsersOnCreate);
    f.list.SetRegPath(BrowserList::DefaultRegPath);
    f.list.Loaded();
    QCOMPARE(f.browsers(), QStringList());
    const std::optional<QList<BrowserMenuEntry>> entries = f.list.BrowserMenuEntries(false);
    QVERIFY(entries);
    const QList<BrowserMenuEntry> expected{
        {BrowserMenuEntry::Kind::Separator, u"-"_s, QString()},
        {BrowserMenuEntry::Kind::EditBrowsers, u"&Edit Browsers"_s, QString()},
    };
    QVERIFY(*entries == expected);
    QVERIFY(f.prompts.shown.isEmpty());
    QVERIFY(f.host.calls.isEmpty());
    QCOMPARE(f.list.Service(), QString());
    QVERIFY(!f.registry.valueExists(Registry::Root::CurrentUser, BrowserList::DefaultRegPath, u"Default DDE Name"_s));
}

void TestBrowserList::regPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("stored");
    QTest::newRow("leading backslash added") << u"Software\\Tarnwick\\Browsers"_s << u"\\Software\\Tarnwick\\Browsers"_s;
    QTest::newRow("kept") << u"\\Software\\Other"_s << u"\\Software\\Other"_s;
}

void TestBrowserList::regPath()
{
    QFETCH(QString, path);
    QFETCH(QString, stored);
    BrowserFixture f;
    f.list.SetRegPath(path);
    QCOMPARE(f.list.RegPath(), stored);
    QVERIFY(f.registry.keyExists(Registry::Root::CurrentUser, stored));
    QCOMPARE(f.list.Key().currentPath(), stored.mid(1));
    f.list.SetVersion(u"2.0"_s);
    QCOMPARE(f.list.Version(), u"1.06"_s);
}

void TestBrowserList::loadedWithoutRegPath()
{
    BrowserFixture f;
    f.addToPath(u"firefox"_s);
    f.list.Loaded();
    QCOMPARE(f.prompts.messages(), QStringList{u"Internal Error !  Browser Object must have a RegPath !"_s});
    // Without a list key nothing is written anywhere, not even at the top of the registry.
    QCOMPARE(f.registry.subkeyNames(Registry::Root::CurrentUser, QString()), QStringList());
    QCOMPARE(f.list.Service(), u"FIREFOX"_s);
    QCOMPARE(f.list.DdeName(), QString());
}

void TestBrowserList::service_data()
{
    QTest::addColumn<QString>("service");
    QTest::addColumn<QString>("ddeName");
    QTest::newRow("entry of that name") << u"Lynx"_s << u"LYNX"_s;
    QTest::newRow("name without regard to case") << u"lynx"_s << u"LYNX"_s;
    QTest::newRow("no such entry") << u"Mosaic"_s << QString();
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("the DDE name a find sets") << u"IEXPLORE"_s << u"IEXPLORE"_s;
}

void TestBrowserList::service()
{
    QFETCH(QString, service);
    QFETCH(QString, ddeName);
    BrowserFixture f;
    f.list.SetRegPath(BrowserList::DefaultRegPath);
    const QString key = BrowserList::DefaultRegPath + u"\\"_s;
    f.registry.writeString(Registry::Root::CurrentUser, key + u"Lynx"_s, u"DDE Name"_s, u"LYNX"_s);
    f.registry.writeString(Registry::Root::CurrentUser, key + u"Internet Explorer"_s, u"DDE Name"_s, u"IEXPLORE"_s);
    f.list.SetService(service);
    QCOMPARE(f.list.Service(), service);
    QCOMPARE(f.list.DdeName(), ddeName);
}

void TestBrowserList::platformBrowsers_data()
{
    QTest::addColumn<QStringList>("onPath");
    QTest::addColumn<QStringList>("notExecutable");
    QTest::addColumn<QStringList>("entries"); // name|program in the PATH folder|DDE Name
    QTest::addColumn<QString>("defaultDde");

    QTest::newRow("firefox") << QStringList{u"firefox"_s} << QStringList()
                             << QStringList{u"Firefox|firefox|FIREFOX"_s} << u"FIREFOX"_s;
    QTest::newRow("firefox-esr") << QStringList{u"firefox-esr"_s} << QStringList()
                                 << QStringList{u"Firefox|firefox-esr|FIREFOX"_s} << u"FIREFOX"_s;
    QTest::newRow("firefox before firefox-esr")
        << QStringList{u"firefox-esr"_s, u"firefox"_s} << QStringList()
        << QStringList{u"Firefox|firefox|FIREFOX"_s} << u"FIREFOX"_s;
    QTest::newRow("chromium-browser") << QStringList{u"chromium-browser"_s} << QStringList()
                                      << QStringList{u"Chromium|chromium-browser|CHROMIUM"_s} << u"CHROMIUM"_s;
    QTest::newRow("google-chrome-stable")
        << QStringList{u"google-chrome-stable"_s} << QStringList()
        << QStringList{u"Google Chrome|google-chrome-stable|GOOGLE CHROME"_s} << u"GOOGLE CHROME"_s;
    QTest::newRow("all three, Chrome found last")
        << QStringList{u"chromium"_s, u"google-chrome"_s, u"firefox"_s} << QStringList()
        << QStringList{u"Chromium|chromium|CHROMIUM"_s, u"Firefox|firefox|FIREFOX"_s,
                       u"Google Chrome|google-chrome|GOOGLE CHROME"_s}
        << u"GOOGLE CHROME"_s;
    QTest::newRow("a file that cannot run is no browser")
        << QStringList{u"firefox-esr"_s} << QStringList{u"firefox"_s}
        << QStringList{u"Firefox|firefox-esr|FIREFOX"_s} << u"FIREFOX"_s;
    QTest::newRow("nothing") << QStringList() << QStringList{u"chromium"_s} << QStringList() << QString();
}

void TestBrowserList::platformBrowsers()
{
    QFETCH(QStringList, onPath);
    QFETCH(QStringList, notExecutable);
    QFETCH(QStringList, entries);
    QFETCH(QString, defaultDde);
    BrowserFixture f;
    for (const QString &name : onPath)
        f.addToPath(name);
    for (const QString &name : notExecutable)
        BrowserFixture::makeFile(f.pathFolder + '/'_L1 + name, "#!/bin/sh\n", false);
    f.list.SetRegPath(BrowserList::DefaultRegPath);
    f.list.Loaded();

    QStringList expected;
    for (const QString &entry : entries) {
        const QStringList parts = entry.split('|'_L1);
        expected.append(parts[0] + '|'_L1 + f.pathFolder + '/'_L1 + parts[1] + '|'_L1 + parts[2]
                        + u"|Automatically"_s);
    }
    QCOMPARE(describe(f), expected);
    QCOMPARE(f.listValue(u"Default DDE Name"_s), defaultDde);
    QCOMPARE(f.list.Service(), defaultDde);
    if (!defaultDde.isEmpty())
        QCOMPARE(f.list.DdeName(), defaultDde);
    QVERIFY(f.prompts.shown.isEmpty());
}

void TestBrowserList::netscapeAndExplorer_data()
{
    QTest::addColumn<int>("netscape");
    QTest::addColumn<int>("explorer");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("defaultDde");

    QTest::newRow("neither") << int(NoNetscape) << int(NoExplorer) << QStringList() << QString();
    QTest::newRow("Netscape in its install folder")
        << int(NetscapeDirect) << int(NoExplorer) << QStringList{u"Netscape"_s} << u"NETSCAPE"_s;
    QTest::newRow("Netscape in the Program folder")
        << int(NetscapeInProgram) << int(NoExplorer) << QStringList{u"Netscape"_s} << u"NETSCAPE"_s;
    QTest::newRow("Netscape in both: the install folder wins")
        << int(NetscapeBoth) << int(NoExplorer) << QStringList{u"Netscape"_s} << u"NETSCAPE"_s;
    QTest::newRow("Netscape key without folder") << int(NetscapeKeyOnly) << int(NoExplorer) << QStringList() << QString();
    QTest::newRow("Netscape folder without program")
        << int(NetscapeFolderMissing) << int(NoExplorer) << QStringList() << QString();
    QTest::newRow("Internet Explorer") << int(NoNetscape) << int(ExplorerPresent)
                                       << QStringList{u"Internet Explorer"_s} << u"IEXPLORE"_s;
    QTest::newRow("Internet Explorer's program missing")
        << int(NoNetscape) << int(ExplorerFileMissing) << QStringList() << QString();
    QTest::newRow("both: Internet Explorer found last")
        << int(NetscapeDirect) << int(ExplorerPresent) << QStringList{u"Internet Explorer"_s, u"Netscape"_s}
        << u"IEXPLORE"_s;
}

void TestBrowserList::netscapeAndExplorer()
{
    QFETCH(int, netscape);
    QFETCH(int, explorer);
    QFETCH(QStringList, names);
    QFETCH(QString, defaultDde);
    BrowserFixture f;
    const Installed paths = install(f, Netscape(netscape), Explorer(explorer));
    f.list.SetRegPath(BrowserList::DefaultRegPath);
    f.list.Loaded();

    QStringList expected;
    for (const QString &name : names) {
        const bool isNetscape = name == "Netscape"_L1;
        expected.append(name + '|'_L1 + (isNetscape ? paths.netscape : paths.explorer) + '|'_L1
                        + (isNetscape ? u"NETSCAPE"_s : u"IEXPLORE"_s) + u"|Automatically"_s);
    }
    QCOMPARE(describe(f), expected);
    QCOMPARE(f.listValue(u"Default DDE Name"_s), defaultDde);
    QCOMPARE(f.list.Service(), defaultDde);
    QVERIFY(f.prompts.shown.isEmpty());
    // Nothing is written into the other programs' keys.
    if (netscape == NoNetscape)
        QVERIFY(!f.registry.keyExists(Registry::Root::CurrentUser, NetscapeKey));
}

void TestBrowserList::replaceQuestion_data()
{
    QTest::addColumn<QString>("browser"); // "Netscape" or "Firefox"
    QTest::addColumn<QString>("stored");  // "%found%" stands for the found program
    QTest::addColumn<QVariant>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("replaced");

    QTest::newRow("same path: no question") << u"Netscape"_s << u"%found%"_s << QVariant() << false << true;
    QTest::newRow("other path, Yes") << u"Netscape"_s << u"/opt/netscape/netscape"_s << QVariant(true) << true << true;
    QTest::newRow("other path, No") << u"Netscape"_s << u"/opt/netscape/netscape"_s << QVariant(false) << true
                                    << false;
    QTest::newRow("POSIX path differing in case is another file")
        << u"Netscape"_s << u"%FOUND%"_s << QVariant(false) << true << false;
    QTest::newRow("empty stored program: no question") << u"Netscape"_s << QString() << QVariant() << false << true;
    QTest::newRow("platform browser, other path, No")
        << u"Firefox"_s << u"/usr/local/bin/firefox"_s << QVariant(false) << true << false;
    QTest::newRow("platform browser, other path, Yes")
        << u"Firefox"_s << u"/usr/local/bin/firefox"_s << QVariant(true) << true << true;
}

void TestBrowserList::replaceQuestion()
{
    QFETCH(QString, browser);
    QFETCH(QString, stored);
    QFETCH(QVariant, answer);
    QFETCH(bool, asked);
    QFETCH(bool, replaced);
    BrowserFixture f;
    const bool netscape = browser == "Netscape"_L1;
    const QString found = netscape ? install(f, NetscapeDirect, NoExplorer).netscape : f.addToPath(u"firefox"_s);
    if (stored == "%found%"_L1)
        stored = found;
    else if (stored == "%FOUND%"_L1)
        stored = found.toUpper();
    const QString key = BrowserList::DefaultRegPath + '\\'_L1 + browser;
    f.registry.writeString(Registry::Root::CurrentUser, key, u"EXE Name"_s, stored);
    f.registry.writeString(Registry::Root::CurrentUser, key, u"Created"_s, u"Manually"_s);
    if (answer.isValid())
        f.prompts.answers.enqueue(answer);

    f.list.SetRegPath(BrowserList::DefaultRegPath);
    f.list.Loaded(); // no "DDE Name" yet: AutoFind looks for it
    QCOMPARE(f.prompts.texts(), asked ? QStringList{replaceQuestionText(stored, found)} : QStringList());
    QCOMPARE(f.prompts.unanswered, 0);
    QCOMPARE(f.value(browser, u"EXE Name"_s), replaced ? found : stored);
    QCOMPARE(f.value(browser, u"Created"_s), replaced ? u"Automatically"_s : u"Manually"_s);
    const QString dde = netscape ? u"NETSCAPE"_s : u"FIREFOX"_s;
    QCOMPARE(f.value(browser, u"DDE Name"_s), replaced ? dde : QString());
    QCOMPARE(f.listValue(u"Default DDE Name"_s), replaced ? dde : QString());
    // The find names the browser either way.
    QCOMPARE(f.list.Service(), dde);
}

void TestBrowserList::autoFindSkipsKnownBrowsers_data()
{
    QTest::addColumn<bool>("force");
    QTest::addColumn<bool>("asked");
    QTest::newRow("not forced") << false << false;
    QTest::newRow("forced") << true << true;
}

void TestBrowserList::autoFindSkipsKnownBrowsers()
{
    QFETCH(bool, force);
    QFETCH(bool, asked);
    BrowserFixture f;
    const QString found = install(f, NetscapeDirect, NoExplorer).netscape;
    const QString key = BrowserList::DefaultRegPath + u"\\Netscape"_s;
    f.registry.writeString(Registry::Root::CurrentUser, key, u"EXE Name"_s, u"/elsewhere/netscape"_s);
    f.registry.writeString(Registry::Root::CurrentUser, key, u"DDE Name"_s, u"NETSCAPE"_s);
    f.prompts.answers.enqueue(false);
    f.list.SetRegPath(BrowserList::DefaultRegPath);
    f.list.AutoFind(force);
    QCOMPARE(f.prompts.texts(),
             asked ? QStringList{replaceQuestionText(u"/elsewhere/netscape"_s, found)} : QStringList());
    QCOMPARE(f.value(u"Netscape"_s, u"EXE Name"_s), u"/elsewhere/netscape"_s);
    QCOMPARE(f.list.Service(), asked ? u"NETSCAPE"_s : QString());
}

void TestBrowserList::localMenu()
{
    BrowserFixture f;
    f.list.SetRegPath(BrowserList::DefaultRegPath);
    for (const QString &name : {u"Opera"_s, u"Lynx"_s})
        f.registry.writeString(Registry::Root::CurrentUser, BrowserList::DefaultRegPath + '\\'_L1 + name,
                               u"Created"_s, u"Manually"_s);
    QStringList names{u"stale"_s};
    f.list.FillBrowserList(names, false);
    // In the registry's order: by name.
    QCOMPARE(names, (QStringList{u"Lynx"_s, u"Opera"_s}));
    const std::optional<QList<BrowserMenuEntry>> entries = f.list.BrowserMenuEntries(false);
    QVERIFY(entries);
    QStringList captions;
    for (const BrowserMenuEntry &entry : *entries)
        captions.append(entry.caption + '/'_L1 + entry.hint);
    QCOMPARE(captions, (QStringList{u"Lynx/"_s, u"Opera/"_s, u"-/"_s, u"&Edit Browsers/"_s}));
    // The local list never asks the host.
    QVERIFY(f.host.calls.isEmpty());
}

void TestBrowserList::hostList_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("vanished");
    QTest::addColumn<QStringList>("list");
    QTest::newRow("two entries") << (u"A=1"_s + RS + u"B=2"_s) << false << QStringList{u"A=1"_s, u"B=2"_s};
    QTest::newRow("one entry") << u"A=1"_s << false << QStringList{u"A=1"_s};
    QTest::newRow("two separators in a row") << (u"A"_s + RS + RS + u"B"_s) << false
                                             << QStringList{u"A"_s, QString(), u"B"_s};
    QTest::newRow("separator at the end adds nothing") << (u"A"_s + RS) << false << QStringList{u"A"_s};
    QTest::newRow("separator first") << (RS + u"A"_s) << false << QStringList{QString(), u"A"_s};
    QTest::newRow("only a separator") << QString(RS) << false << QStringList{QString()};
    QTest::newRow("empty answer") << QString() << false << QStringList();
    QTest::newRow("the call fails") << u"A"_s << true << QStringList{BrowserList::HostListError};
}

void TestBrowserList::hostList()
{
    QFETCH(QString, answer);
    QFETCH(bool, vanished);
    QFETCH(QStringList, list);
    BrowserFixture f;
    f.list.SetRegPath(BrowserList::DefaultRegPath);
    f.host.browserList = answer;
    f.host.vanished = vanished;
    QStringList names{u"stale"_s};
    f.list.FillBrowserList(names, true);
    QCOMPARE(names, list);
    QCOMPARE(f.host.methods(), QStringList{u"BrowserList"_s});
    QVERIFY(f.prompts.shown.isEmpty());
}

void TestBrowserList::hostMenuEntry_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");
    QTest::newRow("name=detail") << u"Firefox=/usr/bin/firefox"_s << u"Firefox"_s << u"/usr/bin/firefox"_s;
    QTest::newRow("no =") << u"Lynx"_s << u"Lynx"_s << QString();
    QTest::newRow("= first") << u"=detail"_s << u"=detail"_s << u"detail"_s;
    QTest::newRow("= last") << u"Lynx="_s << u"Lynx"_s << QString();
    QTest::newRow("two =") << u"A=b=c"_s << u"A"_s << u"b=c"_s;
    QTest::newRow("empty") << QString() << QString() << QString();
}

void TestBrowserList::hostMenuEntry()
{
    QFETCH(QString, entry);
    QFETCH(QString, caption);
    QFETCH(QString, hint);
    BrowserFixture f;
    f.list.SetRegPath(BrowserList::DefaultRegPath);
    f.host.browserList = u"First=1"_s + RS + entry + RS + u"Last"_s;
    const std::optional<QList<BrowserMenuEntry>> entries = f.list.BrowserMenuEntries(true);
    QVERIFY(entries);
    // From the host: its browsers only, no separator and no editor item.
    QCOMPARE(entries->size(), 3);
    QCOMPARE(entries->at(2).caption, u"Last"_s);
    QCOMPARE(entries->at(0).caption, u"First"_s);
    QCOMPARE(entries->at(1).kind, BrowserMenuEntry::Kind::Browser);
    QCOMPARE(entries->at(1).caption, caption);
    QCOMPARE(entries->at(1).hint, hint);
    QCOMPARE(f.host.methods(), (QStringList{u"probe"_s, u"BrowserList"_s}));
    QVERIFY(f.session.HostLinked());
}

void TestBrowserList::hostNoLongerRunning()
{
    BrowserFixture f;
    f.list.SetRegPath(BrowserList::DefaultRegPath);
    f.session.ConnectHost();
    QVERIFY(f.session.HostLinked());
    f.host.probeResult = false;
    f.host.clearCalls();
    QVERIFY(!f.list.BrowserMenuEntries(true));
    QCOMPARE(f.prompts.messages(), QStringList{u"Cannot build that browser list unless Quillon is running."_s});
    QVERIFY(!f.session.HostLinked());
    QCOMPARE(f.host.methods(), QStringList{u"probe"_s});
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QCoreApplication app(argc, argv);
    TestBrowserList test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_browser_list.moc"
