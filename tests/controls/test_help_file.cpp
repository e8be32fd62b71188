#include "app/TfrmReelcraft.h"
#include "controls/TfrmSplash.h"
#include "controls/HelpFile.h"
#include "controls/TWhatsThis.h"
#include "platform/AppFolders.h"
#include "platform/NoHostLink.h"
#include "platform/QtHelpViewer.h"
#include "platform/Registry.h"

#include "HelpViewerDouble.h"
#include "ProcessLauncherDouble.h"
#include "PromptsDouble.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>
#include <QtMath>

#include <memory>

using Kind = HelpFile::Kind;
Q_DECLARE_METATYPE(HelpFile::Kind)

namespace {

constexpr int LeastWords = 40;

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray embeddedBytes()
{
    return readBytes(QLatin1String(EmbeddedHelpResource));
}

} // namespace

// The help page: every number the program asks for has real text; installing and showing it.
class TestHelpFile : public QObject
{
    Q_OBJECT
private slots:
    void everyUsedNumberHasText_data();
    void everyUsedNumberHasText();
    void mainWindowNumbersAllHaveText();
    void linksLeadToSections();
    void parseRules_data();
    void parseRules();
    void installWritesWhenMissingOrDifferent();
    void installFailureIsShown();
    void viewerShowsTopicsAndPopups();
    void viewerReadsTheInstalledFile();
    void saveScreenshots();
};

void TestHelpFile::everyUsedNumberHasText_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("about"); // a word the text must hold

    // Full topics: Help > Contents, the window's tag -21 and the fields' F1 contexts.
    QTest::newRow("contents") << Kind::Topic << 1 << QStringLiteral("slideshow");
    QTest::newRow("window (tag -21), soundtrack") << Kind::Topic << 21 << QStringLiteral("Soundtrack");
    QTest::newRow("time between frames") << Kind::Topic << 18 << QStringLiteral("milliseconds");
    QTest::newRow("delay before restarting") << Kind::Topic << 19 << QStringLiteral("Delay");
    QTest::newRow("background colour") << Kind::Topic << 20 << QStringLiteral("colour");
    QTest::newRow("behaviour at edge") << Kind::Topic << 22 << QStringLiteral("Bounce");
    QTest::newRow("horizontal direction") << Kind::Topic << 23 << QStringLiteral("Left To Right");
    QTest::newRow("horizontal speed") << Kind::Topic << 24 << QStringLiteral("pixels");
    QTest::newRow("applet width and height") << Kind::Topic << 25 << QStringLiteral("Width");
    QTest::newRow("repeat") << Kind::Topic << 26 << QStringLiteral("Repeat");
    // Pop-ups: the positive tags of buttons, strip and labels.
    QTest::newRow("add button") << Kind::Popup << 6 << QStringLiteral("pictures");
    QTest::newRow("preview button") << Kind::Popup << 1 << QStringLiteral("browser");
    QTest::newRow("compile button") << Kind::Popup << 3 << QStringLiteral("compile");
    QTest::newRow("frame strip") << Kind::Popup << 18 << QStringLiteral("thumbnail");
    QTest::newRow("time between frames label") << Kind::Popup << 19 << QStringLiteral("milliseconds");
    QTest::newRow("delay before restarting label") << Kind::Popup << 9 << QStringLiteral("pause");
    QTest::newRow("behaviour at edge label") << Kind::Popup << 13 << QStringLiteral("Bounce");
    QTest::newRow("direction labels") << Kind::Popup << 14 << QStringLiteral("sideways");
    QTest::newRow("speed labels") << Kind::Popup << 15 << QStringLiteral("pixels");
}

