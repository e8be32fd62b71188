#include "controls/ElideText.h"

#include "TestEnvironment.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Letters 10 pixels wide, dots 3, so a pass that puts dots in really gets narrower.
int proportional(const QString &text)
{
    int width = 0;
    for (QChar c : text)
        width += c == u'.' ? 3 : 10;
    return width;
}

int monospace(const QString &text)
{
    return int(text.size()) * 7;
}

} // namespace

class TestElideText : public QObject
{
    Q_OBJECT
private slots:
    void passes_data();
    void passes();
    void unchangedWidthShowsThePassBefore();
    void endsAndFitsForEveryWidth();
    void endsWithAnOddMeasure();
    void fontMetrics();
};

void TestElideText::passes_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("shown");
    // ABCDEFGHIJ is 100 wide; the passes give ABCD.FGHIJ (93), ABC..GHIJ (76), AB...IJ (49)
    // and A.... (22); after that nothing of the path is left to cut.
    QTest::newRow("fits") << 100 << u"ABCDEFGHIJ"_s;
    QTest::newRow("wide") << 1000 << u"ABCDEFGHIJ"_s;
    QTest::newRow("one dot") << 99 << u"ABCD.FGHIJ"_s;
    QTest::newRow("one dot, exactly") << 93 << u"ABCD.FGHIJ"_s;
    QTest::newRow("two dots") << 92 << u"ABC..GHIJ"_s;
    QTest::newRow("two dots, exactly") << 76 << u"ABC..GHIJ"_s;
    QTest::newRow("three dots") << 75 << u"AB...IJ"_s;
    QTest::newRow("three dots, exactly") << 49 << u"AB...IJ"_s;
    QTest::newRow("four dots") << 48 << u"A...."_s;
    QTest::newRow("four dots, exactly") << 22 << u"A...."_s;
    QTest::newRow("too narrow: start of the last pass") << 21 << u"A..."_s;
    QTest::newRow("narrower than a letter") << 9 << QString();
    QTest::newRow("zero") << 0 << QString();
    QTest::newRow("negative") << -5 << QString();
}

void TestElideText::passes()
{
    QFETCH(int, width);
    QFETCH(QString, shown);
    QCOMPARE(ElideText(u"ABCDEFGHIJ"_s, width, proportional), shown);
}

void TestElideText::unchangedWidthShowsThePassBefore()
{
    // Every text with dots measures 60: the second pass does not change the width, so the
    // first pass is what remains, cut at its end to the label.
    const auto measure = [](const QString &text) {
        return text.contains(QLatin1Char('.')) ? 60 : int(text.size()) * 10;
    };
    QCOMPARE(ElideText(u"ABCDEFGHIJ"_s, 70, measure), u"ABCD.FGHIJ"_s);
    QCOMPARE(ElideText(u"ABCDEFGHIJ"_s, 50, measure), u"ABCD"_s);
}

void TestElideText::endsAndFitsForEveryWidth()
{
    QRandomGenerator random(99);
    const QString letters = u"abcXYZ/\\._ é"_s;
    for (int round = 0; round < 60; ++round) {
        QString path;
        const int length = round < 5 ? round : random.bounded(90);
        for (int i = 0; i < length; ++i)
            path += letters.at(random.bounded(int(letters.size())));

        for (const TextWidthMeasure &plain : {TextWidthMeasure(proportional), TextWidthMeasure(monospace)}) {
            int calls = 0;
            const TextWidthMeasure measure = [&](const QString &text) {
                ++calls;
                return plain(text);
            };
            const int full = plain(path);
            for (int width = -3; width <= full + 3; ++width) {
                calls = 0;
                const QString shown = ElideText(path, width, measure);
                QVERIFY2(calls <= 3 * length + 10, qPrintable(u"%1 measures"_s.arg(calls)));
                if (width >= full)
                    QCOMPARE(shown, path);
                else if (width >= 0)
                    QVERIFY2(plain(shown) <= width,
                             qPrintable(u"\"%1\" at %2 gives \"%3\""_s.arg(path).arg(width).arg(shown)));
                else
                    QCOMPARE(shown, QString());
            }
        }
    }
}

void TestElideText::endsWithAnOddMeasure()
{
    // A measure that answers anything must not keep the passes going for ever.
    QRandomGenerator random(5);
    int calls = 0;
    const auto measure = [&](const QString &) {
        ++calls;
        return 100 + int(random.bounded(1000));
    };
    const QString path = u"/home/someone/Pictures/holiday/2019/beach.jpg"_s;
    const QString shown = ElideText(path, 50, measure);
    QVERIFY(calls <= 3 * int(path.size()) + 10);
    QVERIFY(shown.size() <= path.size());
}

void TestElideText::fontMetrics()
{
    const QFontMetrics metrics(QGuiApplication::font());
    const QString path = u"/home/someone/My Pictures/holiday in the mountains/2019/IMG_0042.JPG"_s;
    const int full = metrics.horizontalAdvance(path);
    QVERIFY(full > 0);
    QCOMPARE(ElideText(path, full, metrics), path);
    for (int width = 0; width < full; width += 3) {
        const QString shown = ElideText(path, width, metrics);
        QVERIFY2(metrics.horizontalAdvance(shown) <= width, qPrintable(shown));
    }
    const QString half = ElideText(path, full / 2, metrics);
    QVERIFY2(half.contains(u"..."_s) && half.startsWith(u"/home"_s), qPrintable(half));
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QGuiApplication app(argc, argv);
    TestElideText test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_elidetext.moc"
