#include "integration/TfrmEdit.h"

#include "BrowserFixture.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString AddTitle = u"Please enter a descriptive name for the browser (e.g. Netscape, Internet Explorer)"_s;

// The dialog on a browser list with Lynx and Opera in it.
struct EditorFixture
{
    BrowserFixture f;
    std::unique_ptr<TfrmEdit> dialog;

    EditorFixture()
    {
        f.list.SetRegPath(BrowserList::DefaultRegPath);
        write(u"Lynx"_s, u"EXE Name"_s, u"/usr/bin/lynx"_s);
        write(u"Lynx"_s, u"DDE Name"_s, u"LYNX"_s);
        write(u"Opera"_s, u"EXE Name"_s, u"/opt/opera/opera"_s);
        write(u"Opera"_s, u"DDE Name"_s, u"OPERA"_s);
        dialog = std::make_unique<TfrmEdit>(f.list.services(), f.list.Key());
    }
    void write(const QString &browser, const QString &name, const QString &value)
    {
        f.registry.writeString(Registry::Root::CurrentUser, BrowserList::DefaultRegPath + '\\'_L1 + browser, name,
                               value);
    }
    bool show()
    {
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        return QTest::qWaitForWindowActive(dialog.get());
    }
    QStringList listed() const
    {
        QStringList names;
        for (int row = 0; row < dialog->lstBrowsers->count(); ++row)
            names.append(dialog->lstBrowsers->item(row)->text());
        return names;
    }
    bool fieldsEnabled() const
    {
        const bool exe = dialog->txtExe->isEnabled();
        if (exe != dialog->txtDDE->isEnabled() || exe != dialog->btnDelete->isEnabled())
            qWarning("fields and Delete disagree");
        return exe;
    }
    bool selectionCleared() const
    {
        return dialog->SelectedBrowser().isEmpty() && dialog->lstBrowsers->currentRow() == -1
            && dialog->lstBrowsers->selectedItems().isEmpty() && dialog->txtExe->text().isEmpty()
            && dialog->txtDDE->text().isEmpty() && !dialog->txtExe->isEnabled() && !dialog->txtDDE->isEnabled()
            && !dialog->btnDelete->isEnabled();
    }
};

} // namespace

class TestBrowserEditor : public QObject
{
    Q_OBJECT
private slots:
    void layoutAndTexts();
    void textsFit();
    void showFillsTheList();
    void selectingLoadsTheBrowser();
    void leavingAFieldWritesIt_data();
    void leavingAFieldWritesIt();
    void changingBrowserWritesToTheOldOne();
    void browse_data();
    void browse();
    void browseWithoutSelection();
    void add_data();
    void add();
    void remove_data();
    void remove();
    void autoFind();
};

void TestBrowserEditor::layoutAndTexts()
{
    EditorFixture e;
    TfrmEdit &d = *e.dialog;
    QCOMPARE(d.windowTitle(), u"Edit Browsers"_s);
    QCOMPARE(d.size(), QSize(316, 236));
    QCOMPARE(d.minimumSize(), d.maximumSize());
    QVERIFY(d.windowFlags() & Qt::CustomizeWindowHint);
    QVERIFY(!(d.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint | Qt::WindowSystemMenuHint)));
    QCOMPARE(d.Label1->text(), u"Location Of Browser Program"_s);
    QCOMPARE(d.Label2->text(), u"DDE Name (e.g NETSCAPE or IEXPLORE)"_s);
    QCOMPARE(d.btnAdd->text(), u"&Add Browser"_s);
    QCOMPARE(d.btnDelete->text(), u"&Delete Browser"_s);
    QCOMPARE(d.btnAutoFind->text(), u"Auto &Find"_s);
    QCOMPARE(d.btnClose->text(), u"Close"_s);
    QVERIFY(!d.btnBrowseEXE->icon().isNull());
    QVERIFY(!e.fieldsEnabled());
    QVERIFY(d.btnAdd->isEnabled());
    QVERIFY(d.btnAutoFind->isEnabled());
}

