#include "document/FramePictureFiles.h"
#include "output/cli/MakeCommand.h"

#include "../imaging/TestPictures.h"
#include "TestEnvironment.h"
#include "TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

namespace {

ProgramRun runCli(const QStringList &arguments, const QString &workingFolder)
{
    return runProgram(QStringLiteral(REELCRAFT_CLI_PATH), arguments, workingFolder);
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

QString lines(const QStringList &list)
{
    return list.join(QStringLiteral("\r\n"));
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
    void page();
    void failures_data();
    void failures();
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
    writeFile(m_folder, QStringLiteral("sky.jpg"), jpegBytes(twoColours(QSize(8, 8), Qt::cyan, Qt::cyan)));
    writeFile(m_folder, QStringLiteral("theme.au"), QByteArray(".snd") + QByteArray(60, '\0'));
    writeFile(m_folder, QStringLiteral("captions.txt"), "One\r\n\r\nThree & \xc3\xa9\n");
    writeFile(m_folder, QStringLiteral("bar.txt"), "a|b\n");
    writeFile(m_folder, QStringLiteral("four.txt"), "1\n2\n3\n4\n");
    writeFile(m_folder, QStringLiteral("damaged.jpg"), QByteArray("\xff\xd8\xff\xe0") + QByteArray(200, 'x'));
    writeFile(m_folder, QStringLiteral("damaged.gif"), QByteArray("GIF89a") + QByteArray(200, '\x01'));
}

void TestCliMake::naturalOrder_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::newRow("numbers by value") << QStringLiteral("img2.jpg") << QStringLiteral("img10.jpg");
    QTest::newRow("case aside") << QStringLiteral("Apple.jpg") << QStringLiteral("banana.jpg");
    QTest::newRow("shorter first") << QStringLiteral("a.jpg") << QStringLiteral("a1.jpg");
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
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("expected"); // lines of the project file, in order
    const QString picsUrl = QStringLiteral("file://") + m_pics;
    const QString list = QStringLiteral("<param name=\"imagelist\" value=\"%1/Img1.JPG,%1/img2.gif,%1/img10.jpg\">").arg(picsUrl);
    const QString still = QStringLiteral("<param name=\"move\" value=\"0,0\">");
    const QString defaults = QStringLiteral("<param name=\"pause\" value=\"500\">\r\n<param name=\"enddelay\" value=\"0\">\r\n"
                                            "<param name=\"bounce\" value=\"true\">");
    const QString end = QStringLiteral("</applet>");

    QTest::newRow("start-up values")
        << QStringList() << QStringList{QStringLiteral("<applet code=\"quilanim\" width=600 height=200>"), list, still, defaults, end};
    QTest::newRow("fit") << QStringList{QStringLiteral("--fit")}
                         << QStringList{QStringLiteral("<applet code=\"quilanim\" width=50 height=60>"), list, still, defaults, end};
    QTest::newRow("settings")
        << QStringList{QStringLiteral("--size=640x480"), QStringLiteral("--pause"), QStringLiteral("250"),
                       QStringLiteral("--delay"), QStringLiteral("1000"), QStringLiteral("--repeat"), QStringLiteral("3"),
                       QStringLiteral("--move"), QStringLiteral("-3,2"), QStringLiteral("--edge"), QStringLiteral("wrap"),
                       QStringLiteral("--bg"), QStringLiteral("#ff8000"), QStringLiteral("--background"),
                       m_folder + QStringLiteral("/sky.jpg"), QStringLiteral("--soundtrack"), QStringLiteral("../theme.au"),
                       QStringLiteral("--caption-from-name")}
        << QStringList{QStringLiteral("<applet code=\"quilanim\" width=640 height=480>"), list,
                       QStringLiteral("<param name=\"move\" value=\"-3,2\">\r\n<param name=\"pause\" value=\"250\">\r\n"
                                      "<param name=\"enddelay\" value=\"1000\">\r\n<param name=\"bounce\" value=\"false\">\r\n"
                                      "<param name=\"repeat\" value=\"3\">\r\n<param name=\"bg\" value=\"#FF8000\">"),
                       QStringLiteral("<param name=\"background\" value=\"sky.jpg\">\r\n<param name=\"soundtrack\" value=\"theme.au\">"),
                       end};
    QTest::newRow("captions from names, decimal colour")
        << QStringList{QStringLiteral("--caption-from-name"), QStringLiteral("--font"), QStringLiteral("courier"),
                       QStringLiteral("--font-size"), QStringLiteral("20"), QStringLiteral("--font-style"),
                       QStringLiteral("bold-italic"), QStringLiteral("--bg"), QStringLiteral("255,128,0")}
        << QStringList{list,
                       QStringLiteral("<param name=\"captionlist\" value=\"Img1|img2|img10\">\r\n"
                                      "<param name=\"fontname\" value=\"Courier\">\r\n<param name=\"fontsize\" value=\"20\">\r\n"
                                      "<param name=\"fontstyle\" value=\"3\">"),
                       QStringLiteral("<param name=\"bg\" value=\"#FF8000\">")};
    QTest::newRow("captions file")
        << QStringList{QStringLiteral("--captions"), QStringLiteral("../captions.txt")}
        << QStringList{QStringLiteral("<param name=\"captionlist\" value=\"One||Three &amp; &#233;\">\r\n"
                                      "<param name=\"fontsize\" value=\"16\">\r\n") + still};
}

void TestCliMake::settings()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, expected);
    // Run inside the pictures' folder: "." and the relative option files resolve against it.
    const ProgramRun run = runCli(QStringList{QStringLiteral("make"), QStringLiteral("out.rcf"), QStringLiteral(".")} + options, m_pics);
    QVERIFY2(run.status == 0, run.err.constData());
    const QString project = m_pics + QStringLiteral("/out.rcf");
    QCOMPARE(run.out, (project + QLatin1Char('\n')).toUtf8());
    const QString text = QString::fromUtf8(readAll(project));
    QFile::remove(project);
    qsizetype at = 0;
    for (const QString &part : expected) {
        const qsizetype found = text.indexOf(part, at);
        QVERIFY2(found >= 0, qPrintable(QStringLiteral("missing in order: ") + part + QStringLiteral("\n") + text));
        at = found + part.size();
    }
    QVERIFY(!text.endsWith(QLatin1String("\n")));
}

