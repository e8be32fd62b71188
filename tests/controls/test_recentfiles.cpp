#include "controls/RecentFileList.h"
#include "controls/RecentFilesMenu.h"
#include "platform/Registry.h"
#include "platform/RegistryKey.h"

#include "PromptsDouble.h"
#include "TestEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString SettingsPath = QStringLiteral("Software\\Tarnwick\\Quillon\\Reelcraft");
const QString RecentKey = SettingsPath + QStringLiteral("\\Recent Files");
const QString InternalError =
    QStringLiteral("Internal Error : Programmer has not called InitializeRecentFiles routine !");

// The File menu's frame: commands, a hidden separator, the list's place, a hidden
// separator, the last command.
std::unique_ptr<QMenu> makeFileMenu()
{
    auto menu = std::make_unique<QMenu>();
    menu->addAction(QStringLiteral("&Open"));
    menu->addAction(QStringLiteral("&Save"));
    menu->addAction(QStringLiteral("Save &As"));
    menu->addSeparator()->setVisible(false);
    menu->addSeparator()->setVisible(false);
    menu->addAction(QStringLiteral("E&xit"));
    return menu;
}

// The menu as text: "|" for a visible separator, "(|)" for a hidden one, else the caption.
QStringList menuLayout(const QMenu &menu)
{
    QStringList layout;
    for (const QAction *action : menu.actions()) {
        if (action->isSeparator())
            layout.append(action->isVisible() ? QStringLiteral("|") : QStringLiteral("(|)"));
        else
            layout.append(action->isVisible() ? action->text() : QLatin1Char('(') + action->text() + QLatin1Char(')'));
    }
    return layout;
}

QStringList frame(const QStringList &items, bool shown)
{
    const QString separator = shown ? QStringLiteral("|") : QStringLiteral("(|)");
    return QStringList{QStringLiteral("&Open"), QStringLiteral("&Save"), QStringLiteral("Save &As"), separator}
    + items + QStringList{separator, QStringLiteral("E&xit")};
}

} // namespace

class TestRecentFiles : public QObject
{
    Q_OBJECT
private slots:
    void init();

    void samePath_data();
    void samePath();
    void addKeepsNewestFirst_data();
    void addKeepsNewestFirst();
    void menuWithoutFrameGetsOne_data();
    void menuWithoutFrameGetsOne();
    void itemClickGivesThePath();
    void notInitialised_data();
    void notInitialised();
    void loadPutsFirstNameOnTop_data();
    void loadPutsFirstNameOnTop();
    void saveAndLoadRoundTrip();
    void saveToUnwritableRegistryFails();

private:
    std::unique_ptr<Registry> m_registry;
};

void TestRecentFiles::init()
{
    m_registry = std::make_unique<Registry>();
    m_registry->deleteKey(Registry::Root::CurrentUser, RecentKey);
}

void TestRecentFiles::samePath_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("same");
    QTest::newRow("posix equal") << u"/home/ann/show.rcf"_s << u"/home/ann/show.rcf"_s << true;
    QTest::newRow("posix differ in case") << u"/home/ann/Show.rcf"_s << u"/home/ann/show.rcf"_s << false;
    QTest::newRow("drive path differs in case") << u"C:\\Shows\\A.rcf"_s << u"c:\\shows\\a.RCF"_s << true;
    QTest::newRow("backslash path differs in case") << u"shows\\A.rcf"_s << u"SHOWS\\a.rcf"_s << true;
    QTest::newRow("drive path with slashes") << u"C:/Shows/A.rcf"_s << u"c:/shows/a.rcf"_s << true;
    QTest::newRow("different files") << u"C:\\a.rcf"_s << u"C:\\b.rcf"_s << false;
}

void TestRecentFiles::samePath()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, same);
    QCOMPARE(RecentFileList::samePath(a, b), same);
    QCOMPARE(RecentFileList::samePath(b, a), same);
}

