#include "app/ReelcraftApplication.h"
#include "colour/HtmlColourField.h"
#include "colour/TTarnColourPicker.h"
#include "controls/TTarnCombo.h"

#include "PromptsDouble.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <memory>

// The colour field widget, typed at with real key events.
class TestColourPicker : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void typing_data();
    void typing();
    void setTextRemovesTheHash();
    void dropDownItems();
    void swatchFollowsTheColour();
    void geometryAndFace();
    void resetEmptiesTheBox();

private:
    QLineEdit *box() const { return m_picker->TextBox()->lineEdit(); }
    static QWidget *focused() { return QApplication::focusWidget(); }
    PromptsDouble m_prompts;
    std::unique_ptr<TTarnColourPicker> m_picker;
};

void TestColourPicker::init()
{
    m_prompts.clear();
    m_picker = std::make_unique<TTarnColourPicker>(m_prompts);
    (new QLineEdit(m_picker.get()))->move(0, 40); // the next field in the tab order, out of sight
    m_picker->show();
    m_picker->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_picker.get()));
    m_picker->TextBox()->setFocus();
    QCOMPARE(focused(), m_picker->TextBox());
}

void TestColourPicker::cleanup()
{
    m_picker.reset();
}

void TestColourPicker::typing_data()
{
    QTest::addColumn<bool>("warnings");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("decimal");
    QTest::addColumn<QString>("html");       // HtmlColour
    QTest::addColumn<bool>("isHtmlColour");
    QTest::addColumn<QStringList>("messages");

    const QString range = QStringLiteral("All values must be between 0 and 255.");
    QTest::newRow("empty") << true << "" << "" << false << "" << false << QStringList{};
    QTest::newRow("lower-case hex") << true << "ff8000" << "ff8000" << false << "FF8000" << true << QStringList{};
    QTest::newRow("seventh hex digit refused") << true << "1234567" << "123456" << false << "123456" << true << QStringList{};
    QTest::newRow("g refused in hex mode") << true << "fg0" << "f0" << false << "" << false << QStringList{};
    QTest::newRow("12,34,56 piece by piece") << true << "12,34,56" << "12,34,56" << true << "0C2238" << false << QStringList{};
    QTest::newRow("12,34, incomplete") << true << "12,34," << "12,34," << true << "" << false << QStringList{};
    QTest::newRow("1,2,300 with warnings") << true << "1,2,300" << "1,2,300" << true << "" << false << QStringList{range};
    QTest::newRow("1,2,300 without warnings") << false << "1,2,300" << "1,2,300" << true << "" << false << QStringList{};
    QTest::newRow("FF0000 then comma") << true << "FF0000," << "255,0,0" << true << "FF0000" << true << QStringList{};
    QTest::newRow("123456 then comma") << true << "123456," << "123456," << true << "" << true << QStringList{};
    QTest::newRow("F then comma: emptied, then the comma is typed") << true << "F," << "," << true << "" << false << QStringList{};
    QTest::newRow("255,0,0 then a") << true << "FF0000,a" << "25500a" << false << "25500A" << true << QStringList{};
    QTest::newRow("ff0033 then comma") << true << "ff0033," << "255,0,51" << true << "FF0033" << true << QStringList{};
    QTest::newRow("only hex digits, then digits and comma") << true << "zq#12,xy" << "12," << true << "" << false << QStringList{};
    QTest::newRow("hex digits among others") << true << "12#34g56" << "123456" << false << "123456" << true << QStringList{};
    QTest::newRow("ff0033, then Tab leaves") << true << "ff0033,\t" << "255,0,51" << true << "FF0033" << true << QStringList{};
}

void TestColourPicker::typing()
{
    QFETCH(bool, warnings);
    QFETCH(QString, keys);
    QFETCH(QString, text);
    QFETCH(bool, decimal);
    QFETCH(QString, html);
    QFETCH(bool, isHtmlColour);
    QFETCH(QStringList, messages);

    m_picker->SetWarnings(warnings);
    // Leaving the box by Tab puts its text into the list.
    m_picker->TextBox()->Options = TTarnCombo::tcAddOnExit;
    QTest::keyClicks(focused(), keys);
    const bool left = keys.endsWith(u'\t');
    QCOMPARE(focused() != m_picker->TextBox(), left);
    QCOMPARE(m_picker->TextBox()->Items(), left ? QStringList{text} : QStringList{});
    QCOMPARE(box()->text(), text);
    QCOMPARE(m_picker->Text(), text);
    QCOMPARE(m_picker->Field().DecimalMode(), decimal);
    QCOMPARE(m_picker->Field().HtmlColour(), html);
    QCOMPARE(m_picker->Field().IsHtmlColour(), isHtmlColour);
    QCOMPARE(m_prompts.messages(), messages);
}

