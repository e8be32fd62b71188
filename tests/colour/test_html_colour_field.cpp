#include "colour/HtmlColourField.h"

#include "PromptsDouble.h"
#include "TestEnvironment.h"

#include <QGuiApplication>
#include <QPalette>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString HexMessage = QStringLiteral(
    "HTML colours must be entered using hexadecimal characters.  This includes the numbers from 0 "
    "to 9 and the letters from A to F.");
const QString RangeText = QStringLiteral("All values must be between 0 and 255.");

// The widget's part of a typed character: the key goes down first, then, unless swallowed,
// the character is appended to what the box shows.
HtmlColourField::KeyResult typeKey(HtmlColourField &field, int key, const QString &character)
{
    const HtmlColourField::KeyResult result = field.keyDown(key, Qt::NoModifier, character);
    if (!result.swallow)
        field.SetText(field.Text() + character);
    return result;
}

} // namespace

class TestHtmlColourField : public QObject
{
    Q_OBJECT
private slots:
    void init() { prompts.clear(); }

    void createdState();
    void emptyTextIsNoColour_data();
    void emptyTextIsNoColour();
    void hexTexts_data();
    void hexTexts();
    void decimalValidity_data();
    void decimalValidity();
    void typingDecimalPieceByPiece_data();
    void typingDecimalPieceByPiece();
    void outOfRangeWarnings_data();
    void outOfRangeWarnings();
    void commaKey_data();
    void commaKey();
    void commaKeyOnPastedNonHex();
    void letterKeyInDecimalMode();
    void letterKeyIgnoredWithControl();
    void ctrlEnterOpensPicker();
    void modeSettingsFollowTheMode();
    void setDecimalModeRunsNoChangeProcessing();
    void onChangeOncePerChange();
    void dropDownList_data();
    void dropDownList();
    void pickerColour();
    void versionStaysFixed();
    void swatchColour();
    void clearForgetsHexColour();

private:
    PromptsDouble prompts;
};

void TestHtmlColourField::createdState()
{
    HtmlColourField field(prompts);
    QVERIFY(!field.DecimalMode());
    QVERIFY(!field.IsHtmlColour());
    QCOMPARE(field.Colour(), NoValidColour);
    QCOMPARE(field.Colour(), ColourValue(0x8000000F));
    QCOMPARE(field.Text(), QString());
    QCOMPARE(field.Version(), QStringLiteral("1.4"));
    QVERIFY(field.Warnings());
}

void TestHtmlColourField::emptyTextIsNoColour_data()
{
    QTest::addColumn<bool>("decimal");
    QTest::newRow("hexadecimal") << false;
    QTest::newRow("decimal") << true;
}

void TestHtmlColourField::emptyTextIsNoColour()
{
    QFETCH(bool, decimal);
    HtmlColourField field(prompts);
    field.SetDecimalMode(decimal);
    field.SetText(decimal ? QStringLiteral("1,2,3") : QStringLiteral("010203"));
    QCOMPARE(field.Colour(), ColourFromRgb(1, 2, 3));
    field.SetText(QString());
    QCOMPARE(field.Colour(), NoValidColour);
    QCOMPARE(field.HtmlColour(), QString());
    QVERIFY(!field.HasValidColour());
    QCOMPARE(field.DecimalMode(), decimal);
    QCOMPARE(prompts.texts(), QStringList());
}

void TestHtmlColourField::hexTexts_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<quint32>("colour");
    QTest::addColumn<bool>("isHtml");
    QTest::addColumn<QString>("html");
    QTest::addColumn<QStringList>("messages");
    const quint32 none = NoValidColour;
    QTest::newRow("#FF0000 loses the hash") << QStringLiteral("#FF0000") << QStringLiteral("FF0000")
                                            << quint32(0x000000FF) << true << QStringLiteral("FF0000")
                                            << QStringList();
    QTest::newRow("lower case accepted") << QStringLiteral("ff8000") << QStringLiteral("ff8000")
                                         << quint32(0x000080FF) << true << QStringLiteral("FF8000")
                                         << QStringList();
    QTest::newRow("five characters") << QStringLiteral("FF000") << QStringLiteral("FF000") << none
                                     << false << QString() << QStringList();
    QTest::newRow("hash and five") << QStringLiteral("#FF000") << QStringLiteral("FF000") << none
                                   << false << QString() << QStringList();
    QTest::newRow("seven characters") << QStringLiteral("FF00000") << QStringLiteral("FF00000")
                                      << none << false << QString() << QStringList();
    QTest::newRow("only one hash removed") << QStringLiteral("##FF00") << QStringLiteral("#FF00")
                                           << none << false << QString() << QStringList();
    // Six characters that are not all hexadecimal: the message, and no colour at all.
    QTest::newRow("pasted dots") << QStringLiteral("..0000") << QStringLiteral("..0000") << none
                                 << false << QString() << QStringList{HexMessage};
    QTest::newRow("pasted letters") << QStringLiteral("00GG00") << QStringLiteral("00GG00") << none
                                    << false << QString() << QStringList{HexMessage};
}

