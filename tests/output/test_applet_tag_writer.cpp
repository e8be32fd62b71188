#include "document/AnimationDocument.h"
#include "output/AppletTagReader.h"
#include "output/AppletTagText.h"
#include "output/AppletTagWriter.h"

#include "PromptsDouble.h"
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QTest>

#include <functional>

using DocumentSetup = std::function<void(AnimationDocument &)>;
Q_DECLARE_METATYPE(DocumentSetup)

namespace {

QString elementText(const QStringList &lines)
{
    return lines.join(QLatin1String("\r\n"));
}

QString param(const QString &name, const QString &value)
{
    return QStringLiteral("<param name=\"%1\" value=\"%2\">").arg(name, value);
}

void twoCaptionedFrames(AnimationDocument &document)
{
    document.appendFrame(QStringLiteral("C:\\pics\\a.gif"), QStringLiteral("One"));
    document.appendFrame(QStringLiteral("C:\\pics\\b.gif"), QStringLiteral("Two"));
}

const QString kAppletLine = QStringLiteral("<applet code=\"quilanim\" width=600 height=200>");
const QString kTwoUrls = QStringLiteral("file:///C|/pics/a.gif,file:///C|/pics/b.gif");

} // namespace

class TestAppletTagWriter : public QObject
{
    Q_OBJECT
private slots:
    void startupExampleIsByteForByte();
    void element_data();
    void element();
    void imageListForms_data();
    void imageListForms();
    void backgroundAndSoundtrackLines();
    void escaping_data();
    void escaping();
    void everyGeneratedCharacterIsPrintableAscii();
};

void TestAppletTagWriter::startupExampleIsByteForByte()
{
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    twoCaptionedFrames(document);
    const QString text = WriteAppletTag(document, BuildImageList(document, ImageListForm::FileUrl));
    const QByteArray expected =
        "<applet code=\"quilanim\" width=600 height=200>\r\n"
        "<param name=\"imagelist\" value=\"file:///C|/pics/a.gif,file:///C|/pics/b.gif\">\r\n"
        "<param name=\"captionlist\" value=\"One|Two\">\r\n"
        "<param name=\"fontsize\" value=\"16\">\r\n"
        "<param name=\"move\" value=\"0,0\">\r\n"
        "<param name=\"pause\" value=\"500\">\r\n"
        "<param name=\"enddelay\" value=\"0\">\r\n"
        "<param name=\"bounce\" value=\"true\">\r\n"
        "</applet>";
    QCOMPARE(text.toUtf8(), expected);
    // The same document always gives the same text.
    QCOMPARE(WriteAppletTag(document, BuildImageList(document, ImageListForm::FileUrl)), text);
}