void TestHelpFile::everyUsedNumberHasText()
{
    QFETCH(Kind, kind);
    QFETCH(int, number);
    QFETCH(QString, about);

    const HelpFile file = HelpFile::embedded();
    QVERIFY(file.contains(kind, number));
    const HelpFile::Section section = file.section(kind, number);
    QVERIFY(!section.title.isEmpty());
    const int words = HelpFile::wordCount(section.html);
    QVERIFY2(words >= LeastWords, qPrintable(QStringLiteral("%1 words").arg(words)));
    const QString text = HelpFile::plainText(section.html);
    QVERIFY2(text.contains(about, Qt::CaseInsensitive), qPrintable(section.title));
    // Texts of this platform: the clipboard is no Windows one, and previews play without Java.
    static const QRegularExpression foreign(QStringLiteral("Windows Clipboard|browser that can run Java"));
    QVERIFY2(!text.contains(foreign), qPrintable(foreign.match(text).captured()));
}

void TestHelpFile::mainWindowNumbersAllHaveText()
{
    // Every help number that the real main window carries on itself or its controls.
    const QString folder = TestEnvironment::instance().freshFolder(QStringLiteral("helpnumbers"));
    Registry registry(folder + QStringLiteral("/user.json"), folder + QStringLiteral("/machine.json"));
    PromptsDouble prompts;
    NoHostLink host;
    HelpViewerDouble help;
    ProcessLauncherDouble launcher;
    TfrmReelcraft window(AppServices{prompts, registry, host, help, launcher, [](TfrmSplash &, int) {}});

    QList<QWidget *> widgets = window.findChildren<QWidget *>();
    widgets.prepend(&window);
    QSet<int> topics{1}; // Help > Contents
    QSet<int> popups;
    for (const QWidget *widget : std::as_const(widgets)) {
        const int tag = widget->property(TWhatsThis::HelpTagProperty).toInt();
        if (tag < 0)
            topics.insert(-tag);
        else if (tag > 0)
            popups.insert(tag);
        if (const int context = widget->property(TWhatsThis::HelpContextProperty).toInt())
            topics.insert(context);
    }
    // The walk found the window's numbers (so it looked at the right properties).
    QVERIFY(topics.contains(21));
    QVERIFY(topics.contains(25));
    QVERIFY(popups.contains(6));
    QVERIFY(popups.contains(18));

    const HelpFile file = HelpFile::embedded();
    for (int number : std::as_const(topics))
        QVERIFY2(HelpFile::wordCount(file.section(Kind::Topic, number).html) >= LeastWords,
                 qPrintable(QStringLiteral("topic %1").arg(number)));
    for (int number : std::as_const(popups))
        QVERIFY2(HelpFile::wordCount(file.section(Kind::Popup, number).html) >= LeastWords,
                 qPrintable(QStringLiteral("pop-up %1").arg(number)));
}

void TestHelpFile::linksLeadToSections()
{
    const QString page = HelpFile::embeddedPage();
    const HelpFile file = HelpFile::parse(page);
    static const QRegularExpression link(QStringLiteral("href=\"#(topic|popup)-(\\d+)\""));
    int links = 0;
    for (auto it = link.globalMatch(page); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const Kind kind = match.captured(1) == QLatin1String("topic") ? Kind::Topic : Kind::Popup;
        QVERIFY2(file.contains(kind, match.captured(2).toInt()), qPrintable(match.captured(0)));
        ++links;
    }
    QVERIFY(links > 20);
    // The page's own list names every section, so a reader in a browser finds them all.
    for (Kind kind : {Kind::Topic, Kind::Popup}) {
        for (int number : file.numbers(kind)) {
            const QString anchor = QStringLiteral("href=\"#%1-%2\"")
                                       .arg(kind == Kind::Topic ? QStringLiteral("topic") : QStringLiteral("popup"))
                                       .arg(number);
            QVERIFY2(page.contains(anchor), qPrintable(anchor));
        }
    }
}

