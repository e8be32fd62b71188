#include "app/ReelcraftApplication.h"
#include "app/TfrmReelcraft.h"
#include "colour/TTarnColourPicker.h"
#include "controls/TTarnCombo.h"
#include "controls/TTarnEdit.h"
#include "document/TFrame.h"
#include "integration/TTarnBrowser.h"
#include "output/AppletTagWriter.h"
#include "platform/AppFolders.h"
#include "document/TFrameStrip.h"
#include "platform/NoHostLink.h"
#include "controls/TWhatsThis.h"
#include "controls/TfrmSplash.h"
#include "platform/Registry.h"

#include "HelpViewerDouble.h"
#include "ProcessLauncherDouble.h"
#include "PromptsDouble.h"
#include "TestEnvironment.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace Qt::StringLiterals;

// The main window's layout and its fields kept in step with the document both ways.
class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startupValuesShown_data();
    void startupValuesShown();
    void fontListsHaveNoSelectionUntilReset();
    void typingGoesIntoTheDocument();
    void documentChangesShowWithoutEcho();
    void resetShowsResetValues();
    void fontSizeSpinStopsAtItsLimits_data();
    void fontSizeSpinStopsAtItsLimits();
    void menuCaptionsAndShortcuts_data();
    void menuCaptionsAndShortcuts();
    void toolbarHints_data();
    void toolbarHints();
    void compileWithEmptyStripShowsItsMessage_data();
    void compileWithEmptyStripShowsItsMessage();
    void previewWithEmptyStripOffersTheBrowserMenu();
    void layoutFitsTheClientArea();
    void colourFieldWritesOnlyWholeColours();
    void typedColourIsSaved_data();
    void typedColourIsSaved();
    void whatsThisOnControlsWithoutTheirOwnNumber();
    void scaleBoxFollowsTheDocument();
    void windowOpensCentred();
    void previewHourglassLastsUntilTheBrowserStarted();
    void savePageScreenshots();

private:
    std::unique_ptr<Registry> m_registry;
    PromptsDouble m_prompts;
    NoHostLink m_host;
    HelpViewerDouble m_help;
    ProcessLauncherDouble m_launcher;
    std::unique_ptr<TfrmReelcraft> m_window;
};