void TestAppletTagWriter::element_data()
{
    QTest::addColumn<DocumentSetup>("setup");
    QTest::addColumn<QString>("expected");

    const QString move00 = param(QStringLiteral("move"), QStringLiteral("0,0"));
    const QString pause500 = param(QStringLiteral("pause"), QStringLiteral("500"));
    const QString delay0 = param(QStringLiteral("enddelay"), QStringLiteral("0"));
    const QString bounceTrue = param(QStringLiteral("bounce"), QStringLiteral("true"));
    const QString images = param(QStringLiteral("imagelist"), kTwoUrls);
    const QString tail = QStringLiteral("</applet>");

    QTest::newRow("after a reset the fonts are written too")
        << DocumentSetup([](AnimationDocument &d) {
               d.ResetDocument();
               twoCaptionedFrames(d);
           })
        << elementText({kAppletLine, images, param(QStringLiteral("captionlist"), QStringLiteral("One|Two")),
                    param(QStringLiteral("fontname"), QStringLiteral("Helvetica")),
                    param(QStringLiteral("fontsize"), QStringLiteral("16")),
                    param(QStringLiteral("fontstyle"), QStringLiteral("0")), move00,
                    param(QStringLiteral("pause"), QStringLiteral("0")), delay0, bounceTrue, tail});

    QTest::newRow("a speed without a direction still drops captions and fonts")
        << DocumentSetup([](AnimationDocument &d) {
               d.ResetDocument();
               twoCaptionedFrames(d);
               d.setText(TextSetting::HorizSpeed, QStringLiteral("5"));
           })
        << elementText({kAppletLine, images, move00, param(QStringLiteral("pause"), QStringLiteral("0")), delay0,
                    bounceTrue, tail});

    QTest::newRow("all captions empty: no caption or font line")
        << DocumentSetup([](AnimationDocument &d) {
               d.ResetDocument();
               d.appendFrame(QStringLiteral("/p/a.gif"), QString());
               d.appendFrame(QStringLiteral("/p/b.gif"), QString());
               d.appendFrame(QStringLiteral("/p/c.gif"), QString());
           })
        << elementText({kAppletLine,
                    param(QStringLiteral("imagelist"),
                          QStringLiteral("file:///p/a.gif,file:///p/b.gif,file:///p/c.gif")),
                    move00, param(QStringLiteral("pause"), QStringLiteral("0")), delay0, bounceTrue, tail});

    QTest::newRow("empty captions keep their places")
        << DocumentSetup([](AnimationDocument &d) {
               d.appendFrame(QStringLiteral("/p/a.gif"), QStringLiteral("a"));
               d.appendFrame(QStringLiteral("/p/b.gif"), QString());
               d.appendFrame(QStringLiteral("/p/c.gif"), QStringLiteral("c"));
           })
        << elementText({kAppletLine,
                    param(QStringLiteral("imagelist"),
                          QStringLiteral("file:///p/a.gif,file:///p/b.gif,file:///p/c.gif")),
                    param(QStringLiteral("captionlist"), QStringLiteral("a||c")),
                    param(QStringLiteral("fontsize"), QStringLiteral("16")), move00, pause500, delay0, bounceTrue,
                    tail});

    QTest::newRow("right to left 3, top to bottom 2 and every optional line")
        << DocumentSetup([](AnimationDocument &d) {
               twoCaptionedFrames(d);
               d.setSelectedIndex(ListSetting::HorizDirection, RightToLeft);
               d.setText(TextSetting::HorizSpeed, QStringLiteral("3"));
               d.setSelectedIndex(ListSetting::VertDirection, TopToBottom);
               d.setText(TextSetting::VerticalSpeed, QStringLiteral("2"));
               d.setSelectedIndex(ListSetting::Edge, DisappearOffEdge);
               d.setText(TextSetting::Repeat, QStringLiteral("3"));
               d.setText(TextSetting::JavaWidth, QStringLiteral("320"));
               d.setText(TextSetting::JavaHeight, QStringLiteral("240"));
               d.BackgroundColour().SetText(QStringLiteral("ff8000"));
               d.setText(TextSetting::BackImage, QStringLiteral("C:\\art\\sky.jpg"));
               d.setText(TextSetting::Soundtrack, QStringLiteral("/music/theme.au"));
           })
        << elementText({QStringLiteral("<applet code=\"quilanim\" width=320 height=240>"), images,
                    param(QStringLiteral("move"), QStringLiteral("-3,2")), pause500, delay0,
                    param(QStringLiteral("bounce"), QStringLiteral("false")),
                    param(QStringLiteral("repeat"), QStringLiteral("3")),
                    param(QStringLiteral("bg"), QStringLiteral("#FF8000")),
                    param(QStringLiteral("background"), QStringLiteral("sky.jpg")),
                    param(QStringLiteral("soundtrack"), QStringLiteral("theme.au")), tail});

    QTest::newRow("scale between bounce and repeat, only when on")
        << DocumentSetup([](AnimationDocument &d) {
               d.setScaleToFit(true);
               d.setText(TextSetting::Repeat, QStringLiteral("2"));
           })
        << elementText({kAppletLine, param(QStringLiteral("imagelist"), QString()), move00, pause500, delay0,
                    bounceTrue, param(QStringLiteral("scale"), QStringLiteral("fit")),
                    param(QStringLiteral("repeat"), QStringLiteral("2")), tail});

    QTest::newRow("a reset turns scale off again")
        << DocumentSetup([](AnimationDocument &d) {
               d.setScaleToFit(true);
               d.ResetDocument();
           })
        << elementText({kAppletLine, param(QStringLiteral("imagelist"), QString()), move00,
                    param(QStringLiteral("pause"), QStringLiteral("0")), delay0, bounceTrue, tail});

    QTest::newRow("no direction gives 0 whatever the speeds say")
        << DocumentSetup([](AnimationDocument &d) {
               d.setText(TextSetting::HorizSpeed, QStringLiteral("7"));
               d.setText(TextSetting::VerticalSpeed, QStringLiteral("9"));
               d.setSelectedIndex(ListSetting::HorizDirection, NoSelectedItem);
               d.setSelectedIndex(ListSetting::Edge, NoSelectedItem);
           })
        << elementText({kAppletLine, param(QStringLiteral("imagelist"), QString()), move00, pause500, delay0,
                    param(QStringLiteral("bounce"), QStringLiteral("false")), tail});

    QTest::newRow("a direction with an empty speed gives an empty component")
        << DocumentSetup([](AnimationDocument &d) {
               d.setSelectedIndex(ListSetting::HorizDirection, LeftToRight);
               d.setText(TextSetting::HorizSpeed, QString());
               d.setSelectedIndex(ListSetting::VertDirection, BottomToTop);
               d.setText(TextSetting::VerticalSpeed, QString());
               d.setText(TextSetting::BetweenFrames, QString());
           })
        << elementText({kAppletLine, param(QStringLiteral("imagelist"), QString()),
                    param(QStringLiteral("move"), QStringLiteral(",-")), param(QStringLiteral("pause"), QString()),
                    delay0, bounceTrue, tail});

    QTest::newRow("an incomplete hexadecimal colour writes no bg")
        << DocumentSetup([](AnimationDocument &d) { d.BackgroundColour().SetText(QStringLiteral("FF80")); })
        << elementText({kAppletLine, param(QStringLiteral("imagelist"), QString()), move00, pause500, delay0,
                    bounceTrue, tail});

    QTest::newRow("an invalid decimal text after a hexadecimal colour writes no bg")
        << DocumentSetup([](AnimationDocument &d) {
               d.BackgroundColour().SetText(QStringLiteral("00FF00"));
               d.BackgroundColour().SetDecimalMode(true);
               d.BackgroundColour().SetText(QStringLiteral("300,0,0"));
           })
        << elementText({kAppletLine, param(QStringLiteral("imagelist"), QString()), move00, pause500, delay0,
                    bounceTrue, tail});

    QTest::newRow("a valid decimal colour while IsHtmlColour is set")
        << DocumentSetup([](AnimationDocument &d) {
               d.BackgroundColour().SetText(QStringLiteral("00FF00"));
               d.BackgroundColour().SetText(QStringLiteral("255,128,0"));
           })
        << elementText({kAppletLine, param(QStringLiteral("imagelist"), QString()), move00, pause500, delay0,
                    bounceTrue, param(QStringLiteral("bg"), QStringLiteral("#FF8000")), tail});

    QTest::newRow("a valid decimal colour without IsHtmlColour is written")
        << DocumentSetup([](AnimationDocument &d) {
               d.BackgroundColour().SetDecimalMode(true);
               d.BackgroundColour().SetText(QStringLiteral("255,128,0"));
           })
        << elementText({kAppletLine, param(QStringLiteral("imagelist"), QString()), move00, pause500, delay0,
                    bounceTrue, param(QStringLiteral("bg"), QStringLiteral("#FF8000")), tail});

    QTest::newRow("a background folder without a file name gives no line")
        << DocumentSetup([](AnimationDocument &d) {
               d.setText(TextSetting::BackImage, QStringLiteral("C:\\art\\"));
               d.setText(TextSetting::Soundtrack, QStringLiteral("/music/x:theme.au"));
           })
        << elementText({kAppletLine, param(QStringLiteral("imagelist"), QString()), move00, pause500, delay0,
                    bounceTrue, param(QStringLiteral("soundtrack"), QStringLiteral("theme.au")), tail});
}

