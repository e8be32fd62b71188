#include "controls/PathUtils.h"

#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QTest>

using namespace Qt::StringLiterals;

class TestPathUtils : public QObject
{
    Q_OBJECT
private slots:
    void windowsForm_data();
    void windowsForm();
    void joinPath_data();
    void joinPath();
    void makeRelativePath_data();
    void makeRelativePath();
    void resolveRelativePath_data();
    void resolveRelativePath();
    void relativeReferenceRoundTrips_data();
    void relativeReferenceRoundTrips();
    void fileUrls_data();
    void fileUrls();
    void fileUrlRoundTrips_data();
    void fileUrlRoundTrips();
    void fileNameAndFolder_data();
    void fileNameAndFolder();
    void samePath_data();
    void samePath();
};

void TestPathUtils::windowsForm_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("windows");
    QTest::newRow("drive") << u"C:\\a.gif"_s << true;
    QTest::newRow("drive with slashes") << u"d:/a.gif"_s << true;
    QTest::newRow("backslash only") << u"images\\a.gif"_s << true;
    QTest::newRow("posix") << u"/pics/a.gif"_s << false;
    QTest::newRow("relative posix") << u"images/a.gif"_s << false;
    QTest::newRow("colon later") << u"/pics/a:b.gif"_s << false;
    QTest::newRow("digit before colon") << u"1:a.gif"_s << false;
    QTest::newRow("empty") << QString() << false;
}

void TestPathUtils::windowsForm()
{
    QFETCH(QString, path);
    QFETCH(bool, windows);
    QCOMPARE(IsWindowsFormPath(path), windows);
}

void TestPathUtils::joinPath_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("joined");

    QTest::newRow("empty folder gives the name") << QString() << u"a.gif"_s << u"a.gif"_s;
    QTest::newRow("backslash folder") << u"C:\\pics"_s << u"a.gif"_s << u"C:\\pics\\a.gif"_s;
    QTest::newRow("trailing backslash not doubled") << u"C:\\pics\\"_s << u"a.gif"_s << u"C:\\pics\\a.gif"_s;
    QTest::newRow("leading backslash not doubled") << u"C:\\pics\\"_s << u"\\a.gif"_s << u"C:\\pics\\a.gif"_s;
    QTest::newRow("drive root") << u"C:\\"_s << u"a.gif"_s << u"C:\\a.gif"_s;
    QTest::newRow("slash folder") << u"images"_s << u"a.gif"_s << u"images/a.gif"_s;
    QTest::newRow("both separators") << u"images/"_s << u"/a.gif"_s << u"images/a.gif"_s;
    QTest::newRow("only one dropped") << u"images//"_s << u"a.gif"_s << u"images//a.gif"_s;
    QTest::newRow("posix folder") << u"/srv/web"_s << u"a.gif"_s << u"/srv/web/a.gif"_s;
    QTest::newRow("posix root") << u"/"_s << u"a.gif"_s << u"/a.gif"_s;
    QTest::newRow("program's own names") << u"/home/u/.local/share/Tarnwick/Java Reelcraft"_s
                                         << u"classes/quilanim.class"_s
                                         << u"/home/u/.local/share/Tarnwick/Java Reelcraft/classes/quilanim.class"_s;
    QTest::newRow("temporary folder") << u"/tmp/"_s << u"websafe.pal"_s << u"/tmp/websafe.pal"_s;
    QTest::newRow("empty name") << u"images"_s << QString() << u"images/"_s;
}

void TestPathUtils::joinPath()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, joined);
    QCOMPARE(JoinPath(a, b), joined);
}