void TestRecentFiles::addKeepsNewestFirst_data()
{
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QStringList>("captions");

    QTest::newRow("six different paths keep the five newest")
        << QStringList{u"/s/1.rcf"_s, u"/s/2.rcf"_s, u"/s/3.rcf"_s, u"/s/4.rcf"_s, u"/s/5.rcf"_s, u"/s/6.rcf"_s}
        << QStringList{u"/s/6.rcf"_s, u"/s/5.rcf"_s, u"/s/4.rcf"_s, u"/s/3.rcf"_s, u"/s/2.rcf"_s}
        << QStringList{u"&1 /s/6.rcf"_s, u"&2 /s/5.rcf"_s, u"&3 /s/4.rcf"_s, u"&4 /s/3.rcf"_s, u"&5 /s/2.rcf"_s};
    QTest::newRow("the third again becomes number 1")
        << QStringList{u"/s/a.rcf"_s, u"/s/b.rcf"_s, u"/s/c.rcf"_s, u"/s/a.rcf"_s}
        << QStringList{u"/s/a.rcf"_s, u"/s/c.rcf"_s, u"/s/b.rcf"_s}
        << QStringList{u"&1 /s/a.rcf"_s, u"&2 /s/c.rcf"_s, u"&3 /s/b.rcf"_s};
    QTest::newRow("the top again changes nothing")
        << QStringList{u"/s/a.rcf"_s, u"/s/b.rcf"_s, u"/s/b.rcf"_s}
        << QStringList{u"/s/b.rcf"_s, u"/s/a.rcf"_s}
        << QStringList{u"&1 /s/b.rcf"_s, u"&2 /s/a.rcf"_s};
    QTest::newRow("a full list moves an entry without dropping one")
        << QStringList{u"/1"_s, u"/2"_s, u"/3"_s, u"/4"_s, u"/5"_s, u"/1"_s}
        << QStringList{u"/1"_s, u"/5"_s, u"/4"_s, u"/3"_s, u"/2"_s}
        << QStringList{u"&1 /1"_s, u"&2 /5"_s, u"&3 /4"_s, u"&4 /3"_s, u"&5 /2"_s};
    QTest::newRow("windows paths match without case")
        << QStringList{u"C:\\Shows\\A.rcf"_s, u"C:\\b.rcf"_s, u"c:\\shows\\a.RCF"_s}
        << QStringList{u"C:\\Shows\\A.rcf"_s, u"C:\\b.rcf"_s}
        << QStringList{u"&1 C:\\Shows\\A.rcf"_s, u"&2 C:\\b.rcf"_s};
    QTest::newRow("posix paths differing in case are two files")
        << QStringList{u"/s/A.rcf"_s, u"/s/a.rcf"_s}
        << QStringList{u"/s/a.rcf"_s, u"/s/A.rcf"_s}
        << QStringList{u"&1 /s/a.rcf"_s, u"&2 /s/A.rcf"_s};
    QTest::newRow("an ampersand shows literally")
        << QStringList{u"/home/R&D/a&b.rcf"_s}
        << QStringList{u"/home/R&D/a&b.rcf"_s}
        << QStringList{u"&1 /home/R&&D/a&&b.rcf"_s};
    QTest::newRow("an empty path is ignored")
        << QStringList{u"/s/a.rcf"_s, u""_s}
        << QStringList{u"/s/a.rcf"_s}
        << QStringList{u"&1 /s/a.rcf"_s};
    QTest::newRow("nothing added") << QStringList{} << QStringList{} << QStringList{};
}

void TestRecentFiles::addKeepsNewestFirst()
{
    QFETCH(QStringList, added);
    QFETCH(QStringList, paths);
    QFETCH(QStringList, captions);

    RecentFileList plain;
    for (const QString &path : added)
        plain.add(path);
    QCOMPARE(plain.paths(), paths);

    PromptsDouble prompts;
    RecentFilesMenu recent(prompts);
    auto menu = makeFileMenu();
    recent.InitializeRecentFiles(menu.get(), {}, this);
    for (const QString &path : added)
        recent.AddRecentFile(path);

    QCOMPARE(recent.list().paths(), paths);
    QCOMPARE(menuLayout(*menu), frame(captions, !paths.isEmpty()));
    QStringList itemPaths;
    for (const QAction *item : recent.items())
        itemPaths.append(RecentFilesMenu::pathOfItem(item));
    QCOMPARE(itemPaths, paths);
    QVERIFY(prompts.shown.isEmpty());
}