void TestMainWindow::init()
{
    const QString folder = TestEnvironment::instance().freshFolder(QStringLiteral("mainwindow"));
    m_registry = std::make_unique<Registry>(folder + QStringLiteral("/user.json"),
                                            folder + QStringLiteral("/machine.json"));
    m_prompts.clear();
    m_window = std::make_unique<TfrmReelcraft>(
        AppServices{m_prompts, *m_registry, m_host, m_help, m_launcher, [](TfrmSplash &, int) {}});
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestMainWindow::cleanup()
{
    m_window.reset();
    m_registry.reset();
}

void TestMainWindow::startupValuesShown_data()
{
    QTest::addColumn<int>("setting");
    QTest::addColumn<QString>("shown");
    QTest::newRow("width") << int(TextSetting::JavaWidth) << QStringLiteral("600");
    QTest::newRow("height") << int(TextSetting::JavaHeight) << QStringLiteral("200");
    QTest::newRow("between frames") << int(TextSetting::BetweenFrames) << QStringLiteral("500");
    QTest::newRow("delay") << int(TextSetting::Delay) << QStringLiteral("0");
    QTest::newRow("repeat") << int(TextSetting::Repeat) << QString();
    QTest::newRow("soundtrack") << int(TextSetting::Soundtrack) << QString();
    QTest::newRow("background image") << int(TextSetting::BackImage) << QString();
    QTest::newRow("horizontal speed") << int(TextSetting::HorizSpeed) << QStringLiteral("0");
    QTest::newRow("vertical speed") << int(TextSetting::VerticalSpeed) << QStringLiteral("0");
    QTest::newRow("font size") << int(TextSetting::FontSize) << QStringLiteral("16");
}

void TestMainWindow::startupValuesShown()
{
    QFETCH(int, setting);
    QFETCH(QString, shown);
    QCOMPARE(m_window->field(TextSetting(setting))->text(), shown);
    QCOMPARE(m_window->cmbEdge->currentText(), QStringLiteral("Bounce Off Edge"));
    QCOMPARE(m_window->cmbHorizDirection->currentText(), QStringLiteral("No Sideways Movement"));
    QCOMPARE(m_window->cmbVertDirection->currentText(), QStringLiteral("No Vertical Movement"));
    QCOMPARE(m_window->scpBGColour->Text(), QString());
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Java Reelcraft 1.7"));
}

void TestMainWindow::fontListsHaveNoSelectionUntilReset()
{
    QCOMPARE(m_window->cmbFontName->currentIndex(), -1);
    QCOMPARE(m_window->cmbFontStyle->currentIndex(), -1);
    QCOMPARE(m_window->cmbFontName->count(), 6);
    QCOMPARE(m_window->cmbFontStyle->itemText(3), QStringLiteral("Bold + Italic"));
}

void TestMainWindow::typingGoesIntoTheDocument()
{
    m_window->txtJavaWidth->setFocus();
    m_window->txtJavaWidth->selectAll();
    QTest::keyClicks(m_window->txtJavaWidth, QStringLiteral("320"));
    QCOMPARE(m_window->document().text(TextSetting::JavaWidth), QStringLiteral("320"));

    QTest::keyClicks(m_window->scpBGColour->TextBox()->lineEdit(), QStringLiteral("FF8000"));
    QVERIFY(m_window->document().BackgroundColour().IsHtmlColour());
    QCOMPARE(m_window->document().BackgroundColour().HtmlColour(), QStringLiteral("FF8000"));

    // A pick in a list is a user action and reaches the document.
    m_window->cmbEdge->setFocus();
    QTest::keyClick(m_window->cmbEdge, Qt::Key_Down);
    QCOMPARE(m_window->document().selectedIndex(ListSetting::Edge), int(DisappearOffEdge));
}

void TestMainWindow::documentChangesShowWithoutEcho()
{
    int changes = 0;
    connect(&m_window->document(), &AnimationDocument::textSettingChanged, this, [&changes] { ++changes; });
    m_window->document().setText(TextSetting::Delay, QStringLiteral("1500"));
    QCOMPARE(m_window->txtDelay->text(), QStringLiteral("1500"));
    QCOMPARE(changes, 1); // showing the value did not come back as a second change

    m_window->document().setSelectedIndex(ListSetting::HorizDirection, RightToLeft);
    QCOMPARE(m_window->cmbHorizDirection->currentText(), QStringLiteral("Right To Left"));
    m_window->document().BackgroundColour().SetText(QStringLiteral("#00FF00"));
    QCOMPARE(m_window->scpBGColour->TextBox()->currentText(), QStringLiteral("00FF00"));
}

void TestMainWindow::resetShowsResetValues()
{
    m_window->document().setText(TextSetting::Repeat, QStringLiteral("3"));
    m_window->document().BackgroundColour().SetText(QStringLiteral("123456"));
    m_window->document().ResetDocument();
    QCOMPARE(m_window->txtBetweenFrames->text(), QStringLiteral("0"));
    QCOMPARE(m_window->txtRepeat->text(), QString());
    QCOMPARE(m_window->scpBGColour->Text(), QString());
    QCOMPARE(m_window->cmbFontName->currentText(), QStringLiteral("Helvetica"));
    QCOMPARE(m_window->cmbFontStyle->currentText(), QStringLiteral("[None]"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Reelcraft"));
}

void TestMainWindow::fontSizeSpinStopsAtItsLimits_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QString>("after");
    QTest::newRow("down from 16") << QStringLiteral("16") << false << QStringLiteral("15");
    QTest::newRow("down at 0") << QStringLiteral("0") << false << QStringLiteral("0");
    QTest::newRow("down from 1") << QStringLiteral("1") << false << QStringLiteral("0");
    QTest::newRow("up from 16") << QStringLiteral("16") << true << QStringLiteral("17");
    QTest::newRow("up at 127") << QStringLiteral("127") << true << QStringLiteral("127");
    QTest::newRow("up from 126") << QStringLiteral("126") << true << QStringLiteral("127");
    QTest::newRow("up from empty") << QString() << true << QStringLiteral("1");
}

void TestMainWindow::fontSizeSpinStopsAtItsLimits()
{
    QFETCH(QString, start);
    QFETCH(bool, up);
    QFETCH(QString, after);
    m_window->document().setText(TextSetting::FontSize, start);
    QTest::mouseClick(up ? m_window->spnFontSizeUp : m_window->spnFontSizeDown, Qt::LeftButton);
    QCOMPARE(m_window->txtFontSize->text(), after);
    QCOMPARE(m_window->document().text(TextSetting::FontSize), after);
}

void TestMainWindow::menuCaptionsAndShortcuts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::newRow("open") << QStringLiteral("mnuFileOpen") << QStringLiteral("&Open") << QKeySequence(QStringLiteral("Ctrl+O"));
    QTest::newRow("save") << QStringLiteral("mnuFileSave") << QStringLiteral("&Save") << QKeySequence(QStringLiteral("Ctrl+S"));
    QTest::newRow("save as") << QStringLiteral("mnuFileSaveAs") << QStringLiteral("Save &As") << QKeySequence();
    QTest::newRow("exit") << QStringLiteral("Exit1") << QStringLiteral("E&xit") << QKeySequence(QStringLiteral("Ctrl+Q"));
    QTest::newRow("add") << QStringLiteral("mnuCommandAdd") << QStringLiteral("&Add") << QKeySequence(QStringLiteral("Ctrl+A"));
    QTest::newRow("delete") << QStringLiteral("Delete1") << QStringLiteral("&Delete") << QKeySequence(QStringLiteral("Ctrl+D"));
    QTest::newRow("delete all") << QStringLiteral("DeleteAll1") << QStringLiteral("D&elete All") << QKeySequence();
    QTest::newRow("preview") << QStringLiteral("Preview1") << QStringLiteral("&Preview") << QKeySequence(Qt::Key_F9);
    QTest::newRow("compile") << QStringLiteral("Compile1") << QStringLiteral("&Compile") << QKeySequence(Qt::Key_F5);
    QTest::newRow("contents") << QStringLiteral("mnuHelpContents") << QStringLiteral("&Contents") << QKeySequence();
    QTest::newRow("about") << QStringLiteral("mnuHelpAbout") << QStringLiteral("&About") << QKeySequence();
}

void TestMainWindow::menuCaptionsAndShortcuts()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);
    const QHash<QString, QAction *> actions = {
        {QStringLiteral("mnuFileOpen"), m_window->mnuFileOpen},
        {QStringLiteral("mnuFileSave"), m_window->mnuFileSave},
        {QStringLiteral("mnuFileSaveAs"), m_window->mnuFileSaveAs},
        {QStringLiteral("Exit1"), m_window->Exit1},
        {QStringLiteral("mnuCommandAdd"), m_window->mnuCommandAdd},
        {QStringLiteral("Delete1"), m_window->Delete1},
        {QStringLiteral("DeleteAll1"), m_window->DeleteAll1},
        {QStringLiteral("Preview1"), m_window->Preview1},
        {QStringLiteral("Compile1"), m_window->Compile1},
        {QStringLiteral("mnuHelpContents"), m_window->mnuHelpContents},
        {QStringLiteral("mnuHelpAbout"), m_window->mnuHelpAbout},
    };
    QAction *action = actions.value(name);
    QVERIFY(action);
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->shortcut(), shortcut);
}

