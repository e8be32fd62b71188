#include "document/FramePictureFiles.h"
#include "output/cli/MakeCommand.h"

#include "../imaging/TestPictures.h"
#include "TestEnvironment.h"
#include "TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

ProgramRun runCli(const QString &arguments, const QString &workingFolder)
{
    return runProgram(QStringLiteral(REELCRAFT_CLI_PATH), arguments.split(QLatin1Char(' '), Qt::SkipEmptyParts),
                      workingFolder);
}

// Every file and folder below folder, as paths relative to it.
QStringList everythingIn(const QString &folder)
{
    QStringList found;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        found.append(QDir(folder).relativeFilePath(it.next()));
    found.sort();
    return found;
}

// Element lines from a short form, one "name=value" a line: "applet WxH", parameters, "end".
QString elementLines(const QString &shortForm)
{
    QStringList lines;
    for (const QString &line : shortForm.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("applet ")))
            lines.append(QStringLiteral("<applet code=\"quilanim\" width=%1 height=%2>").arg(line.mid(7).section(u'x', 0, 0), line.section(u'x', 1)));
        else if (line == QLatin1String("end"))
            lines.append(QStringLiteral("</applet>"));
        else
            lines.append(QStringLiteral("<param name=\"%1\" value=\"%2\">").arg(line.section(u'=', 0, 0), line.section(u'=', 1)));
    }
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace

class TestCliMake : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void naturalOrder_data();
    void naturalOrder();
    void settings_data();
    void settings();
    void makeThenTag();
    void lightCopies_data();
    void lightCopies();
    void page();
    void failures_data();
    void failures();
    void picturesBesideThePageStay();
    void unnamedEntriesAreReported();
    void namesBrowsersMisreadComeBack();
    void helpNamesEveryOptionInTheManualPage();

private:
    QString m_folder;
    QString m_pics;
};

void TestCliMake::initTestCase()
{
    m_folder = TestEnvironment::instance().freshFolder(QStringLiteral("make"));
    m_pics = m_folder + QStringLiteral("/pics");
    QDir().mkpath(m_pics + QStringLiteral("/sub"));
    QDir().mkpath(m_folder + QStringLiteral("/empty"));
    using namespace TestPictures;
    writeFile(m_pics, QStringLiteral("img10.jpg"), jpegBytes(twoColours(QSize(40, 30), Qt::red, Qt::blue)));
    writeFile(m_pics, QStringLiteral("img2.gif"), gifBytes(fourColourQuarters(QSize(50, 20))));
    writeFile(m_pics, QStringLiteral("Img1.JPG"), jpegBytes(twoColours(QSize(20, 60), Qt::green, Qt::white)));
    writeFile(m_pics, QStringLiteral("notes.txt"), "not a picture");
    writeFile(m_pics + QStringLiteral("/sub"), QStringLiteral("deeper.jpg"), jpegBytes(twoColours(QSize(9, 9), Qt::red, Qt::red)));
    writeFile(m_pics + QStringLiteral("/sub"), QStringLiteral("img2.gif"), gifBytes(fourColourQuarters(QSize(7, 7))));
    writeFile(m_folder, QStringLiteral("sky.jpg"), jpegBytes(twoColours(QSize(8, 8), Qt::cyan, Qt::cyan)));
    writeFile(m_folder, QStringLiteral("theme.au"), QByteArray(".snd") + QByteArray(60, '\0'));
    writeFile(m_folder, QStringLiteral("captions.txt"), "One\r\n\r\nThree & \xc3\xa9\n");
    writeFile(m_folder, QStringLiteral("bar.txt"), "a|b\n");
    writeFile(m_folder, QStringLiteral("four.txt"), "1\n2\n3\n4\n");
    writeFile(m_folder, QStringLiteral("damaged.jpg"), QByteArray("\xff\xd8\xff\xe0") + QByteArray(200, 'x'));
    writeFile(m_folder, QStringLiteral("damaged.gif"), QByteArray("GIF89a") + QByteArray(200, '\x01'));
    // Whole and sound to every check short of decoding, but without its quantisation tables (their
    // segments turned into comments), so only decoding the pixels finds the fault.
    QByteArray noTables = jpegBytes(twoColours(QSize(60, 40), Qt::red, Qt::blue));
    noTables.replace(QByteArray("\xff\xdb", 2), QByteArray("\xff\xfe", 2));
    writeFile(m_folder, QStringLiteral("undecodable.jpg"), noTables);
    QVERIFY(::mkfifo(QFile::encodeName(m_folder + QStringLiteral("/fifo")).constData(), 0644) == 0);
    QFile big(m_folder + QStringLiteral("/big.txt"));
    QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(16 * 1024 * 1024 + 1));
    // A GIF whose header asks for 65535 x 65535 pixels.
    QByteArray huge = gifBytes(fourColourQuarters(QSize(2, 2)));
    for (qsizetype at : {6, 8, 13 + 768 + 5, 13 + 768 + 7})
        huge[at] = huge[at + 1] = char(0xFF);
    writeFile(m_folder, QStringLiteral("huge.gif"), huge);
}

