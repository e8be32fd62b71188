#include "integration/TTarnBrowser.h"
#include "integration/TfrmEdit.h"

#include "BrowserFixture.h"
#include "TestEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

const QChar RS(0x1E);

// A browser component as the main window owns it, over the fixture's doubles.
struct MenuFixture
{
    BrowserFixture f;
    QWidget owner;
    TTarnBrowser sb{{f.registry, f.prompts, f.launcher, f.session}, &owner};
    QStringList clicked;

    MenuFixture()
    {
        sb.SetRegPath(BrowserList::DefaultRegPath);
    }
    QMenu *build(bool fromHost)
    {
        return sb.BuildBrowserMenu(fromHost, [this](const QString &browser) { clicked.append(browser); });
    }
    void addBrowser(const QString &name)
    {
        f.registry.writeString(Registry::Root::CurrentUser, BrowserList::DefaultRegPath + '\\'_L1 + name,
                               u"Created"_s, u"Manually"_s);
    }
};

// "text|hint" for each item, "-" for a separator.
QStringList describe(const QMenu *menu)
{
    QStringList items;
    for (const QAction *action : menu->actions())
        items.append(action->isSeparator() ? u"-"_s : action->text() + '|'_L1 + action->statusTip());
    return items;
}

QAction *item(QMenu *menu, const QString &text)
{
    for (QAction *action : menu->actions())
        if (!action->isSeparator() && action->text() == text)
            return action;
    return nullptr;
}

} // namespace

class TestBrowserMenu : public QObject
{
    Q_OBJECT
private slots:
    void firstStartOffersOnlyTheEditor();
    void menuItems_data();
    void menuItems();
    void clickNamesTheBrowser();
    void menuRebuiltEachTime();
    void hostNoLongerRunning();
    void editBrowsersOpensTheDialog();
};

void TestBrowserMenu::firstStartOffersOnlyTheEditor()
{
    MenuFixture m;
    m.sb.Loaded();
    QMenu *menu = m.build(false);
    QVERIFY(menu);
    QCOMPARE(menu->parent(), &m.owner);
    QCOMPARE(describe(menu), (QStringList{u"-"_s, u"&Edit Browsers|"_s}));
    QVERIFY(m.f.prompts.shown.isEmpty());
}

void TestBrowserMenu::menuItems_data()
{
    QTest::addColumn<bool>("fromHost");
    QTest::addColumn<QString>("hostList");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("local list") << false << QString()
                                << QStringList{u"Lynx|"_s, u"Opera|"_s, u"-"_s, u"&Edit Browsers|"_s};
    QTest::newRow("host list") << true << (u"Firefox=/usr/bin/firefox"_s + RS + u"Links"_s + RS + u"=x"_s)
                               << QStringList{u"Firefox|/usr/bin/firefox"_s, u"Links|"_s, u"=x|x"_s};
}

void TestBrowserMenu::menuItems()
{
    QFETCH(bool, fromHost);
    QFETCH(QString, hostList);
    QFETCH(QStringList, items);
    MenuFixture m;
    m.addBrowser(u"Lynx"_s);
    m.addBrowser(u"Opera"_s);
    m.f.host.browserList = hostList;
    if (fromHost)
        m.f.session.ConnectHost();
    QMenu *menu = m.build(fromHost);
    QVERIFY(menu);
    QCOMPARE(describe(menu), items);
    QVERIFY(m.f.prompts.shown.isEmpty());
}

void TestBrowserMenu::clickNamesTheBrowser()
{
    MenuFixture m;
    m.f.host.browserList = u"Firefox=/usr/bin/firefox"_s + RS + u"Links"_s;
    QMenu *menu = m.build(true);
    QVERIFY(menu);
    item(menu, u"Firefox"_s)->trigger();
    item(menu, u"Links"_s)->trigger();
    QCOMPARE(m.clicked, (QStringList{u"Firefox"_s, u"Links"_s}));
    QCOMPARE(item(menu, u"Firefox"_s)->toolTip(), u"/usr/bin/firefox"_s);
}

void TestBrowserMenu::menuRebuiltEachTime()
{
    MenuFixture m;
    m.addBrowser(u"Lynx"_s);
    QMenu *first = m.build(false);
    QCOMPARE(describe(first), (QStringList{u"Lynx|"_s, u"-"_s, u"&Edit Browsers|"_s}));
    m.addBrowser(u"Opera"_s);
    QMenu *second = m.build(false);
    QCOMPARE(second, first);
    QCOMPARE(describe(second), (QStringList{u"Lynx|"_s, u"Opera|"_s, u"-"_s, u"&Edit Browsers|"_s}));
    item(second, u"Opera"_s)->trigger();
    QCOMPARE(m.clicked, QStringList{u"Opera"_s});
}

void TestBrowserMenu::hostNoLongerRunning()
{
    MenuFixture m;
    m.f.session.ConnectHost();
    m.f.host.probeResult = false;
    QVERIFY(!m.build(true));
    QCOMPARE(m.f.prompts.messages(), QStringList{u"Cannot build that browser list unless Quillon is running."_s});
    QVERIFY(!m.f.session.HostLinked());
}

void TestBrowserMenu::editBrowsersOpensTheDialog()
{
    MenuFixture m;
    m.addBrowser(u"Lynx"_s);
    QMenu *menu = m.build(false);
    QStringList listed;
    QString title;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<TfrmEdit *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        title = dialog->windowTitle();
        for (int row = 0; row < dialog->lstBrowsers->count(); ++row)
            listed.append(dialog->lstBrowsers->item(row)->text());
        dialog->btnClose->click();
    });
    item(menu, u"&Edit Browsers"_s)->trigger();
    QCOMPARE(title, u"Edit Browsers"_s);
    QCOMPARE(listed, QStringList{u"Lynx"_s});
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QApplication app(argc, argv);
    TestBrowserMenu test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_browser_menu.moc"