void TestBrowserEditor::textsFit()
{
    EditorFixture e;
    TfrmEdit &d = *e.dialog;
    QVERIFY(e.show());
    const QRect client = d.rect();
    for (QWidget *child : d.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        QVERIFY2(client.contains(child->geometry()), child->metaObject()->className());
    for (QLabel *label : {d.Label1, d.Label2}) {
        const QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, label->width(), 1000),
                                                               Qt::TextWordWrap, label->text());
        QVERIFY2(needed.width() <= label->width() && needed.height() <= label->height(), qPrintable(label->text()));
        if (label == d.Label1)
            QVERIFY2(needed.height() <= label->fontMetrics().height(), "Label1 is one line");
    }
    for (QPushButton *button : {d.btnAdd, d.btnDelete, d.btnAutoFind, d.btnClose}) {
        QString text = button->text();
        text.remove('&'_L1);
        QVERIFY2(button->sizeHint().width() <= button->width()
                     || button->fontMetrics().horizontalAdvance(text) + 8 <= button->width(),
                 qPrintable(text));
    }
}

void TestBrowserEditor::showFillsTheList()
{
    EditorFixture e;
    QCOMPARE(e.listed(), QStringList());
    e.dialog->show();
    QCOMPARE(e.listed(), (QStringList{u"Lynx"_s, u"Opera"_s}));
    QVERIFY(e.selectionCleared());
}

void TestBrowserEditor::selectingLoadsTheBrowser()
{
    EditorFixture e;
    e.dialog->show();
    e.dialog->lstBrowsers->setCurrentRow(1);
    QCOMPARE(e.dialog->SelectedBrowser(), u"Opera"_s);
    QVERIFY(e.fieldsEnabled());
    QCOMPARE(e.dialog->txtExe->text(), u"/opt/opera/opera"_s);
    QCOMPARE(e.dialog->txtDDE->text(), u"OPERA"_s);
    e.dialog->lstBrowsers->setCurrentRow(0);
    QCOMPARE(e.dialog->txtExe->text(), u"/usr/bin/lynx"_s);
    QCOMPARE(e.dialog->txtDDE->text(), u"LYNX"_s);
    e.dialog->ClearSelection();
    QVERIFY(e.selectionCleared());
}

void TestBrowserEditor::leavingAFieldWritesIt_data()
{
    QTest::addColumn<bool>("exe");
    QTest::addColumn<int>("leave"); // 0 Return, 1 focus elsewhere, 2 Close button, 3 Escape
    for (const bool exe : {true, false}) {
        const char *field = exe ? "EXE Name" : "DDE Name";
        QTest::addRow("%s, Return", field) << exe << 0;
        QTest::addRow("%s, focus elsewhere", field) << exe << 1;
        QTest::addRow("%s, Close", field) << exe << 2;
        QTest::addRow("%s, Escape", field) << exe << 3;
    }
}

void TestBrowserEditor::leavingAFieldWritesIt()
{
    QFETCH(bool, exe);
    QFETCH(int, leave);
    EditorFixture e;
    QVERIFY(e.show());
    e.dialog->lstBrowsers->setCurrentRow(0);
    QLineEdit *field = exe ? e.dialog->txtExe : e.dialog->txtDDE;
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, u"typed"_s);
    const QString name = exe ? u"EXE Name"_s : u"DDE Name"_s;
    QCOMPARE(e.f.value(u"Lynx"_s, name), exe ? u"/usr/bin/lynx"_s : u"LYNX"_s);
    switch (leave) {
    case 0:
        QTest::keyClick(field, Qt::Key_Return);
        break;
    case 1:
        e.dialog->lstBrowsers->setFocus();
        break;
    case 2:
        QTest::mouseClick(e.dialog->btnClose, Qt::LeftButton);
        QVERIFY(!e.dialog->isVisible());
        break;
    default:
        QTest::keyClick(field, Qt::Key_Escape);
        QVERIFY(!e.dialog->isVisible());
        break;
    }
    QCOMPARE(e.f.value(u"Lynx"_s, name), u"typed"_s);
    QCOMPARE(e.f.value(u"Opera"_s, name), exe ? u"/opt/opera/opera"_s : u"OPERA"_s);
}