void TestCliMake::naturalOrder_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::newRow("numbers by value") << QStringLiteral("img2.jpg") << QStringLiteral("img10.jpg");
    QTest::newRow("leading zeros") << QStringLiteral("p007.jpg") << QStringLiteral("p8.jpg");
    QTest::newRow("equal but case") << QStringLiteral("IMG1.jpg") << QStringLiteral("img1.jpg");
    QTest::newRow("huge numbers") << QStringLiteral("x99999999999999999998") << QStringLiteral("x99999999999999999999");
}

void TestCliMake::naturalOrder()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    // A strict order: one way only, never both.
    QVERIFY(NaturalNameLess(a, b));
    QVERIFY(!NaturalNameLess(b, a));
    QVERIFY(!NaturalNameLess(a, a));
}

void TestCliMake::settings_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("expected"); // consecutive lines of the project file
    const QString list = QStringLiteral("imagelist=file://%1/Img1.JPG,file://%1/img2.gif,file://%1/img10.jpg\n").arg(m_pics);
    const QString still = QStringLiteral("move=0,0\npause=500\nenddelay=0\nbounce=true\nend");
    // "--scale none" keeps the element of the Java applet's own drawing: these rows pin the
    // bytes make wrote before pictures could be scaled, which must not change.
    const QString none = QStringLiteral("--scale none ");
    QTest::newRow("start-up values") << none << QStringLiteral("applet 600x200\n") + list + still;
    QTest::newRow("fit") << none + QStringLiteral("--fit") << QStringLiteral("applet 50x60\n") + list + still;
    QTest::newRow("settings")
        << none + QStringLiteral("--size=640x480 --pause 250 --delay 1000 --repeat 3 --move -3,2 --edge wrap --bg #ff8000 "
                          "--caption-from-name")
        << QStringLiteral("applet 640x480\n") + list
            // A project keeps a moving show's captions; only pages leave them out.
            + QStringLiteral("captionlist=Img1|img2|img10\nfontsize=16\nmove=-3,2\npause=250\nenddelay=1000\nbounce=false\nrepeat=3\nbg=#FF8000\nend");
    QTest::newRow("captions from names, decimal colour")
        << none + QStringLiteral("--caption-from-name --font courier --font-size 20 --font-style bold-italic --bg 255,128,0")
        << list + QStringLiteral("captionlist=Img1|img2|img10\nfontname=Courier\nfontsize=20\nfontstyle=3\nmove=0,0\n"
                                 "pause=500\nenddelay=0\nbounce=true\nbg=#FF8000\nend");
    QTest::newRow("captions file") << none + QStringLiteral("--captions ../captions.txt")
                                   << QStringLiteral("captionlist=One||Three &amp; &#233;\nfontsize=16\nmove=0,0");

    // Scale is on by default: the box is the largest sides (never scaled up), plus the
    // captions' band of 2 * ceil(1.25 * size) + 8 below them.
    const QString scaled = QStringLiteral("move=0,0\npause=500\nenddelay=0\nbounce=true\nscale=fit\nend");
    QTest::newRow("scale by default") << QString() << QStringLiteral("applet 50x60\n") + list + scaled;
    QTest::newRow("scale with --fit") << QStringLiteral("--scale=fit --fit") << QStringLiteral("applet 50x60\n") + list + scaled;
    QTest::newRow("scale: captions at size 16 add 48")
        << QStringLiteral("--caption-from-name") << QStringLiteral("applet 50x108\n") + list
            + QStringLiteral("captionlist=Img1|img2|img10\nfontsize=16\n") + scaled;
    QTest::newRow("scale: font size 0 plays as 12, adds 38") << QStringLiteral("--caption-from-name --font-size 0")
                                                             << QStringLiteral("applet 50x98");
    QTest::newRow("scale: a moving show has no captions, no band")
        << QStringLiteral("--caption-from-name --move 1,0") << QStringLiteral("applet 50x60");
    QTest::newRow("scale: --size wins") << QStringLiteral("--size 10x10 --caption-from-name") << QStringLiteral("applet 10x10");
}