void TestMainWindow::toolbarHints_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<int>("left");
    QTest::newRow("add") << QStringLiteral("btnAdd") << QStringLiteral("Add one or more frames to your animation") << 6;
    QTest::newRow("delete") << QStringLiteral("btnDelete") << QStringLiteral("Delete the highlighted frame(s) from the animation") << 41;
    QTest::newRow("delete all") << QStringLiteral("btnDeleteAll") << QStringLiteral("Remove all frames from the animation") << 76;
    QTest::newRow("preview") << QStringLiteral("btnPreview") << QStringLiteral("Choose a browser in which to preview the animation.") << 119;
    QTest::newRow("compile") << QStringLiteral("btnCompile") << QStringLiteral("Write the animation out to your current document") << 154;
    QTest::newRow("exit") << QStringLiteral("btnExit") << QStringLiteral("Exit from the Reelcraft") << 200;
}

void TestMainWindow::toolbarHints()
{
    QFETCH(QString, button);
    QFETCH(QString, hint);
    QFETCH(int, left);
    const QHash<QString, QToolButton *> buttons = {
        {QStringLiteral("btnAdd"), m_window->btnAdd},         {QStringLiteral("btnDelete"), m_window->btnDelete},
        {QStringLiteral("btnDeleteAll"), m_window->btnDeleteAll}, {QStringLiteral("btnPreview"), m_window->btnPreview},
        {QStringLiteral("btnCompile"), m_window->btnCompile}, {QStringLiteral("btnExit"), m_window->btnExit},
    };
    QToolButton *b = buttons.value(button);
    QVERIFY(b);
    QCOMPARE(b->toolTip(), hint);
    QCOMPARE(b->x(), left);
    QVERIFY2(!b->icon().isNull(), "every toolbar button carries its glyph");
}