void TestRecentFiles::menuWithoutFrameGetsOne_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("no separator") << QStringList{u"&Open"_s, u"E&xit"_s}
                                  << QStringList{u"&Open"_s, u"|"_s, u"&1 /a.rcf"_s, u"|"_s, u"E&xit"_s};
    QTest::newRow("one separator") << QStringList{u"&Open"_s, u"-"_s, u"E&xit"_s}
                                   << QStringList{u"&Open"_s, u"|"_s, u"&1 /a.rcf"_s, u"|"_s, u"E&xit"_s};
    QTest::newRow("empty menu") << QStringList{} << QStringList{u"|"_s, u"&1 /a.rcf"_s, u"|"_s};
}

void TestRecentFiles::menuWithoutFrameGetsOne()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QMenu menu;
    for (const QString &caption : before) {
        if (caption == QLatin1String("-"))
            menu.addSeparator();
        else
            menu.addAction(caption);
    }
    PromptsDouble prompts;
    RecentFilesMenu recent(prompts);
    recent.InitializeRecentFiles(&menu, {}, this);
    recent.AddRecentFile(QStringLiteral("/a.rcf"));
    QCOMPARE(menuLayout(menu), after);
}

void TestRecentFiles::itemClickGivesThePath()
{
    PromptsDouble prompts;
    RecentFilesMenu recent(prompts);
    auto menu = makeFileMenu();
    auto owner = std::make_unique<QObject>();
    QStringList opened;
    recent.InitializeRecentFiles(menu.get(), [&opened](const QString &path) { opened.append(path); },
                                 owner.get());
    recent.AddRecentFile(QStringLiteral("/home/R&D/first.rcf"));
    recent.AddRecentFile(QStringLiteral("/home/ann/second show.rcf"));

    recent.items().at(1)->trigger();
    recent.items().at(0)->trigger();
    QCOMPARE(opened, (QStringList{u"/home/R&D/first.rcf"_s, u"/home/ann/second show.rcf"_s}));

    // Once its owner is gone the handler is not called any more.
    owner.reset();
    recent.items().at(0)->trigger();
    recent.AddRecentFile(u"/home/ann/third.rcf"_s);
    recent.items().at(0)->trigger();
    QCOMPARE(opened.size(), 2);
}

void TestRecentFiles::notInitialised_data()
{
    QTest::addColumn<QString>("operation");
    QTest::newRow("load") << u"load"_s;
    QTest::newRow("add") << u"add"_s;
    QTest::newRow("save") << u"save"_s;
    QTest::newRow("initialised with no menu") << u"null menu"_s;
}

void TestRecentFiles::notInitialised()
{
    QFETCH(QString, operation);
    RegistryKey key(*m_registry);
    QVERIFY(key.openKey(SettingsPath, true));
    QVERIFY(m_registry->writeString(Registry::Root::CurrentUser, RecentKey, QStringLiteral("/kept.rcf"), {}));

    PromptsDouble prompts;
    RecentFilesMenu recent(prompts);
    if (operation == QLatin1String("load")) {
        recent.LoadRecentFiles(key);
    } else if (operation == QLatin1String("add")) {
        recent.AddRecentFile(QStringLiteral("/new.rcf"));
    } else if (operation == QLatin1String("save")) {
        QVERIFY(!recent.SaveRecentFiles(key));
    } else {
        recent.InitializeRecentFiles(nullptr, {}, this);
        recent.AddRecentFile(QStringLiteral("/new.rcf"));
    }

    QCOMPARE(prompts.messages(), QStringList{InternalError});
    QCOMPARE(prompts.shown.at(0).kind, Prompts::Kind::Plain);
    QVERIFY(recent.list().isEmpty());
    QCOMPARE(m_registry->valueNames(Registry::Root::CurrentUser, RecentKey), QStringList{u"/kept.rcf"_s});
}

void TestRecentFiles::loadPutsFirstNameOnTop_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("paths");
    QTest::newRow("three names") << QStringList{u"/c.rcf"_s, u"/a.rcf"_s, u"/b.rcf"_s}
                                 << QStringList{u"/c.rcf"_s, u"/a.rcf"_s, u"/b.rcf"_s};
    QTest::newRow("seven names keep the first five")
        << QStringList{u"/1"_s, u"/2"_s, u"/3"_s, u"/4"_s, u"/5"_s, u"/6"_s, u"/7"_s}
        << QStringList{u"/1"_s, u"/2"_s, u"/3"_s, u"/4"_s, u"/5"_s};
    QTest::newRow("no subkey") << QStringList{} << QStringList{};
}