void TestHtmlColourField::hexTexts()
{
    QFETCH(QString, typed);
    QFETCH(QString, text);
    QFETCH(quint32, colour);
    QFETCH(bool, isHtml);
    QFETCH(QString, html);
    QFETCH(QStringList, messages);
    HtmlColourField field(prompts);
    field.SetText(typed);
    QCOMPARE(field.Text(), text);
    QCOMPARE(field.Colour(), colour);
    QCOMPARE(field.IsHtmlColour(), isHtml);
    QCOMPARE(field.HtmlColour(), html);
    QVERIFY(!field.DecimalMode());
    QCOMPARE(prompts.messages(), messages);
}

void TestHtmlColourField::decimalValidity_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<quint32>("colour");
    QTest::addColumn<int>("rangeMessages");
    QTest::newRow("three numbers") << QStringLiteral("12,34,56") << true << quint32(0x0038220C) << 0;
    QTest::newRow("zeros") << QStringLiteral("0,0,0") << true << quint32(0) << 0;
    QTest::newRow("255 is in range") << QStringLiteral("255,255,255") << true << quint32(0x00FFFFFF) << 0;
    QTest::newRow("final comma dropped") << QStringLiteral("1,2,3,") << true << quint32(0x00030201) << 0;
    QTest::newRow("two final commas") << QStringLiteral("1,2,3,,") << false << quint32(0) << 0;
    QTest::newRow("inner empty piece") << QStringLiteral("1,,3") << false << quint32(0) << 0;
    QTest::newRow("comma alone") << QStringLiteral(",") << false << quint32(0) << 0;
    QTest::newRow("four numbers") << QStringLiteral("1,2,3,4") << false << quint32(0) << 0;
    QTest::newRow("too few, no warning") << QStringLiteral("300,1") << false << quint32(0) << 0;
    QTest::newRow("256") << QStringLiteral("256,0,0") << false << quint32(0) << 1;
    QTest::newRow("first failure stops") << QStringLiteral("x,300,0") << false << quint32(0) << 0;
    QTest::newRow("negative is out of range") << QStringLiteral("-1,0,0") << false << quint32(0) << 1;
    QTest::newRow("huge is out of range") << QStringLiteral("1,99999999999999,0") << false
                                          << quint32(0) << 1;
    QTest::newRow("leading zeros") << QStringLiteral("010,002,003") << true << quint32(0x0003020A) << 0;
}

void TestHtmlColourField::decimalValidity()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(quint32, colour);
    QFETCH(int, rangeMessages);
    HtmlColourField field(prompts);
    field.SetDecimalMode(true);
    field.SetText(text);
    QCOMPARE(field.HasValidColour(), valid);
    QCOMPARE(field.Colour(), valid ? colour : NoValidColour);
    QCOMPARE(field.HtmlColour(), valid ? ColourToHex(colour) : QString());
    QCOMPARE(prompts.messages(), QStringList(QList<QString>(rangeMessages, RangeText)));
    // Asking for the colour never repeats the warning.
    QCOMPARE(prompts.messages().size(), rangeMessages);
}

void TestHtmlColourField::typingDecimalPieceByPiece_data()
{
    QTest::addColumn<bool>("startWithHexColour");
    QTest::newRow("fresh field") << false;
    QTest::newRow("after a hexadecimal colour") << true;
}

void TestHtmlColourField::typingDecimalPieceByPiece()
{
    QFETCH(bool, startWithHexColour);
    HtmlColourField field(prompts);
    if (startWithHexColour) {
        field.SetText(QStringLiteral("FF0000"));
        field.SetDecimalMode(true);
        field.SetText(QString());
    }
    const bool flag = field.IsHtmlColour();
    QCOMPARE(flag, startWithHexColour);

    struct Step { const char *text; bool decimal; quint32 colour; };
    const quint32 none = NoValidColour;
    const bool hexAtStart = !startWithHexColour;
    const Step steps[] = {
        {"1", !hexAtStart, none},          {"12", !hexAtStart, none},
        {"12,", true, none},               {"12,3", true, none},
        {"12,34", true, none},             {"12,34,", true, none},
        {"12,34,5", true, 0x0005220C},     {"12,34,56", true, 0x0038220C},
    };
    for (const Step &step : steps) {
        field.SetText(QString::fromLatin1(step.text));
        QCOMPARE(field.DecimalMode(), step.decimal);
        QCOMPARE(field.Colour(), step.colour);
        if (step.decimal)
            QCOMPARE(field.IsHtmlColour(), flag);
    }
    QCOMPARE(field.IsHtmlColour(), flag);
    QCOMPARE(field.HtmlColour(), QStringLiteral("0C2238"));
    QCOMPARE(prompts.texts(), QStringList());
}