void TestMainWindow::compileWithEmptyStripShowsItsMessage_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("F5") << "F5";
    QTest::newRow("menu item") << "menu";
    QTest::newRow("toolbar button") << "button";
}

void TestMainWindow::compileWithEmptyStripShowsItsMessage()
{
    QFETCH(QString, how);
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    if (how == QLatin1String("F5"))
        QTest::keyClick(m_window.get(), Qt::Key_F5);
    else if (how == QLatin1String("menu"))
        m_window->Compile1->trigger();
    else
        QTest::mouseClick(m_window->btnCompile, Qt::LeftButton);
    QCOMPARE(m_prompts.messages(),
             QStringList{QStringLiteral("You have not added any images to the animation yet !  Please click on the "
                                        "\"Add Image\" button and choose one or more image files.")});
}

void TestMainWindow::previewWithEmptyStripOffersTheBrowserMenu()
{
    // A browser whose program exists; choosing it writes the preview page and starts it.
    const QString folder = TestEnvironment::instance().freshFolder(QStringLiteral("browser"));
    const QString program = folder + QStringLiteral("/testbrowser");
    QFile file(program);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n");
    file.close();
    QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ExeOwner));
    const QString key = QStringLiteral("Software\\Tarnwick\\Browsers\\Test Browser");
    m_registry->writeString(Registry::Root::CurrentUser, key, QStringLiteral("Created"), QStringLiteral("Manually"));
    m_registry->writeString(Registry::Root::CurrentUser, key, QStringLiteral("EXE Name"), program);

    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QTest::keyClick(m_window.get(), Qt::Key_F9);
    QMenu *menu = m_window->browsers().PopupMenu();
    QVERIFY(menu);
    QTRY_VERIFY(menu->isVisible());
    QAction *browser = nullptr;
    QStringList captions;
    for (QAction *action : menu->actions()) {
        captions.append(action->text());
        if (action->text() == QLatin1String("Test Browser"))
            browser = action;
    }
    QVERIFY2(browser, qPrintable(captions.join(QLatin1Char('|'))));
    QVERIFY(captions.contains(QStringLiteral("&Edit Browsers")));
    menu->hide();
    browser->trigger();

    const QString page = ProgramFolder() + QStringLiteral("/preview/~jvprev.htm");
    QVERIFY(QFile::exists(page));
    QCOMPARE(m_launcher.starts.size(), 1);
    QCOMPARE(m_launcher.starts.at(0).program, program);
    QVERIFY2(m_launcher.starts.at(0).arguments.join(QLatin1Char(' ')).contains(QStringLiteral("~jvprev.htm")),
             qPrintable(m_launcher.starts.at(0).arguments.join(QLatin1Char(' '))));
}

