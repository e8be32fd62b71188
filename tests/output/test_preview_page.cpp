#include "document/AnimationDocument.h"
#include "output/ClassFiles.h"
#include "output/PreviewPage.h"
#include "platform/AppFolders.h"
#include "platform/EError.h"

#include "PromptsDouble.h"
#include "TestEnvironment.h"

#include "TestFiles.h"
#include "../imaging/TestPictures.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <sys/stat.h>
#include <QTest>

namespace {

void emptyPreviewFolder()
{
    const QString folder = ProgramFolder() + QStringLiteral("/preview");
    QFile::remove(folder);
    QDir(folder).removeRecursively();
}

} // namespace

class TestPreviewPage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void folderAndPage();
    void pageForTwoFramesInDifferentFolders();
    void picturesOfOneNameStayApart();
    void listingEscapes_data();
    void listingEscapes();
    void captionWithAmpersandListsItsSource();
    void emptyStripStillWritesThePage();
    void secondPreviewRewritesTheSamePage();
    void blockedFolderThrowsAndCopiesNothing();
    void lightCopiesAreKeptForTheNextPreview();

private:
    QString m_sources;
};

void TestPreviewPage::initTestCase()
{
    PromptsDouble prompts;
    QVERIFY(ExtractClassFiles(prompts));
    m_sources = TestEnvironment::instance().freshFolder(QStringLiteral("sources"));
    writeAll(m_sources + QStringLiteral("/a/x.gif"), TestPictures::gifOfSize(QSize(10, 10)));
    writeAll(m_sources + QStringLiteral("/b/y.jpg"), TestPictures::jpegOfSize(QSize(12, 12)));
    writeAll(m_sources + QStringLiteral("/b/x.gif"), TestPictures::gifOfSize(QSize(16, 16)));
}

void TestPreviewPage::init()
{
    emptyPreviewFolder();
}

void TestPreviewPage::folderAndPage()
{
    QCOMPARE(PreviewFolder(), ProgramFolder() + QStringLiteral("/preview"));
    QCOMPARE(PreviewPagePath(), ProgramFolder() + QStringLiteral("/preview/~jvprev.htm"));
}