void TestCliMake::makeThenTag()
{
    const QString work = TestEnvironment::instance().freshFolder(QStringLiteral("round-trip"));
    const QStringList options = {QStringLiteral("--move=2,-1"), QStringLiteral("--edge=wrap"), QStringLiteral("--bg=0A0B0C"),
                                 QStringLiteral("--repeat=0"), QStringLiteral("--pause=40"), QStringLiteral("--delay=900"),
                                 QStringLiteral("--size=320x240"), QStringLiteral("--soundtrack"),
                                 m_folder + QStringLiteral("/theme.au")};
    QCOMPARE(runCli(QStringList{QStringLiteral("make"), QStringLiteral("show.rcf"), m_pics} + options, work).status, 0);
    const ProgramRun tag = runCli({QStringLiteral("tag"), QStringLiteral("show.rcf")}, work);
    QCOMPARE(tag.status, 0);
    QCOMPARE(tag.out, readAll(work + QStringLiteral("/show.rcf")));

    QCOMPARE(runCli(QStringList{QStringLiteral("make"), QStringLiteral("page.htm"), m_pics} + options, work).status, 0);
    const ProgramRun pageTag = runCli({QStringLiteral("tag"), QStringLiteral("page.htm"), QStringLiteral("--form"),
                                       QStringLiteral("filename"), QStringLiteral("--player")}, work);
    QCOMPARE(pageTag.status, 0);
    QVERIFY(readAll(work + QStringLiteral("/page.htm")).contains(pageTag.out));
}

