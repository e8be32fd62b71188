#include "controls/BusyCursor.h"
#include "controls/ConfirmYesNo.h"
#include "controls/ProgressBox.h"
#include "controls/WidgetHelpers.h"
#include "platform/EError.h"

#include "PromptsDouble.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Whether the application shows the hourglass.
bool busyShown()
{
    const QCursor *cursor = QGuiApplication::overrideCursor();
    return cursor && cursor->shape() == Qt::WaitCursor;
}

} // namespace

class TestWidgetHelpers : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void busyCursorGuard_data();
    void busyCursorGuard();
    void busyCursorSwitch();
    void confirmYesNo_data();
    void confirmYesNo();
    void centerLabel_data();
    void centerLabel();
    void loadGlyph_data();
    void loadGlyph();
    void progressBox_data();
    void progressBox();
};

void TestWidgetHelpers::cleanup()
{
    // A failed case must not leave the hourglass to the next one.
    SetBusyCursor(false);
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

void TestWidgetHelpers::busyCursorGuard_data()
{
    QTest::addColumn<bool>("throws");
    QTest::addColumn<bool>("nested");
    QTest::newRow("step ends normally") << false << false;
    QTest::newRow("step throws") << true << false;
    QTest::newRow("nested step throws") << true << true;
    QTest::newRow("nested steps end normally") << false << true;
}

void TestWidgetHelpers::busyCursorGuard()
{
    QFETCH(bool, throws);
    QFETCH(bool, nested);
    QVERIFY(!QGuiApplication::overrideCursor());
    bool caught = false;
    try {
        BusyCursor outer;
        QVERIFY(busyShown());
        if (nested) {
            {
                BusyCursor inner;
                QVERIFY(busyShown());
            }
            // The inner step's end does not take the outer step's hourglass away.
            QVERIFY(busyShown());
            BusyCursor inner;
            if (throws)
                throw EFileError(u"Cannot open file /x.rcf"_s);
        } else if (throws) {
            throw EFileError(u"Cannot open file /x.rcf"_s);
        }
    } catch (const EError &) {
        caught = true;
    }
    QCOMPARE(caught, throws);
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestWidgetHelpers::busyCursorSwitch()
{
    SetBusyCursor(true);
    QVERIFY(busyShown());
    SetBusyCursor(true);
    SetBusyCursor(false);
    QVERIFY(!QGuiApplication::overrideCursor());
    SetBusyCursor(false);
    QVERIFY(!QGuiApplication::overrideCursor());

    // Switching off leaves a live guard's hourglass.
    {
        BusyCursor guard;
        SetBusyCursor(true);
        SetBusyCursor(false);
        QVERIFY(busyShown());
    }
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestWidgetHelpers::confirmYesNo_data()
{
    QTest::addColumn<QVariant>("answer");
    QTest::addColumn<bool>("result");
    QTest::newRow("yes") << QVariant(true) << true;
    QTest::newRow("no") << QVariant(false) << false;
    QTest::newRow("box closed") << QVariant() << false;
}

void TestWidgetHelpers::confirmYesNo()
{
    QFETCH(QVariant, answer);
    QFETCH(bool, result);
    PromptsDouble prompts;
    if (answer.isValid())
        prompts.answers.enqueue(answer);
    const QString question = u"Are you sure you want to clear all custom colors ?"_s;
    QCOMPARE(ConfirmYesNo(prompts, question), result);
    QCOMPARE(prompts.shown.size(), 1);
    QCOMPARE(prompts.shown.at(0).what, u"confirm"_s);
    QCOMPARE(prompts.shown.at(0).text, question);
}

void TestWidgetHelpers::centerLabel_data()
{
    QTest::addColumn<QSize>("parentSize");
    QTest::addColumn<QRect>("label");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QPoint>("place");
    QTest::newRow("both ways") << QSize(200, 100) << QRect(5, 7, 50, 20) << 0 << QPoint(75, 40);
    QTest::newRow("horizontally") << QSize(200, 100) << QRect(5, 7, 50, 20) << 1 << QPoint(75, 7);
    QTest::newRow("vertically") << QSize(200, 100) << QRect(5, 7, 50, 20) << 2 << QPoint(5, 40);
    QTest::newRow("odd room rounds down") << QSize(201, 101) << QRect(0, 0, 50, 20) << 0 << QPoint(75, 40);
    QTest::newRow("larger than the parent") << QSize(100, 40) << QRect(0, 0, 150, 60) << 0 << QPoint(-25, -10);
    QTest::newRow("unknown mode") << QSize(200, 100) << QRect(5, 7, 50, 20) << 3 << QPoint(5, 7);
}

void TestWidgetHelpers::centerLabel()
{
    QFETCH(QSize, parentSize);
    QFETCH(QRect, label);
    QFETCH(int, mode);
    QFETCH(QPoint, place);
    QWidget parent;
    parent.resize(parentSize);
    QLabel text(u"Version 1.7"_s, &parent);
    text.setGeometry(label);
    CenterLabel(&text, mode);
    QCOMPARE(text.pos(), place);
    QCOMPARE(text.size(), label.size());

    QLabel orphan(u"no parent"_s);
    orphan.setGeometry(label);
    CenterLabel(&orphan, mode);
    QCOMPARE(orphan.geometry(), label);
}

void TestWidgetHelpers::loadGlyph_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("found");
    QTest::newRow("svg glyph") << u"testglyph"_s << true;
    QTest::newRow("png glyph") << u"testbitmap"_s << true;
    QTest::newRow("upper-case resource name") << u"TESTGLYPH"_s << true;
    QTest::newRow("missing glyph") << u"nosuchglyph"_s << false;
    QTest::newRow("empty name") << QString() << false;
}

void TestWidgetHelpers::loadGlyph()
{
    QFETCH(QString, name);
    QFETCH(bool, found);
    QPushButton button;
    // An earlier icon goes also when the glyph is missing.
    button.setIcon(QIcon(QPixmap(4, 4)));
    QCOMPARE(LoadGlyph(&button, name), found);
    QCOMPARE(button.icon().isNull(), !found);
    if (found)
        QVERIFY(!button.icon().pixmap(16, 16).isNull());
    QCOMPARE(GlyphPath(name).isEmpty(), !found);
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QApplication app(argc, argv);
    TestWidgetHelpers test;
    return QTest::qExec(&test, argc, argv);
}

void TestWidgetHelpers::progressBox_data()
{
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("cancelAfter"); // the step after which Cancel is pressed; 0: never
    QTest::addColumn<bool>("shown");
    QTest::addColumn<int>("stepsRun");    // steps reported before report() said stop

    QTest::newRow("short work: no box, no cancel") << 8 << 0 << false << 8;
    QTest::newRow("long work: a box to the end") << 9 << 0 << true << 9;
    QTest::newRow("Cancel stops at the next report") << 12 << 4 << true << 5;
}

void TestWidgetHelpers::progressBox()
{
    QFETCH(int, total);
    QFETCH(int, cancelAfter);
    QFETCH(bool, shown);
    QFETCH(int, stepsRun);

    QWidget window;
    window.show();
    ProgressBox box(&window, QStringLiteral("Copying pictures"));
    int steps = 0;
    for (int done = 1; done <= total; ++done) {
        ++steps;
        if (!box.report(done, total))
            break;
        if (done == cancelAfter)
            box.dialog()->cancel();
    }
    QCOMPARE(steps, stepsRun);
    QCOMPARE(box.dialog() != nullptr, shown);
    QCOMPARE(window.findChild<QProgressDialog *>() != nullptr, shown);
    if (shown && !cancelAfter)
        QCOMPARE(box.dialog()->labelText(), QStringLiteral("Copying pictures: %1 of %1").arg(total));
}

#include "test_widgethelpers.moc"