void TestCliMake::settings()
{
    QFETCH(QString, options);
    QFETCH(QString, expected);
    // Run inside the pictures' folder: "." and the relative option files resolve against it.
    const ProgramRun run = runCli(QStringLiteral("make out.rcf . ") + options, m_pics);
    QVERIFY2(run.status == 0, run.err.constData());
    const QString project = m_pics + QStringLiteral("/out.rcf");
    QCOMPARE(run.out, (project + QLatin1Char('\n')).toUtf8());
    const QString text = QString::fromUtf8(readAll(project));
    QFile::remove(project);
    QVERIFY2(text.contains(elementLines(expected)), qPrintable(text));
    QVERIFY(!text.endsWith(QLatin1String("\n")));
}

void TestCliMake::makeThenTag()
{
    const QString work = TestEnvironment::instance().freshFolder(QStringLiteral("round-trip"));
    const QString make = QStringLiteral("make show.rcf %1 --move=2,-1 --edge=wrap --bg=0A0B0C --repeat=0 --pause=40 --delay=900 "
                                        "--size=320x240 --soundtrack %2/theme.au").arg(m_pics, m_folder);
    QCOMPARE(runCli(make, work).status, 0);
    const ProgramRun tag = runCli(QStringLiteral("tag show.rcf"), work);
    QCOMPARE(tag.status, 0);
    QCOMPARE(tag.out, readAll(work + QStringLiteral("/show.rcf")));
    // The project keeps the soundtrack's full location, so it opens from anywhere.
    QVERIFY(tag.out.contains((QStringLiteral("<param name=\"soundtrack\" value=\"file://") + m_folder
                              + QStringLiteral("/theme.au\">")).toUtf8()));
}

void TestCliMake::lightCopies_data()
{
    QTest::addColumn<QString>("arguments"); // run in a fresh folder holding pics/phone.jpg and pics/small.gif
    QTest::addColumn<int>("status");
    QTest::addColumn<QSize>("phoneCopy");   // upright size of site/phone.jpg; empty: no page written
    QTest::newRow("scale fit: a light copy for the box")
        << QStringLiteral("make site/index.html pics --size 200x150") << 0 << QSize(169, 225);
    QTest::newRow("scale none: the photo at its size")
        << QStringLiteral("make site/index.html pics --size 200x150 --scale none") << 0 << QSize(1200, 1600);
    QTest::newRow("a box large enough: no light copy")
        << QStringLiteral("make site/index.html pics --size 800x1100") << 0 << QSize(1200, 1600);
    QTest::newRow("the page among the originals is refused")
        << QStringLiteral("make pics/index.html pics --size 200x150") << 1 << QSize();
}