void TestAppletTagWriter::element()
{
    QFETCH(DocumentSetup, setup);
    QFETCH(QString, expected);
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    setup(document);
    QCOMPARE(WriteAppletTag(document, BuildImageList(document, ImageListForm::FileUrl)), expected);
    QVERIFY(prompts.shown.isEmpty());
}

void TestAppletTagWriter::imageListForms_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<int>("form");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("expected");

    const QStringList windows{QStringLiteral("C:\\web\\images\\a.gif"), QStringLiteral("C:\\pics\\b.gif"),
                              QStringLiteral("C:\\web\\c.gif"), QStringLiteral("D:\\other\\d.gif")};
    const QStringList posix{QStringLiteral("/site/img/a.gif"), QStringLiteral("/site/pages/b.gif"),
                            QStringLiteral("/elsewhere/c.gif")};
    const int nameOnly = int(ImageListForm::FileNameOnly);
    const int inFolder = int(ImageListForm::InFolder);
    const int relative = int(ImageListForm::RelativeToDocument);
    const int url = int(ImageListForm::FileUrl);

    QTest::newRow("no frames") << QStringList() << url << QString() << QString();
    QTest::newRow("file names, Windows") << windows << nameOnly << QStringLiteral("ignored")
                                         << QStringLiteral("a.gif,b.gif,c.gif,d.gif");
    QTest::newRow("file names, POSIX") << posix << nameOnly << QString() << QStringLiteral("a.gif,b.gif,c.gif");
    QTest::newRow("folder with /") << posix << inFolder << QStringLiteral("images/")
                                   << QStringLiteral("images/a.gif,images/b.gif,images/c.gif");
    QTest::newRow("folder with \\") << QStringList{posix.first()} << inFolder << QStringLiteral("web\\img")
                                    << QStringLiteral("web\\img\\a.gif");
    QTest::newRow("empty folder") << QStringList{posix.first()} << inFolder << QString() << QStringLiteral("a.gif");
    QTest::newRow("relative, Windows")
        << windows << relative << QStringLiteral("C:\\web\\index.htm")
        << QStringLiteral("images/a.gif,../pics/b.gif,c.gif,D:/other/d.gif");
    QTest::newRow("relative to a folder name") << QStringList{windows.first()} << relative
                                               << QStringLiteral("C:\\web\\") << QStringLiteral("images/a.gif");
    QTest::newRow("relative, POSIX") << posix << relative << QStringLiteral("/site/pages/p.htm")
                                     << QStringLiteral("../img/a.gif,b.gif,../../elsewhere/c.gif");
    QTest::newRow("relative without a document") << QStringList{posix.first()} << relative << QString()
                                                 << QStringLiteral("file:///site/img/a.gif");
    QTest::newRow("file URLs") << QStringList{QStringLiteral("C:\\My Pictures\\a.gif"), QStringLiteral("/pics/b.gif")}
                               << url << QString()
                               << QStringLiteral("file:///C|/My Pictures/a.gif,file:///pics/b.gif");
    QTest::newRow("comma and percent are encoded")
        << QStringList{QStringLiteral("/pics/50%,off.gif"), QStringLiteral("/pics/%2C.gif")} << url << QString()
        << QStringLiteral("file:///pics/50%25%2Coff.gif,file:///pics/%252C.gif");
    QTest::newRow("encoded in bare names too") << QStringList{QStringLiteral("/p/a,b.gif")} << nameOnly << QString()
                                               << QStringLiteral("a%2Cb.gif");
}

