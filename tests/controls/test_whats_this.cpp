#include "controls/TGradientForm.h"
#include "controls/TWhatsThis.h"

#include "HelpViewerDouble.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <memory>

using Request = HelpViewerDouble::Request;
Q_DECLARE_METATYPE(Request::Kind)

// A window laid out as the main window is: tag -21 on the window, controls on its central
// widget, a scroll area, and labels on the pages of a tab control.
class HelpWindow : public TGradientForm
{
public:
    explicit HelpWindow(HelpViewer &viewer) : ct(new TWhatsThis(this, viewer))
    {
        setProperty(TWhatsThis::HelpTagProperty, -21);
        client = new QWidget(this);
        client->setFixedSize(417, 327);
        setCentralWidget(client);

        btnAdd = button(6, 6);
        btnPreview = button(119, 1);
        btnDelete = button(41, 0);
        scrFrames = new QScrollArea(client);
        scrFrames->setGeometry(5, 39, 407, 72);
        auto *strip = new QWidget;
        strip->resize(600, 65);
        scrFrames->setWidget(strip);
        scrFrames->setProperty(TWhatsThis::HelpTagProperty, 18);
        thumbnail = new QLabel(QStringLiteral("frame"), strip);
        thumbnail->setGeometry(200, 1, 65, 65);
        lblUntagged = new QLabel(QStringLiteral("Filename : "), client);
        lblUntagged->setGeometry(5, 125, 60, 16);
        lblTopic = new QLabel(QStringLiteral("Full topic"), client);
        lblTopic->setGeometry(70, 125, 60, 16);
        lblTopic->setProperty(TWhatsThis::HelpTagProperty, -25);

        pages = new QTabWidget(client);
        pages->setGeometry(5, 141, 407, 186);
        page = new QWidget;
        pages->addTab(page, QStringLiteral("Options"));
        lblOnPage = new QLabel(QStringLiteral("Time Between Frames"), page);
        lblOnPage->setGeometry(6, 25, 120, 16);
        lblOnPage->setProperty(TWhatsThis::HelpTagProperty, 19);
        lblPlainOnPage = new QLabel(QStringLiteral("millisec"), page);
        lblPlainOnPage->setGeometry(210, 25, 60, 16);
        txtBetweenFrames = new QLineEdit(page);
        txtBetweenFrames->setGeometry(146, 3, 60, 20);
        txtBetweenFrames->setProperty(TWhatsThis::HelpContextProperty, 18);
        txtNoContext = new QLineEdit(page);
        txtNoContext->setGeometry(146, 50, 60, 20);

        // A composite field: the focus sits on an inner edit, the context on the outer one.
        composite = new QWidget(page);
        composite->setGeometry(262, 3, 108, 27);
        composite->setProperty(TWhatsThis::HelpContextProperty, 20);
        innerEdit = new QLineEdit(composite);
        innerEdit->setGeometry(3, 3, 80, 20);

        for (QWidget *control : {static_cast<QWidget *>(this), static_cast<QWidget *>(btnAdd),
                                 static_cast<QWidget *>(btnPreview), static_cast<QWidget *>(scrFrames),
                                 static_cast<QWidget *>(lblTopic), static_cast<QWidget *>(lblOnPage),
                                 static_cast<QWidget *>(btnDelete), static_cast<QWidget *>(lblUntagged)})
            ct->Attach(control);
        ct->EnableHelpKey(this);
    }

    QToolButton *button(int left, int tag)
    {
        auto *button = new QToolButton(client);
        button->setGeometry(left, 2, 35, 35);
        if (tag)
            button->setProperty(TWhatsThis::HelpTagProperty, tag);
        return button;
    }

    TWhatsThis *ct;
    QWidget *client;
    QToolButton *btnAdd, *btnPreview, *btnDelete;
    QScrollArea *scrFrames;
    QLabel *thumbnail, *lblUntagged, *lblTopic, *lblOnPage, *lblPlainOnPage;
    QTabWidget *pages;
    QWidget *page, *composite;
    QLineEdit *txtBetweenFrames, *txtNoContext, *innerEdit;
};

// Right-button What's-This help and F1, through the help viewer double.
class TestWhatsThis : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void version();
    void helpNumberOfControl_data();
    void helpNumberOfControl();
    void rightPressOpensHelp_data();
    void rightPressOpensHelp();
    void menuOpensBesideThePointer();
    void directMouseDown_data();
    void directMouseDown();
    void helpKeyOpensFieldContext_data();
    void helpKeyOpensFieldContext();

private:
    QWidget *control(const QString &name) const;

    HelpViewerDouble m_viewer;
    std::unique_ptr<HelpWindow> m_window;
};

void TestWhatsThis::init()
{
    m_viewer.clear();
    m_window = std::make_unique<HelpWindow>(m_viewer);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QApplication::setActiveWindow(m_window.get());
}