void TestColourPicker::setTextRemovesTheHash()
{
    int changes = 0;
    connect(m_picker.get(), &TTarnColourPicker::OnChange, this, [&changes] { ++changes; });
    m_picker->SetText(QStringLiteral("#FF0000"));
    QCOMPARE(box()->text(), QStringLiteral("FF0000"));
    QCOMPARE(m_picker->Field().Colour(), ColourValue(0x000000FF));
    QVERIFY(m_picker->Field().IsHtmlColour());
    QVERIFY(changes >= 1);
}

void TestColourPicker::dropDownItems()
{
    TTarnCombo *combo = m_picker->TextBox();
    // Not a valid colour: the list opens empty.
    QTest::keyClicks(focused(), QStringLiteral("12"));
    combo->showPopup();
    QCOMPARE(combo->count(), 0);
    combo->hidePopup();
    QCOMPARE(box()->text(), QStringLiteral("12"));

    QTest::keyClicks(focused(), QStringLiteral("AB34"));
    combo->showPopup();
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->itemText(0), QStringLiteral("12AB34"));
    QCOMPARE(combo->itemText(1), QStringLiteral("18,171,52"));
    // Opening the list leaves the typed text as it was.
    QCOMPARE(box()->text(), QStringLiteral("12AB34"));
    combo->hidePopup();

    // Choosing the decimal item switches to decimal mode.
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    QCOMPARE(box()->text(), QStringLiteral("18,171,52"));
    QVERIFY(m_picker->Field().DecimalMode());

    // And the hexadecimal item back.
    combo->showPopup();
    QCOMPARE(combo->itemText(0), QStringLiteral("12AB34"));
    combo->hidePopup();
    combo->setCurrentIndex(0);
    emit combo->activated(0);
    QCOMPARE(box()->text(), QStringLiteral("12AB34"));
    QVERIFY(!m_picker->Field().DecimalMode());
    QCOMPARE(m_picker->Field().HtmlColour(), QStringLiteral("12AB34"));
}

void TestColourPicker::swatchFollowsTheColour()
{
    const auto frameColour = [this] {
        const QImage image = m_picker->grab().toImage();
        return image.pixelColor(1, 1);
    };
    const QColor invalid = frameColour();
    QCOMPARE(invalid, m_picker->Field().SwatchColour());
    QTest::keyClicks(focused(), QStringLiteral("00FF00"));
    QCOMPARE(frameColour(), QColor(0, 255, 0));
    QTest::keyClick(focused(), Qt::Key_Backspace);
    QCOMPARE(frameColour(), invalid);
}

void TestColourPicker::geometryAndFace()
{
    m_picker->resize(108, 27);
    QCOMPARE(m_picker->TextBox()->geometry(), QRect(3, 3, 79, 21));
    QCOMPARE(m_picker->PickerButton()->geometry(), QRect(84, 3, 21, 21));
    m_picker->resize(150, 27);
    QCOMPARE(m_picker->TextBox()->width(), 121);
    QCOMPARE(m_picker->PickerButton()->x(), 3 + 121 + 2);

    const QImage face = TTarnColourPicker::ButtonFace(QSize(21, 21)).toImage();
    QCOMPARE(face.size(), QSize(18, 18));
    // The centres of the four ellipses: red, blue, yellow, green.
    QCOMPARE(face.pixelColor(4, 4), QColor(Qt::red));
    QCOMPARE(face.pixelColor(14, 4), QColor(Qt::blue));
    QCOMPARE(face.pixelColor(4, 14), QColor(Qt::yellow));
    QCOMPARE(face.pixelColor(14, 14), QColor(Qt::green));

    m_picker->SetVersion(QStringLiteral("2.0"));
    QCOMPARE(m_picker->Version(), QStringLiteral("1.4"));
}

void TestColourPicker::resetEmptiesTheBox()
{
    QTest::keyClicks(focused(), QStringLiteral("FF0000"));
    m_picker->Field().Clear();
    QCOMPARE(box()->text(), QString());
    QVERIFY(!m_picker->Field().IsHtmlColour());
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    ReelcraftApplication app(argc, argv);
    TestColourPicker test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_colour_picker.moc"
