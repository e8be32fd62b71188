#include "colour/ColourSearch.h"
#include "colour/Palette.h"
#include "colour/PaletteFiles.h"
#include "colour/PaletteSources.h"

#include "PromptsDouble.h"
#include "TestEnvironment.h"
#include "TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

// The palette readers, the luminance order, the gradient ramp, the spectrum and the
// nearest-colour searches.
class TestPaletteFiles : public QObject
{
    Q_OBJECT
private slots:
    void readers_data();
    void readers();
    void unreadableFile();
    void builtInPalette();
    void paletteList();
    void luminanceSort();
    void distance_data();
    void distance();
    void spectrumEdgesAndGreys();
    void findInSpectrum();
};

namespace {

QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int value : values)
        bytes.append(char(value));
    return bytes;
}

QByteArray le16(int v) { return bytesOf({v & 0xFF, (v >> 8) & 0xFF}); }

QByteArray gif(int packed, const QByteArray &table)
{
    return QByteArray("GIF89a") + le16(1) + le16(1) + char(packed) + '\0' + '\0' + table;
}

QByteArray riff(int declared, int present)
{
    QByteArray bytes = QByteArray("RIFF") + QByteArray(4, '\0') + "PAL data" + QByteArray(4, '\0')
        + le16(0x300) + le16(declared);
    for (int i = 0; i < present; ++i)
        bytes += bytesOf({i, i + 1, i + 2, 0});
    return bytes;
}

QByteArray jasc(const QString &count, const QStringList &lines, const char *end = "\r\n")
{
    QByteArray bytes = QByteArray("JASC-PAL") + end + "0100" + end + count.toLatin1() + end;
    for (const QString &line : lines)
        bytes += line.toLatin1() + end;
    return bytes;
}

QByteArray entries(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += bytesOf({i, 255 - i, i * 7});
    return bytes;
}

QStringList manyLines(int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << QStringLiteral("%1 %2 %3").arg(i).arg(i).arg(i);
    return lines;
}

QString rgb(const PaletteEntry &entry) { return ColourToDecimal(EntryColour(entry)); }

} // namespace

