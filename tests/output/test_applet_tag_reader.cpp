#include "document/AnimationDocument.h"
#include "controls/PathUtils.h"
#include "output/AppletTagReader.h"
#include "output/AppletTagText.h"
#include "output/AppletTagWriter.h"

#include "integration/HostSession.h"

#include "HostLinkDouble.h"
#include "PromptsDouble.h"
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include "TagTestSupport.h"

using namespace TagTestSupport;

using namespace Qt::StringLiterals;

class TestAppletTagReader : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void readsWhatTheWriterWrote();
    void fontsAreRead();
    void emptyTextChangesNothing();
    void textWithoutTagsResets();
    void move_data();
    void move();
    void bounce_data();
    void bounce();
    void scale_data();
    void scale();
    void backgroundColour_data();
    void backgroundColour();
    void backgroundAndSoundtrack();
    void relativePicturesWithoutHost();
    void picturesAgainstHostDocument();
    void baseDocumentComesFromTheLinkedHost();
    void missingPictureDropsItsCaption();
    void upperCaseAndAnyTag();
    void captionListBeforeImageListHasNoEffect();
    void severalElements();
    void attributesAsTheReaderFindsThem();
    void characterReferences_data();
    void characterReferences();
    void pictureReferences_data();
    void pictureReferences();
    void unescapedTextReadsAsBefore();
    void callbacksReplaceAppendAndLayout();

private:
    QString m_folder;
};

void TestAppletTagReader::initTestCase()
{
    m_folder = TestEnvironment::instance().freshFolder(QStringLiteral("reader"));
    for (const char *name : {"a.gif", "b.gif", "c.gif", "sky.jpg", "theme.au"})
        touch(m_folder + QLatin1Char('/') + QLatin1String(name));
    QDir().mkpath(m_folder + QStringLiteral("/site/pages"));
    QDir().mkpath(m_folder + QStringLiteral("/site/img"));
    touch(m_folder + QStringLiteral("/site/img/x.gif"));
    touch(m_folder + QStringLiteral("/site/pages/y.gif"));
}

void TestAppletTagReader::readsWhatTheWriterWrote()
{
    PromptsDouble prompts;
    AnimationDocument written(prompts);
    written.ResetDocument();
    written.appendFrame(m_folder + QStringLiteral("/a.gif"), QStringLiteral("One"));
    written.appendFrame(m_folder + QStringLiteral("/b.gif"), QString());
    written.appendFrame(m_folder + QStringLiteral("/c.gif"), QStringLiteral("Three"));
    written.setText(TextSetting::JavaWidth, QStringLiteral("320"));
    written.setText(TextSetting::JavaHeight, QStringLiteral("240"));
    written.setText(TextSetting::BetweenFrames, QStringLiteral("250"));
    written.setText(TextSetting::Delay, QStringLiteral("1000"));
    written.setText(TextSetting::Repeat, QStringLiteral("4"));
    written.setSelectedIndex(ListSetting::Edge, DisappearOffEdge);
    written.BackgroundColour().SetText(QStringLiteral("00ff7f"));
    const QString text = WriteAppletTag(written, BuildImageList(written, ImageListForm::FileUrl));

    AnimationDocument read(prompts);
    ReadAppletTag(read, text);
    QCOMPARE(paths(read), paths(written));
    QCOMPARE(captions(read), captions(written));
    QCOMPARE(read.settings(), written.settings());
    QVERIFY(read.BackgroundColour().IsHtmlColour());
    QCOMPARE(read.BackgroundColour().HtmlColour(), QStringLiteral("00FF7F"));
    QCOMPARE(read.Caption(), QStringLiteral("Reelcraft"));

    // The same with movement, where the writer leaves the captions out.
    written.setSelectedIndex(ListSetting::HorizDirection, RightToLeft);
    written.setText(TextSetting::HorizSpeed, QStringLiteral("3"));
    written.setSelectedIndex(ListSetting::VertDirection, TopToBottom);
    written.setText(TextSetting::VerticalSpeed, QStringLiteral("2"));
    ReadAppletTag(read, WriteAppletTag(written, BuildImageList(written, ImageListForm::FileUrl)));
    QCOMPARE(paths(read), paths(written));
    QCOMPARE(captions(read), QStringList({QString(), QString(), QString()}));
    QCOMPARE(read.settings(), written.settings());
}