void TestMainWindow::layoutFitsTheClientArea()
{
    QCOMPARE(m_window->centralWidget()->size(), QSize(417, 327));
    // Every label's text fits its own width and no child pokes out of its parent.
    const QList<QWidget *> widgets = m_window->centralWidget()->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (auto *label = qobject_cast<QLabel *>(widget); label && !label->wordWrap()
            && !label->text().isEmpty()) {
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                     qPrintable(label->text()));
        }
        QWidget *parent = widget->parentWidget();
        if (widget->window() != m_window.get() || !parent || !widget->isVisibleTo(parent)
            || parent->inherits("QStackedWidget") || parent->inherits("QAbstractScrollArea"))
            continue;
        if (parent->objectName().startsWith(QLatin1String("qt_")))
            continue;
        QVERIFY2(parent->rect().contains(widget->geometry()),
                 qPrintable(QStringLiteral("%1 in %2").arg(QLatin1String(widget->metaObject()->className()),
                                                          QLatin1String(parent->metaObject()->className()))));
    }
}

void TestMainWindow::colourFieldWritesOnlyWholeColours()
{
    QLineEdit *box = m_window->scpBGColour->TextBox()->lineEdit();
    const auto bg = [this] {
        const QRegularExpression line(QStringLiteral("<param name=\"bg\" value=\"([^\"]*)\">"));
        return line.match(WriteAppletTag(m_window->document(), QString())).captured(1);
    };
    // FF8000 and Enter, then the decimal item of the drop-down.
    QTest::keyClicks(box, QStringLiteral("FF8000"));
    QTest::keyClick(box, Qt::Key_Return);
    TTarnCombo *combo = m_window->scpBGColour->TextBox();
    combo->showPopup();
    QTest::mouseClick(combo->view()->viewport(), Qt::LeftButton, {},
                      combo->view()->visualRect(combo->model()->index(1, 0)).center());
    QCOMPARE(box->text(), QStringLiteral("255,128,0"));
    QCOMPARE(bg(), QStringLiteral("#FF8000"));
    // Typing 00FF00 over it: half a colour writes no bg at all, a whole one is written.
    box->selectAll();
    for (const QChar key : QStringLiteral("00FF00")) {
        QTest::keyClicks(box, QString(key));
        QVERIFY2(QRegularExpression(QStringLiteral("^(#[0-9A-F]{6})?$")).match(bg()).hasMatch(), qPrintable(bg()));
    }
    QCOMPARE(bg(), QStringLiteral("#00FF00"));
    QCOMPARE(m_window->scpBGColour->grab().toImage().pixelColor(1, 1), QColor(0, 255, 0));
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("0,0,255"));
    QCOMPARE(bg(), QStringLiteral("#0000FF"));
}

void TestMainWindow::typedColourIsSaved_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("bg");
    QTest::newRow("letters that are no digits are refused") << u"ffzz0033"_s << u"#FF0033"_s;
    QTest::newRow("a hash and a g among digits") << u"12#34g56"_s << u"#123456"_s;
    QTest::newRow("a comma makes it decimal") << u"ff0033,"_s << u"#FF0033"_s;
}

void TestMainWindow::typedColourIsSaved()
{
    QFETCH(QString, typed);
    QFETCH(QString, bg);
    // A click in the background colour field, the keys, then Ctrl+S.
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QTest::mouseClick(m_window->scpBGColour->TextBox()->lineEdit(), Qt::LeftButton);
    QWidget *keys = QApplication::focusWidget();
    QCOMPARE(keys, m_window->scpBGColour->TextBox());
    QTest::keyClicks(keys, typed);
    const QString file = TestEnvironment::instance().freshFolder(u"colour-save"_s) + u"/colour.rcf"_s;
    m_prompts.answers.enqueue(file);
    QTest::keyClick(keys, Qt::Key_S, Qt::ControlModifier);
    QFile saved(file);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().contains("<param name=\"bg\" value=\"" + bg.toLatin1() + "\">"));
}