void TestPreviewPage::pageForTwoFramesInDifferentFolders()
{
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    document.appendFrame(m_sources + QStringLiteral("/a/x.gif"), QString());
    document.appendFrame(m_sources + QStringLiteral("/b/y.jpg"), QString());

    const QString page = WritePreviewPage(document);
    QCOMPARE(page, PreviewPagePath());
    // The preview always plays, also where no Java runs: the element is followed by the web
    // player's script line, in the page and in its listing, and the script lies beside it.
    const QByteArray expected =
        "<html>\r\n"
        "<head><title>Reelcraft Preview</title></head>\r\n"
        "<body>\r\n"
        "<applet code=\"quilanim\" width=600 height=200>\r\n"
        "<param name=\"imagelist\" value=\"x.gif,y.jpg\">\r\n"
        "<param name=\"move\" value=\"0,0\">\r\n"
        "<param name=\"pause\" value=\"500\">\r\n"
        "<param name=\"enddelay\" value=\"0\">\r\n"
        "<param name=\"bounce\" value=\"true\">\r\n"
        "</applet>\r\n"
        "<script src=\"quilanim.js\"></script>\r\n"
        "<hr>\r\n"
        "<pre>\r\n"
        "&lt;applet code=\"quilanim\" width=600 height=200&gt;\r\n"
        "&lt;param name=\"imagelist\" value=\"x.gif,y.jpg\"&gt;\r\n"
        "&lt;param name=\"move\" value=\"0,0\"&gt;\r\n"
        "&lt;param name=\"pause\" value=\"500\"&gt;\r\n"
        "&lt;param name=\"enddelay\" value=\"0\"&gt;\r\n"
        "&lt;param name=\"bounce\" value=\"true\"&gt;\r\n"
        "&lt;/applet&gt;\r\n"
        "&lt;script src=\"quilanim.js\"&gt;&lt;/script&gt;\r\n"
        "</pre></body>\r\n"
        "</html>";
    QCOMPARE(readAll(page), expected);
    QCOMPARE(QDir(PreviewFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             (QStringList{QStringLiteral("WrappingLabel.class"), QStringLiteral("quilanim.class"),
                          QStringLiteral("quilanim.js"), QStringLiteral("x.gif"), QStringLiteral("y.jpg"),
                          QStringLiteral("~jvprev.htm")}));
    QCOMPARE(readAll(PreviewFolder() + QStringLiteral("/y.jpg")), readAll(m_sources + QStringLiteral("/b/y.jpg")));
    QCOMPARE(readAll(PreviewFolder() + QStringLiteral("/quilanim.class")),
             readAll(ClassFilesFolder() + QStringLiteral("quilanim.class")));
    QCOMPARE(readAll(PreviewFolder() + QStringLiteral("/quilanim.js")), readAll(QStringLiteral(":/quilanim.js")));
    QVERIFY(prompts.shown.isEmpty());
}

void TestPreviewPage::picturesOfOneNameStayApart()
{
    // Frames a/x.gif and b/x.gif, and b/x.gif again, by another path, as the background.
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    document.appendFrame(m_sources + QStringLiteral("/a/x.gif"), QString());
    document.appendFrame(m_sources + QStringLiteral("/b/x.gif"), QString());
    document.setText(TextSetting::BackImage, m_sources + QStringLiteral("/a/../b/x.gif"));
    const QByteArray page = readAll(WritePreviewPage(document));
    QVERIFY(page.contains("\"imagelist\" value=\"x.gif,x-2.gif\">"));
    QVERIFY(page.contains("\"background\" value=\"x-2.gif\">"));
    QCOMPARE(readAll(PreviewFolder() + QStringLiteral("/x-2.gif")), readAll(m_sources + QStringLiteral("/b/x.gif")));
}

void TestPreviewPage::listingEscapes_data()
{
    QTest::addColumn<QString>("element");
    QTest::addColumn<QString>("listing");
    QTest::newRow("angle brackets") << QStringLiteral("<a>") << QStringLiteral("&lt;a&gt;");
    QTest::newRow("ampersand first") << QStringLiteral("&lt;") << QStringLiteral("&amp;lt;");
    QTest::newRow("reference in a value") << QStringLiteral("value=\"A &amp; B\"")
                                          << QStringLiteral("value=\"A &amp;amp; B\"");
    QTest::newRow("quotes and line breaks stay") << QStringLiteral("\"x\"\r\n'y'") << QStringLiteral("\"x\"\r\n'y'");
    QTest::newRow("empty") << QString() << QString();
}

void TestPreviewPage::listingEscapes()
{
    QFETCH(QString, element);
    QFETCH(QString, listing);
    QCOMPARE(PreviewListing(element), listing);
}

void TestPreviewPage::captionWithAmpersandListsItsSource()
{
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    document.appendFrame(m_sources + QStringLiteral("/a/x.gif"), QStringLiteral("Fish & <Chips>"));
    const QString text = PreviewPageText(document);
    // The element holds the caption as references; the listing shows those references.
    QVERIFY2(text.contains(QStringLiteral("<param name=\"captionlist\" value=\"Fish &amp; &lt;Chips&gt;\">\r\n")),
             qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral(
                 "&lt;param name=\"captionlist\" value=\"Fish &amp;amp; &amp;lt;Chips&amp;gt;\"&gt;\r\n")),
             qPrintable(text));
}

