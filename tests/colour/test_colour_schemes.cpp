#include "colour/ColourSchemes.h"
#include "colour/PaletteSources.h"
#include "colour/TCustomSchemes.h"
#include "colour/TfrmColorPicker.h"
#include "controls/TTarnEdit.h"
#include "platform/Registry.h"
#include "platform/RegistryKey.h"

#include "PromptsDouble.h"
#include "ScreenSourceDouble.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

// The custom colour schemes of the colour picker: what is read, shown and written, through
// whole dialog runs ended with OK or Cancel and a second opening.
class TestColourSchemes : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void schemes_data();
    void schemes();
    void swatchHintAndClick();

private:
    std::unique_ptr<TfrmColorPicker> makeDialog();
    QString shownSwatches(const TfrmColorPicker &dialog) const;
    PromptsDouble m_prompts;
    ScreenSourceDouble m_screen;
    std::unique_ptr<Registry> m_registry;
};

void TestColourSchemes::init()
{
    m_prompts.clear();
    m_registry.reset();
    QFile::remove(TestEnvironment::instance().configHome() + u"/Tarnwick/registry.json"_s);
    m_registry = std::make_unique<Registry>();
}

std::unique_ptr<TfrmColorPicker> TestColourSchemes::makeDialog()
{
    return std::make_unique<TfrmColorPicker>(ColourPickerServices{m_prompts, *m_registry, m_screen});
}

// The scheme's name and one word per swatch: its colour in hexadecimal, or "-" without a hint.
QString TestColourSchemes::shownSwatches(const TfrmColorPicker &dialog) const
{
    QStringList words{dialog.Schemes->cmbSchemes->currentText()};
    for (const QFrame *swatch : dialog.Schemes->Swatches())
        words << (swatch->toolTip().isEmpty() ? u"-"_s : ColourToHex(TCustomSchemes::SwatchColour(swatch)));
    return words.join(u' ');
}