void TestAppletTagReader::fontsAreRead()
{
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    const auto read = [&](const QString &name, const QString &size, const QString &style) {
        ReadAppletTag(document, lines({QStringLiteral("<applet code=\"quilanim\" width=600 height=200>"),
                                       param(QStringLiteral("fontname"), name), param(QStringLiteral("fontsize"), size),
                                       param(QStringLiteral("fontstyle"), style), QStringLiteral("</applet>")}));
        return QStringList{document.selectedItemText(ListSetting::FontName), document.text(TextSetting::FontSize),
                           document.selectedItemText(ListSetting::FontStyle)};
    };
    QCOMPARE(read(u"Courier"_s, u"20"_s, u"3"_s), (QStringList{u"Courier"_s, u"20"_s, u"Bold + Italic"_s}));
    QCOMPARE(read(u"timesroman"_s, u"9"_s, u"2"_s), (QStringList{u"TimesRoman"_s, u"9"_s, u"Italic"_s}));
    // An unknown name, size or style leaves the reset values.
    QCOMPARE(read(u"Arial"_s, u"128"_s, u"4"_s), (QStringList{u"Helvetica"_s, u"16"_s, u"[None]"_s}));
    QCOMPARE(read(u"Dialog"_s, QString(), u"bold"_s), (QStringList{u"Dialog"_s, u"16"_s, u"[None]"_s}));
}

void TestAppletTagReader::emptyTextChangesNothing()
{
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    document.appendFrame(QStringLiteral("/x/a.gif"), QStringLiteral("kept"));
    document.SetCurrentFileName(QStringLiteral("/x/demo.rcf"));
    const AnimationSettings before = document.settings();
    ReadAppletTag(document, QString());
    QCOMPARE(document.frameCount(), 1);
    QCOMPARE(document.settings(), before);
    QCOMPARE(document.text(TextSetting::BetweenFrames), QStringLiteral("500"));
    QCOMPARE(document.CurrentFileName(), QStringLiteral("/x/demo.rcf"));
}

void TestAppletTagReader::textWithoutTagsResets()
{
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    document.appendFrame(QStringLiteral("/x/a.gif"), QStringLiteral("gone"));
    ReadAppletTag(document, QStringLiteral("no applet here, only < an unclosed bracket"));
    QCOMPARE(document.frameCount(), 0);
    QCOMPARE(document.settings(), AnimationSettings::ResetValues());
    QCOMPARE(document.Caption(), QStringLiteral("Reelcraft"));
}

void TestAppletTagReader::move_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("horizontal");
    QTest::addColumn<QString>("horizontalSpeed");
    QTest::addColumn<int>("vertical");
    QTest::addColumn<QString>("verticalSpeed");

    QTest::newRow("-3,2") << QStringLiteral("-3,2") << int(RightToLeft) << QStringLiteral("3") << int(TopToBottom)
                          << QStringLiteral("2");
    QTest::newRow("4,-7") << QStringLiteral("4,-7") << int(LeftToRight) << QStringLiteral("4") << int(BottomToTop)
                          << QStringLiteral("7");
    QTest::newRow("0,0") << QStringLiteral("0,0") << int(NoSidewaysMovement) << QStringLiteral("0")
                         << int(NoVerticalMovement) << QStringLiteral("0");
    QTest::newRow("-0,+5") << QStringLiteral("-0,+5") << int(NoSidewaysMovement) << QStringLiteral("0")
                           << int(TopToBottom) << QStringLiteral("5");
    QTest::newRow("no comma") << QStringLiteral("5") << int(NoSidewaysMovement) << QStringLiteral("0")
                              << int(NoVerticalMovement) << QStringLiteral("0");
    QTest::newRow("empty part") << QStringLiteral(",5") << int(NoSidewaysMovement) << QStringLiteral("0")
                                << int(NoVerticalMovement) << QStringLiteral("0");
    QTest::newRow("other text") << QStringLiteral("3,fast") << int(NoSidewaysMovement) << QStringLiteral("0")
                                << int(NoVerticalMovement) << QStringLiteral("0");
    QTest::newRow("two commas") << QStringLiteral("1,2,3") << int(NoSidewaysMovement) << QStringLiteral("0")
                                << int(NoVerticalMovement) << QStringLiteral("0");
    QTest::newRow("too large for 64 bits") << QStringLiteral("99999999999999999999,1") << int(NoSidewaysMovement)
                                           << QStringLiteral("0") << int(NoVerticalMovement) << QStringLiteral("0");
    QTest::newRow("large but whole") << QStringLiteral("-9223372036854775807,3000000000") << int(RightToLeft)
                                     << QStringLiteral("9223372036854775807") << int(TopToBottom)
                                     << QStringLiteral("3000000000");
}