void TestHelpFile::parseRules_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QList<int>>("topics");
    QTest::addColumn<QList<int>>("popups");
    QTest::addColumn<QString>("firstTitle");

    QTest::newRow("one of each")
        << QStringLiteral("<section class=\"topic\" id=\"topic-4\"><h2>Four</h2><p>x</p></section>"
                          "<section class=\"popup\" id=\"popup-4\"><h3>Note four</h3></section>")
        << QList<int>{4} << QList<int>{4} << QStringLiteral("Four");
    QTest::newRow("class and id disagree")
        << QStringLiteral("<section class=\"topic\" id=\"popup-4\"><h2>Odd</h2></section>")
        << QList<int>{} << QList<int>{} << QString();
    QTest::newRow("upper-case tags, spread over lines")
        << QStringLiteral("<SECTION class=\"topic\" id=\"topic-12\">\n<H2>Twelve\nlines</H2>\n</SECTION>")
        << QList<int>{12} << QList<int>{} << QStringLiteral("Twelve lines");
    QTest::newRow("no sections") << QStringLiteral("<html><body><p>nothing</p></body></html>")
                                 << QList<int>{} << QList<int>{} << QString();
    QTest::newRow("entities in the title")
        << QStringLiteral("<section class=\"topic\" id=\"topic-2\"><h2>File &gt; Open &amp; Save</h2></section>")
        << QList<int>{2} << QList<int>{} << QStringLiteral("File > Open & Save");
}

void TestHelpFile::parseRules()
{
    QFETCH(QString, page);
    QFETCH(QList<int>, topics);
    QFETCH(QList<int>, popups);
    QFETCH(QString, firstTitle);

    const HelpFile file = HelpFile::parse(page);
    QCOMPARE(file.numbers(Kind::Topic), topics);
    QCOMPARE(file.numbers(Kind::Popup), popups);
    if (!topics.isEmpty())
        QCOMPARE(file.section(Kind::Topic, topics.first()).title, firstTitle);
    QVERIFY(file.section(Kind::Topic, 999).html.isEmpty());
    QCOMPARE(HelpFile::wordCount(QStringLiteral("<p>One, two&nbsp;three <b>four</b>-five.</p>")), 5);
}

void TestHelpFile::installWritesWhenMissingOrDifferent()
{
    PromptsDouble prompts;
    const QString path = HelpFilePath();
    QCOMPARE(path, ProgramFolder() + QStringLiteral("/help/reelcraft.html"));
    QFile::remove(path);

    QCOMPARE(InstallHelpFile(prompts), path);
    QCOMPARE(readBytes(path), embeddedBytes());
    QVERIFY(prompts.shown.isEmpty());

    // A current file is left alone.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    const QDateTime old = QDateTime::currentDateTime().addDays(-3);
    QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
    file.close();
    InstallHelpFile(prompts);
    QCOMPARE(QFileInfo(path).lastModified().toSecsSinceEpoch(), old.toSecsSinceEpoch());

    // A file of another version, or a damaged one, is replaced.
    writeBytes(path, QByteArray("<html>old help</html>"));
    InstallHelpFile(prompts);
    QCOMPARE(readBytes(path), embeddedBytes());
    QByteArray cut = embeddedBytes();
    cut[cut.size() / 2] = 'X';
    writeBytes(path, cut);
    InstallHelpFile(prompts);
    QCOMPARE(readBytes(path), embeddedBytes());
    QVERIFY(prompts.shown.isEmpty());
}

void TestHelpFile::installFailureIsShown()
{
    // The "help" folder's place is taken by a regular file: the write fails, even for root.
    const QString folder = ProgramFolder() + QStringLiteral("/help");
    QDir(folder).removeRecursively();
    writeBytes(folder, QByteArray("not a folder"));
    PromptsDouble prompts;
    QCOMPARE(InstallHelpFile(prompts), HelpFilePath());
    QCOMPARE(prompts.shown.size(), 1);
    QVERIFY(prompts.shown.first().text.startsWith(
        QStringLiteral("An error occurred while trying to extract :/help/reelcraft.html to ") + HelpFilePath()));

    // The viewer still shows the help, from the copy inside the program.
    QtHelpViewer viewer(HelpFilePath());
    viewer.showTopic(25);
    QVERIFY(viewer.topicBrowser()->toPlainText().contains(QStringLiteral("Applet Width")));
    QFile::remove(folder);
}