void TestPaletteFiles::readers_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("show");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("probes"); // "index=R,G,B"
    QTest::addColumn<QString>("message");    // the start of the message; "" for none

    const QString gifMessage = GifPaletteMessage();
    const QString damaged = QStringLiteral("The palette file /p/x.pal is damaged: ");
    QTest::newRow("gif 16 colours") << u"x.gif"_s << gif(0x80 | 3, entries(16)) << true << 256
                                    << QStringList{u"0=0,255,0"_s, u"15=15,240,105"_s, u"16=0,0,0"_s, u"255=0,0,0"_s} << u""_s;
    QTest::newRow("GIF upper case extension") << u"x.GIF"_s << gif(0x80, entries(2)) << true << 256
                                              << QStringList{u"1=1,254,7"_s, u"2=0,0,0"_s} << u""_s;
    QTest::newRow("gif table cut short") << u"x.gif"_s << gif(0x87, entries(2) + "\x05") << true << 256
                                         << QStringList{u"1=1,254,7"_s, u"2=0,0,0"_s} << u""_s;
    QTest::newRow("gif lower-case signature") << u"x.gif"_s << QByteArray("gif89a").append(20, '\x80') << false
                                              << 0 << QStringList{} << gifMessage;
    QTest::newRow("gif without global table") << u"x.gif"_s << gif(0x07, entries(256)) << false << 0
                                              << QStringList{} << gifMessage;
    QTest::newRow("gif header cut short") << u"x.gif"_s << QByteArray("GIF89a\x01\x00\x01\x00\x80", 11) << false
                                          << 0 << QStringList{} << gifMessage;
    QTest::newRow("empty gif") << u"x.gif"_s << QByteArray() << false << 0 << QStringList{} << gifMessage;
    QTest::newRow("jasc, low 8 bits, odd pieces")
        << u"x.pal"_s << jasc(u"3"_s, {u"300 20 10"_s, u"1 2 3 extra"_s, u"x  -1"_s}) << true << 3
        << QStringList{u"0=44,20,10"_s, u"1=1,2,3"_s, u"2=0,0,255"_s, u"3=0,0,0"_s} << u""_s;
    QTest::newRow("jasc declaring 300 reads 256") << u"x.pal"_s << jasc(u"300"_s, manyLines(300)) << true << 256
                                                  << QStringList{u"255=255,255,255"_s} << u""_s;
    QTest::newRow("jasc count not a number") << u"x.pal"_s << jasc(u"many"_s, manyLines(2)) << true << 0
                                             << QStringList{u"0=0,0,0"_s} << u""_s;
    QTest::newRow("jasc with line feeds only") << u"x.pal"_s << jasc(u"2"_s, manyLines(2), "\n") << false << 0
                                               << QStringList{} << damaged;
    QTest::newRow("jasc fewer lines than its count") << u"x.pal"_s << jasc(u"4"_s, manyLines(3)) << false << 0
                                                     << QStringList{} << damaged + u"it names 4 colours but holds only 3."_s;
    QTest::newRow("jasc line with two pieces") << u"x.pal"_s << jasc(u"2"_s, {u"1 2 3"_s, u"4 5"_s}) << false << 0
                                               << QStringList{} << damaged + u"line 5 "_s;
    QTest::newRow("riff declaring 1000 reads 256") << u"x.pal"_s << riff(1000, 300) << true << 256
                                                   << QStringList{u"0=0,1,2"_s, u"255=255,0,1"_s} << u""_s;
    QTest::newRow("riff entries stop early") << u"x.PAL"_s << riff(4, 2).append("\x09\x09") << true << 2
                                             << QStringList{u"1=1,2,3"_s, u"2=0,0,0"_s}
                                             << u"The palette file /p/x.PAL ends after 2 of its 4 colours"_s;
    QTest::newRow("riff header cut short") << u"x.pal"_s << riff(4, 2).left(22) << true << 0 << QStringList{u"0=0,0,0"_s}
                                           << u"The palette file /p/x.pal ends before its list"_s;
    QTest::newRow("not riff") << u"x.pal"_s << QByteArray("RIFX").append(40, 'a') << true << 0
                              << QStringList{u"0=0,0,0"_s} << u""_s;
    QTest::newRow("empty pal") << u"x.pal"_s << QByteArray() << true << 0 << QStringList{u"0=0,0,0"_s} << u""_s;
    QTest::newRow("act of 772 bytes") << u"x.act"_s << entries(256) + QByteArray("\x01\x00\x00\x05", 4) << true << 256
                                      << QStringList{u"255=255,0,249"_s} << u""_s;
    QTest::newRow("act cut short") << u"x.act"_s << entries(2) << true << 256 << QStringList{u"1=1,254,7"_s, u"2=0,0,0"_s}
                                   << u""_s;
    QTest::newRow("other extension") << u"x.bmp"_s << entries(256) << true << 0 << QStringList{u"1=0,0,0"_s} << u""_s;
}

void TestPaletteFiles::readers()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, show);
    QFETCH(int, count);
    QFETCH(QStringList, probes);
    QFETCH(QString, message);

    const PaletteRead read = ReadPaletteBytes(bytes, QStringLiteral("/p/") + name);
    QCOMPARE(read.show, show);
    QCOMPARE(read.count, count);
    QVERIFY2(message.isEmpty() ? read.message.isEmpty() : read.message.startsWith(message), qPrintable(read.message));
    for (const QString &probe : probes) {
        const int index = probe.section(QLatin1Char('='), 0, 0).toInt();
        QCOMPARE(rgb(read.palette[size_t(index)]), probe.section(QLatin1Char('='), 1));
    }

    // The same bytes from a file give the same result.
    const QString path = TestEnvironment::instance().freshFolder(QStringLiteral("readers")) + QLatin1Char('/') + name;
    writeAll(path, bytes);
    const PaletteRead fromFile = ReadPaletteFile(path);
    QCOMPARE(fromFile.show, show);
    QCOMPARE(fromFile.palette, read.palette);
}

void TestPaletteFiles::unreadableFile()
{
    // A folder where the file should be: unreadable for root too.
    const QString path = TestEnvironment::instance().freshFolder(QStringLiteral("unreadable")) + u"/x.gif"_s;
    QVERIFY(QDir().mkpath(path));
    const PaletteRead read = ReadPaletteFile(path);
    QVERIFY(!read.show);
    QVERIFY2(read.message.startsWith(QStringLiteral("Cannot open file \"") + path + u"\"."_s), qPrintable(read.message));
    QVERIFY(ReadPaletteFile(path + u"-missing.pal"_s).message.startsWith(QStringLiteral("Cannot open file")));
}