void TestAppletTagReader::move()
{
    QFETCH(QString, value);
    QFETCH(int, horizontal);
    QFETCH(QString, horizontalSpeed);
    QFETCH(int, vertical);
    QFETCH(QString, verticalSpeed);
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    ReadAppletTag(document, param(QStringLiteral("move"), value));
    QCOMPARE(document.selectedIndex(ListSetting::HorizDirection), horizontal);
    QCOMPARE(document.text(TextSetting::HorizSpeed), horizontalSpeed);
    QCOMPARE(document.selectedIndex(ListSetting::VertDirection), vertical);
    QCOMPARE(document.text(TextSetting::VerticalSpeed), verticalSpeed);
}

void TestAppletTagReader::bounce_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("edge");
    QTest::newRow("true") << QStringLiteral("true") << int(BounceOffEdge);
    QTest::newRow("TRUE") << QStringLiteral("TRUE") << int(BounceOffEdge);
    QTest::newRow("false") << QStringLiteral("false") << int(DisappearOffEdge);
    QTest::newRow("empty") << QString() << int(DisappearOffEdge);
    QTest::newRow("yes") << QStringLiteral("yes") << int(DisappearOffEdge);
}

void TestAppletTagReader::bounce()
{
    QFETCH(QString, value);
    QFETCH(int, edge);
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    ReadAppletTag(document, param(QStringLiteral("bounce"), value));
    QCOMPARE(document.selectedIndex(ListSetting::Edge), edge);
}

void TestAppletTagReader::scale_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("on");
    QTest::newRow("fit") << param(QStringLiteral("scale"), QStringLiteral("fit")) << true;
    QTest::newRow("FIT, name in capitals") << param(QStringLiteral("SCALE"), QStringLiteral("FIT")) << true;
    QTest::newRow("none") << param(QStringLiteral("scale"), QStringLiteral("none")) << false;
    QTest::newRow("fit with a blank") << param(QStringLiteral("scale"), QStringLiteral("fit ")) << false;
    QTest::newRow("empty") << param(QStringLiteral("scale"), QString()) << false;
    QTest::newRow("absent") << param(QStringLiteral("bounce"), QStringLiteral("true")) << false;
    QTest::newRow("the first of two wins") << param(QStringLiteral("scale"), QStringLiteral("Fit"))
        + param(QStringLiteral("scale"), QStringLiteral("no")) << true;
}

void TestAppletTagReader::scale()
{
    QFETCH(QString, text);
    QFETCH(bool, on);
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    document.setScaleToFit(!on);
    ReadAppletTag(document, text);
    QCOMPARE(document.ScaleToFit(), on);
}

void TestAppletTagReader::backgroundColour_data()
{
    QTest::addColumn<QStringList>("values"); // in text order
    QTest::addColumn<bool>("isHtmlColour");
    QTest::addColumn<QString>("fieldText");
    QTest::addColumn<bool>("decimalMode");
    QTest::addColumn<int>("messages");
    QTest::addColumn<QString>("writtenBg"); // the bg value written back; empty for no line

    QTest::newRow("hash and lower case") << QStringList{QStringLiteral("#ff8000")} << true << QStringLiteral("ff8000")
                                         << false << 0 << QStringLiteral("#FF8000");
    QTest::newRow("without hash") << QStringList{QStringLiteral("00FF00")} << true << QStringLiteral("00FF00")
                                  << false << 0 << QStringLiteral("#00FF00");
    QTest::newRow("too short") << QStringList{QStringLiteral("#12345")} << false << QStringLiteral("12345") << false
                               << 0 << QString();
    QTest::newRow("not hexadecimal, field reports it") << QStringList{QStringLiteral("#GGGGGG")} << false
                                                       << QStringLiteral("GGGGGG") << false << 1 << QString();
    QTest::newRow("decimal form") << QStringList{QStringLiteral("255,128,0")} << false
                                  << QStringLiteral("255,128,0") << true << 0 << QStringLiteral("#FF8000");
    QTest::newRow("the bg nearest the start decides alone")
        << QStringList{QStringLiteral("255,128,0"), QStringLiteral("#FF0000")} << false
        << QStringLiteral("255,128,0") << true << 0 << QStringLiteral("#FF8000");
    QTest::newRow("hex nearest the start") << QStringList{QStringLiteral("#0000FF"), QStringLiteral("1,2,3")} << true
                                           << QStringLiteral("0000FF") << false << 0 << QStringLiteral("#0000FF");
}