void TestHtmlColourField::outOfRangeWarnings_data()
{
    QTest::addColumn<bool>("warnings");
    QTest::newRow("warnings on") << true;
    QTest::newRow("warnings off") << false;
}

void TestHtmlColourField::outOfRangeWarnings()
{
    QFETCH(bool, warnings);
    HtmlColourField field(prompts);
    field.SetWarnings(warnings);
    field.SetText(QStringLiteral("1,2,30"));
    QCOMPARE(field.Colour(), ColourFromRgb(1, 2, 30));
    QCOMPARE(prompts.texts(), QStringList());
    field.SetText(QStringLiteral("1,2,300"));
    QCOMPARE(field.Colour(), NoValidColour);
    QCOMPARE(field.HtmlColour(), QString());
    QCOMPARE(prompts.messages(), warnings ? QStringList{RangeText} : QStringList());
}

void TestHtmlColourField::commaKey_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("replaced");
    QTest::addColumn<bool>("swallowed");
    QTest::addColumn<quint32>("colour");
    const quint32 none = NoValidColour;
    QTest::newRow("FF0000") << QStringLiteral("FF0000") << QStringLiteral("255,0,0") << true << true
                            << quint32(0x000000FF);
    QTest::newRow("lower case") << QStringLiteral("abcdef") << QStringLiteral("171,205,239") << true
                                << true << quint32(0x00EFCDAB);
    // All digits: nothing is converted and the comma is typed.
    QTest::newRow("123456") << QStringLiteral("123456") << QStringLiteral("123456,") << false << false
                            << none;
    QTest::newRow("empty text") << QString() << QStringLiteral(",") << false << false << none;
    // No piece is long enough: the text becomes empty, then the comma is typed.
    QTest::newRow("F") << QStringLiteral("F") << QStringLiteral(",") << true << false << none;
    QTest::newRow("three characters") << QStringLiteral("FF0") << QStringLiteral("255,") << true
                                      << false << none;
    QTest::newRow("four characters") << QStringLiteral("FF0A") << QStringLiteral("255,10,") << true
                                     << false << none;
    QTest::newRow("five characters") << QStringLiteral("FF0A1") << QStringLiteral("255,10,") << true
                                     << false << none;
}

void TestHtmlColourField::commaKey()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(bool, replaced);
    QFETCH(bool, swallowed);
    QFETCH(quint32, colour);
    HtmlColourField field(prompts);
    field.SetText(QStringLiteral("x"));
    field.SetText(before);
    QVERIFY(!field.DecimalMode());
    const HtmlColourField::KeyResult result = typeKey(field, Qt::Key_Comma, QStringLiteral(","));
    QCOMPARE(result.textReplaced, replaced);
    QCOMPARE(result.swallow, swallowed);
    QVERIFY(!result.openPicker);
    QCOMPARE(field.Text(), after);
    QVERIFY(field.DecimalMode());
    QCOMPARE(field.Colour(), colour);
    QCOMPARE(prompts.texts(), QStringList());
}

void TestHtmlColourField::commaKeyOnPastedNonHex()
{
    HtmlColourField field(prompts);
    field.SetText(QStringLiteral("F.00"));
    const HtmlColourField::KeyResult result = field.keyDown(Qt::Key_Comma, Qt::NoModifier, QStringLiteral(","));
    QVERIFY(result.swallow);
    QVERIFY(!result.textReplaced);
    QCOMPARE(field.Text(), QStringLiteral("F.00"));
    QVERIFY(!field.DecimalMode());
    QCOMPARE(prompts.messages(), QStringList{HexMessage});
}