void TestCliMake::lightCopies()
{
    QFETCH(QString, arguments);
    QFETCH(int, status);
    QFETCH(QSize, phoneCopy);
    const QString work = TestEnvironment::instance().freshFolder(QStringLiteral("light"));
    using namespace TestPictures;
    const QByteArray phone = jpegWithOrientationAndGps(jpegBytes(twoColours(QSize(1600, 1200), Qt::red, Qt::blue)));
    const QByteArray small = gifBytes(fourColourQuarters(QSize(30, 20)));
    QDir().mkpath(work + QStringLiteral("/pics"));
    writeFile(work + QStringLiteral("/pics"), QStringLiteral("phone.jpg"), phone);
    writeFile(work + QStringLiteral("/pics"), QStringLiteral("small.gif"), small);

    const ProgramRun run = runCli(arguments, work);
    QCOMPARE(run.status, status);
    if (phoneCopy.isEmpty()) {
        QVERIFY2(run.err.contains(" holds the original pictures; write the page to another folder or turn off "
                                  "Scale pictures to fit."), run.err.constData());
        QCOMPARE(filesIn(work + QStringLiteral("/pics")), (QStringList{QStringLiteral("phone.jpg"), QStringLiteral("small.gif")}));
        QCOMPARE(readAll(work + QStringLiteral("/pics/phone.jpg")), phone);
        return;
    }
    QVERIFY2(status == 0, run.err.constData());
    const QByteArray copy = readAll(work + QStringLiteral("/site/phone.jpg"));
    QVERIFY(!copy.contains(PrivateMarker));
    QImageReader reader(work + QStringLiteral("/site/phone.jpg"));
    reader.setAutoTransform(true);
    QCOMPARE(reader.read().size(), phoneCopy);
    QCOMPARE(readAll(work + QStringLiteral("/site/small.gif")), small);
}

void TestCliMake::page()
{
    const QString work = TestEnvironment::instance().freshFolder(QStringLiteral("page"));
    // Relative option files resolve against the working folder.
    QFile::copy(m_folder + QStringLiteral("/sky.jpg"), work + QStringLiteral("/sky.jpg"));
    // "--scale none": the element and copies as they were before pictures could be scaled.
    const ProgramRun run = runCli(QStringLiteral("make site/deeper/show.html %1/img2.gif %1/Img1.JPG --soundtrack %2/theme.au "
                                                 "--background sky.jpg --scale none").arg(m_pics, m_folder), work);
    QVERIFY2(run.status == 0, run.err.constData());
    const QString folder = work + QStringLiteral("/site/deeper");
    QCOMPARE(QString::fromUtf8(run.out), folder + QStringLiteral("/show.html\n7 files copied to ") + folder + QStringLiteral(".\n"));
    QCOMPARE(filesIn(folder).join(u' '), QStringLiteral("Img1.JPG WrappingLabel.class img2.gif quilanim.class quilanim.js "
                                                        "show.html sky.jpg theme.au"));
    QCOMPARE(readAll(folder + QStringLiteral("/img2.gif")), readAll(m_pics + QStringLiteral("/img2.gif")));
    // The title defaults to the first picture's folder.
    const QString element = elementLines(QStringLiteral("applet 600x200\nimagelist=img2.gif,Img1.JPG\nmove=0,0\npause=500\n"
                                                        "enddelay=0\nbounce=true\nbackground=sky.jpg\nsoundtrack=theme.au\nend"));
    QCOMPARE(QString::fromUtf8(readAll(folder + QStringLiteral("/show.html"))),
             QStringLiteral("<!DOCTYPE html>\r\n<html lang=\"en\">\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
                            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\r\n"
                            "<title>pics</title>\r\n</head>\r\n<body>\r\n%1\r\n<script src=\"quilanim.js\"></script>\r\n"
                            "</body>\r\n</html>\r\n").arg(element));

    // Without the player: no script line and no script; the title escaped.
    const ProgramRun plain = runCli(QStringLiteral("make plain.html %1/img2.gif --no-player --title <Caf\u00e9>").arg(m_pics), work);
    QCOMPARE(plain.status, 0);
    QCOMPARE(QString::fromUtf8(plain.out).section(u'\n', 1), QStringLiteral("3 files copied to %1.\n").arg(work));
    const QByteArray page = readAll(work + QStringLiteral("/plain.html"));
    QVERIFY(page.contains("<title>&lt;Caf&#233;&gt;</title>"));
    QVERIFY(page.contains("</applet>\r\n</body>"));
    QVERIFY(!QFileInfo::exists(work + QStringLiteral("/quilanim.js")));

    // Two pictures of one name from two folders both arrive, the later under a free name.
    const ProgramRun same = runCli(QStringLiteral("make same/s.html %1/img2.gif %1/sub/img2.gif").arg(m_pics), work);
    QCOMPARE(same.status, 0);
    QVERIFY(readAll(work + QStringLiteral("/same/s.html")).contains("value=\"img2.gif,img2-2.gif\""));
    QCOMPARE(readAll(work + QStringLiteral("/same/img2-2.gif")), readAll(m_pics + QStringLiteral("/sub/img2.gif")));
}