void TestAppletTagReader::backgroundColour()
{
    QFETCH(QStringList, values);
    QFETCH(bool, isHtmlColour);
    QFETCH(QString, fieldText);
    QFETCH(bool, decimalMode);
    QFETCH(int, messages);
    QFETCH(QString, writtenBg);
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    QString text;
    for (const QString &value : values)
        text += param(QStringLiteral("bg"), value);
    ReadAppletTag(document, text);
    const HtmlColourField &field = document.BackgroundColour();
    QCOMPARE(field.IsHtmlColour(), isHtmlColour);
    QCOMPARE(field.Text(), fieldText);
    QCOMPARE(field.DecimalMode(), decimalMode);
    QCOMPARE(prompts.messages().size(), messages);
    // A colour read in either form is written back as "#" and six hexadecimal digits.
    const QString written = WriteAppletTag(document, QString());
    QCOMPARE(written.contains(QLatin1String("name=\"bg\"")), !writtenBg.isEmpty());
    if (!writtenBg.isEmpty())
        QVERIFY(written.contains(param(QStringLiteral("bg"), writtenBg)));
}

void TestAppletTagReader::backgroundAndSoundtrack()
{
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    const QString text = param(QStringLiteral("background"), QStringLiteral("sky.jpg"))
        + param(QStringLiteral("soundtrack"), QStringLiteral("theme.au"));

    // Found beside the host document: the full paths.
    AppletTagReaderOptions host;
    host.baseDocumentName = m_folder + QStringLiteral("/page.htm");
    ReadAppletTag(document, text, host);
    QCOMPARE(document.text(TextSetting::BackImage), m_folder + QStringLiteral("/sky.jpg"));
    QCOMPARE(document.text(TextSetting::Soundtrack), m_folder + QStringLiteral("/theme.au"));

    // Not found: the bare names.
    host.baseDocumentName = m_folder + QStringLiteral("/site/pages/p.htm");
    ReadAppletTag(document, text, host);
    QCOMPARE(document.text(TextSetting::BackImage), QStringLiteral("sky.jpg"));
    QCOMPARE(document.text(TextSetting::Soundtrack), QStringLiteral("theme.au"));

    // Without a host they are looked for in the current folder.
    {
        CurrentFolder here(m_folder);
        ReadAppletTag(document, text);
    }
    QCOMPARE(document.text(TextSetting::BackImage), QStringLiteral("sky.jpg"));
    QVERIFY(QFileInfo(m_folder + QLatin1Char('/') + document.text(TextSetting::BackImage)).isFile());
    QCOMPARE(document.text(TextSetting::Soundtrack), QStringLiteral("theme.au"));
}

void TestAppletTagReader::relativePicturesWithoutHost()
{
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    const QString text = param(QStringLiteral("imagelist"), QStringLiteral("a.gif,missing.gif,site\\img\\x.gif,../b.gif"))
        + param(QStringLiteral("captionlist"), QStringLiteral("A|M|X|B"));
    {
        CurrentFolder here(m_folder);
        ReadAppletTag(document, text);
    }
    // Relative names stay relative; "\" becomes "/", leading "../" steps are dropped.
    QCOMPARE(paths(document), QStringList({QStringLiteral("a.gif"), QStringLiteral("site/img/x.gif"),
                                           QStringLiteral("b.gif")}));
    QCOMPARE(captions(document), QStringList({QStringLiteral("A"), QStringLiteral("X"), QStringLiteral("B")}));

    // The command-line tool reads against the current folder as a page inside it.
    AppletTagReaderOptions cli;
    cli.baseDocumentName = m_folder + QStringLiteral("/site/pages/");
    ReadAppletTag(document, param(QStringLiteral("imagelist"), QStringLiteral("../img/x.gif,y.gif,../../a.gif")), cli);
    QCOMPARE(paths(document), QStringList({m_folder + QStringLiteral("/site/img/x.gif"),
                                           m_folder + QStringLiteral("/site/pages/y.gif"),
                                           m_folder + QStringLiteral("/a.gif")}));
}

