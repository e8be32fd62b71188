#include "app/ReelcraftApplication.h"
#include "controls/TTarnCombo.h"
#include "controls/TTarnEdit.h"
#include "platform/EError.h"
#include "platform/Registry.h"
#include "platform/RegistryKey.h"

#include "PromptsDouble.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QLineEdit>
#include <QTest>

#include <memory>

// The registry-backed edit and combo, driven by real key events.
class TestTarnControls : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void editKeystrokes_data();
    void editKeystrokes();
    void editMinOnExit_data();
    void editMinOnExit();
    void editNonNumberWithMinIsAnError();
    void editRegistry();
    void editInternalError();
    void browseButtonFollowsTheEdit();
    void browseForFile();
    void fileFilterForms_data();
    void fileFilterForms();
    void comboHistory();
    void comboFilter_data();
    void comboFilter();
    void commaText_data();
    void commaText();
    void comboRegistryAndInternalError();
    void versions();

private:
    std::unique_ptr<Registry> m_registry;
    PromptsDouble m_prompts;
    std::unique_ptr<QWidget> m_window;
};

void TestTarnControls::init()
{
    const QString folder = TestEnvironment::instance().freshFolder(QStringLiteral("tarn"));
    m_registry = std::make_unique<Registry>(folder + QStringLiteral("/user.json"), folder + QStringLiteral("/machine.json"));
    m_prompts.clear();
    m_window = std::make_unique<QWidget>();
    m_window->resize(400, 200);
}

void TestTarnControls::cleanup()
{
    m_window.reset();
    m_registry.reset();
}

void TestTarnControls::editKeystrokes_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<int>("selectFrom");   // -1: no selection
    QTest::addColumn<int>("selectLength");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("numericOnly");
    QTest::addColumn<bool>("allowDecimal");
    QTest::addColumn<int>("max");
    QTest::addColumn<QString>("allowChars");
    QTest::addColumn<QString>("blockChars");
    QTest::addColumn<QString>("result");

    const QString none;
    QTest::newRow("max 255: 25 then 6 refused") << "25" << 2 << -1 << 0 << "6" << true << false << 255 << none << none << "25";
    QTest::newRow("max 255: 25 then 5 passes") << "25" << 2 << -1 << 0 << "5" << true << false << 255 << none << none << "255";
    QTest::newRow("max 255: 255 selected then 9") << "255" << 3 << 0 << 3 << "9" << true << false << 255 << none << none << "9";
    QTest::newRow("max 0 means no limit") << "" << 0 << -1 << 0 << "987654321" << true << false << 0 << none << none << "987654321";
    QTest::newRow("letters refused when numeric") << "1" << 1 << -1 << 0 << "a2b" << true << false << 0 << none << none << "12";
    QTest::newRow("point refused without decimal") << "1" << 1 << -1 << 0 << ".5" << true << false << 0 << none << none << "15";
    QTest::newRow("second point refused") << "" << 0 << -1 << 0 << "1.5.2" << true << true << 0 << none << none << "1.52";
    QTest::newRow("allow chars refuses g") << "" << 0 << -1 << 0 << "aFg1" << false << false << 0 << "1234567890ABCDEFabcdef" << none << "aF1";
    QTest::newRow("allow chars is case-sensitive") << "" << 0 << -1 << 0 << "aA" << false << false << 0 << "a" << none << "a";
    QTest::newRow("block chars") << "" << 0 << -1 << 0 << "a|b" << false << false << 0 << none << "|" << "ab";
    QTest::newRow("backspace passes allow chars") << "ab" << 2 << -1 << 0 << "\b" << false << false << 0 << "xyz" << none << "a";
    QTest::newRow("backspace passes numeric") << "12" << 2 << -1 << 0 << "\b" << true << false << 255 << none << none << "1";
    // The limit looks at the number the keystroke leaves, wherever the caret is.
    QTest::newRow("max 255: 3 typed before 25 refused") << "25" << 0 << -1 << 0 << "3" << true << false << 255 << none << none << "25";
    QTest::newRow("max 255: 1 typed before 25 passes") << "25" << 0 << -1 << 0 << "1" << true << false << 255 << none << none << "125";
    // A partly selected number keeps its unselected digits.
    QTest::newRow("partial selection replaced") << "255" << 3 << 1 << 2 << "0" << true << false << 255 << none << none << "20";
}

