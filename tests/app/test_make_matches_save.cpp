#include "app/TfrmReelcraft.h"
#include "colour/TTarnColourPicker.h"
#include "controls/TTarnCombo.h"
#include "controls/TTarnEdit.h"
#include "document/TCaptionEdit.h"
#include "document/TFrame.h"
#include "document/TFrameStrip.h"
#include "platform/NoHostLink.h"
#include "platform/Registry.h"

#include "../imaging/TestPictures.h"
#include "HelpViewerDouble.h"
#include "ProcessLauncherDouble.h"
#include "PromptsDouble.h"
#include "TestEnvironment.h"
#include "TestFiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {

void type(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

// A pick from the list, as the user makes it.
void pick(QComboBox *combo, int index)
{
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

} // namespace

// What "reelcraft-cli make" writes for a project equals what the main window's Save writes
// for the same pictures and settings, entered by hand from a fresh start.
class TestMakeMatchesSave : public QObject
{
    Q_OBJECT
private slots:
    void projectIsByteForByteTheWindowsSave_data();
    void projectIsByteForByteTheWindowsSave();
};

void TestMakeMatchesSave::projectIsByteForByteTheWindowsSave_data()
{
    QTest::addColumn<bool>("scale");
    QTest::addColumn<QString>("scaleOption");
    // The window starts with scale off, make with it on.
    QTest::newRow("scale off") << false << QStringLiteral("--scale none");
    QTest::newRow("scale on, Fit leaves the captions' band") << true << QString();
}

void TestMakeMatchesSave::projectIsByteForByteTheWindowsSave()
{
    QFETCH(bool, scale);
    QFETCH(QString, scaleOption);
    const QString folder = TestEnvironment::instance().freshFolder(QStringLiteral("make-save"));
    const QString pics = folder + QStringLiteral("/My Pictures");
    QDir().mkpath(pics);
    using namespace TestPictures;
    const QStringList pictures = {
        writeFile(pics, QStringLiteral("Img1.JPG"), jpegBytes(twoColours(QSize(20, 60), Qt::green, Qt::white))),
        writeFile(pics, QStringLiteral("img2.gif"), gifBytes(fourColourQuarters(QSize(50, 20)))),
        writeFile(pics, QStringLiteral("img10.jpg"), jpegBytes(twoColours(QSize(40, 30), Qt::red, Qt::blue)))};
    const QString sky = writeFile(folder, QStringLiteral("sky.jpg"), jpegBytes(twoColours(QSize(8, 8), Qt::cyan, Qt::cyan)));
    const QString theme = writeFile(folder, QStringLiteral("theme.au"), QByteArray(".snd") + QByteArray(60, '\0'));

    Registry registry(folder + QStringLiteral("/user.json"), folder + QStringLiteral("/machine.json"));
    PromptsDouble prompts;
    NoHostLink host;
    HelpViewerDouble help;
    ProcessLauncherDouble launcher;
    auto window = std::make_unique<TfrmReelcraft>(AppServices{prompts, registry, host, help, launcher, [](TfrmSplash &, int) {}});
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));

    prompts.answers.enqueue(pictures);
    window->btnAdd->click();
    QTRY_COMPARE(window->document().frameCount(), 3);
    for (int i = 0; i < 3; ++i) {
        QTest::mouseClick(window->scrFrames->thumbnail(i), Qt::LeftButton);
        QTest::keyClicks(window->txtCaption, QFileInfo(pictures.at(i)).completeBaseName());
    }
    type(window->txtBetweenFrames, QStringLiteral("250"));
    type(window->txtDelay, QStringLiteral("1000"));
    type(window->txtRepeat, QStringLiteral("7"));
    type(window->txtBackImage, sky);
    type(window->txtSoundtrack, theme);
    QTest::keyClicks(window->scpBGColour->TextBox()->lineEdit(), QStringLiteral("FF8000"));
    pick(window->cmbEdge, 1);
    pick(window->cmbFontName, 3);
    type(window->txtFontSize, QStringLiteral("20"));
    pick(window->cmbFontStyle, 1);
    // Last: with scale on, the box leaves room for captions of the font size chosen.
    if (scale)
        QTest::mouseClick(window->chkScale, Qt::LeftButton);
    QCOMPARE(window->document().ScaleToFit(), scale);
    window->btnFit->click();

    const QString saved = folder + QStringLiteral("/window.rcf");
    prompts.answers.enqueue(saved);
    window->mnuFileSaveAsClick();
    QCOMPARE(prompts.messages().last(), saved + QStringLiteral(" saved."));
    QCOMPARE(prompts.unanswered, 0);

    const ProgramRun run = runProgram(
        QStringLiteral(REELCRAFT_CLI_PATH),
        QStringList{QStringLiteral("make"), QStringLiteral("made.rcf"), QStringLiteral("My Pictures")}
            + QStringLiteral("--caption-from-name --fit --pause 250 --delay 1000 --repeat 7 --background sky.jpg "
                             "--soundtrack theme.au --bg FF8000 --edge wrap --font Dialog --font-size 20 --font-style bold ")
                  .append(scaleOption)
                  .split(QLatin1Char(' '), Qt::SkipEmptyParts),
        folder);
    QVERIFY2(run.status == 0, run.err.constData());
    const QByteArray windows = readAll(saved);
    QVERIFY(windows.contains("captionlist\" value=\"Img1|img2|img10\">\r\n<param name=\"fontname\" value=\"Dialog\""));
    // Size 20 gives a band of 2 * 25 + 8 below the 50 x 60 of the largest sides.
    QVERIFY(windows.startsWith(scale ? "<applet code=\"quilanim\" width=50 height=118>" : "<applet code=\"quilanim\" width=50 height=60>"));
    QCOMPARE(readAll(folder + QStringLiteral("/made.rcf")), windows);
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QApplication app(argc, argv);
    TestMakeMatchesSave test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_make_matches_save.moc"