void TestAppletTagReader::picturesAgainstHostDocument()
{
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    AppletTagReaderOptions host;
    host.baseDocumentName = m_folder + QStringLiteral("/site/pages/p.htm");
    const QString absolute = PathToFileURL(m_folder + QStringLiteral("/a.gif"));
    ReadAppletTag(document,
                  param(QStringLiteral("imagelist"),
                        QStringLiteral("../img/x.gif,y.gif,") + absolute + QStringLiteral(",") + m_folder
                            + QStringLiteral("/b.gif")),
                  host);
    QCOMPARE(paths(document), QStringList({m_folder + QStringLiteral("/site/img/x.gif"),
                                           m_folder + QStringLiteral("/site/pages/y.gif"),
                                           m_folder + QStringLiteral("/a.gif"), m_folder + QStringLiteral("/b.gif")}));
}

void TestAppletTagReader::baseDocumentComesFromTheLinkedHost()
{
    PromptsDouble prompts;
    HostLinkDouble link;
    link.documentName = m_folder + QStringLiteral("/page.htm");
    HostSession host(link, prompts);
    QCOMPARE(ReaderBaseDocumentName(nullptr), QString());
    QCOMPARE(ReaderBaseDocumentName(&host), QString()); // not probed: no host
    QVERIFY(link.calls.isEmpty());
    host.ConnectHost();
    QVERIFY(host.HostLinked());
    QCOMPARE(ReaderBaseDocumentName(&host), link.documentName);

    AnimationDocument document(prompts);
    AppletTagReaderOptions options;
    options.baseDocumentName = ReaderBaseDocumentName(&host);
    ReadAppletTag(document, param(QStringLiteral("imagelist"), QStringLiteral("a.gif,site/img/x.gif")), options);
    QCOMPARE(paths(document), QStringList({m_folder + QStringLiteral("/a.gif"), m_folder + QStringLiteral("/site/img/x.gif")}));
}

void TestAppletTagReader::missingPictureDropsItsCaption()
{
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    const QString text = lines({param(QStringLiteral("imagelist"),
                                      QStringLiteral("file://") + m_folder + QStringLiteral("/a.gif,file://") + m_folder
                                          + QStringLiteral("/moved.gif,file://") + m_folder + QStringLiteral("/c.gif")),
                                param(QStringLiteral("captionlist"), QStringLiteral("One|Two"))});
    ReadAppletTag(document, text);
    QCOMPARE(paths(document), QStringList({m_folder + QStringLiteral("/a.gif"), m_folder + QStringLiteral("/c.gif")}));
    // Captions go by place in the list: the third entry has none.
    QCOMPARE(captions(document), QStringList({QStringLiteral("One"), QString()}));
    QVERIFY(prompts.shown.isEmpty());
}

void TestAppletTagReader::upperCaseAndAnyTag()
{
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    ReadAppletTag(document, QStringLiteral("<html><body><APPLET CODE=\"quilanim\" WIDTH=320 HEIGHT=\"240\">\r\n"
                                           "<PARAM NAME=\"PAUSE\" VALUE=\"250\">\r\n"
                                           "<Param Name=EndDelay Value=75>\r\n"
                                           "</APPLET>\r\n<p name=\"repeat\" value=\"7\">text</p></body></html>"));
    QCOMPARE(document.text(TextSetting::JavaWidth), QStringLiteral("320"));
    QCOMPARE(document.text(TextSetting::JavaHeight), QStringLiteral("240"));
    QCOMPARE(document.text(TextSetting::BetweenFrames), QStringLiteral("250"));
    QCOMPARE(document.text(TextSetting::Delay), QStringLiteral("75"));
    QCOMPARE(document.text(TextSetting::Repeat), QStringLiteral("7"));
}

void TestAppletTagReader::captionListBeforeImageListHasNoEffect()
{
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    ReadAppletTag(document, param(QStringLiteral("captionlist"), QStringLiteral("One"))
                                + param(QStringLiteral("imagelist"), QStringLiteral("file://") + m_folder
                                                                          + QStringLiteral("/a.gif")));
    QCOMPARE(captions(document), QStringList({QString()}));
}