void TestCliMake::page()
{
    const QString work = TestEnvironment::instance().freshFolder(QStringLiteral("page"));
    const ProgramRun run = runCli({QStringLiteral("make"), QStringLiteral("site/deeper/show.html"),
                                   m_pics + QStringLiteral("/img2.gif"), m_pics + QStringLiteral("/Img1.JPG"),
                                   QStringLiteral("--soundtrack"), m_folder + QStringLiteral("/theme.au")},
                                  work);
    QVERIFY2(run.status == 0, run.err.constData());
    const QString folder = work + QStringLiteral("/site/deeper");
    QCOMPARE(QString::fromUtf8(run.out), folder + QStringLiteral("/show.html\n6 files copied to ") + folder + QStringLiteral(".\n"));
    QCOMPARE(filesIn(folder), (QStringList{QStringLiteral("Img1.JPG"), QStringLiteral("WrappingLabel.class"),
                                           QStringLiteral("img2.gif"), QStringLiteral("quilanim.class"),
                                           QStringLiteral("quilanim.js"), QStringLiteral("show.html"),
                                           QStringLiteral("theme.au")}));
    QCOMPARE(readAll(folder + QStringLiteral("/img2.gif")), readAll(m_pics + QStringLiteral("/img2.gif")));
    const QString element = lines({QStringLiteral("<applet code=\"quilanim\" width=600 height=200>"),
                                   QStringLiteral("<param name=\"imagelist\" value=\"img2.gif,Img1.JPG\">"),
                                   QStringLiteral("<param name=\"move\" value=\"0,0\">"),
                                   QStringLiteral("<param name=\"pause\" value=\"500\">"),
                                   QStringLiteral("<param name=\"enddelay\" value=\"0\">"),
                                   QStringLiteral("<param name=\"bounce\" value=\"true\">"),
                                   QStringLiteral("<param name=\"soundtrack\" value=\"theme.au\">"), QStringLiteral("</applet>"),
                                   QStringLiteral("<script src=\"quilanim.js\"></script>")});
    // The title defaults to the first picture's folder.
    QCOMPARE(QString::fromUtf8(readAll(folder + QStringLiteral("/show.html"))),
             lines({QStringLiteral("<!DOCTYPE html>"), QStringLiteral("<html lang=\"en\">"), QStringLiteral("<head>"),
                    QStringLiteral("<meta charset=\"utf-8\">"), QStringLiteral("<title>pics</title>"), QStringLiteral("</head>"),
                    QStringLiteral("<body>"), element, QStringLiteral("</body>"), QStringLiteral("</html>\r\n")}));

    // Without the player: no script line and no script; the title escaped.
    const ProgramRun plain = runCli({QStringLiteral("make"), QStringLiteral("plain.html"), m_pics + QStringLiteral("/img2.gif"),
                                     QStringLiteral("--no-player"), QStringLiteral("--title"), QStringLiteral("<Caf\u00e9>")},
                                    work);
    QCOMPARE(plain.status, 0);
    QCOMPARE(QString::fromUtf8(plain.out).section(QLatin1Char('\n'), 1), QStringLiteral("3 files copied to ") + work + QStringLiteral(".\n"));
    const QByteArray page = readAll(work + QStringLiteral("/plain.html"));
    QVERIFY(page.contains("<title>&lt;Caf&#233;&gt;</title>"));
    QVERIFY(page.contains("</applet>\r\n</body>"));
    QVERIFY(!QFileInfo::exists(work + QStringLiteral("/quilanim.js")));
}

void TestCliMake::failures_data()
{
    QTest::addColumn<QStringList>("arguments"); // after "make"
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("messages"); // in this order on standard error
    const QString pics = m_folder + QStringLiteral("/pics");
    const QString f = m_folder + QLatin1Char('/');
    const auto row = [&](const char *name, const QStringList &arguments, int status, const QStringList &messages) {
        QTest::newRow(name) << arguments << status << messages;
    };
    row("unknown option", {QStringLiteral("o.rcf"), pics, QStringLiteral("--speed"), QStringLiteral("2")}, 2,
        {QStringLiteral("unknown option \"--speed\"")});
    row("no picture", {QStringLiteral("o.rcf")}, 2, {QStringLiteral("at least one PICTURE")});
    row("other output", {QStringLiteral("o.txt"), pics}, 2, {QStringLiteral("must end in .rcf")});
    row("bad size", {QStringLiteral("o.rcf"), pics, QStringLiteral("--size"), QStringLiteral("640*480")}, 2,
        {QStringLiteral("--size \"640*480\"")});
    row("size and fit", {QStringLiteral("o.rcf"), pics, QStringLiteral("--size=1x1"), QStringLiteral("--fit")}, 2,
        {QStringLiteral("--size and --fit")});
    row("font size over 127", {QStringLiteral("o.rcf"), pics, QStringLiteral("--font-size"), QStringLiteral("128")}, 2,
        {QStringLiteral("--font-size \"128\"")});
    row("incomplete colour", {QStringLiteral("o.rcf"), pics, QStringLiteral("--bg"), QStringLiteral("256,0,0")}, 2,
        {QStringLiteral("--bg \"256,0,0\"")});
    row("title for a project", {QStringLiteral("o.rcf"), pics, QStringLiteral("--title"), QStringLiteral("x")}, 2,
        {QStringLiteral("--title is only for a page")});
    row("caption with a bar", {QStringLiteral("o.rcf"), pics, QStringLiteral("--captions"), f + QStringLiteral("bar.txt")}, 2,
        {QStringLiteral("caption 1 holds \"|\"")});
    row("too many captions", {QStringLiteral("o.rcf"), pics, QStringLiteral("--captions"), f + QStringLiteral("four.txt")}, 2,
        {QStringLiteral("4 captions for 3 pictures")});
    row("not a picture", {QStringLiteral("o.rcf"), pics + QStringLiteral("/notes.txt")}, 2,
        {QStringLiteral("neither a folder nor a GIF or JPEG file")});
    row("folder without pictures", {QStringLiteral("o.rcf"), f + QStringLiteral("empty")}, 2,
        {QStringLiteral("holds no GIF or JPEG pictures")});
    row("missing soundtrack", {QStringLiteral("o.html"), pics, QStringLiteral("--soundtrack"), f + QStringLiteral("gone.au")}, 1,
        {QStringLiteral("--soundtrack: cannot read")});
    row("damaged pictures", {QStringLiteral("o.html"), f + QStringLiteral("damaged.jpg"), pics, f + QStringLiteral("damaged.gif"),
                             f + QStringLiteral("gone.jpg")},
        1, {QStringLiteral("damaged.jpg"), QStringLiteral("damaged.gif"), QStringLiteral("gone.jpg")});
    row("parent is a file", {QStringLiteral("blocker/deeper/o.rcf"), pics}, 1, {QStringLiteral("blocker\" is not a folder")});
    row("page parent is a file", {QStringLiteral("blocker/o.html"), pics}, 1, {QStringLiteral("blocker\" is not a folder")});
    row("folder where a copy goes", {QStringLiteral("site/o.html"), pics}, 1, {QStringLiteral("cannot copy \"img10.jpg\"")});
    row("output is a folder", {QStringLiteral("taken.rcf"), pics}, 1, {QStringLiteral("Cannot write file")});
}