void TestPaletteFiles::builtInPalette()
{
    // The expected file, built from its description.
    QByteArray expected = QByteArray("RIFF") + le16(1044) + le16(0) + "PAL data" + le16(1028) + le16(0)
        + le16(0x300) + le16(256);
    const int levels[6] = {255, 204, 153, 102, 51, 0};
    for (int r : levels)
        for (int g : levels)
            for (int b : levels)
                expected += bytesOf({r, g, b, 0});
    expected += QByteArray(40 * 4 + 4, '\0');
    QCOMPARE(expected.size(), 1052);

    PromptsDouble prompts;
    QFile::remove(BuiltInPalettePath());
    QVERIFY(EnsureBuiltInPalette(prompts));
    QCOMPARE(readAll(BuiltInPalettePath()), expected);
    // Deleted from the temporary folder: written again.
    QVERIFY(QFile::remove(BuiltInPalettePath()));
    QVERIFY(EnsureBuiltInPalette(prompts));
    QCOMPARE(readAll(BuiltInPalettePath()).size(), 1052);
    QVERIFY(prompts.messages().isEmpty());
}

void TestPaletteFiles::paletteList()
{
    const QString folder = TestEnvironment::instance().freshFolder(QStringLiteral("list"));
    for (const QString &name : {u"b.gif"_s, u"A.PAL"_s, u"websafe.pal"_s, u"c.act"_s, u"d.txt"_s, u".hidden.pal"_s})
        writeAll(folder + u'/' + name, QByteArray("x"));
    QVERIFY(QDir().mkpath(folder + u"/e.gif"_s));
    QCOMPARE(PaletteListEntries(folder),
             (QStringList{u".hidden.pal"_s, u"A.PAL"_s, u"b.gif"_s, u"c.act"_s, u"websafe.pal"_s}));
    QCOMPARE(PaletteFilterIndex(u"/x/y.PAL"_s), 1);
    QCOMPARE(PaletteFilterIndex(u"/x/y.act"_s), 2);
    QCOMPARE(PaletteFilterIndex(u"/x/y.gif"_s), 0);
    QCOMPARE(PaletteFilterIndex(u""_s), 0);
}

void TestPaletteFiles::luminanceSort()
{
    // Keys: (max + min) / 2 with halves to the even neighbour.
    const int keys[][4] = {{1, 0, 0, 0}, {0, 3, 0, 2}, {0, 0, 5, 2}, {10, 20, 30, 20}, {255, 0, 100, 128}};
    for (const auto &row : keys)
        QCOMPARE(LuminanceKey(PaletteEntry{quint8(row[0]), quint8(row[1]), quint8(row[2]), 0}), row[3]);

    // Equal keys end where the quicksort leaves them, which is not a stable order.
    Palette palette{};
    palette[0] = {4, 0, 0, 0}; // key 2
    palette[1] = {2, 0, 0, 0}; // key 1
    palette[2] = {0, 4, 0, 0}; // key 2
    palette[3] = {0, 2, 0, 0}; // key 1
    palette[4] = {255, 255, 255, 0};
    SortByLuminance(palette, 4);
    QCOMPARE(rgb(palette[0]), QStringLiteral("0,2,0"));
    QCOMPARE(rgb(palette[1]), QStringLiteral("2,0,0"));
    QCOMPARE(rgb(palette[2]), QStringLiteral("4,0,0"));
    QCOMPARE(rgb(palette[3]), QStringLiteral("0,4,0"));
    QCOMPARE(rgb(palette[4]), QStringLiteral("255,255,255")); // past count: untouched

    // Any palette: keys ascend and the entries are the same ones.
    QRandomGenerator random(14);
    for (int round = 0; round < 50; ++round) {
        Palette before{};
        for (PaletteEntry &entry : before)
            entry = {quint8(random.bounded(256)), quint8(random.bounded(256)), quint8(random.bounded(8)), 0};
        const int count = random.bounded(257);
        Palette after = before;
        SortByLuminance(after, count);
        for (int i = 1; i < count; ++i)
            QVERIFY(LuminanceKey(after[size_t(i - 1)]) <= LuminanceKey(after[size_t(i)]));
        QVERIFY(std::is_permutation(after.begin(), after.begin() + count, before.begin()));
        QVERIFY(std::equal(after.begin() + count, after.end(), before.begin() + count));
    }
}