void TestHtmlColourField::letterKeyInDecimalMode()
{
    HtmlColourField field(prompts);
    field.SetText(QStringLiteral("255,0,0"));
    QVERIFY(field.DecimalMode());
    QSignalSpy modes(&field, &HtmlColourField::ModeChanged);
    const HtmlColourField::KeyResult result = typeKey(field, Qt::Key_A, QStringLiteral("a"));
    QVERIFY(result.textReplaced);
    QVERIFY(!result.swallow);
    QCOMPARE(field.Text(), QStringLiteral("25500a"));
    QVERIFY(!field.DecimalMode());
    QCOMPARE(modes.size(), 1);
    QCOMPARE(field.Colour(), ColourFromRgb(0x25, 0x50, 0x0A));
    QVERIFY(field.IsHtmlColour());

    // Long decimal texts are cut to five characters before the letter.
    field.SetText(QStringLiteral("12,34,56"));
    typeKey(field, Qt::Key_F, QStringLiteral("F"));
    QCOMPARE(field.Text(), QStringLiteral("12345F"));

    // In hexadecimal mode a letter is just typed.
    field.SetText(QStringLiteral("12"));
    const HtmlColourField::KeyResult plain = typeKey(field, Qt::Key_B, QStringLiteral("b"));
    QVERIFY(!plain.textReplaced);
    QCOMPARE(field.Text(), QStringLiteral("12b"));
    QCOMPARE(prompts.texts(), QStringList());
}

void TestHtmlColourField::letterKeyIgnoredWithControl()
{
    HtmlColourField field(prompts);
    field.SetText(QStringLiteral("255,0,0"));
    // Ctrl+C copies; it must not rewrite the text.
    const HtmlColourField::KeyResult result = field.keyDown(Qt::Key_C, Qt::ControlModifier, QString());
    QVERIFY(!result.textReplaced);
    QCOMPARE(field.Text(), QStringLiteral("255,0,0"));
    QVERIFY(field.DecimalMode());
}

void TestHtmlColourField::ctrlEnterOpensPicker()
{
    HtmlColourField field(prompts);
    field.SetText(QStringLiteral("FF00"));
    for (int key : {int(Qt::Key_Return), int(Qt::Key_Enter)}) {
        const HtmlColourField::KeyResult result = field.keyDown(key, Qt::ControlModifier, QString());
        QVERIFY(result.openPicker);
        QVERIFY(result.swallow);
        QCOMPARE(field.Text(), QStringLiteral("FF00"));
    }
    QVERIFY(!field.keyDown(Qt::Key_Return, Qt::NoModifier, QString()).openPicker);
}

void TestHtmlColourField::modeSettingsFollowTheMode()
{
    HtmlColourField field(prompts);
    QCOMPARE(field.AllowedCharacters(), QStringLiteral("1234567890abcdef"));
    QCOMPARE(field.MaxLength(), 6);
    QSignalSpy modes(&field, &HtmlColourField::ModeChanged);
    field.SetText(QStringLiteral("1,"));
    QCOMPARE(modes.size(), 1);
    QCOMPARE(modes.at(0).at(0).toBool(), true);
    QCOMPARE(field.AllowedCharacters(), QStringLiteral("1234567890,"));
    QCOMPARE(field.MaxLength(), 0);
    field.SetDecimalMode(true);
    QCOMPARE(modes.size(), 1);
    field.SetDecimalMode(false);
    QCOMPARE(modes.size(), 2);
    QCOMPARE(field.MaxLength(), 6);
}

void TestHtmlColourField::setDecimalModeRunsNoChangeProcessing()
{
    HtmlColourField field(prompts);
    field.SetText(QStringLiteral("FF0000"));
    QSignalSpy changes(&field, &HtmlColourField::OnChange);
    field.SetDecimalMode(true);
    QCOMPARE(changes.size(), 0);
    QCOMPARE(field.Colour(), ColourValue(0x000000FF));
    // The text is no decimal colour, while the last hexadecimal check still holds.
    QVERIFY(field.IsHtmlColour());
    QCOMPARE(field.HtmlColour(), QString());
    QVERIFY(field.DropDownItems().isEmpty());
    field.SetDecimalMode(false);
    QCOMPARE(field.HtmlColour(), QStringLiteral("FF0000"));
}

void TestHtmlColourField::onChangeOncePerChange()
{
    HtmlColourField field(prompts);
    QSignalSpy changes(&field, &HtmlColourField::OnChange);
    field.SetText(QStringLiteral("#FF0000"));
    QCOMPARE(changes.size(), 1);
    field.SetText(QStringLiteral("FF0000"));
    QCOMPARE(changes.size(), 1);
    field.SetText(QStringLiteral("FF000"));
    QCOMPARE(changes.size(), 2);
    field.keyDown(Qt::Key_Comma, Qt::NoModifier, QStringLiteral(","));
    QCOMPARE(changes.size(), 3);
    QCOMPARE(field.Text(), QStringLiteral("255,0"));
}