void TestBrowserEditor::changingBrowserWritesToTheOldOne()
{
    EditorFixture e;
    QVERIFY(e.show());
    e.dialog->lstBrowsers->setCurrentRow(0);
    e.dialog->txtExe->setFocus();
    e.dialog->txtExe->selectAll();
    QTest::keyClicks(e.dialog->txtExe, u"/usr/local/bin/lynx"_s);
    QListWidget *list = e.dialog->lstBrowsers;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    QCOMPARE(e.dialog->SelectedBrowser(), u"Opera"_s);
    QCOMPARE(e.f.value(u"Lynx"_s, u"EXE Name"_s), u"/usr/local/bin/lynx"_s);
    QCOMPARE(e.f.value(u"Opera"_s, u"EXE Name"_s), u"/opt/opera/opera"_s);
    QCOMPARE(e.dialog->txtExe->text(), u"/opt/opera/opera"_s);
}

void TestBrowserEditor::browse_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QVariant>("answer");
    QTest::addColumn<QString>("result");
    QTest::newRow("from the program's folder") << u"/usr/bin/lynx"_s << u"/usr/bin/"_s
                                               << QVariant(u"/opt/lynx/lynx"_s) << u"/opt/lynx/lynx"_s;
    QTest::newRow("empty field: the dialog's own folder") << QString() << QString()
                                                          << QVariant(u"/opt/lynx/lynx"_s) << u"/opt/lynx/lynx"_s;
    QTest::newRow("cancelled") << u"/usr/bin/lynx"_s << u"/usr/bin/"_s << QVariant() << u"/usr/bin/lynx"_s;
}

void TestBrowserEditor::browse()
{
    QFETCH(QString, current);
    QFETCH(QString, folder);
    QFETCH(QVariant, answer);
    QFETCH(QString, result);
    EditorFixture e;
    e.write(u"Lynx"_s, u"EXE Name"_s, current);
    QVERIFY(e.show());
    e.dialog->lstBrowsers->setCurrentRow(0);
    e.dialog->lstBrowsers->setFocus();
    if (answer.isValid())
        e.f.prompts.answers.enqueue(answer);
    e.dialog->btnBrowseEXE->click();

    QCOMPARE(e.f.prompts.shown.size(), 1);
    const PromptsDouble::Shown &shown = e.f.prompts.shown[0];
    QCOMPARE(shown.what, u"openFile"_s);
    QCOMPARE(shown.dialog.folder, folder);
    QCOMPARE(shown.dialog.filter, u"All Files (*)"_s);
    QCOMPARE(shown.dialog.fileName, QString());
    QCOMPARE(e.dialog->txtExe->text(), result);
    if (answer.isValid()) {
        QCOMPARE(QApplication::focusWidget(), e.dialog->txtExe);
        // Leaving the field (here: closing) keeps the choice.
        e.dialog->btnClose->click();
    }
    QCOMPARE(e.f.value(u"Lynx"_s, u"EXE Name"_s), answer.isValid() ? result : current);
}

void TestBrowserEditor::browseWithoutSelection()
{
    EditorFixture e;
    e.dialog->show();
    e.dialog->btnBrowseEXE->click();
    QVERIFY(e.f.prompts.shown.isEmpty());
}

void TestBrowserEditor::add_data()
{
    QTest::addColumn<QVariant>("answer");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("new name") << QVariant(u"Mosaic"_s) << QStringList{u"Lynx"_s, u"Opera"_s, u"Mosaic"_s}
                              << QStringList();
    QTest::newRow("cancelled") << QVariant() << QStringList{u"Lynx"_s, u"Opera"_s} << QStringList();
    QTest::newRow("empty name") << QVariant(QString()) << QStringList{u"Lynx"_s, u"Opera"_s} << QStringList();
    QTest::newRow("name in use, other case")
        << QVariant(u"opera"_s) << QStringList{u"Lynx"_s, u"Opera"_s}
        << QStringList{u"That name has already been used.  Please choose another name."_s};
}