void TestMainWindow::whatsThisOnControlsWithoutTheirOwnNumber()
{
    QList<QWidget *> controls{m_window->btnFit, m_window->txtSoundtrack->BrowseButton(),
                              m_window->txtBackImage->BrowseButton(), m_window->chkExchange, m_window->btnExit};
    for (QLabel *label : m_window->tbGeneral->findChildren<QLabel *>())
        if (QStringList{u"Applet Width"_s, u"Soundtrack"_s, u"Background Image"_s, u"Background Color"_s}.contains(label->text()))
            controls.append(label);
    QCOMPARE(controls.size(), 9);
    for (QWidget *control : controls) {
        m_help.clear();
        QTest::mousePress(control, Qt::RightButton, {}, QPoint(3, 3));
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY2(menu, control->metaObject()->className());
        menu->actions().constFirst()->trigger();
        menu->hide();
        QCOMPARE(m_help.requests.size(), 1);
        QCOMPARE(m_help.requests.constFirst().kind, HelpViewerDouble::Request::Topic);
        QCOMPARE(m_help.requests.constFirst().number, 21);
    }
}

void TestMainWindow::scaleBoxFollowsTheDocument()
{
    QCheckBox *box = m_window->chkScale;
    QCOMPARE(box->text(), QStringLiteral("Scale pictures to fit"));
    QVERIFY(!box->isChecked());
    QVERIFY(!m_window->document().ScaleToFit());
    // The user's click sets the document; what the document reads shows in the box.
    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(m_window->document().ScaleToFit());
    m_window->document().ResetDocument();
    QVERIFY(!box->isChecked());
    m_window->document().setScaleToFit(true);
    QVERIFY(box->isChecked());
    QCOMPARE(box->property(TWhatsThis::HelpTagProperty).toInt(), 27);
}

void TestMainWindow::windowOpensCentred()
{
    const QPoint offset = m_window->frameGeometry().center() - m_window->screen()->availableGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
}

void TestMainWindow::previewHourglassLastsUntilTheBrowserStarted()
{
    const QString key = QStringLiteral("Software\\Tarnwick\\Browsers\\Shell");
    m_registry->writeString(Registry::Root::CurrentUser, key, QStringLiteral("EXE Name"), QStringLiteral("/bin/sh"));
    QList<bool> busyAtStart;
    m_launcher.onStart = [&busyAtStart](const ProcessLauncherDouble::Start &) {
        busyAtStart.append(QGuiApplication::overrideCursor()
                           && QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor);
    };
    m_window->btnPreviewClick();
    m_window->browsers().PopupMenu()->hide();
    for (QAction *action : m_window->browsers().PopupMenu()->actions())
        if (action->text() == QLatin1String("Shell"))
            action->trigger();
    m_launcher.onStart = {};
    QCOMPARE(busyAtStart, QList<bool>{true});
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestMainWindow::savePageScreenshots()
{
    // With REELCRAFT_SHOT_DIR set, every page is saved as a picture for a person to look at.
    const QString folder = qEnvironmentVariable("REELCRAFT_SHOT_DIR");
    if (folder.isEmpty())
        QSKIP("REELCRAFT_SHOT_DIR not set");
    for (int page = 0; page < m_window->pgReelcraft->count(); ++page) {
        m_window->pgReelcraft->setCurrentIndex(page);
        QVERIFY(m_window->grab().save(folder + QStringLiteral("/main-page%1.png").arg(page)));
    }
    // And with a few frames, one of them selected.
    const QString pictures = TestEnvironment::instance().freshFolder(QStringLiteral("shot-pictures"));
    for (int i = 0; i < 4; ++i) {
        QImage image(640, 480, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixelColor(x, y, QColor::fromHsv((i * 70 + x / 8) % 360, 160, 120 + y / 5));
        const QString path = pictures + QStringLiteral("/holiday-picture-%1.jpg").arg(i + 1);
        QVERIFY(image.save(path));
        m_window->scrFrames->AddFrame(path, QStringLiteral("Caption %1").arg(i + 1));
    }
    m_window->scrFrames->LayoutFrames();
    QTest::mouseClick(m_window->scrFrames->thumbnail(1), Qt::LeftButton);
    m_window->pgReelcraft->setCurrentIndex(2);
    QVERIFY(m_window->grab().save(folder + QStringLiteral("/main-frames.png")));
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    ReelcraftApplication app(argc, argv);
    TestMainWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_main_window.moc"