void TestColourSchemes::schemes_data()
{
    QTest::addColumn<QStringList>("stored");   // "scheme|value=text"; no scheme: the picker's key
    QTest::addColumn<QStringList>("script");   // run on the first dialog
    QTest::addColumn<QString>("items");        // cmbSchemes after the script
    QTest::addColumn<QStringList>("messages"); // every box shown by the script
    QTest::addColumn<QString>("reopened");     // shownSwatches of a second dialog
    QTest::addColumn<QString>("key");          // a scheme whose stored values are listed
    QTest::addColumn<QString>("values");       // "name=value,..." or "missing"

    const auto dashes = [](int n) { return QStringList(n, u"-"_s).join(u' '); };
    const auto whites = [](int n) { return QStringList(n, u"FFFFFF"_s).join(u' '); };
    QStringList allWhite;
    for (int i = 0; i < 16; ++i)
        allWhite << u"%1=16777215"_s.arg(i);
    QStringList threeSet = allWhite;
    threeSet[3] = u"3=197121"_s;

    QTest::newRow("values 0 and 5 give two swatches")
        << QStringList{u"[Default]|0=255"_s, u"[Default]|5=65280"_s} << QStringList{} << u"[Default]"_s
        << QStringList{} << u"[Default] FF0000 FFFFFF "_s + dashes(14) << u"[Default]"_s << u"0=255,5=65280"_s;
    QTest::newRow("0x0000FF is red, unreadable values are white")
        << QStringList{u"[Default]|0=0x0000FF"_s, u"[Default]|1=blue"_s, u"[Default]|2=0x"_s,
                       u"[Default]|3=99999999999"_s, u"[Default]|4=0X00ff00"_s}
        << QStringList{} << u"[Default]"_s << QStringList{} << u"[Default] FF0000 FFFFFF FFFFFF FFFFFF 00FF00 "_s + dashes(11)
        << u"[Default]"_s << u"0=0x0000FF,1=blue,2=0x,3=99999999999,4=0X00ff00"_s;
    QTest::newRow("a new scheme then Cancel writes nothing")
        << QStringList{} << QStringList{u"add Blues"_s, u"cancel"_s} << u"[Default],Blues"_s << QStringList{}
        << u"[Default] "_s + dashes(16) << u"Blues"_s << u"missing"_s;
    QTest::newRow("a new scheme then OK is stored and remembered only when chosen")
        << QStringList{} << QStringList{u"add blues"_s, u"ok"_s} << u"[Default],blues"_s << QStringList{}
        << u"[Default] "_s + dashes(16) << u"blues"_s << allWhite.join(u',');
    QTest::newRow("Clear All then Cancel keeps the stored swatches")
        << QStringList{u"[Default]|0=255"_s, u"[Default]|1=0"_s} << QStringList{u"clear yes"_s, u"cancel"_s}
        << u"[Default]"_s << QStringList{u"Are you sure you want to clear all custom colors ?"_s}
        << u"[Default] FF0000 000000 "_s + dashes(14) << u"[Default]"_s << u"0=255,1=0"_s;
    QTest::newRow("Clear All answered No changes nothing")
        << QStringList{u"[Default]|0=255"_s} << QStringList{u"clear no"_s, u"ok"_s} << u"[Default]"_s
        << QStringList{u"Are you sure you want to clear all custom colors ?"_s}
        << u"[Default] FF0000 "_s + whites(15) << u"[Default]"_s
        << u"0=255,"_s + allWhite.mid(1).join(u',');
    QTest::newRow("Clear All then OK writes 0 to 15 white")
        << QStringList{u"[Default]|0=255"_s} << QStringList{u"clear yes"_s, u"ok"_s} << u"[Default]"_s
        << QStringList{u"Are you sure you want to clear all custom colors ?"_s} << u"[Default] "_s + whites(16)
        << u"[Default]"_s << allWhite.join(u',');
    QTest::newRow("Set Current Color saves 0 to 15 at once")
        << QStringList{} << QStringList{u"colour 1,2,3"_s, u"set 3"_s, u"cancel"_s} << u"[Default]"_s
        << QStringList{} << u"[Default] FFFFFF FFFFFF FFFFFF 010203 "_s + whites(12) << u"[Default]"_s
        << threeSet.join(u',');
    QTest::newRow("Delete Color saves white")
        << QStringList{u"Reds|0=255"_s, u"|Last Scheme=reds"_s} << QStringList{u"unset 0"_s, u"cancel"_s}
        << u"[Default],Reds"_s << QStringList{} << u"Reds "_s + whites(16) << u"Reds"_s << allWhite.join(u',');
    QTest::newRow("choosing a scheme remembers it")
        << QStringList{u"Reds|0=255"_s, u"apples|0=65280"_s, u"[default]|0=1"_s}
        << QStringList{u"choose Reds"_s, u"cancel"_s}
        << u"[Default],apples,Reds"_s << QStringList{} << u"Reds FF0000 "_s + dashes(15) << u"Reds"_s << u"0=255"_s;
    QTest::newRow("deleting a scheme")
        << QStringList{u"Reds|0=255"_s, u"|Last Scheme=Reds"_s} << QStringList{u"delete yes"_s, u"cancel"_s}
        << u"[Default]"_s << QStringList{u"Are you sure you want to remove this scheme ?"_s}
        << u"[Default] "_s + dashes(16) << u"Reds"_s << u"missing"_s;
    QTest::newRow("deleting answered No")
        << QStringList{u"Reds|0=255"_s, u"|Last Scheme=Reds"_s} << QStringList{u"delete no"_s}
        << u"[Default],Reds"_s << QStringList{u"Are you sure you want to remove this scheme ?"_s}
        << u"Reds FF0000 "_s + dashes(15) << u"Reds"_s << u"0=255"_s;
    QTest::newRow("[Default] cannot be deleted")
        << QStringList{u"[Default]|0=255"_s} << QStringList{u"delete"_s} << u"[Default]"_s
        << QStringList{u"The [Default] scheme cannot be deleted."_s} << u"[Default] FF0000 "_s + dashes(15)
        << u"[Default]"_s << u"0=255"_s;
    QTest::newRow("empty, listed and path-like names are not added")
        << QStringList{u"Reds|0=255"_s} << QStringList{u"add REDS"_s, u"add "_s, u"add [default]"_s, u"add a\\b"_s}
        << u"[Default],Reds"_s << QStringList{u"A scheme name cannot contain \"\\\"."_s}
        << u"[Default] "_s + dashes(16) << u"a"_s << u"missing"_s;
}