void TestTarnControls::editKeystrokes()
{
    QFETCH(QString, start);
    QFETCH(int, cursor);
    QFETCH(int, selectFrom);
    QFETCH(int, selectLength);
    QFETCH(QString, typed);
    QFETCH(bool, numericOnly);
    QFETCH(bool, allowDecimal);
    QFETCH(int, max);
    QFETCH(QString, allowChars);
    QFETCH(QString, blockChars);
    QFETCH(QString, result);

    TTarnEdit edit(m_window.get(), &m_prompts, m_registry.get());
    edit.Filter.NumericOnly = numericOnly;
    edit.Filter.AllowDecimal = allowDecimal;
    edit.Filter.Max = max;
    edit.Filter.AllowChars = allowChars;
    edit.Filter.BlockChars = blockChars;
    edit.setText(start);
    edit.setCursorPosition(cursor);
    if (selectFrom >= 0)
        edit.setSelection(selectFrom, selectLength);
    for (QChar c : typed) {
        if (c == QLatin1Char('\b'))
            QTest::keyClick(&edit, Qt::Key_Backspace);
        else
            QTest::keyClicks(&edit, QString(c));
    }
    QCOMPARE(edit.text(), result);
}

void TestTarnControls::editMinOnExit_data()
{
    QTest::addColumn<int>("min");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");
    QTest::newRow("raised to min") << 10 << "5" << "10";
    QTest::newRow("above min kept") << 10 << "50" << "50";
    QTest::newRow("empty stays empty") << 10 << "" << "";
    QTest::newRow("min 0 means no lower limit") << 0 << "0" << "0";
}

void TestTarnControls::editMinOnExit()
{
    QFETCH(int, min);
    QFETCH(QString, typed);
    QFETCH(QString, after);
    auto *edit = new TTarnEdit(m_window.get(), &m_prompts, m_registry.get());
    auto *other = new QLineEdit(m_window.get());
    other->move(0, 60);
    edit->Filter.NumericOnly = true;
    edit->Filter.Min = min;
    QString edited = QStringLiteral("(none)");
    connect(edit, &QLineEdit::textEdited, this, [&edited](const QString &text) { edited = text; });
    int exits = 0;
    connect(edit, &TTarnEdit::exited, this, [&exits] { ++exits; });
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    edit->setFocus();
    QTest::keyClicks(edit, typed);
    other->setFocus();
    QCOMPARE(edit->text(), after);
    QCOMPARE(exits, 1);
    if (after != typed)
        QCOMPARE(edited, after); // the owner hears of the raised number
}

void TestTarnControls::editNonNumberWithMinIsAnError()
{
    TTarnEdit edit(m_window.get());
    edit.Filter.Min = 5;
    bool threw = false;
    try {
        edit.Filter.textOnExit(QStringLiteral("abc"));
    } catch (const EError &error) {
        threw = true;
        QCOMPARE(error.message(), QStringLiteral("'abc' is not a valid integer value"));
    }
    QVERIFY(threw);
}

void TestTarnControls::editRegistry()
{
    TTarnEdit edit(m_window.get(), &m_prompts, m_registry.get());
    edit.SetRegPath(QStringLiteral("Software\\Tarnwick\\Test"));
    QCOMPARE(edit.RegPath(), QStringLiteral("\\Software\\Tarnwick\\Test"));
    edit.RegValue = QStringLiteral("Field");
    edit.RegStore = true;
    edit.Options = TTarnEdit::teOnChange;
    QTest::keyClicks(&edit, QStringLiteral("abc"));
    QCOMPARE(m_registry->readString(Registry::Root::CurrentUser, QStringLiteral("Software\\Tarnwick\\Test"),
                                    QStringLiteral("Field")),
             QStringLiteral("abc"));

    TTarnEdit reread(m_window.get(), &m_prompts, m_registry.get());
    reread.SetRegPath(QStringLiteral("\\Software\\Tarnwick\\Test"));
    reread.RegValue = QStringLiteral("Field");
    reread.ReadFromRegistry();
    QCOMPARE(reread.text(), QString()); // RegStore off: nothing read
    reread.RegStore = true;
    reread.ReadFromRegistry();
    QCOMPARE(reread.text(), QStringLiteral("abc"));

    // A masked edit stores its text scrambled and reads it back plain.
    TTarnEdit secret(m_window.get(), &m_prompts, m_registry.get());
    secret.setEchoMode(QLineEdit::Password);
    secret.SetRegPath(QStringLiteral("Software\\Tarnwick\\Test"));
    secret.RegValue = QStringLiteral("Secret");
    secret.RegStore = true;
    secret.setText(QStringLiteral("pass word"));
    secret.WriteToRegistry();
    const QString stored = m_registry->readString(Registry::Root::CurrentUser, QStringLiteral("Software\\Tarnwick\\Test"),
                                                  QStringLiteral("Secret"));
    QVERIFY(stored != QStringLiteral("pass word"));
    secret.clear();
    secret.ReadFromRegistry();
    QCOMPARE(secret.text(), QStringLiteral("pass word"));
}