void TestHelpFile::viewerShowsTopicsAndPopups()
{
    QtHelpViewer viewer;
    viewer.showTopic(1);
    QVERIFY(viewer.helpWindow()->isVisible());
    QCOMPARE(viewer.currentTopic(), 1);
    QVERIFY(viewer.helpWindow()->windowTitle().startsWith(QStringLiteral("Java Reelcraft Help - Contents")));
    QVERIFY(viewer.topicBrowser()->toPlainText().contains(QStringLiteral("A slideshow in five steps")));

    // A link to another topic opens it in the same window.
    emit viewer.topicBrowser()->anchorClicked(QUrl(QStringLiteral("#topic-23")));
    QCOMPARE(viewer.currentTopic(), 23);
    QVERIFY(viewer.topicBrowser()->toPlainText().contains(QStringLiteral("No Sideways Movement")));

    // A number the file does not have says so rather than showing nothing.
    viewer.showTopic(999);
    QVERIFY(viewer.topicBrowser()->toPlainText().contains(QStringLiteral("no topic numbered 999")));

    const QPoint at(120, 90);
    viewer.showPopup(6, at);
    QFrame *popup = viewer.popupFrame();
    QVERIFY(popup->isVisible());
    QCOMPARE(popup->pos(), at);
    QVERIFY(viewer.popupBrowser()->toPlainText().contains(QStringLiteral("Adds pictures to the animation")));
    // The frame is as tall as its text: nothing scrolls out of sight, and no empty space.
    const int textHeight = qCeil(viewer.popupBrowser()->document()->size().height());
    QVERIFY(viewer.popupBrowser()->height() >= textHeight);
    QVERIFY2(popup->height() <= textHeight + 24, qPrintable(QString::number(popup->height())));
    QVERIFY(popup->width() <= 320);

    // A pop-up near the screen's corner stays on the screen.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    viewer.showPopup(18, screen.bottomRight());
    QVERIFY(screen.contains(popup->frameGeometry()));
    // A click in the pop-up closes it.
    QTest::mouseClick(viewer.popupBrowser()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(!popup->isVisible());
}

void TestHelpFile::viewerReadsTheInstalledFile()
{
    const QString path = TestEnvironment::instance().freshFolder(QStringLiteral("ownhelp")) + QStringLiteral("/h.html");
    writeBytes(path, QByteArray("<section class=\"topic\" id=\"topic-1\"><h2>Own contents</h2><p>Mine.</p></section>"));
    QtHelpViewer viewer(path);
    viewer.showTopic(1);
    QVERIFY(viewer.topicBrowser()->toPlainText().contains(QStringLiteral("Mine.")));

    // A help file that cannot be read gives the copy inside the program.
    viewer.setHelpFile(path + QStringLiteral(".missing"));
    viewer.showTopic(1);
    QVERIFY(viewer.topicBrowser()->toPlainText().contains(QStringLiteral("A slideshow in five steps")));
}

void TestHelpFile::saveScreenshots()
{
    const QString folder = qEnvironmentVariable("REELCRAFT_SHOT_DIR");
    if (folder.isEmpty())
        QSKIP("REELCRAFT_SHOT_DIR not set");
    QtHelpViewer viewer;
    viewer.showTopic(21);
    QCoreApplication::processEvents();
    QVERIFY(viewer.helpWindow()->grab().save(folder + QStringLiteral("/help-topic-21.png")));
    viewer.showPopup(18, QPoint(40, 40));
    QCoreApplication::processEvents();
    QVERIFY(viewer.popupFrame()->grab().save(folder + QStringLiteral("/help-popup-18.png")));
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QApplication app(argc, argv);
    TestHelpFile test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_help_file.moc"