void TestColourSchemes::schemes()
{
    QFETCH(QStringList, stored);
    QFETCH(QStringList, script);
    QFETCH(QString, items);
    QFETCH(QStringList, messages);
    QFETCH(QString, reopened);
    QFETCH(QString, key);
    QFETCH(QString, values);

    RegistryKey registry(*m_registry);
    for (const QString &entry : stored) {
        const QString scheme = entry.section(u'|', 0, 0);
        const QString value = entry.section(u'|', 1);
        registry.openKey(ColorPickerKey() + (scheme.isEmpty() ? QString() : u"\\"_s + SchemeKeyPath(scheme)), true);
        registry.writeString(value.section(u'=', 0, 0), value.section(u'=', 1));
    }

    auto dialog = makeDialog();
    TCustomSchemes *schemes = dialog->Schemes;
    for (const QString &step : script) {
        const QString verb = step.section(u' ', 0, 0);
        const QString rest = step.section(u' ', 1);
        if (verb == u"add") {
            m_prompts.answers.enqueue(rest);
            schemes->btnAddSchemeClick();
        } else if (verb == u"clear" || verb == u"delete") {
            if (!rest.isEmpty())
                m_prompts.answers.enqueue(rest == u"yes");
            verb == u"clear" ? schemes->mnuPopClearClick() : schemes->btnDeleteSchemeClick();
        } else if (verb == u"colour") {
            dialog->SetCurrentColour(DecimalToColour(rest).value());
        } else if (verb == u"set") {
            schemes->mnuPopAddClick(schemes->Swatches().at(rest.toInt()));
        } else if (verb == u"unset") {
            schemes->mnuPopDeleteClick(schemes->Swatches().at(rest.toInt()));
        } else if (verb == u"choose") {
            schemes->cmbSchemes->setCurrentIndex(schemes->cmbSchemes->findText(rest));
            schemes->cmbSchemesClick();
        } else if (verb == u"ok") {
            dialog->btnOKClick();
        } else if (verb == u"cancel") {
            dialog->btnCancel->click();
        }
    }
    QStringList listed;
    for (int i = 0; i < schemes->cmbSchemes->count(); ++i)
        listed << schemes->cmbSchemes->itemText(i);
    QCOMPARE(listed.join(u','), items);
    QStringList boxes; // messages and questions; the input boxes answer the script
    for (const PromptsDouble::Shown &box : m_prompts.shown) {
        if (box.what != u"input")
            boxes << box.text;
    }
    QCOMPARE(boxes, messages);
    QCOMPARE(m_prompts.unanswered, 0);
    dialog.reset();

    QCOMPARE(shownSwatches(*makeDialog()), reopened);
    RegistryKey scheme(*m_registry);
    QStringList found;
    if (scheme.openKey(ColorPickerKey() + u"\\"_s + SchemeKeyPath(key), false)) {
        QStringList names = scheme.valueNames();
        std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) { return a.toInt() < b.toInt(); });
        for (const QString &name : names)
            found << name + u'=' + scheme.readString(name);
    }
    QCOMPARE(found.isEmpty() ? u"missing"_s : found.join(u','), values);
}

void TestColourSchemes::swatchHintAndClick()
{
    RegistryKey registry(*m_registry);
    registry.openKey(ColorPickerKey() + u"\\Custom Colours"_s, true);
    registry.writeString(u"0"_s, u"33023"_s); // 255,128,0
    auto dialog = makeDialog();
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    QFrame *swatch = dialog->Schemes->Swatches().at(0);
    QCOMPARE(swatch->toolTip(), u"#FF8000\r\n255,128,0"_s);
    QCOMPARE(swatch->geometry(), QRect(1, 2, 11, 11));
    QCOMPARE(dialog->Schemes->Swatches().at(15)->geometry(), QRect(196, 2, 11, 11));
    QTest::mouseClick(swatch, Qt::LeftButton);
    QCOMPARE(ColourToDecimal(dialog->CurrentColour()), u"255,128,0"_s);
    QCOMPARE(dialog->txtHexGreen->text(), u"80"_s);
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QApplication app(argc, argv);
    TestColourSchemes test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_colour_schemes.moc"