void TestTarnControls::editInternalError()
{
    TTarnEdit edit(m_window.get(), &m_prompts, m_registry.get());
    edit.RegStore = true;
    edit.WriteToRegistry();
    QCOMPARE(m_prompts.messages(),
             QStringList{QStringLiteral("TTarnEdit Internal Error : WriteToRegistry called while sRegPath was blank !")});
}

void TestTarnControls::browseButtonFollowsTheEdit()
{
    auto *edit = new TTarnEdit(m_window.get(), &m_prompts, m_registry.get());
    edit->setGeometry(10, 10, 100, 21);
    edit->SetFileBrowser(true);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QToolButton *button = edit->BrowseButton();
    QVERIFY(button);
    QCOMPARE(button->parentWidget(), m_window.get());
    QCOMPARE(button->geometry(), QRect(110, 10, 24, 21));
    QVERIFY(!button->icon().isNull()); // the OPENFILE glyph
    edit->setGeometry(20, 40, 150, 25);
    QCOMPARE(button->geometry(), QRect(170, 40, 24, 25));
    edit->setEnabled(false);
    QVERIFY(!button->isEnabled());
    edit->SetFileBrowser(false);
    QVERIFY(!edit->BrowseButton());
}

void TestTarnControls::browseForFile()
{
    const QString folder = TestEnvironment::instance().freshFolder(QStringLiteral("tarn-browse"));
    auto *edit = new TTarnEdit(m_window.get(), &m_prompts, m_registry.get());
    edit->FileFilter = QStringLiteral("AU Files|*.au");
    edit->FileBrowserInitDirRegPath = QStringLiteral("\\Software\\Tarnwick\\Test");
    edit->FileBrowserInitDirRegValue = QStringLiteral("Sound Folder");
    m_registry->writeString(Registry::Root::CurrentUser, QStringLiteral("Software\\Tarnwick\\Test"),
                            QStringLiteral("Sound Folder"), QStringLiteral("/music/"));
    edit->SetFileBrowser(true);

    // The current text names no existing folder: the start folder comes from the registry and
    // the chosen file's folder goes back there.
    m_prompts.answers.enqueue(folder + QStringLiteral("/song.au"));
    QTest::mouseClick(edit->BrowseButton(), Qt::LeftButton);
    QCOMPARE(m_prompts.shown.size(), 1);
    QCOMPARE(m_prompts.shown.at(0).what, QStringLiteral("openFile"));
    QCOMPARE(m_prompts.shown.at(0).dialog.filter, QStringLiteral("AU Files (*.au)"));
    QCOMPARE(m_prompts.shown.at(0).dialog.folder, QStringLiteral("/music/"));
    QCOMPARE(edit->text(), folder + QStringLiteral("/song.au"));
    QCOMPARE(m_registry->readString(Registry::Root::CurrentUser, QStringLiteral("Software\\Tarnwick\\Test"),
                                    QStringLiteral("Sound Folder")),
             folder + QLatin1Char('/'));

    // Now the text's folder exists and is used; cancelling changes nothing.
    m_prompts.clear();
    QTest::mouseClick(edit->BrowseButton(), Qt::LeftButton);
    QCOMPARE(m_prompts.shown.at(0).dialog.folder, folder + QLatin1Char('/'));
    QCOMPARE(edit->text(), folder + QStringLiteral("/song.au"));
}

void TestTarnControls::fileFilterForms_data()
{
    QTest::addColumn<QString>("windows");
    QTest::addColumn<QString>("qt");
    QTest::newRow("one") << "AU Files|*.au" << "AU Files (*.au)";
    QTest::newRow("two patterns") << "*.GIF,*.JPG|*.gif;*.jpg" << "*.GIF,*.JPG (*.gif *.jpg)";
    QTest::newRow("three entries") << "Gif and JPEG|*.gif;*.jpg|Gif|*.gif|JPEG|*.jpg"
                                   << "Gif and JPEG (*.gif *.jpg);;Gif (*.gif);;JPEG (*.jpg)";
    QTest::newRow("empty") << "" << "";
}

void TestTarnControls::fileFilterForms()
{
    QFETCH(QString, windows);
    QFETCH(QString, qt);
    QCOMPARE(QtFileFilter(windows), qt);
}