void TestPreviewPage::emptyStripStillWritesThePage()
{
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    const QString page = WritePreviewPage(document);
    const QByteArray text = readAll(page);
    QVERIFY(text.startsWith("<html>\r\n<head><title>Reelcraft Preview</title></head>\r\n<body>\r\n"
                            "<applet code=\"quilanim\" width=600 height=200>\r\n"
                            "<param name=\"imagelist\" value=\"\">\r\n"));
    QVERIFY(text.contains("&lt;param name=\"imagelist\" value=\"\"&gt;\r\n"));
    // The script line follows the element (see pageForTwoFramesInDifferentFolders).
    QVERIFY(text.endsWith("&lt;/applet&gt;\r\n&lt;script src=\"quilanim.js\"&gt;&lt;/script&gt;\r\n</pre></body>\r\n</html>"));
    QCOMPARE(QDir(PreviewFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             (QStringList{QStringLiteral("WrappingLabel.class"), QStringLiteral("quilanim.class"),
                          QStringLiteral("quilanim.js"), QStringLiteral("~jvprev.htm")}));
}

void TestPreviewPage::secondPreviewRewritesTheSamePage()
{
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    document.appendFrame(m_sources + QStringLiteral("/a/x.gif"), QString());
    const QString first = WritePreviewPage(document);
    QVERIFY(readAll(first).contains("value=\"x.gif\""));

    document.removeFrame(0);
    document.appendFrame(m_sources + QStringLiteral("/b/y.jpg"), QString());
    document.setText(TextSetting::JavaWidth, QStringLiteral("320"));
    const QString second = WritePreviewPage(document);
    QCOMPARE(second, first);
    const QByteArray text = readAll(second);
    QCOMPARE(text, PreviewPageText(document).toUtf8());
    QVERIFY(text.contains("width=320"));
    QVERIFY(!text.contains("x.gif"));
    // Files of the earlier preview stay; nothing else is beside the one page.
    QCOMPARE(QDir(PreviewFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             (QStringList{QStringLiteral("WrappingLabel.class"), QStringLiteral("quilanim.class"),
                          QStringLiteral("quilanim.js"), QStringLiteral("x.gif"), QStringLiteral("y.jpg"), QStringLiteral("~jvprev.htm")}));
}

void TestPreviewPage::blockedFolderThrowsAndCopiesNothing()
{
    // A regular file where the preview folder should be.
    writeAll(PreviewFolder(), "in the way");
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    document.appendFrame(m_sources + QStringLiteral("/a/x.gif"), QString());
    try {
        WritePreviewPage(document);
        QFAIL("no error for a preview folder that cannot be made");
    } catch (const EFileError &error) {
        QVERIFY2(error.message().contains(PreviewFolder()), qPrintable(error.message()));
    }
    QCOMPARE(readAll(PreviewFolder()), QByteArray("in the way"));
    QVERIFY(QFile::remove(PreviewFolder()));
}

void TestPreviewPage::lightCopiesAreKeptForTheNextPreview()
{
    using namespace TestPictures;
    const QString photo = m_sources + QStringLiteral("/photo.jpg");
    writeAll(photo, jpegBytes(twoColours(QSize(800, 600), Qt::red, Qt::blue)));
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    document.appendFrame(photo, QString());
    document.setScaleToFit(true);
    document.setText(TextSetting::JavaWidth, QStringLiteral("100"));
    document.setText(TextSetting::JavaHeight, QStringLiteral("100"));
    const QString copy = PreviewFolder() + QStringLiteral("/photo.jpg");

    WritePreviewPage(document);
    QCOMPARE(QImage(copy).size(), QSize(150, 113));
    // Unchanged: the copy is the same file, not written again (a new write gets a new inode).
    const auto ino = [&copy] { struct stat st {}; return ::stat(QFile::encodeName(copy).constData(), &st) == 0 ? st.st_ino : 0; };
    const auto first = ino();
    WritePreviewPage(document);
    QCOMPARE(ino(), first);
    // Another box, or a changed photo, makes it anew.
    document.setText(TextSetting::JavaWidth, QStringLiteral("60"));
    WritePreviewPage(document);
    QVERIFY(ino() != first);
    QCOMPARE(QImage(copy).size(), QSize(90, 68));
    const auto second = ino();
    writeAll(photo, jpegBytes(twoColours(QSize(600, 800), Qt::red, Qt::blue)));
    WritePreviewPage(document);
    QVERIFY(ino() != second);
    QCOMPARE(QImage(copy).size(), QSize(90, 120));
    // Without scale the original goes back in its place.
    document.setScaleToFit(false);
    WritePreviewPage(document);
    QCOMPARE(QImage(copy).size(), QSize(600, 800));
    document.setScaleToFit(true);
    WritePreviewPage(document);
    QCOMPARE(QImage(copy).size(), QSize(90, 120));
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QCoreApplication app(argc, argv);
    TestPreviewPage test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_preview_page.moc"