void TestWhatsThis::cleanup()
{
    m_window.reset();
}

QWidget *TestWhatsThis::control(const QString &name) const
{
    HelpWindow *w = m_window.get();
    const QMap<QString, QWidget *> controls{
        {QStringLiteral("window"), w},
        {QStringLiteral("client"), w->client},
        {QStringLiteral("btnAdd"), w->btnAdd},
        {QStringLiteral("btnPreview"), w->btnPreview},
        {QStringLiteral("btnDelete"), w->btnDelete},
        {QStringLiteral("scrFrames"), w->scrFrames},
        {QStringLiteral("viewport"), w->scrFrames->viewport()},
        {QStringLiteral("strip"), w->scrFrames->widget()},
        {QStringLiteral("thumbnail"), w->thumbnail},
        {QStringLiteral("lblUntagged"), w->lblUntagged},
        {QStringLiteral("lblTopic"), w->lblTopic},
        {QStringLiteral("lblOnPage"), w->lblOnPage},
        {QStringLiteral("lblPlainOnPage"), w->lblPlainOnPage},
        {QStringLiteral("page"), w->page},
        {QStringLiteral("txtBetweenFrames"), w->txtBetweenFrames},
        {QStringLiteral("txtNoContext"), w->txtNoContext},
        {QStringLiteral("innerEdit"), w->innerEdit},
    };
    return controls.value(name);
}

void TestWhatsThis::version()
{
    QCOMPARE(TWhatsThis::Version(), QStringLiteral("1.01"));
}

void TestWhatsThis::helpNumberOfControl_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("number");

    QTest::newRow("window") << QStringLiteral("window") << -21;
    QTest::newRow("tag 0 directly on the window") << QStringLiteral("lblUntagged") << -21;
    QTest::newRow("button without tag") << QStringLiteral("btnDelete") << -21;
    QTest::newRow("own positive tag") << QStringLiteral("btnAdd") << 6;
    QTest::newRow("own negative tag") << QStringLiteral("lblTopic") << -25;
    QTest::newRow("tag on a page") << QStringLiteral("lblOnPage") << 19;
    QTest::newRow("scroll area") << QStringLiteral("scrFrames") << 18;
    QTest::newRow("untagged label on a page takes the window") << QStringLiteral("lblPlainOnPage") << -21;
}

void TestWhatsThis::helpNumberOfControl()
{
    QFETCH(QString, name);
    QFETCH(int, number);
    QCOMPARE(TWhatsThis::HelpNumber(control(name)), number);

    // A container with tag 0 of its own stops the search: its controls have no help.
    m_window->page->setProperty(TWhatsThis::HelpTagProperty, 0);
    QCOMPARE(TWhatsThis::HelpNumber(m_window->lblPlainOnPage), 0);
    QCOMPARE(TWhatsThis::HelpNumber(m_window->lblOnPage), 19);
    QCOMPARE(TWhatsThis::HelpNumber(nullptr), 0);
}

void TestWhatsThis::rightPressOpensHelp_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("menu");
    QTest::addColumn<Request::Kind>("kind");
    QTest::addColumn<int>("number");

    const int right = Qt::RightButton;
    QTest::newRow("window background: full topic 21")
        << QStringLiteral("client") << right << true << Request::Topic << 21;
    QTest::newRow("tag 0 on the window: full topic 21")
        << QStringLiteral("lblUntagged") << right << true << Request::Topic << 21;
    QTest::newRow("positive tag: pop-up") << QStringLiteral("btnAdd") << right << true << Request::Popup << 6;
    QTest::newRow("preview button: pop-up 1") << QStringLiteral("btnPreview") << right << true << Request::Popup << 1;
    QTest::newRow("negative tag: full topic") << QStringLiteral("lblTopic") << right << true << Request::Topic << 25;
    QTest::newRow("label on a page") << QStringLiteral("lblOnPage") << right << true << Request::Popup << 19;
    QTest::newRow("strip background") << QStringLiteral("viewport") << right << true << Request::Popup << 18;
    QTest::newRow("strip content background") << QStringLiteral("strip") << right << true << Request::Popup << 18;
    QTest::newRow("thumbnail on the strip has no help") << QStringLiteral("thumbnail") << right << false
                                                        << Request::Popup << 0;
    QTest::newRow("left button does nothing") << QStringLiteral("btnAdd") << int(Qt::LeftButton) << false
                                              << Request::Popup << 0;
    QTest::newRow("middle button does nothing") << QStringLiteral("lblUntagged") << int(Qt::MiddleButton) << false
                                                << Request::Popup << 0;
    // A control that is not routed to the help gets none, though its press reaches the window.
    QTest::newRow("unattached label on a page") << QStringLiteral("lblPlainOnPage") << right << false
                                                << Request::Popup << 0;
}

