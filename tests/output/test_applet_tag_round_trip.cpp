#include "document/AnimationDocument.h"
#include "output/AppletTagReader.h"
#include "output/AppletTagWriter.h"

#include "PromptsDouble.h"
#include "TagTestSupport.h"
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QRandomGenerator>
#include <QTest>

using namespace TagTestSupport;

// Documents written and read back: every field the reader restores must come back, and the
// element written from what was read must be the element that was read.
class TestAppletTagRoundTrip : public QObject
{
    Q_OBJECT
private slots:
    void awkwardValuesComeBack_data();
    void awkwardValuesComeBack();
    void randomDocumentsSurviveTwoRoundTrips();
};

namespace {

QString randomText(QRandomGenerator &random, const QString &alphabet, int maxLength)
{
    const int length = int(random.bounded(maxLength + 1));
    QString text;
    for (int i = 0; i < length; ++i) {
        const qsizetype at = random.bounded(int(alphabet.size()));
        // Keep surrogate pairs of the alphabet whole.
        if (alphabet.at(at).isLowSurrogate())
            text += alphabet.mid(at - 1, 2);
        else if (alphabet.at(at).isHighSurrogate())
            text += alphabet.mid(at, 2);
        else
            text += alphabet.at(at);
    }
    return text;
}

} // namespace

void TestAppletTagRoundTrip::awkwardValuesComeBack_data()
{
    QTest::addColumn<int>("setting");
    QTest::addColumn<QString>("value");
    const int width = int(TextSetting::JavaWidth);
    const int height = int(TextSetting::JavaHeight);
    const int pause = int(TextSetting::BetweenFrames);
    QTest::newRow("blank in the width") << width << QStringLiteral("6 0");
    QTest::newRow("the next attribute inside the width") << width << QStringLiteral("1 height=9");
    QTest::newRow("quote in the width") << width << QStringLiteral("\"600\"");
    QTest::newRow("end of tag in the height") << height << QStringLiteral("1>2");
    QTest::newRow("line break in the height") << height << QStringLiteral("2\r\n00");
    QTest::newRow("quote in a value") << pause << QStringLiteral("5\" value=\"9");
    QTest::newRow("reference text in a value") << pause << QStringLiteral("&#65;&amp;");
    QTest::newRow("blanks at the ends") << pause << QStringLiteral("  500 ");
    QTest::newRow("a whole tag") << pause << QStringLiteral("<param name=\"pause\" value=\"1\">");
    // A file's name may end in a blank; the project keeps it.
    QTest::newRow("soundtrack ending in a blank") << int(TextSetting::Soundtrack) << QStringLiteral("/music/tune.au ");
    QTest::newRow("background ending in a tab") << int(TextSetting::BackImage) << QStringLiteral("/art/sky.jpg\t");
}

void TestAppletTagRoundTrip::awkwardValuesComeBack()
{
    QFETCH(int, setting);
    QFETCH(QString, value);
    PromptsDouble prompts;
    AnimationDocument written(prompts);
    written.setText(TextSetting(setting), value);
    const QString text = WriteAppletTag(written, QString(), ImageListForm::FileUrl);
    AnimationDocument read(prompts);
    ReadAppletTag(read, text);
    QCOMPARE(read.text(TextSetting(setting)), value);
    QCOMPARE(read.text(TextSetting::JavaHeight), written.text(TextSetting::JavaHeight));
    QCOMPARE(read.text(TextSetting::BetweenFrames), written.text(TextSetting::BetweenFrames));
}