void TestAppletTagReader::severalElements()
{
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    const QString first = QStringLiteral("<applet code=\"quilanim\" width=100 height=50>")
        + param(QStringLiteral("imagelist"), QStringLiteral("file://") + m_folder + QStringLiteral("/a.gif"))
        + param(QStringLiteral("pause"), QStringLiteral("111")) + QStringLiteral("</applet>");
    const QString second = QStringLiteral("<applet code=\"quilanim\" width=300 height=150>")
        + param(QStringLiteral("imagelist"), QStringLiteral("file://") + m_folder + QStringLiteral("/b.gif,file://")
                                                 + m_folder + QStringLiteral("/c.gif"))
        + param(QStringLiteral("pause"), QStringLiteral("222")) + QStringLiteral("</applet>");
    ReadAppletTag(document, first + QStringLiteral("<p>between</p>") + second);
    // The frames of the last element come first; of the settings the first one wins.
    QCOMPARE(paths(document), QStringList({m_folder + QStringLiteral("/b.gif"), m_folder + QStringLiteral("/c.gif"),
                                           m_folder + QStringLiteral("/a.gif")}));
    QCOMPARE(document.text(TextSetting::BetweenFrames), QStringLiteral("111"));
    QCOMPARE(document.text(TextSetting::JavaWidth), QStringLiteral("100"));
}

void TestAppletTagReader::attributesAsTheReaderFindsThem()
{
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    // A blank around "=" hides the attribute; a missing one gives an empty field.
    ReadAppletTag(document, QStringLiteral("<applet code=\"quilanim\" width = 600>"));
    QCOMPARE(document.text(TextSetting::JavaWidth), QString());
    QCOMPARE(document.text(TextSetting::JavaHeight), QString());
    // A first word ending in a line break is still the applet tag.
    ReadAppletTag(document, QStringLiteral("<applet\r\ncode=\"quilanim\"\r\nwidth=400\r\nheight=300>"));
    QCOMPARE(document.text(TextSetting::JavaWidth), QStringLiteral("400"));
    QCOMPARE(document.text(TextSetting::JavaHeight), QStringLiteral("300"));
    // "<applets" is another tag.
    ReadAppletTag(document, QStringLiteral("<applets width=1 height=2>"));
    QCOMPARE(document.text(TextSetting::JavaWidth), QStringLiteral("600"));
}

void TestAppletTagReader::characterReferences_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("decoded");
    QTest::newRow("named") << QStringLiteral("&amp;&quot;&lt;&gt;&apos;") << QStringLiteral("&\"<>'");
    QTest::newRow("decimal and hexadecimal") << QStringLiteral("&#233;&#xE9;&#Xe9;&#0065;") << QStringLiteral("\u00e9\u00e9\u00e9A");
    QTest::newRow("outside the BMP") << QStringLiteral("&#128512;&#x1F600;") << QString::fromUtf8("\xF0\x9F\x98\x80\xF0\x9F\x98\x80");
    QTest::newRow("a bare ampersand stays") << QStringLiteral("Fish & Chips, AT&T") << QStringLiteral("Fish & Chips, AT&T");
    QTest::newRow("unknown names stay") << QStringLiteral("&nbsp;&AMP;&amp") << QStringLiteral("&nbsp;&AMP;&amp");
    QTest::newRow("broken numbers stay") << QStringLiteral("&#;&#x;&#12a;&#65") << QStringLiteral("&#;&#x;&#12a;&#65");
    QTest::newRow("no character stays") << QStringLiteral("&#xD800;&#1114112;&#99999999999;")
                                        << QStringLiteral("&#xD800;&#1114112;&#99999999999;");
    QTest::newRow("decoded once") << QStringLiteral("&amp;amp;&amp;#65;") << QStringLiteral("&amp;&#65;");
    QTest::newRow("ampersand before a reference") << QStringLiteral("&&lt;") << QStringLiteral("&<");
}

void TestAppletTagReader::characterReferences()
{
    QFETCH(QString, value);
    QFETCH(QString, decoded);
    QCOMPARE(DecodeCharacterReferences(value), decoded);
    // Every value of the element is decoded, the name too.
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    ReadAppletTag(document, QStringLiteral("<param name=\"p&#97;use\" value=\"") + value + QStringLiteral("\">"));
    QCOMPARE(document.text(TextSetting::BetweenFrames), decoded);
}