void TestWhatsThis::rightPressOpensHelp()
{
    QFETCH(QString, name);
    QFETCH(int, button);
    QFETCH(bool, menu);
    QFETCH(Request::Kind, kind);
    QFETCH(int, number);

    QWidget *target = control(name);
    QVERIFY(target);
    const QPoint local(3, 3);
    QTest::mousePress(target, Qt::MouseButton(button), {}, local);
    QTest::mouseRelease(target, Qt::MouseButton(button), {}, local);
    QCOMPARE(m_window->ct->PopupMenu()->isVisible(), menu);
    QVERIFY(m_viewer.requests.isEmpty()); // nothing before the item is chosen
    if (!menu)
        return;

    const QList<QAction *> items = m_window->ct->PopupMenu()->actions();
    QCOMPARE(items.size(), 1);
    QCOMPARE(items.first()->text(), QStringLiteral("&What's This ?"));
    items.first()->trigger();
    m_window->ct->PopupMenu()->hide();

    const QPoint global = target->mapToGlobal(local);
    const Request expected{kind, number, kind == Request::Popup ? global : QPoint()};
    QCOMPARE(m_viewer.requests.size(), 1);
    QCOMPARE(m_viewer.requests.first().kind, expected.kind);
    QCOMPARE(m_viewer.requests.first().number, expected.number);
    QCOMPARE(m_viewer.requests.first().position, expected.position);
    QCOMPARE(m_window->ct->LastHelpNumber(), kind == Request::Topic ? -number : number);
}

void TestWhatsThis::menuOpensBesideThePointer()
{
    const QPoint local(10, 12);
    QTest::mousePress(m_window->btnAdd, Qt::RightButton, {}, local);
    QMenu *menu = m_window->ct->PopupMenu();
    QVERIFY(menu->isVisible());
    QCOMPARE(menu->pos(), m_window->btnAdd->mapToGlobal(local) + QPoint(2, 2));
    menu->hide();
    QVERIFY(m_viewer.requests.isEmpty()); // closing the menu without a choice shows nothing
}

void TestWhatsThis::directMouseDown_data()
{
    QTest::addColumn<int>("tag");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("requests");
    QTest::addColumn<Request::Kind>("kind");
    QTest::addColumn<int>("number");

    QTest::newRow("-21") << -21 << int(Qt::RightButton) << 1 << Request::Topic << 21;
    QTest::newRow("7") << 7 << int(Qt::RightButton) << 1 << Request::Popup << 7;
    QTest::newRow("-1") << -1 << int(Qt::RightButton) << 1 << Request::Topic << 1;
    QTest::newRow("left button") << 7 << int(Qt::LeftButton) << 0 << Request::Popup << 0;
}

void TestWhatsThis::directMouseDown()
{
    QFETCH(int, tag);
    QFETCH(int, button);
    QFETCH(int, requests);
    QFETCH(Request::Kind, kind);
    QFETCH(int, number);

    // A control on a parentless widget with no tag anywhere: nothing at all.
    QWidget lonely;
    auto *inner = new QLabel(&lonely);
    m_window->ct->MouseDown(inner, Qt::RightButton, QPoint(5, 5));
    QVERIFY(!m_window->ct->PopupMenu()->isVisible());
    QCOMPARE(m_window->ct->LastHelpNumber(), 0);

    inner->setProperty(TWhatsThis::HelpTagProperty, tag);
    m_window->ct->MouseDown(inner, Qt::MouseButton(button), QPoint(50, 60));
    m_window->ct->ShowLastHelp();
    m_window->ct->PopupMenu()->hide();
    QCOMPARE(m_viewer.requests.size(), requests);
    if (requests) {
        QCOMPARE(m_viewer.requests.first().kind, kind);
        QCOMPARE(m_viewer.requests.first().number, number);
    }
}

void TestWhatsThis::helpKeyOpensFieldContext_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("topic");

    QTest::newRow("field with a context") << QStringLiteral("txtBetweenFrames") << 18;
    QTest::newRow("inner edit of a composite field") << QStringLiteral("innerEdit") << 20;
    QTest::newRow("field without a context opens the contents") << QStringLiteral("txtNoContext") << 1;
}

void TestWhatsThis::helpKeyOpensFieldContext()
{
    QFETCH(QString, name);
    QFETCH(int, topic);

    QWidget *field = control(name);
    field->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), field);
    QTest::keyClick(field, Qt::Key_F1);
    QCOMPARE(m_viewer.requests.size(), 1);
    QCOMPARE(m_viewer.requests.first().kind, Request::Topic);
    QCOMPARE(m_viewer.requests.first().number, topic);
    QCOMPARE(TWhatsThis::HelpContext(field), topic == 1 ? 0 : topic);
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QApplication app(argc, argv);
    TestWhatsThis test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_whats_this.moc"