void TestCliMake::failures_data()
{
    QTest::addColumn<QString>("arguments"); // after "make"; %1 the pictures, %2 the test folder
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("messages"); // in this order on standard error
    const auto row = [this](const char *name, const QString &arguments, int status, const QStringList &messages) {
        QTest::newRow(name) << QString(arguments).replace(QLatin1String("%1"), m_pics).replace(QLatin1String("%2"), m_folder)
                            << status << messages;
    };
    row("unknown option", QStringLiteral("o.rcf %1 --speed 2"), 2, {QStringLiteral("unknown option \"--speed\"")});
    row("bad scale", QStringLiteral("o.rcf %1 --scale Fit"), 2, {QStringLiteral("--scale \"Fit\": use fit or none")});
    row("other output", QStringLiteral("o.txt %1"), 2, {QStringLiteral("must end in .rcf")});
    row("bad size", QStringLiteral("o.rcf %1 --size 640*480"), 2, {QStringLiteral("--size \"640*480\"")});
    row("colour out of range", QStringLiteral("o.rcf %1 --bg 256,0,0"), 2, {QStringLiteral("--bg \"256,0,0\"")});
    row("title for a project", QStringLiteral("o.rcf %1 --title x"), 2, {QStringLiteral("--title is only for a page")});
    row("caption with a bar", QStringLiteral("o.rcf %1 --captions %2/bar.txt"), 2, {QStringLiteral("caption 1 holds \"|\"")});
    row("too many captions", QStringLiteral("o.rcf %1 --captions %2/four.txt"), 2, {QStringLiteral("4 captions for 3 pictures")});
    row("not a picture", QStringLiteral("o.rcf %1/notes.txt"), 2, {QStringLiteral("neither a folder nor a GIF or JPEG")});
    row("folder without pictures", QStringLiteral("o.rcf %2/empty"), 2, {QStringLiteral("holds no GIF or JPEG pictures")});
    row("missing soundtrack", QStringLiteral("o.html %1 --soundtrack %2/gone.au"), 1, {QStringLiteral("--soundtrack: cannot read")});
    row("damaged pictures", QStringLiteral("o.html %2/damaged.jpg %1 %2/damaged.gif %2/gone.jpg"), 1,
        {QStringLiteral("damaged.jpg"), QStringLiteral("damaged.gif"), QStringLiteral("gone.jpg")});
    // With --size 20x20 it gets a light copy: making the copy is its only decode.
    row("undecodable picture with a light copy", QStringLiteral("o.html %2/undecodable.jpg --size 20x20"), 1,
        {QStringLiteral("The picture %1/undecodable.jpg could not be read: it is damaged or not a GIF or JPEG file.").arg(m_folder)});
    row("parent is a file", QStringLiteral("blocker/deeper/o.rcf %1"), 1, {QStringLiteral("blocker\" is not a folder")});
    row("folder where a copy goes", QStringLiteral("site/o.html %1"), 1, {QStringLiteral("site/img10.jpg\": a folder is in the way")});
    row("folder where the player goes, older picture kept", QStringLiteral("site/o.html %1/img2.gif"), 1,
        {QStringLiteral("site/quilanim.js\": a folder is in the way")});
    row("soundtrack that is no Sun audio", QStringLiteral("o.html %1 --soundtrack %2/captions.txt"), 1,
        {QStringLiteral("captions.txt\" is not a Sun audio file")});
    row("background that is no picture", QStringLiteral("o.html %1 --background %2/captions.txt"), 1,
        {QStringLiteral("--background: The picture %1/captions.txt could not be read").arg(m_folder)});
    row("FIFO as soundtrack", QStringLiteral("o.html %1 --soundtrack %2/fifo"), 1, {QStringLiteral("it is not a regular file")});
    row("FIFO as captions", QStringLiteral("o.rcf %1 --captions %2/fifo"), 1, {QStringLiteral("it is not a regular file")});
    row("captions over 16 MiB", QStringLiteral("o.rcf %1 --captions %2/big.txt"), 1,
        {QStringLiteral("big.txt\": it is larger than 16 MiB")});
    row("picture too large to decode", QStringLiteral("o.rcf %2/huge.gif"), 1,
        {QStringLiteral("huge.gif could not be read: it is 65535 \u00D7 65535 pixels, larger than this program decodes.")});
    row("output is a folder", QStringLiteral("taken.rcf %1"), 1, {QStringLiteral("taken.rcf\": it is a folder")});
}