void TestAppletTagWriter::imageListForms()
{
    QFETCH(QStringList, paths);
    QFETCH(int, form);
    QFETCH(QString, argument);
    QFETCH(QString, expected);
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    for (const QString &path : paths)
        document.appendFrame(path, QString());
    QCOMPARE(BuildImageList(document, ImageListForm(form), argument), expected);
}

void TestAppletTagWriter::backgroundAndSoundtrackLines()
{
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    document.appendFrame(QStringLiteral("/pics/sky.jpg"), QString());
    document.setText(TextSetting::BackImage, QStringLiteral("/art/sky.jpg"));
    document.setText(TextSetting::Soundtrack, QStringLiteral("/music/50% off, live.au"));
    const auto lines = [&document](ImageListForm form, const QString &background, const QString &soundtrack) {
        const QString text = WriteAppletTag(document, QString(), form);
        return text.endsWith(elementText({param(QStringLiteral("background"), background),
                                          param(QStringLiteral("soundtrack"), soundtrack), QStringLiteral("</applet>")}));
    };
    // Project files keep the whole locations; a page the name the file has beside it.
    QVERIFY(lines(ImageListForm::FileUrl, QStringLiteral("file:///art/sky.jpg"),
                  QStringLiteral("file:///music/50%25 off%2C live.au")));
    QVERIFY(lines(ImageListForm::FileNameOnly, QStringLiteral("sky-2.jpg"), QStringLiteral("50%25 off%2C live.au")));
    QVERIFY(lines(ImageListForm::InFolder, QStringLiteral("sky-2.jpg"), QStringLiteral("50%25 off%2C live.au")));
    QVERIFY(lines(ImageListForm::RelativeToDocument, QStringLiteral("sky.jpg"), QStringLiteral("50%25 off%2C live.au")));

    AnimationDocument read(prompts);
    ReadAppletTag(read, WriteAppletTag(document, QString(), ImageListForm::FileUrl));
    QCOMPARE(read.text(TextSetting::BackImage), document.text(TextSetting::BackImage));
    QCOMPARE(read.text(TextSetting::Soundtrack), document.text(TextSetting::Soundtrack));
}