void TestPaletteFiles::distance_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("distance");
    QTest::newRow("red to black") << u"255,0,0"_s << u"0,0,0"_s << FarDistance << 195075;
    QTest::newRow("green to black") << u"0,255,0"_s << u"0,0,0"_s << FarDistance << 650250;
    QTest::newRow("blue weighs 1") << u"0,0,10"_s << u"0,0,0"_s << FarDistance << 100;
    QTest::newRow("green alone reaches the limit") << u"0,10,0"_s << u"0,0,0"_s << 1000 << FarDistance;
    QTest::newRow("green below the limit, total above") << u"100,9,0"_s << u"0,0,0"_s << 1000 << 30810;
}

void TestPaletteFiles::distance()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, limit);
    QFETCH(int, distance);
    QCOMPARE(ColourDistance(*DecimalToColour(a), *DecimalToColour(b), limit), distance);
}

void TestPaletteFiles::spectrumEdgesAndGreys()
{
    const QImage spectrum = BuildSpectrum();
    QCOMPARE(spectrum.size(), QSize(91, 390));
    // x, y and the colour there: red at the top, yellow one band down, the hue / 6 beside
    // black, the pale end beside white; outside the picture black, negative counts as 0.
    const std::pair<QPoint, const char16_t *> pixels[] = {
        {{45, 0}, u"255,0,0"}, {{45, 65}, u"255,255,0"}, {{1, 0}, u"42,0,0"},
        {{89, 0}, u"255,212,212"}, {{10, 390}, u"0,0,0"}, {{45, -5}, u"255,0,0"}};
    for (const auto &[at, colour] : pixels)
        QCOMPARE(ColourToDecimal(ReadPixel(spectrum, at.x(), at.y())), QString::fromUtf16(colour));
    for (int y = 0; y < spectrum.height(); ++y) {
        QCOMPARE(ReadPixel(spectrum, 0, y), 0u);
        QCOMPARE(ReadPixel(spectrum, 90, y), 0xFFFFFFu);
    }
    GradientTable table{};
    FillGradient(table, 5, 4, 0, 0xFFFFFF); // from > to writes nothing
    QCOMPARE(table[4] + table[5], 0u);
    const QImage greys = BuildGreyStrip();
    QCOMPARE(greys.size(), QSize(91, 26));
    QCOMPARE(ReadPixel(greys, 0, 25), 0u);
    QCOMPARE(ReadPixel(greys, 90, 0), 0xFFFFFFu);
    QCOMPARE(ColourToDecimal(ReadPixel(greys, 45, 13)), QStringLiteral("127,127,127"));
}

void TestPaletteFiles::findInSpectrum()
{
    const QImage spectrum = BuildSpectrum();
    QCOMPARE(FindInSpectrum(spectrum, 0xFFFFFF, std::nullopt), QPoint(90, 195));
    QCOMPARE(FindInSpectrum(spectrum, 0, QPoint(5, 5)), QPoint(0, 195));
    // Already under the marker: nothing happens; an unset marker reads pixel (0, 0).
    QCOMPARE(FindInSpectrum(spectrum, ReadPixel(spectrum, 45, 0), QPoint(45, 0)), std::nullopt);
    QCOMPARE(FindInSpectrum(spectrum, 0, QPoint(-1, -1)), std::nullopt);

    // Any colour: the answer has the smallest distance, and no earlier position in the
    // scan order (right to left, bottom to top, the last row never) has it too.
    QRandomGenerator random(5);
    for (int round = 0; round < 40; ++round) {
        const ColourValue colour = ColourFromRgb(random.bounded(256), random.bounded(256), random.bounded(256));
        const QPoint at = *FindInSpectrum(spectrum, colour, std::nullopt);
        const int found = ColourDistance(colour, ReadPixel(spectrum, at.x(), at.y()), FarDistance);
        QVERIFY(at.y() < 389);
        for (int x = 90; x >= 0; --x) {
            for (int y = 388; y >= 0; --y) {
                const int d = ColourDistance(colour, ReadPixel(spectrum, x, y), FarDistance);
                const bool earlier = x > at.x() || (x == at.x() && y > at.y());
                QVERIFY(d >= found);
                QVERIFY(!(earlier && d == found));
            }
        }
    }
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QCoreApplication app(argc, argv);
    TestPaletteFiles test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_palette_files.moc"