void TestRecentFiles::loadPutsFirstNameOnTop()
{
    QFETCH(QStringList, stored);
    QFETCH(QStringList, paths);
    for (const QString &name : stored)
        QVERIFY(m_registry->writeString(Registry::Root::CurrentUser, RecentKey, name, {}));
    RegistryKey key(*m_registry);
    QVERIFY(key.openKey(SettingsPath, true));

    RecentFileList plain;
    plain.load(key);
    QCOMPARE(plain.paths(), paths);

    PromptsDouble prompts;
    RecentFilesMenu recent(prompts);
    auto menu = makeFileMenu();
    recent.InitializeRecentFiles(menu.get(), {}, this);
    recent.LoadRecentFiles(key);
    QCOMPARE(recent.list().paths(), paths);
    QCOMPARE(recent.items().size(), paths.size());
    QCOMPARE(menu->actions().at(3)->isVisible(), !paths.isEmpty());
    QCOMPARE(key.currentPath(), SettingsPath);
}

void TestRecentFiles::saveAndLoadRoundTrip()
{
    const QStringList paths{u"/home/R&D/show & tell.rcf"_s, u"C:\\Shows\\Old.rcf"_s, u"/home/ann/new show.rcf"_s};
    RegistryKey key(*m_registry);
    QVERIFY(key.openKey(SettingsPath, true));
    // A stale entry of an earlier run must not survive the save.
    QVERIFY(m_registry->writeString(Registry::Root::CurrentUser, RecentKey, QStringLiteral("/stale.rcf"), {}));

    {
        PromptsDouble prompts;
        RecentFilesMenu recent(prompts);
        auto menu = makeFileMenu();
        recent.InitializeRecentFiles(menu.get(), {}, this);
        for (int i = int(paths.size()) - 1; i >= 0; --i)
            recent.AddRecentFile(paths.at(i));
        QVERIFY(recent.SaveRecentFiles(key));
    }
    QCOMPARE(key.currentPath(), SettingsPath);

    // A fresh registry object reads the file as the next run of the program would.
    Registry reread;
    QCOMPARE(reread.valueNames(Registry::Root::CurrentUser, RecentKey), paths);
    for (const QString &path : paths)
        QCOMPARE(reread.readString(Registry::Root::CurrentUser, RecentKey, path, QStringLiteral("missing")), QString());

    RegistryKey rereadKey(reread);
    QVERIFY(rereadKey.openKey(SettingsPath, false));
    PromptsDouble prompts;
    RecentFilesMenu recent(prompts);
    auto menu = makeFileMenu();
    recent.InitializeRecentFiles(menu.get(), {}, this);
    recent.LoadRecentFiles(rereadKey);
    QCOMPARE(recent.list().paths(), paths);
    QCOMPARE(menuLayout(*menu), frame({u"&1 /home/R&&D/show && tell.rcf"_s, u"&2 C:\\Shows\\Old.rcf"_s,
                                       u"&3 /home/ann/new show.rcf"_s},
                                      true));

    // An empty list leaves no entries behind.
    RecentFileList empty;
    QVERIFY(empty.save(rereadKey));
    QCOMPARE(Registry().valueNames(Registry::Root::CurrentUser, RecentKey), QStringList{});
}

void TestRecentFiles::saveToUnwritableRegistryFails()
{
    // The settings folder is a regular file, so no write can succeed (also for root).
    const QString folder = TestEnvironment::instance().freshFolder(QStringLiteral("unwritable"));
    QFile blocker(folder + QStringLiteral("/notafolder"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Registry registry(blocker.fileName() + QStringLiteral("/registry.json"), QString());
    RegistryKey key(registry);
    key.openKey(SettingsPath, true);

    RecentFileList list;
    list.add(QStringLiteral("/a.rcf"));
    QVERIFY(!list.save(key));
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QApplication app(argc, argv);
    TestRecentFiles test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_recentfiles.moc"