void TestCliMake::failures()
{
    QFETCH(QString, arguments);
    QFETCH(int, status);
    QFETCH(QStringList, messages);
    const QString work = TestEnvironment::instance().freshFolder(QStringLiteral("failure"));
    // Root can write anywhere, so writes are made to fail by what stands in the way.
    writeAll(work + QStringLiteral("/blocker"), "a file, not a folder");
    QDir().mkpath(work + QStringLiteral("/site/img10.jpg"));
    QDir().mkpath(work + QStringLiteral("/site/quilanim.js"));
    writeAll(work + QStringLiteral("/site/kept.txt"), "the user's");
    writeAll(work + QStringLiteral("/site/img2.gif"), "an older copy");
    QDir().mkpath(work + QStringLiteral("/taken.rcf"));
    const QStringList before = everythingIn(work);

    const ProgramRun run = runCli(QStringLiteral("make ") + arguments, work);
    QCOMPARE(run.status, status);
    QCOMPARE(run.out, QByteArray());
    const QString err = QString::fromUtf8(run.err);
    qsizetype at = 0;
    for (const QString &message : messages) {
        at = err.indexOf(message, at);
        QVERIFY2(at >= 0, qPrintable(message + QStringLiteral(" not in order in: ") + err));
    }
    QCOMPARE(everythingIn(work), before);
    QCOMPARE(readAll(work + QStringLiteral("/site/img2.gif")), QByteArray("an older copy"));
}

// Pictures that already lie in the page's folder are neither copied nor renamed, so a second
// run gives the same page; a soundtrack named like the page gets a name of its own.
void TestCliMake::picturesBesideThePageStay()
{
    const QString work = TestEnvironment::instance().freshFolder(QStringLiteral("beside"));
    using namespace TestPictures;
    QDir().mkpath(work + QStringLiteral("/pics"));
    QDir().mkpath(work + QStringLiteral("/other"));
    QDir().mkpath(work + QStringLiteral("/sound"));
    const QByteArray a = gifOfSize(QSize(10, 10));
    writeFile(work + QStringLiteral("/pics"), QStringLiteral("a.gif"), a);
    writeFile(work + QStringLiteral("/other"), QStringLiteral("a.gif"), gifOfSize(QSize(12, 12)));
    writeFile(work + QStringLiteral("/sound"), QStringLiteral("index.html"), ".snd and some sound");
    QByteArray first;
    for (int run = 0; run < 2; ++run) {
        const ProgramRun make = runCli(QStringLiteral("make pics/index.html pics --soundtrack sound/index.html"), work);
        QVERIFY2(make.status == 0, make.err.constData());
        const QByteArray page = readAll(work + QStringLiteral("/pics/index.html"));
        QVERIFY(page.contains("<param name=\"imagelist\" value=\"a.gif\">\r\n"));
        QVERIFY(page.contains("<param name=\"soundtrack\" value=\"index-2.html\">\r\n"));
        QCOMPARE(readAll(work + QStringLiteral("/pics/index-2.html")), QByteArray(".snd and some sound"));
        if (run == 1)
            QCOMPARE(page, first);
        first = page;
    }
    // Another a.gif from elsewhere takes a free name instead of replacing the one beside the page.
    const ProgramRun other = runCli(QStringLiteral("make pics/index.html other/a.gif pics/a.gif"), work);
    QVERIFY2(other.status == 0, other.err.constData());
    QVERIFY(readAll(work + QStringLiteral("/pics/index.html")).contains("value=\"a-2.gif,a.gif\""));
    QCOMPARE(readAll(work + QStringLiteral("/pics/a.gif")), a);
    QCOMPARE(readAll(work + QStringLiteral("/pics/a-2.gif")), readAll(work + QStringLiteral("/other/a.gif")));
    QVERIFY(!filesIn(work + QStringLiteral("/pics")).join(u' ').contains(QStringLiteral(".reelcraft-")));
}

