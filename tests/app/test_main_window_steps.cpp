#include "app/ReelcraftApplication.h"
#include "app/TfrmReelcraft.h"
#include "colour/TTarnColourPicker.h"
#include "controls/TTarnCombo.h"
#include "controls/TTarnEdit.h"
#include "controls/TfrmSplash.h"
#include "integration/TTarnBrowser.h"
#include "output/AppletTagWriter.h"
#include "platform/NoHostLink.h"
#include "platform/Registry.h"

#include "HelpViewerDouble.h"
#include "ProcessLauncherDouble.h"
#include "PromptsDouble.h"
#include "TestEnvironment.h"
#include "TestFiles.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QToolButton>

#include <memory>

// What a user does in the main window: colours typed both ways, What's-This help on every
// control, where the window opens, and the hourglass of a preview.
class TestMainWindowSteps : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void colourFieldWritesOnlyWholeColours();
    void whatsThisOnControlsWithoutTheirOwnNumber_data();
    void whatsThisOnControlsWithoutTheirOwnNumber();
    void windowOpensCentred();
    void previewHourglassLastsUntilTheBrowserStarted();

private:
    QLabel *label(const QString &text) const;
    QString bgLine() const;

    std::unique_ptr<Registry> m_registry;
    PromptsDouble m_prompts;
    NoHostLink m_host;
    HelpViewerDouble m_help;
    ProcessLauncherDouble m_launcher;
    std::unique_ptr<TfrmReelcraft> m_window;
};

void TestMainWindowSteps::init()
{
    const QString folder = TestEnvironment::instance().freshFolder(QStringLiteral("steps"));
    m_registry = std::make_unique<Registry>(folder + QStringLiteral("/user.json"),
                                            folder + QStringLiteral("/machine.json"));
    m_prompts.clear();
    m_help.clear();
    m_window = std::make_unique<TfrmReelcraft>(
        AppServices{m_prompts, *m_registry, m_host, m_help, m_launcher, [](TfrmSplash &, int) {}});
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestMainWindowSteps::cleanup()
{
    m_window.reset();
    m_registry.reset();
    m_launcher.onStart = {};
}

QLabel *TestMainWindowSteps::label(const QString &text) const
{
    for (QLabel *found : m_window->findChildren<QLabel *>())
        if (found->text() == text)
            return found;
    return nullptr;
}

// The bg line of the element the compile dialog would show; empty when there is none.
QString TestMainWindowSteps::bgLine() const
{
    const QString element = WriteAppletTag(m_window->document(), QString());
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("<param name=\"bg\" value=\"([^\"]*)\">")).match(element);
    return match.hasMatch() ? match.captured(1) : QString();
}

void TestMainWindowSteps::colourFieldWritesOnlyWholeColours()
{
    TTarnColourPicker *picker = m_window->scpBGColour;
    QLineEdit *box = picker->TextBox()->lineEdit();
    const QRegularExpression whole(QStringLiteral("^(#[0-9A-F]{6})?$"));
    const auto check = [&](const char *step) {
        QVERIFY2(whole.match(bgLine()).hasMatch(), qPrintable(QLatin1String(step) + QLatin1String(": ") + bgLine()));
    };

    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("FF8000"));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(bgLine(), QStringLiteral("#FF8000"));

    // The decimal item of the drop-down.
    TTarnCombo *combo = picker->TextBox();
    combo->showPopup();
    QTRY_VERIFY(combo->view()->isVisible());
    QCOMPARE(combo->itemText(1), QStringLiteral("255,128,0"));
    QTest::mouseClick(combo->view()->viewport(), Qt::LeftButton, {},
                      combo->view()->visualRect(combo->model()->index(1, 0)).center());
    QCOMPARE(box->text(), QStringLiteral("255,128,0"));
    QCOMPARE(bgLine(), QStringLiteral("#FF8000"));

    // Typing 00FF00 over it: on the way, half a colour writes no bg at all.
    box->selectAll();
    for (const QChar key : QStringLiteral("00FF00")) {
        QTest::keyClicks(box, QString(key));
        check("typing");
    }
    QCOMPARE(bgLine(), QStringLiteral("#00FF00"));
    QCOMPARE(picker->grab().toImage().pixelColor(1, 1), QColor(0, 255, 0));

    // A valid decimal colour is written too, an invalid one not at all.
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("0,0,255"));
    QCOMPARE(bgLine(), QStringLiteral("#0000FF"));
    QTest::keyClicks(box, QStringLiteral("5"));
    QCOMPARE(bgLine(), QString());
}

