#include "colour/ColourText.h"

#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPalette>
#include <QTest>

// Runs without a GUI application, so system colours resolve to the built-in defaults.
class TestColourText : public QObject
{
    Q_OBJECT
private slots:
    void toHex_data();
    void toHex();
    void hexToColour_data();
    void hexToColour();
    void toDecimal_data();
    void toDecimal();
    void decimalToColour_data();
    void decimalToColour();
    void roundTrips_data();
    void roundTrips();
    void triple();
    void systemColourWithoutApplication();
    void systemColourFromPalette();
    void integerParsing_data();
    void integerParsing();
};

void TestColourText::toHex_data()
{
    QTest::addColumn<quint32>("colour");
    QTest::addColumn<QString>("hex");
    QTest::newRow("red is the low byte") << quint32(0x000000FF) << QStringLiteral("FF0000");
    QTest::newRow("green") << quint32(0x0000FF00) << QStringLiteral("00FF00");
    QTest::newRow("blue is the third byte") << quint32(0x00FF0000) << QStringLiteral("0000FF");
    QTest::newRow("mixed, upper case") << quint32(0x00563412) << QStringLiteral("123456");
    QTest::newRow("leading zeros kept") << quint32(0x00010203) << QStringLiteral("030201");
    QTest::newRow("black") << quint32(0) << QStringLiteral("000000");
    QTest::newRow("top byte ignored") << quint32(0x7F0A0B0C) << QStringLiteral("0C0B0A");
    QTest::newRow("button face resolved") << quint32(ButtonFaceColour) << QStringLiteral("F0F0F0");
    QTest::newRow("highlight resolved") << quint32(0x8000000D) << QStringLiteral("0078D7");
}

void TestColourText::toHex()
{
    QFETCH(quint32, colour);
    QFETCH(QString, hex);
    QCOMPARE(ColourToHex(colour), hex);
}

void TestColourText::hexToColour_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("converts");
    QTest::addColumn<quint32>("colour");
    QTest::newRow("upper case") << QStringLiteral("FF8000") << true << quint32(0x000080FF);
    QTest::newRow("lower case") << QStringLiteral("ff8000") << true << quint32(0x000080FF);
    QTest::newRow("mixed case") << QStringLiteral("aBcDeF") << true << quint32(0x00EFCDAB);
    QTest::newRow("digits") << QStringLiteral("123456") << true << quint32(0x00563412);
    QTest::newRow("bad red pair") << QStringLiteral("G00000") << false << quint32(0);
    QTest::newRow("bad green pair") << QStringLiteral("00.000") << false << quint32(0);
    QTest::newRow("bad blue pair") << QStringLiteral("0000 0") << false << quint32(0);
    QTest::newRow("hash is not hexadecimal") << QStringLiteral("#FF000") << false << quint32(0);
    QTest::newRow("sign is not hexadecimal") << QStringLiteral("+F0000") << false << quint32(0);
    QTest::newRow("empty") << QString() << false << quint32(0);
    QTest::newRow("one letter: no green pair") << QStringLiteral("F") << false << quint32(0);
    // Blue is always the last two characters.
    QTest::newRow("four characters") << QStringLiteral("1234") << true << quint32(0x00343412);
    QTest::newRow("eight characters") << QStringLiteral("1234567A") << true << quint32(0x007A3412);
}

void TestColourText::hexToColour()
{
    QFETCH(QString, text);
    QFETCH(bool, converts);
    QFETCH(quint32, colour);
    const std::optional<ColourValue> result = HexToColour(text);
    QCOMPARE(result.has_value(), converts);
    if (converts)
        QCOMPARE(*result, colour);
}

void TestColourText::toDecimal_data()
{
    QTest::addColumn<quint32>("colour");
    QTest::addColumn<QString>("decimal");
    QTest::newRow("red") << quint32(0x000000FF) << QStringLiteral("255,0,0");
    QTest::newRow("no leading zeros") << quint32(0x00382210) << QStringLiteral("16,34,56");
    QTest::newRow("black") << quint32(0) << QStringLiteral("0,0,0");
    QTest::newRow("button face resolved") << quint32(ButtonFaceColour) << QStringLiteral("240,240,240");
}

void TestColourText::toDecimal()
{
    QFETCH(quint32, colour);
    QFETCH(QString, decimal);
    QCOMPARE(ColourToDecimal(colour), decimal);
}

void TestColourText::decimalToColour_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("converts");
    QTest::addColumn<quint32>("colour");
    QTest::newRow("three numbers") << QStringLiteral("12,34,56") << true << quint32(0x0038220C);
    QTest::newRow("extra items ignored") << QStringLiteral("1,2,3,4,x") << true << quint32(0x00030201);
    QTest::newRow("trailing comma") << QStringLiteral("1,2,3,") << true << quint32(0x00030201);
    QTest::newRow("low 8 bits of 300") << QStringLiteral("300,0,0") << true << quint32(44);
    QTest::newRow("low 8 bits of -1") << QStringLiteral("-1,0,0") << true << quint32(255);
    QTest::newRow("two items") << QStringLiteral("1,2") << false << quint32(0);
    QTest::newRow("empty item") << QStringLiteral("1,,3") << false << quint32(0);
    QTest::newRow("letters") << QStringLiteral("1,a,3") << false << quint32(0);
    QTest::newRow("blank") << QStringLiteral("1, 2,3") << false << quint32(0);
    QTest::newRow("empty") << QString() << false << quint32(0);
    QTest::newRow("beyond 32 bits") << QStringLiteral("4294967296,0,0") << false << quint32(0);
}