void TestAppletTagRoundTrip::randomDocumentsSurviveTwoRoundTrips()
{
    const QString folder = TestEnvironment::instance().freshFolder(QStringLiteral("round trip"));
    // Picture names with the characters that used to break the element.
    const QStringList names{QStringLiteral("plain.gif"), QStringLiteral("a,b.gif"), QStringLiteral("50%.gif"),
                            QStringLiteral("%2C.jpg"), QStringLiteral("My Picture 1.jpg"),
                            QStringLiteral("M\u00fcnchen \u00e9t\u00e9.gif"), QStringLiteral("\u5c71.jpg"),
                            QStringLiteral("&amp;.gif"), QStringLiteral("quote\"d <x>.gif")};
    QDir().mkpath(folder + QStringLiteral("/sub dir,%"));
    QStringList files;
    for (const QString &name : names) {
        files << folder + QLatin1Char('/') + name;
        files << folder + QStringLiteral("/sub dir,%/") + name;
    }
    for (const QString &file : files)
        touch(file);

    const QString captionAlphabet = QStringLiteral("abc XYZ 09\"'<>&;#=,%/\\\u00e9\u00df\u00fc\u4e2d\t")
        + QString::fromUtf8("\xF0\x9F\x98\x80");
    const QString textAlphabet = captionAlphabet + QStringLiteral("|");
    const QString nameAlphabet = QStringLiteral("abc XYZ 09\"'<>&;#=,%\u00e9\u4e2d");

    // Nothing beside an empty current folder: bare names are never found.
    CurrentFolder here(TestEnvironment::instance().freshFolder(QStringLiteral("empty")));
    QRandomGenerator random(20240517);
    PromptsDouble prompts;
    for (int round = 0; round < 200; ++round) {
        AnimationDocument original(prompts);
        original.ResetDocument();
        const int frames = int(random.bounded(6));
        for (int i = 0; i < frames; ++i)
            original.appendFrame(files.at(random.bounded(int(files.size()))),
                                 randomText(random, captionAlphabet, 12));
        original.setText(TextSetting::JavaWidth, randomText(random, textAlphabet, 5));
        original.setText(TextSetting::JavaHeight, randomText(random, textAlphabet, 5));
        original.setText(TextSetting::BetweenFrames, randomText(random, textAlphabet, 6));
        original.setText(TextSetting::Delay, randomText(random, textAlphabet, 6));
        original.setText(TextSetting::Repeat, randomText(random, textAlphabet, 4));
        original.setSelectedIndex(ListSetting::Edge, int(random.bounded(2)));
        original.setScaleToFit(random.bounded(2) == 1);
        if (random.bounded(2) == 1) {
            const int h = int(random.bounded(3));
            const int v = int(random.bounded(3));
            original.setSelectedIndex(ListSetting::HorizDirection, h);
            original.setText(TextSetting::HorizSpeed, h == 0 ? QStringLiteral("0") : QString::number(1 + random.bounded(50)));
            original.setSelectedIndex(ListSetting::VertDirection, v);
            original.setText(TextSetting::VerticalSpeed, v == 0 ? QStringLiteral("0") : QString::number(1 + random.bounded(50)));
        }
        if (random.bounded(2) == 1)
            original.BackgroundColour().SetText(ColourToHex(random.bounded(0x1000000u)));
        // Bare names that are not beside the page: they come back as written.
        original.setText(TextSetting::BackImage, randomText(random, nameAlphabet, 8).trimmed());
        original.setText(TextSetting::Soundtrack, randomText(random, nameAlphabet, 8).trimmed());

        const QString first = WriteAppletTag(original, BuildImageList(original, ImageListForm::FileUrl));
        AnimationDocument once(prompts);
        ReadAppletTag(once, first);
        const QString second = WriteAppletTag(once, BuildImageList(once, ImageListForm::FileUrl));
        AnimationDocument twice(prompts);
        ReadAppletTag(twice, second);

        const QString context = QStringLiteral("round %1:\n%2").arg(round).arg(first);
        QVERIFY2(second == first, qPrintable(context));
        for (const AnimationDocument *read : {&once, &twice}) {
            QVERIFY2(paths(*read) == paths(original), qPrintable(context));
            if (CaptionsAreWritten(original))
                QVERIFY2(captions(*read) == captions(original), qPrintable(context));
            else
                QVERIFY2(captions(*read) == QStringList(frames, QString()), qPrintable(context));
            QVERIFY2(read->settings() == original.settings(), qPrintable(context));
            QCOMPARE(read->BackgroundColour().IsHtmlColour(), original.BackgroundColour().IsHtmlColour());
            QCOMPARE(read->BackgroundColour().HtmlColour(), original.BackgroundColour().HtmlColour());
        }
    }
    QVERIFY(prompts.shown.isEmpty());
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QCoreApplication app(argc, argv);
    TestAppletTagRoundTrip test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_applet_tag_round_trip.moc"