void TestPathUtils::makeRelativePath_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("reference");

    // Windows form
    QTest::newRow("win: below the page") << u"C:\\site\\page.htm"_s << u"C:\\site\\images\\a.gif"_s
                                         << u"images\\a.gif"_s;
    QTest::newRow("win: up one") << u"C:\\site\\pages\\p.htm"_s << u"C:\\site\\img\\a.gif"_s << u"..\\img\\a.gif"_s;
    QTest::newRow("win: sibling") << u"C:\\site\\x\\p.htm"_s << u"C:\\site\\y\\a.gif"_s << u"..\\y\\a.gif"_s;
    QTest::newRow("win: other drive stays") << u"C:\\site\\page.htm"_s << u"D:\\pics\\a.gif"_s
                                            << u"D:\\pics\\a.gif"_s;
    QTest::newRow("win: other drive keeps its separators") << u"C:/site/page.htm"_s << u"D:\\pics\\a.gif"_s
                                                           << u"D:\\pics\\a.gif"_s;
    QTest::newRow("win: page folder") << u"C:\\web\\"_s << u"C:\\web\\images\\a.gif"_s << u"images\\a.gif"_s;
    QTest::newRow("win: page folder, sibling") << u"C:\\web\\"_s << u"C:\\pics\\a.gif"_s << u"..\\pics\\a.gif"_s;
    QTest::newRow("win: beside the page") << u"C:\\web\\"_s << u"C:\\web\\a.gif"_s << u"a.gif"_s;
    QTest::newRow("win: any case") << u"c:\\SITE\\page.htm"_s << u"C:\\site\\images\\a.gif"_s
                                   << u"images\\a.gif"_s;
    QTest::newRow("win: page with slashes") << u"C:/site/page.htm"_s << u"C:\\site\\images\\a.gif"_s
                                            << u"images/a.gif"_s;
    QTest::newRow("win: slashes in the file") << u"C:\\site\\page.htm"_s << u"C:/site/images/a.gif"_s
                                              << u"images\\a.gif"_s;
    QTest::newRow("win: shared start of a name") << u"C:\\site\\page.htm"_s << u"C:\\site\\pages\\a.gif"_s
                                                 << u"pages\\a.gif"_s;
    QTest::newRow("win: two up") << u"C:\\a\\b\\c\\p.htm"_s << u"C:\\a\\x.gif"_s << u"..\\..\\x.gif"_s;
    QTest::newRow("win: short file") << u"C:\\site\\page.htm"_s << u"C"_s << u"C"_s;
    QTest::newRow("empty page") << QString() << u"C:\\a.gif"_s << u"C:\\a.gif"_s;
    QTest::newRow("empty file") << u"C:\\site\\page.htm"_s << QString() << QString();

    // POSIX
    QTest::newRow("posix: up one") << u"/site/pages/p.htm"_s << u"/site/img/a.gif"_s << u"../img/a.gif"_s;
    QTest::newRow("posix: below the page") << u"/site/page.htm"_s << u"/site/images/a.gif"_s
                                           << u"images/a.gif"_s;
    QTest::newRow("posix: sibling") << u"/site/x/p.htm"_s << u"/site/y/a.gif"_s << u"../y/a.gif"_s;
    QTest::newRow("posix: page folder") << u"/web/"_s << u"/web/a.gif"_s << u"a.gif"_s;
    QTest::newRow("posix: page folder, sibling") << u"/web/"_s << u"/pics/a.gif"_s << u"../pics/a.gif"_s;
    QTest::newRow("posix: case counts") << u"/Site/p.htm"_s << u"/site/a.gif"_s << u"../site/a.gif"_s;
    QTest::newRow("posix: at the root") << u"/p.htm"_s << u"/a.gif"_s << u"a.gif"_s;
    QTest::newRow("posix: three up") << u"/a/b/c/p.htm"_s << u"/x.gif"_s << u"../../../x.gif"_s;
    QTest::newRow("posix: relative file stays") << u"/site/p.htm"_s << u"img/a.gif"_s << u"img/a.gif"_s;
    QTest::newRow("posix: relative page") << u"site/p.htm"_s << u"/site/a.gif"_s << u"/site/a.gif"_s;
    QTest::newRow("posix: blanks in names") << u"/my site/p.htm"_s << u"/my site/My Pictures/a b.gif"_s
                                            << u"My Pictures/a b.gif"_s;
}

void TestPathUtils::makeRelativePath()
{
    QFETCH(QString, page);
    QFETCH(QString, file);
    QFETCH(QString, reference);
    QCOMPARE(MakeRelativePath(page, file), reference);
}