void TestColourText::decimalToColour()
{
    QFETCH(QString, text);
    QFETCH(bool, converts);
    QFETCH(quint32, colour);
    const std::optional<ColourValue> result = DecimalToColour(text);
    QCOMPARE(result.has_value(), converts);
    if (converts)
        QCOMPARE(*result, colour);
}

void TestColourText::roundTrips_data()
{
    QTest::addColumn<quint32>("colour");
    QTest::newRow("black") << quint32(0);
    QTest::newRow("white") << quint32(0x00FFFFFF);
    QTest::newRow("orange") << quint32(0x000080FF);
    QTest::newRow("every byte distinct") << quint32(0x00A1B2C3);
    QTest::newRow("low values") << quint32(0x00010A0F);
}

void TestColourText::roundTrips()
{
    QFETCH(quint32, colour);
    QCOMPARE(HexToColour(ColourToHex(colour)), std::optional<ColourValue>(colour));
    QCOMPARE(DecimalToColour(ColourToDecimal(colour)), std::optional<ColourValue>(colour));
    QCOMPARE(QColorToColour(ColourToQColor(colour)), colour);
    const QString hex = ColourToHex(colour);
    QCOMPARE(ColourToHex(*HexToColour(hex.toLower())), hex);
}

void TestColourText::triple()
{
    const ColourTriple t = ColourToTriple(ColourFromRgb(0x11, 0x22, 0x33));
    QCOMPARE(int(t.blue), 0x33);
    QCOMPARE(int(t.green), 0x22);
    QCOMPARE(int(t.red), 0x11);
    // The struct is laid out as a bitmap pixel: blue first in memory.
    static_assert(sizeof(ColourTriple) == 3);
    const auto *bytes = reinterpret_cast<const quint8 *>(&t);
    QCOMPARE(int(bytes[0]), 0x33);
    QCOMPARE(int(bytes[2]), 0x11);
    const ColourTriple face = ColourToTriple(ButtonFaceColour);
    QCOMPARE(int(face.red), 240);
}

void TestColourText::systemColourWithoutApplication()
{
    QVERIFY(!qobject_cast<QGuiApplication *>(QCoreApplication::instance()));
    QVERIFY(IsSystemColour(ButtonFaceColour));
    QVERIFY(!IsSystemColour(0x00FFFFFF));
    QCOMPARE(ResolveSystemColour(ButtonFaceColour), ColourFromRgb(240, 240, 240));
    QCOMPARE(ResolveSystemColour(0x80000005), ColourFromRgb(255, 255, 255));
    QCOMPARE(ResolveSystemColour(0x80000008), ColourValue(0));
    // An index without a system colour resolves to black, never to garbage.
    QCOMPARE(ResolveSystemColour(0x800000FF), ColourValue(0));
    QCOMPARE(DefaultSystemColour(-1), ColourValue(0));
    QCOMPARE(RedOf(0x00030201), 1);
    QCOMPARE(GreenOf(0x00030201), 2);
    QCOMPARE(BlueOf(0x00030201), 3);
}

void TestColourText::systemColourFromPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Button, QColor(10, 20, 30));
    palette.setColor(QPalette::Active, QPalette::Highlight, QColor(1, 2, 3));
    palette.setColor(QPalette::Inactive, QPalette::Highlight, QColor(4, 5, 6));
    QCOMPARE(ResolveSystemColour(ButtonFaceColour, palette), ColourFromRgb(10, 20, 30));
    QCOMPARE(ResolveSystemColour(0x80000002, palette), ColourFromRgb(1, 2, 3));
    QCOMPARE(ResolveSystemColour(0x80000003, palette), ColourFromRgb(4, 5, 6));
    // Plain colours are not looked up.
    QCOMPARE(ResolveSystemColour(0x00123456, palette), ColourValue(0x00123456));
}

void TestColourText::integerParsing_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("converts");
    QTest::addColumn<qint64>("value");
    QTest::newRow("digits") << QStringLiteral("255") << true << qint64(255);
    QTest::newRow("leading zeros") << QStringLiteral("007") << true << qint64(7);
    QTest::newRow("plus") << QStringLiteral("+5") << true << qint64(5);
    QTest::newRow("minus") << QStringLiteral("-5") << true << qint64(-5);
    QTest::newRow("sign alone") << QStringLiteral("-") << false << qint64(0);
    QTest::newRow("empty") << QString() << false << qint64(0);
    QTest::newRow("space") << QStringLiteral(" 5") << false << qint64(0);
    QTest::newRow("hex prefix") << QStringLiteral("$FF") << false << qint64(0);
    // -1 stands for "some number far above 255".
    QTest::newRow("huge stays large") << QStringLiteral("99999999999999999999999") << true << qint64(-1);
    QTest::newRow("huge negative") << QStringLiteral("-99999999999999999999999") << true << qint64(-2);
}

void TestColourText::integerParsing()
{
    QFETCH(QString, text);
    QFETCH(bool, converts);
    QFETCH(qint64, value);
    const std::optional<qint64> result = ParseColourInteger(text);
    QCOMPARE(result.has_value(), converts);
    if (!converts)
        return;
    if (value == -1)
        QVERIFY(*result > 1000000000000);
    else if (value == -2)
        QVERIFY(*result < -1000000000000);
    else
        QCOMPARE(*result, value);
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QCoreApplication app(argc, argv);
    TestColourText test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_colour_text.moc"