void TestAppletTagWriter::escaping_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("quoted");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain") << QStringLiteral("file:///C|/My Pictures/a.gif") << true
                           << QStringLiteral("file:///C|/My Pictures/a.gif");
    QTest::newRow("markup") << QStringLiteral("say \"hi\" <b> & go") << true
                            << QStringLiteral("say &quot;hi&quot; &lt;b&gt; &amp; go");
    QTest::newRow("existing reference is escaped again") << QStringLiteral("&amp;") << true
                                                         << QStringLiteral("&amp;amp;");
    QTest::newRow("letters above 127") << QStringLiteral("Caf\u00e9 \u4e2d") << true
                                       << QStringLiteral("Caf&#233; &#20013;");
    QTest::newRow("a character outside the BMP is one reference")
        << QString::fromUtf8("\xF0\x9F\x98\x80") << true << QStringLiteral("&#128512;");
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << true << QStringLiteral("&#65533;");
    QTest::newRow("controls and DEL") << QStringLiteral("a\tb\r\nc\u007f") << true
                                      << QStringLiteral("a&#9;b&#13;&#10;c&#127;");
    QTest::newRow("blanks stay in a quoted value") << QStringLiteral("  a b ") << true << QStringLiteral("  a b ");
    QTest::newRow("bare value: blanks and =") << QStringLiteral("6 0=x") << false
                                              << QStringLiteral("6&#32;0&#61;x");
    QTest::newRow("bare digits") << QStringLiteral("600") << false << QStringLiteral("600");
    QTest::newRow("empty") << QString() << true << QString();
}

void TestAppletTagWriter::escaping()
{
    QFETCH(QString, value);
    QFETCH(bool, quoted);
    QFETCH(QString, expected);
    const QString escaped = EscapeAttributeValue(value, quoted ? ValueQuoting::Quoted : ValueQuoting::Unquoted);
    QCOMPARE(escaped, expected);
    if (!value.contains(QChar(0xD800)))
        QCOMPARE(DecodeCharacterReferences(escaped), value);
}

void TestAppletTagWriter::everyGeneratedCharacterIsPrintableAscii()
{
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    document.appendFrame(QStringLiteral("/Bilder/M\u00fcnchen \"alt\"/<1>.gif"), QStringLiteral("Gr\u00fc\u00dfe & \"Küsse\""));
    document.appendFrame(QStringLiteral("/pics/a,b%.jpg"), QStringLiteral("<b>bold</b>"));
    document.setText(TextSetting::JavaWidth, QStringLiteral("60 0"));
    document.setText(TextSetting::BetweenFrames, QStringLiteral("5\"00>"));
    document.setText(TextSetting::BackImage, QStringLiteral("/art/h\u00e9 \"x\".jpg"));
    const QString text = WriteAppletTag(document, BuildImageList(document, ImageListForm::FileUrl));
    const QStringList lines = text.split(QLatin1String("\r\n"));
    QCOMPARE(lines.size(), 10);
    for (const QString &line : lines) {
        for (const QChar c : line)
            QVERIFY2(c.unicode() >= 0x20 && c.unicode() < 0x7F, qPrintable(line));
        // Every line is one tag: no value ends it early.
        QVERIFY(line.startsWith(QLatin1Char('<')));
        QCOMPARE(line.count(QLatin1Char('<')), 1);
        QCOMPARE(line.count(QLatin1Char('>')), 1);
        QVERIFY(line.endsWith(QLatin1Char('>')));
    }
    QCOMPARE(lines.at(0), QStringLiteral("<applet code=\"quilanim\" width=60&#32;0 height=200>"));
    QCOMPARE(lines.at(1),
             QStringLiteral("<param name=\"imagelist\" value=\"file:///Bilder/M&#252;nchen &quot;alt&quot;/&lt;1&gt;.gif,"
                            "file:///pics/a%2Cb%25.jpg\">"));
    QCOMPARE(lines.at(2), QStringLiteral("<param name=\"captionlist\" value=\"Gr&#252;&#223;e &amp; &quot;K&#252;sse&quot;|"
                                         "&lt;b&gt;bold&lt;/b&gt;\">"));
    QVERIFY(text.endsWith(QLatin1String("</applet>")));
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QCoreApplication app(argc, argv);
    TestAppletTagWriter test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_applet_tag_writer.moc"