void TestPathUtils::resolveRelativePath_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("reference");
    QTest::addColumn<QString>("path");

    // Windows-form page
    QTest::newRow("win: up one") << u"C:\\site\\pages\\p.htm"_s << u"../img/a.gif"_s << u"C:\\site\\img\\a.gif"_s;
    QTest::newRow("win: below") << u"C:\\site\\pages\\p.htm"_s << u"img/a.gif"_s
                                << u"C:\\site\\pages\\img\\a.gif"_s;
    QTest::newRow("win: beside") << u"C:\\site\\pages\\p.htm"_s << u"a.gif"_s << u"C:\\site\\pages\\a.gif"_s;
    QTest::newRow("win: backslash reference") << u"C:\\site\\pages\\p.htm"_s << u"..\\img\\a.gif"_s
                                              << u"C:\\site\\img\\a.gif"_s;
    QTest::newRow("win: full path unchanged") << u"C:\\site\\p.htm"_s << u"\"D:\\pics\\a.gif\""_s
                                              << u"D:\\pics\\a.gif"_s;
    QTest::newRow("win: full path with slashes") << u"C:\\site\\p.htm"_s << u"d:/x/a.gif"_s << u"d:\\x\\a.gif"_s;
    QTest::newRow("win: quoted, two up") << u"C:\\site\\pages\\p.htm"_s << u"  \"../../a.gif\" "_s
                                         << u"C:\\a.gif"_s;
    QTest::newRow("win: above the root stays at the root") << u"C:\\site\\p.htm"_s << u"../../../a.gif"_s
                                                           << u"C:\\a.gif"_s;
    QTest::newRow("win: page with slashes") << u"C:/site/pages/p.htm"_s << u"../img/a.gif"_s
                                            << u"C:\\site\\img\\a.gif"_s;
    QTest::newRow("win: a folder named ..x") << u"C:\\site\\p.htm"_s << u"..x/a.gif"_s
                                             << u"C:\\site\\..x\\a.gif"_s;

    // No page: stays relative, in POSIX form
    QTest::newRow("none: backslashes become slashes") << QString() << u"images\\a.gif"_s << u"images/a.gif"_s;
    QTest::newRow("none: steps up are dropped") << QString() << u"../img/a.gif"_s << u"img/a.gif"_s;
    QTest::newRow("none: quoted") << QString() << u"\"a.gif\""_s << u"a.gif"_s;
    QTest::newRow("none: Windows full path") << QString() << u"C:\\pics\\a.gif"_s << u"C:\\pics\\a.gif"_s;
    QTest::newRow("none: POSIX full path") << QString() << u"/abs/a.gif"_s << u"/abs/a.gif"_s;

    // POSIX page
    QTest::newRow("posix: up one") << u"/site/pages/p.htm"_s << u"../img/a.gif"_s << u"/site/img/a.gif"_s;
    QTest::newRow("posix: backslash reference") << u"/site/pages/p.htm"_s << u"img\\a.gif"_s
                                                << u"/site/pages/img/a.gif"_s;
    QTest::newRow("posix: above the root stays at the root") << u"/site/p.htm"_s << u"../../../a.gif"_s
                                                             << u"/a.gif"_s;
    QTest::newRow("posix: full path unchanged") << u"/site/pages/p.htm"_s << u"/other/a.gif"_s
                                                << u"/other/a.gif"_s;
    QTest::newRow("posix: Windows full path unchanged") << u"/site/p.htm"_s << u"C:/pics/a.gif"_s
                                                        << u"C:\\pics\\a.gif"_s;
    QTest::newRow("posix: page folder") << u"/site/pages/"_s << u"a.gif"_s << u"/site/pages/a.gif"_s;
    QTest::newRow("posix: relative page runs out") << u"site/p.htm"_s << u"../../a.gif"_s << u"a.gif"_s;
    QTest::newRow("posix: blanks kept") << u"/my site/p.htm"_s << u" \"My Pictures/a b.gif\""_s
                                        << u"/my site/My Pictures/a b.gif"_s;
}

void TestPathUtils::resolveRelativePath()
{
    QFETCH(QString, page);
    QFETCH(QString, reference);
    QFETCH(QString, path);
    QCOMPARE(ResolveRelativePath(page, reference), path);
}

void TestPathUtils::relativeReferenceRoundTrips_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("file");
    QTest::newRow("win below") << u"C:\\site\\page.htm"_s << u"C:\\site\\images\\a.gif"_s;
    QTest::newRow("win up") << u"C:\\site\\pages\\p.htm"_s << u"C:\\site\\img\\a.gif"_s;
    QTest::newRow("win three up") << u"C:\\a\\b\\c\\p.htm"_s << u"C:\\x\\y.gif"_s;
    QTest::newRow("posix below") << u"/site/page.htm"_s << u"/site/images/a.gif"_s;
    QTest::newRow("posix up") << u"/site/pages/p.htm"_s << u"/site/img/a.gif"_s;
    QTest::newRow("posix to the root") << u"/a/b/c/p.htm"_s << u"/x.gif"_s;
}

void TestPathUtils::relativeReferenceRoundTrips()
{
    // What the writer makes relative, the reader finds again.
    QFETCH(QString, page);
    QFETCH(QString, file);
    QCOMPARE(ResolveRelativePath(page, MakeRelativePath(page, file)), file);
}