void TestHtmlColourField::dropDownList_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("choice");
    QTest::addColumn<bool>("decimalAfter");
    QTest::addColumn<QString>("textAfter");
    QTest::addColumn<bool>("isHtmlAfter");
    QTest::newRow("hex to decimal") << QStringLiteral("ff8000")
                                    << QStringList{QStringLiteral("ff8000"), QStringLiteral("255,128,0")}
                                    << 1 << true << QStringLiteral("255,128,0") << true;
    QTest::newRow("decimal to hex") << QStringLiteral("12,34,56,")
                                    << QStringList{QStringLiteral("0C2238"), QStringLiteral("12,34,56,")}
                                    << 0 << false << QStringLiteral("0C2238") << true;
    QTest::newRow("same mode") << QStringLiteral("12,34,56")
                               << QStringList{QStringLiteral("0C2238"), QStringLiteral("12,34,56")}
                               << 1 << true << QStringLiteral("12,34,56") << false;
    QTest::newRow("invalid text has no items") << QStringLiteral("12,34") << QStringList() << 0 << true
                                               << QStringLiteral("12,34") << false;
}

void TestHtmlColourField::dropDownList()
{
    QFETCH(QString, text);
    QFETCH(QStringList, items);
    QFETCH(int, choice);
    QFETCH(bool, decimalAfter);
    QFETCH(QString, textAfter);
    QFETCH(bool, isHtmlAfter);
    HtmlColourField field(prompts);
    field.SetText(text);
    QCOMPARE(field.DropDownItems(), items);
    QSignalSpy changes(&field, &HtmlColourField::OnChange);
    field.ChooseDropDownItem(choice);
    QCOMPARE(changes.size(), items.isEmpty() ? 0 : 1);
    QCOMPARE(field.DecimalMode(), decimalAfter);
    QCOMPARE(field.Text(), textAfter);
    QCOMPARE(field.IsHtmlColour(), isHtmlAfter);
}

void TestHtmlColourField::pickerColour()
{
    HtmlColourField field(prompts);
    QCOMPARE(field.PickerStartColour(), std::nullopt);
    field.SetText(QStringLiteral("0C2238"));
    QCOMPARE(field.PickerStartColour(), std::optional<ColourValue>(0x0038220C));
    field.ApplyPickedColour(ColourFromRgb(255, 128, 0));
    QCOMPARE(field.Text(), QStringLiteral("FF8000"));
    QVERIFY(field.IsHtmlColour());
    field.SetDecimalMode(true);
    QSignalSpy changes(&field, &HtmlColourField::OnChange);
    field.ApplyPickedColour(ColourFromRgb(1, 2, 3));
    QCOMPARE(field.Text(), QStringLiteral("1,2,3"));
    QCOMPARE(field.Colour(), ColourFromRgb(1, 2, 3));
    // Picking the colour already shown still runs the change processing.
    field.ApplyPickedColour(ColourFromRgb(1, 2, 3));
    QCOMPARE(changes.size(), 2);
}

void TestHtmlColourField::versionStaysFixed()
{
    HtmlColourField field(prompts);
    field.SetVersion(QStringLiteral("2.0"));
    QCOMPARE(field.Version(), QStringLiteral("1.4"));
}

void TestHtmlColourField::swatchColour()
{
    HtmlColourField field(prompts);
    QCOMPARE(field.SwatchColour(), QGuiApplication::palette().color(QPalette::Active, QPalette::Button));
    field.SetText(QStringLiteral("102030"));
    QCOMPARE(field.SwatchColour(), QColor(0x10, 0x20, 0x30));
}

void TestHtmlColourField::clearForgetsHexColour()
{
    HtmlColourField field(prompts);
    field.SetText(QStringLiteral("FF0000"));
    field.keyDown(Qt::Key_Comma, Qt::NoModifier, QStringLiteral(","));
    QCOMPARE(field.Text(), QStringLiteral("255,0,0"));
    QVERIFY(field.IsHtmlColour());
    QSignalSpy changes(&field, &HtmlColourField::OnChange);
    field.Clear();
    QCOMPARE(changes.size(), 1);
    QVERIFY(!field.IsHtmlColour());
    QVERIFY(field.DecimalMode());
    QCOMPARE(field.Text(), QString());
    QCOMPARE(field.Colour(), NoValidColour);
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QGuiApplication app(argc, argv);
    TestHtmlColourField test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_html_colour_field.moc"