void TestMainWindowSteps::whatsThisOnControlsWithoutTheirOwnNumber_data()
{
    QTest::addColumn<QString>("control");
    for (const char *name : {"Applet Width", "Soundtrack", "Background Image", "Background Color", "fit",
                             "soundtrack folder", "background folder", "check box", "Exit"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestMainWindowSteps::whatsThisOnControlsWithoutTheirOwnNumber()
{
    QFETCH(QString, control);
    const QMap<QString, QWidget *> controls{
        {QStringLiteral("fit"), m_window->btnFit},
        {QStringLiteral("soundtrack folder"), m_window->txtSoundtrack->BrowseButton()},
        {QStringLiteral("background folder"), m_window->txtBackImage->BrowseButton()},
        {QStringLiteral("check box"), m_window->chkExchange},
        {QStringLiteral("Exit"), m_window->btnExit},
    };
    QWidget *widget = controls.value(control, label(control));
    QVERIFY(widget && widget->isVisible());

    QTest::mousePress(widget, Qt::RightButton, {}, QPoint(3, 3));
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QCOMPARE(menu->actions().size(), 1);
    QCOMPARE(menu->actions().constFirst()->text(), QStringLiteral("&What's This ?"));
    menu->actions().constFirst()->trigger();
    menu->hide();
    QCOMPARE(m_help.requests.size(), 1);
    QCOMPARE(m_help.requests.constFirst().kind, HelpViewerDouble::Request::Topic);
    QCOMPARE(m_help.requests.constFirst().number, 21);
}

void TestMainWindowSteps::windowOpensCentred()
{
    const QRect available = m_window->screen()->availableGeometry();
    const QPoint offset = m_window->frameGeometry().center() - available.center();
    QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
}

void TestMainWindowSteps::previewHourglassLastsUntilTheBrowserStarted()
{
    const QString folder = TestEnvironment::instance().freshFolder(QStringLiteral("steps-browser"));
    const QString program = folder + QStringLiteral("/testbrowser");
    writeAll(program, "#!/bin/sh\n");
    QFile(program).setPermissions(QFile::permissions(program) | QFileDevice::ExeOwner);
    const QString key = QStringLiteral("Software\\Tarnwick\\Browsers\\Test Browser");
    m_registry->writeString(Registry::Root::CurrentUser, key, QStringLiteral("Created"), QStringLiteral("Manually"));
    m_registry->writeString(Registry::Root::CurrentUser, key, QStringLiteral("EXE Name"), program);

    bool busyAtStart = false;
    m_launcher.onStart = [&busyAtStart](const ProcessLauncherDouble::Start &) {
        const QCursor *cursor = QGuiApplication::overrideCursor();
        busyAtStart = cursor && cursor->shape() == Qt::WaitCursor;
    };
    m_window->btnPreviewClick();
    QMenu *menu = m_window->browsers().PopupMenu();
    QVERIFY(menu);
    QAction *browser = nullptr;
    for (QAction *action : menu->actions())
        if (action->text() == QLatin1String("Test Browser"))
            browser = action;
    QVERIFY(browser);
    menu->hide();
    browser->trigger();
    QCOMPARE(m_launcher.starts.size(), 1);
    QVERIFY(busyAtStart);
    QVERIFY(!QGuiApplication::overrideCursor());
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    ReelcraftApplication app(argc, argv);
    TestMainWindowSteps test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_main_window_steps.moc"