void TestAppletTagReader::pictureReferences_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("decoded");
    QTest::newRow("comma") << QStringLiteral("a%2Cb%2cc") << QStringLiteral("a,b,c");
    QTest::newRow("percent") << QStringLiteral("50%25") << QStringLiteral("50%");
    QTest::newRow("decoded once") << QStringLiteral("%252C") << QStringLiteral("%2C");
    QTest::newRow("other escapes stay") << QStringLiteral("a%20b%41%") << QStringLiteral("a%20b%41%");
    // What the page forms escape, so that a browser fetches the file of that name.
    QTest::newRow("fragment and query marks") << QStringLiteral("a%23b.gif,c%3fd") << QStringLiteral("a#b.gif,c?d");
    QTest::newRow("control characters") << QStringLiteral("t%09a%0Ab%0d%7F%1f.gif") << QStringLiteral("t\ta\nb\r\x7f\x1f.gif");
    QTest::newRow("blanks at the ends") << QStringLiteral("%20%20lead.gif%20") << QStringLiteral("  lead.gif ");
    QTest::newRow("blanks at the name's ends") << QStringLiteral("my pics/%20x%20/y.gif") << QStringLiteral("my pics/%20x%20/y.gif");
    QTest::newRow("blank after a folder") << QStringLiteral("dir\\%20x.gif") << QStringLiteral("dir\\ x.gif");
}

void TestAppletTagReader::pictureReferences()
{
    QFETCH(QString, entry);
    QFETCH(QString, decoded);
    QCOMPARE(DecodePictureReference(entry), decoded);
    QCOMPARE(DecodePictureReference(EscapePictureReference(decoded)), decoded);
    QCOMPARE(DecodePictureReference(EscapePageReference(decoded)), decoded);
    // The page form leaves nothing bare that a browser would cut, drop or trim.
    const QString page = EscapePageReference(decoded);
    for (const QChar c : page)
        QVERIFY(c != u'#' && c != u'?' && c != u',' && c >= u' ' && c != QChar(0x7F));
    QVERIFY(!page.startsWith(u' ') && !page.endsWith(u' '));
}

void TestAppletTagReader::unescapedTextReadsAsBefore()
{
    // Written before values were escaped: a bare "&" in a caption and in a file name.
    const QString folder = TestEnvironment::instance().freshFolder(QStringLiteral("unescaped"));
    touch(folder + QStringLiteral("/fish&chips.gif"));
    touch(folder + QStringLiteral("/b.gif"));
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    ReadAppletTag(document, lines({QStringLiteral("<applet code=\"quilanim\" width=600 height=200>"),
                                   param(QStringLiteral("imagelist"), QStringLiteral("file://") + folder
                                                                          + QStringLiteral("/fish&chips.gif,file://")
                                                                          + folder + QStringLiteral("/b.gif")),
                                   param(QStringLiteral("captionlist"), QStringLiteral("Fish & Chips|R&D")),
                                   param(QStringLiteral("move"), QStringLiteral("0,0")),
                                   QStringLiteral("</applet>")}));
    QCOMPARE(paths(document), QStringList({folder + QStringLiteral("/fish&chips.gif"), folder + QStringLiteral("/b.gif")}));
    QCOMPARE(captions(document), QStringList({QStringLiteral("Fish & Chips"), QStringLiteral("R&D")}));
}

void TestAppletTagReader::callbacksReplaceAppendAndLayout()
{
    PromptsDouble prompts;
    AnimationDocument document(prompts);
    QStringList added;
    int layouts = 0;
    AppletTagReaderOptions options;
    options.addFrame = [&](const QString &path, const QString &caption) { added << path + QLatin1Char('=') + caption; };
    options.layoutFrames = [&] { ++layouts; };
    ReadAppletTag(document, param(QStringLiteral("imagelist"), QStringLiteral("file://") + m_folder + QStringLiteral("/a.gif"))
                                + param(QStringLiteral("captionlist"), QStringLiteral("Only")),
                  options);
    QCOMPARE(added, QStringList{m_folder + QStringLiteral("/a.gif=Only")});
    QCOMPARE(document.frameCount(), 0); // the callback decides where frames go
    QCOMPARE(layouts, 1);
    // An image list without any found picture still lays the strip out.
    ReadAppletTag(document, param(QStringLiteral("imagelist"), QString()), options);
    QCOMPARE(layouts, 2);
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QCoreApplication app(argc, argv);
    TestAppletTagReader test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_applet_tag_reader.moc"