void TestTarnControls::comboHistory()
{
    TTarnCombo combo(m_window.get(), &m_prompts, m_registry.get());
    combo.SetMaxItems(3);
    combo.SetMoveSelectedToTop(true);
    combo.Options = TTarnCombo::tcAddOnCR;
    for (const QString &text : {QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")}) {
        combo.lineEdit()->clear();
        QTest::keyClicks(combo.lineEdit(), text);
        QTest::keyClick(combo.lineEdit(), Qt::Key_Return);
    }
    QCOMPARE(combo.Items(), (QStringList{QStringLiteral("three"), QStringLiteral("two"), QStringLiteral("one")}));
    combo.lineEdit()->clear();
    QTest::keyClicks(combo.lineEdit(), QStringLiteral("four"));
    QTest::keyClick(combo.lineEdit(), Qt::Key_Return);
    // The fourth text goes first and the oldest last item is dropped.
    QCOMPARE(combo.Items(), (QStringList{QStringLiteral("four"), QStringLiteral("three"), QStringLiteral("two")}));
    QCOMPARE(combo.currentText(), QStringLiteral("four"));
    QCOMPARE(combo.count(), 3);

    // Duplicates, empty texts and negative caps.
    combo.SetPreventDuplicates(true);
    combo.AddItem(QStringLiteral("TWO"));
    combo.AddItem(QString());
    QCOMPARE(combo.Items().size(), 3);
    combo.SetMaxItems(-2);
    QCOMPARE(combo.MaxItems(), 2);
    combo.TrimToMaxItems();
    QCOMPARE(combo.Items(), (QStringList{QStringLiteral("four"), QStringLiteral("three")}));
}

void TestTarnControls::comboFilter_data()
{
    QTest::addColumn<QString>("allow");
    QTest::addColumn<QString>("block");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");
    QTest::newRow("allow without case") << "abc" << "" << "aBcd" << "aBc";
    QTest::newRow("point always passes allow") << "1" << "" << "1.1x" << "1.1";
    QTest::newRow("block without case") << "" << "x" << "aXbx" << "ab";
}

void TestTarnControls::comboFilter()
{
    QFETCH(QString, allow);
    QFETCH(QString, block);
    QFETCH(QString, typed);
    QFETCH(QString, result);
    TTarnCombo combo(m_window.get());
    combo.AllowChars = allow;
    combo.BlockChars = block;
    QTest::keyClicks(combo.lineEdit(), typed);
    QCOMPARE(combo.currentText(), result);
}

void TestTarnControls::commaText_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("stored");
    QTest::newRow("blank quoted") << QStringList{QStringLiteral("a b"), QStringLiteral("c")} << "\"a b\",c";
    QTest::newRow("one empty item") << QStringList{QString()} << "\"\"";
    QTest::newRow("quote doubled") << QStringList{QStringLiteral("say \"hi\""), QStringLiteral("x")} << "\"say \"\"hi\"\"\",x";
    QTest::newRow("comma quoted") << QStringList{QStringLiteral("1,2")} << "\"1,2\"";
    QTest::newRow("plain") << QStringList{QStringLiteral("FF0000"), QStringLiteral("00FF00")} << "FF0000,00FF00";
    QTest::newRow("empty list") << QStringList{} << "";
}

void TestTarnControls::commaText()
{
    QFETCH(QStringList, items);
    QFETCH(QString, stored);
    QCOMPARE(TarnComboList::CommaText(items), stored);
    QCOMPARE(TarnComboList::FromCommaText(stored), items);
}

void TestTarnControls::comboRegistryAndInternalError()
{
    TTarnCombo combo(m_window.get(), &m_prompts, m_registry.get());
    combo.RegStore = true;
    combo.WriteToRegistry();
    QCOMPARE(m_prompts.messages(),
             QStringList{QStringLiteral("Internal TarnCombo Error : You have called WriteToRegistry while the RegPath or "
                                        "RegValue properties are blank.")});

    combo.SetRegPath(QStringLiteral("Software\\Tarnwick\\Test"));
    combo.RegValue = QStringLiteral("History");
    combo.SetItems({QStringLiteral("a b"), QStringLiteral("c"), QStringLiteral("d")});
    combo.WriteToRegistry();
    QCOMPARE(m_registry->readString(Registry::Root::CurrentUser, QStringLiteral("Software\\Tarnwick\\Test"),
                                    QStringLiteral("History")),
             QStringLiteral("\"a b\",c,d"));

    TTarnCombo reread(m_window.get(), &m_prompts, m_registry.get());
    reread.SetRegPath(QStringLiteral("Software\\Tarnwick\\Test"));
    reread.RegValue = QStringLiteral("History");
    reread.RegStore = true;
    reread.SetMaxItems(2);
    reread.ReadFromRegistry();
    QCOMPARE(reread.Items(), (QStringList{QStringLiteral("a b"), QStringLiteral("c")}));
    QCOMPARE(reread.currentText(), QStringLiteral("a b"));
}

void TestTarnControls::versions()
{
    TTarnEdit edit;
    edit.SetVersion(QStringLiteral("9"));
    QCOMPARE(edit.Version(), QStringLiteral("1.3"));
    TTarnCombo combo;
    combo.SetVersion(QStringLiteral("9"));
    QCOMPARE(combo.Version(), QStringLiteral("1.05"));
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    ReelcraftApplication app(argc, argv);
    TestTarnControls test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_tarn_controls.moc"