// A picture whose name is not UTF-8 cannot be named in a page; it is reported, not dropped.
void TestCliMake::unnamedEntriesAreReported()
{
    const QString work = TestEnvironment::instance().freshFolder(QStringLiteral("unnamed"));
    TestPictures::writeFile(work, QStringLiteral("good.gif"), TestPictures::gifOfSize(QSize(8, 8)));
    for (const char *name : {"/bad\xff.gif", "/worse\xfe.JPG", "/ignored\xff.txt"}) {
        const int fd = ::open((QFile::encodeName(work) + name).constData(), O_WRONLY | O_CREAT, 0644);
        QVERIFY(fd >= 0);
        ::close(fd);
    }
    const ProgramRun run = runCli(QStringLiteral("make out.rcf ."), work);
    QCOMPARE(run.status, 0);
    QCOMPARE(QString::fromUtf8(run.err),
             QStringLiteral("reelcraft-cli: \".\": 2 pictures left out, since their names are not valid UTF-8\n"));
}

void TestCliMake::helpNamesEveryOptionInTheManualPage()
{
    const QString manual = QString::fromUtf8(readAll(QStringLiteral(REELCRAFT_MAN_PAGE))).replace(QLatin1String("\\-"), QLatin1String("-"));
    const ProgramRun help = runCli(QStringLiteral("--help"), m_folder);
    QCOMPARE(help.status, 0);
    const QString text = QString::fromUtf8(help.out);
    int options = 0;
    for (const QRegularExpressionMatch &match : QRegularExpression(QStringLiteral("--[a-z][a-z-]*")).globalMatch(text)) {
        const QRegularExpression whole(QRegularExpression::escape(match.captured()) + QStringLiteral("(?![a-z-])"));
        QVERIFY2(manual.contains(whole), qPrintable(match.captured()));
        ++options;
    }
    QVERIFY(options > 20);
    for (const QString &command : {QStringLiteral("tag"), QStringLiteral("copy"), QStringLiteral("preview"), QStringLiteral("make"),
                                   QStringLiteral("palette"), QStringLiteral("spectrum"), QStringLiteral("nearest")}) {
        QVERIFY(manual.contains(QStringLiteral(".SS ") + command));
        const ProgramRun one = runCli(command + QStringLiteral(" --help"), m_folder);
        QCOMPARE(one.status, 0);
        QVERIFY(one.out.startsWith("Usage: reelcraft-cli " + command.toUtf8() + ' '));
        // The command's own help is the part of the whole help about it.
        QVERIFY(text.contains(QString::fromUtf8(one.out).section(u'\n', 2, -4)));
    }
}

// Names a browser would cut or trim are escaped in the page, and reading the page back finds
// the same files.
void TestCliMake::namesBrowsersMisreadComeBack()
{
    const QString work = TestEnvironment::instance().freshFolder(QStringLiteral("misread"));
    QDir().mkpath(work + QStringLiteral("/pics"));
    const QStringList names{QStringLiteral(" lead.gif"), QStringLiteral("a#b.gif"), QStringLiteral("c?d.gif"),
                            QStringLiteral("tab\there.gif"), QStringLiteral("trail .gif")};
    for (const QString &name : names)
        TestPictures::writeFile(work + QStringLiteral("/pics"), name, TestPictures::gifOfSize(QSize(6, 6)));
    QCOMPARE(runCli(QStringLiteral("make site/index.html pics"), work).status, 0);
    const QByteArray expected = "value=\"%20lead.gif,a%23b.gif,c%3Fd.gif,tab%09here.gif,trail .gif\"";
    QVERIFY2(readAll(work + QStringLiteral("/site/index.html")).contains(expected), readAll(work + QStringLiteral("/site/index.html")).constData());
    for (const QString &name : names)
        QVERIFY2(QFileInfo::exists(work + QStringLiteral("/site/") + name), qPrintable(name));
    const ProgramRun tag = runCli(QStringLiteral("tag site/index.html --form filename"), work);
    QCOMPARE(tag.status, 0);
    QVERIFY2(tag.out.contains(expected), tag.out.constData());
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QCoreApplication app(argc, argv);
    TestCliMake test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_cli_make.moc"