void TestBrowserEditor::add()
{
    QFETCH(QVariant, answer);
    QFETCH(QStringList, listed);
    QFETCH(QStringList, messages);
    EditorFixture e;
    QVERIFY(e.show());
    e.dialog->lstBrowsers->setCurrentRow(0);
    if (answer.isValid())
        e.f.prompts.answers.enqueue(answer);
    e.dialog->btnAdd->click();

    QCOMPARE(e.f.prompts.shown.at(0).what, u"input"_s);
    QCOMPARE(e.f.prompts.shown.at(0).dialog.title, AddTitle);
    QCOMPARE(e.f.prompts.shown.at(0).text, u"Browser Name"_s);
    QCOMPARE(e.f.prompts.shown.at(0).dialog.fileName, QString());
    QCOMPARE(e.f.prompts.messages(), messages);
    QCOMPARE(e.listed(), listed);
    QStringList stored = listed;
    stored.sort(Qt::CaseInsensitive);
    QCOMPARE(e.f.browsers(), stored);
    if (listed.size() == 3) {
        QCOMPARE(e.f.value(u"Mosaic"_s, u"Created"_s), u"Manually"_s);
        QCOMPARE(e.dialog->lstBrowsers->currentRow(), 2);
        QCOMPARE(e.dialog->SelectedBrowser(), u"Mosaic"_s);
        QVERIFY(e.fieldsEnabled());
        QCOMPARE(e.dialog->txtExe->text(), QString());
        QCOMPARE(QApplication::focusWidget(), e.dialog->txtExe);
        // What is typed now belongs to the new browser.
        QTest::keyClicks(e.dialog->txtExe, u"/opt/mosaic"_s);
        QTest::keyClick(e.dialog->txtExe, Qt::Key_Return);
        QCOMPARE(e.f.value(u"Mosaic"_s, u"EXE Name"_s), u"/opt/mosaic"_s);
    } else {
        // Lynx stays selected.
        QCOMPARE(e.dialog->SelectedBrowser(), u"Lynx"_s);
    }
}

void TestBrowserEditor::remove_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("Yes") << true;
    QTest::newRow("No") << false;
}

void TestBrowserEditor::remove()
{
    QFETCH(bool, yes);
    EditorFixture e;
    e.dialog->show();
    e.dialog->lstBrowsers->setCurrentRow(1);
    e.f.prompts.answers.enqueue(yes);
    e.dialog->btnDelete->click();
    QCOMPARE(e.f.prompts.texts(), QStringList{u"Are you sure you wish to remove Opera from the list ?"_s});
    QCOMPARE(e.f.prompts.shown.at(0).what, u"confirm"_s);
    const QStringList remaining = yes ? QStringList{u"Lynx"_s} : QStringList{u"Lynx"_s, u"Opera"_s};
    QCOMPARE(e.listed(), remaining);
    QCOMPARE(e.f.browsers(), remaining);
    if (yes)
        QVERIFY(e.selectionCleared());
    else
        QCOMPARE(e.dialog->SelectedBrowser(), u"Opera"_s);
}

void TestBrowserEditor::autoFind()
{
    EditorFixture e;
    const QString firefox = e.f.addToPath(u"firefox"_s);
    // Known to the list with another program: a forced find asks before replacing it.
    e.write(u"Firefox"_s, u"EXE Name"_s, u"/old/firefox"_s);
    e.write(u"Firefox"_s, u"DDE Name"_s, u"FIREFOX"_s);
    e.f.prompts.answers.enqueue(true);
    e.dialog->show();
    e.dialog->lstBrowsers->setCurrentRow(0);
    e.dialog->btnAutoFind->click();
    QCOMPARE(e.f.prompts.shown.size(), 1);
    QCOMPARE(e.f.prompts.shown.at(0).what, u"confirm"_s);
    QCOMPARE(e.listed(), (QStringList{u"Firefox"_s, u"Lynx"_s, u"Opera"_s}));
    QCOMPARE(e.f.value(u"Firefox"_s, u"EXE Name"_s), firefox);
    QVERIFY(e.selectionCleared());
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QApplication app(argc, argv);
    TestBrowserEditor test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_browser_editor.moc"