void TestCliMake::failures()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QStringList, messages);
    const QString work = TestEnvironment::instance().freshFolder(QStringLiteral("failure"));
    // Root can write anywhere, so writes are made to fail by what stands in the way.
    writeAll(work + QStringLiteral("/blocker"), "a file, not a folder");
    QDir().mkpath(work + QStringLiteral("/site/img10.jpg"));
    writeAll(work + QStringLiteral("/site/kept.txt"), "the user's");
    QDir().mkpath(work + QStringLiteral("/taken.rcf"));
    const QStringList before = everythingIn(work);

    const ProgramRun run = runCli(QStringList{QStringLiteral("make")} + arguments, work);
    QCOMPARE(run.status, status);
    QCOMPARE(run.out, QByteArray());
    const QString err = QString::fromUtf8(run.err);
    qsizetype at = 0;
    for (const QString &message : messages) {
        at = err.indexOf(message, at);
        QVERIFY2(at >= 0, qPrintable(message + QStringLiteral(" not in order in: ") + err));
    }
    QCOMPARE(everythingIn(work), before);
}

void TestCliMake::helpNamesEveryOptionInTheManualPage()
{
    QString manual = QString::fromUtf8(readAll(QStringLiteral(REELCRAFT_MAN_PAGE)));
    QVERIFY(!manual.isEmpty());
    manual.replace(QLatin1String("\\-"), QLatin1String("-"));
    const ProgramRun help = runCli({QStringLiteral("--help")}, m_folder);
    QCOMPARE(help.status, 0);
    const QString text = QString::fromUtf8(help.out);
    static const QRegularExpression option(QStringLiteral("--[a-z][a-z-]*"));
    int options = 0;
    for (const QRegularExpressionMatch &match : option.globalMatch(text)) {
        const QRegularExpression whole(QRegularExpression::escape(match.captured()) + QStringLiteral("(?![a-z-])"));
        QVERIFY2(manual.contains(whole), qPrintable(match.captured()));
        ++options;
    }
    QVERIFY(options > 20);
    for (const QString &command : {QStringLiteral("tag"), QStringLiteral("copy"), QStringLiteral("preview"), QStringLiteral("make")}) {
        QVERIFY(manual.contains(QStringLiteral(".SS ") + command));
        const ProgramRun one = runCli({command, QStringLiteral("--help")}, m_folder);
        QCOMPARE(one.status, 0);
        QVERIFY(one.out.startsWith("Usage: reelcraft-cli " + command.toUtf8() + ' '));
        QVERIFY(text.contains(QString::fromUtf8(one.out).section(QLatin1Char('\n'), 2, -4)));
    }
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QCoreApplication app(argc, argv);
    TestCliMake test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_cli_make.moc"