void TestPathUtils::fileUrls_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("backToPath"); // FileURLToPath(url)

    QTest::newRow("win: drive") << u"C:\\My Pictures\\a.gif"_s << u"file:///C|/My Pictures/a.gif"_s
                                << u"C:\\My Pictures\\a.gif"_s;
    QTest::newRow("win: drive with slashes") << u"C:/x/a.gif"_s << u"file:///C|/x/a.gif"_s << u"C:\\x\\a.gif"_s;
    QTest::newRow("posix") << u"/pics/My Pictures/a.gif"_s << u"file:///pics/My Pictures/a.gif"_s
                           << u"/pics/My Pictures/a.gif"_s;
    QTest::newRow("posix with a colon") << u"/pics/a:b.gif"_s << u"file:///pics/a:b.gif"_s << u"/pics/a:b.gif"_s;
    QTest::newRow("already a URL") << u"file:///C|/a.gif"_s << u"file:///C|/a.gif"_s << u"C:\\a.gif"_s;
    QTest::newRow("web URL") << u"http://x.org/a.gif"_s << u"http://x.org/a.gif"_s << u"http://x.org/a.gif"_s;
    QTest::newRow("relative Windows") << u"images\\a.gif"_s << u"images\\a.gif"_s << u"images\\a.gif"_s;
    QTest::newRow("relative posix") << u"images/a.gif"_s << u"images/a.gif"_s << u"images/a.gif"_s;
    QTest::newRow("colon not a drive") << u"mailto:a@b"_s << u"mailto:a@b"_s << u"mailto:a@b"_s;
}

void TestPathUtils::fileUrls()
{
    QFETCH(QString, path);
    QFETCH(QString, url);
    QFETCH(QString, backToPath);
    QCOMPARE(PathToFileURL(path), url);
    QCOMPARE(FileURLToPath(url), backToPath);
}

void TestPathUtils::fileUrlRoundTrips_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("path");
    QTest::newRow("quoted") << u"\"file:///C|/a.gif\""_s << u"C:\\a.gif"_s;
    QTest::newRow("blanks around") << u"  file:///pics/My Pictures/a.gif "_s << u"/pics/My Pictures/a.gif"_s;
    QTest::newRow("drive with colon") << u"file:///C:/x/a.gif"_s << u"C:\\x\\a.gif"_s;
    QTest::newRow("drive without URL") << u"C|/x/a.gif"_s << u"C:\\x\\a.gif"_s;
    QTest::newRow("Windows path") << u"C:\\x\\a.gif"_s << u"C:\\x\\a.gif"_s;
    QTest::newRow("text before the slashes") << u"xfile:///pics/a.gif"_s << u"/pics/a.gif"_s;
}

void TestPathUtils::fileUrlRoundTrips()
{
    QFETCH(QString, url);
    QFETCH(QString, path);
    QCOMPARE(FileURLToPath(url), path);
    if (!url.contains(QLatin1Char('"')) && !url.startsWith(QLatin1Char(' ')) && url.startsWith(u"file:"))
        QCOMPARE(FileURLToPath(PathToFileURL(path)), path);
}

void TestPathUtils::fileNameAndFolder_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("folder");
    QTest::newRow("posix") << u"/art/sky.jpg"_s << u"sky.jpg"_s << u"/art/"_s;
    QTest::newRow("windows") << u"C:\\art\\sky.jpg"_s << u"sky.jpg"_s << u"C:\\art\\"_s;
    QTest::newRow("windows, slash last") << u"C:\\art/sky.jpg"_s << u"sky.jpg"_s << u"C:\\art/"_s;
    QTest::newRow("windows, drive only") << u"C:sky.jpg"_s << u"sky.jpg"_s << u"C:"_s;
    QTest::newRow("posix keeps a colon") << u"/art/a:b.jpg"_s << u"a:b.jpg"_s << u"/art/"_s;
    QTest::newRow("bare name") << u"sky.jpg"_s << u"sky.jpg"_s << QString();
    QTest::newRow("folder only") << u"/art/"_s << QString() << u"/art/"_s;
    QTest::newRow("relative posix") << u"img/sky.jpg"_s << u"sky.jpg"_s << u"img/"_s;
    QTest::newRow("empty") << QString() << QString() << QString();
}

void TestPathUtils::fileNameAndFolder()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QFETCH(QString, folder);
    QCOMPARE(ExtractFileName(path), name);
    QCOMPARE(ExtractFileFolder(path), folder);
    QCOMPARE(ExtractFileFolder(path) + ExtractFileName(path), path);
}

void TestPathUtils::samePath_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("same");
    QTest::newRow("posix equal") << u"/a/b.gif"_s << u"/a/b.gif"_s << true;
    QTest::newRow("posix case differs") << u"/a/B.gif"_s << u"/a/b.gif"_s << false;
    QTest::newRow("windows case differs") << u"C:\\A\\b.gif"_s << u"c:\\a\\B.GIF"_s << true;
    QTest::newRow("windows differ") << u"C:\\a"_s << u"C:\\b"_s << false;
    QTest::newRow("windows accents") << u"C:\\Été"_s << u"c:\\éTÉ"_s << true;
}

void TestPathUtils::samePath()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, same);
    QCOMPARE(SamePath(a, b), same);
    QCOMPARE(SamePath(b, a), same);
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QCoreApplication app(argc, argv);
    TestPathUtils test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_pathutils.moc"
