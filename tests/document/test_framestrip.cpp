#include "FrameStripFixture.h"

#include "controls/ElideText.h"

#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QSignalSpy>

namespace {

// Sends a drag of data to the strip's visible area at point, as the window system would.
struct DragResult
{
    bool entered = false;
    bool accepted = false;
    Qt::DropAction action = Qt::IgnoreAction;
};

DragResult dragTo(TFrameStrip *strip, const QMimeData *data, const QPoint &point, bool drop)
{
    DragResult result;
    QDragEnterEvent enter(point, Qt::MoveAction | Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(strip->viewport(), &enter);
    result.entered = enter.isAccepted();
    if (!result.entered)
        return result;
    if (drop) {
        QDropEvent dropped(point, Qt::MoveAction | Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(strip->viewport(), &dropped);
        result.accepted = dropped.isAccepted();
        result.action = dropped.dropAction();
    } else {
        QDragMoveEvent move(point, Qt::MoveAction | Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(strip->viewport(), &move);
        result.accepted = move.isAccepted();
        result.action = move.dropAction();
    }
    QDragLeaveEvent leave;
    QApplication::sendEvent(strip->viewport(), &leave);
    return result;
}

QString sizeText(QSize size)
{
    return QStringLiteral("Image Size : %1 by %2").arg(size.width()).arg(size.height());
}

} // namespace

class TestFrameStrip : public QObject
{
    Q_OBJECT
private slots:
    void geometryAndHeight_data();
    void geometryAndHeight();
    void thumbnailLeftEdges_data();
    void thumbnailLeftEdges();
    void clicks_data();
    void clicks();
    void longPathIsShortenedToTheLabel();
    void pressAndMoveStartsADragNotAClick();
    void selectionBorderInvertsThePicture();
    void dragReorders_data();
    void dragReorders();
    void dragAcceptRule_data();
    void dragAcceptRule();
    void autoScrollWhileDragging_data();
    void autoScrollWhileDragging();
    void pastedAndTypedCaptions_data();
    void pastedAndTypedCaptions();
    void typingWithoutCurrentFrame_data();
    void typingWithoutCurrentFrame();
    void deleteSelected_data();
    void deleteSelected();
    void deleteAll_data();
    void deleteAll();
    void fitToLargestPicture_data();
    void fitToLargestPicture();
    void followsResetAndReorderFromElsewhere();
};

// ---- geometry ----

void TestFrameStrip::geometryAndHeight_data()
{
    QTest::addColumn<int>("added");
    QTest::addColumn<int>("deleted");
    QTest::addColumn<int>("height");
    QTest::newRow("none") << 0 << 0 << 72;
    QTest::newRow("one") << 1 << 0 << 72;
    QTest::newRow("six") << 6 << 0 << 72;
    QTest::newRow("seven") << 7 << 0 << 86;
    QTest::newRow("twelve") << 12 << 0 << 86;
    QTest::newRow("seven, one deleted") << 7 << 1 << 72;
    QTest::newRow("eight, one deleted") << 8 << 1 << 86;
    QTest::newRow("seven, all deleted") << 7 << 7 << 72;
}

void TestFrameStrip::geometryAndHeight()
{
    QFETCH(int, added);
    QFETCH(int, deleted);
    QFETCH(int, height);
    FrameStripFixture f;
    f.addFrames(added);
    f.strip->LayoutFrames();
    for (int i = added - deleted; i < added; ++i)
        f.document.SetSelected(i, true);
    if (deleted > 0)
        f.strip->btnDeleteClick();

    QCOMPARE(f.strip->geometry(), QRect(5, 39, 407, height));
    QCOMPARE(f.strip->thumbnails().size(), added - deleted);
    QCOMPARE(f.document.frameCount(), added - deleted);
    // The scroll bar shows exactly when the thumbnails are wider than the strip.
    QTRY_COMPARE(f.strip->horizontalScrollBar()->isVisible(), added - deleted > 6);
}

void TestFrameStrip::thumbnailLeftEdges_data()
{
    QTest::addColumn<int>("scroll");
    QTest::addColumn<int>("removeAt"); // -1: none
    QTest::newRow("at the start") << 0 << -1;
    QTest::newRow("scrolled") << 150 << -1;
    QTest::newRow("scrolled to the end") << 10000 << -1;
    QTest::newRow("scrolled, middle frame removed") << 150 << 5;
    QTest::newRow("at the end, last frame removed") << 10000 << 11;
}

void TestFrameStrip::thumbnailLeftEdges()
{
    QFETCH(int, scroll);
    QFETCH(int, removeAt);
    FrameStripFixture f;
    f.addFrames(12);
    f.strip->LayoutFrames();
    QScrollBar *bar = f.strip->horizontalScrollBar();
    bar->setValue(scroll);
    const int scrolled = bar->value();
    QVERIFY(scroll == 0 || scrolled > 0);
    if (removeAt >= 0)
        f.document.removeFrame(removeAt);
    f.strip->LayoutFrames();

    const int count = f.document.frameCount();
    QCOMPARE(f.strip->thumbnails().size(), count);
    QCOMPARE(bar->value(), std::min(scrolled, bar->maximum()));
    QCOMPARE(bar->maximum(), (count - 1) * 66 + 65 - f.strip->viewport()->width());
    for (int i = 0; i < count; ++i) {
        const TFrame *thumb = f.strip->thumbnail(i);
        QCOMPARE(thumb->geometry(), QRect(66 * i, 1, 65, 65));
        QCOMPARE(f.strip->thumbnail(i)->id(), f.document.frame(i).Id);
        // In the visible area the strip has moved left by the scroll position.
        QCOMPARE(thumb->mapTo(f.strip->viewport(), QPoint(0, 0)).x(), 66 * i - bar->value());
    }
}

// ---- clicks and details ----

void TestFrameStrip::clicks_data()
{
    QTest::addColumn<QString>("clicks"); // "2" a plain click on frame 2, "c2" a Ctrl-click
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("shown"); // the frame whose details show; -1 blank

    QTest::newRow("plain") << "0" << QList<int>{0} << 0 << 0;
    QTest::newRow("plain, plain") << "0 2" << QList<int>{2} << 2 << 2;
    QTest::newRow("plain twice on one") << "1 1" << QList<int>{1} << 1 << 1;
    QTest::newRow("ctrl adds") << "0 c2" << QList<int>{0, 2} << 0 << -1;
    QTest::newRow("ctrl first") << "c3" << QList<int>{3} << 3 << 3;
    QTest::newRow("ctrl removes one of two") << "0 c2 c2" << QList<int>{0} << 2 << 2;
    QTest::newRow("ctrl removes the first of two") << "0 c2 c0" << QList<int>{2} << 0 << 0;
    QTest::newRow("ctrl removes the only one") << "1 c1" << QList<int>{} << 1 << -1;
    QTest::newRow("three, then plain") << "0 c1 c3 2" << QList<int>{2} << 2 << 2;
    QTest::newRow("ctrl removes one of three") << "0 c1 c3 c1" << QList<int>{0, 3} << 0 << -1;
}

void TestFrameStrip::clicks()
{
    QFETCH(QString, clicks);
    QFETCH(QList<int>, selected);
    QFETCH(int, current);
    QFETCH(int, shown);
    FrameStripFixture f;
    f.addFrames(4);
    f.strip->LayoutFrames();

    for (const QString &click : clicks.split(u' ')) {
        const bool ctrl = click.startsWith(u'c');
        const int index = (ctrl ? click.mid(1) : click).toInt();
        f.click(index, ctrl ? Qt::ControlModifier : Qt::NoModifier);
        QCOMPARE(f.strip->SavedShift().testFlag(Qt::ControlModifier), ctrl);
    }

    QCOMPARE(f.selected(), selected);
    QCOMPARE(f.document.SelectedCount(), int(selected.size()));
    QCOMPARE(f.document.CurrentFrame(), current);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(f.strip->thumbnail(i)->Selected(), selected.contains(i));
    if (shown < 0) {
        QCOMPARE(f.lblFilename->text(), QString());
        QCOMPARE(f.lblSize->text(), QString());
        // A Ctrl-click leaves the caption box as it was: it still edits the current frame.
        QCOMPARE(f.txtCaption->toPlainText(), QStringLiteral("caption %1").arg(current));
    } else {
        const AnimationFrame &frame = f.document.frame(shown);
        QCOMPARE(f.lblFilename->text(), frame.PicturePath);
        QCOMPARE(f.lblSize->text(), sizeText(frame.PictureSize));
        QCOMPARE(f.txtCaption->toPlainText(), QStringLiteral("caption %1").arg(shown));
    }
    QVERIFY(!f.strip->CaptionGuard());
    QCOMPARE(f.prompts.shown.size(), 0); // showing a caption is no typing
}

void TestFrameStrip::longPathIsShortenedToTheLabel()
{
    FrameStripFixture f;
    const QString path = QStringLiteral("/home/someone/Pictures/holidays/2023/the seaside/") + QString(60, u'x')
        + QStringLiteral("/sunset over the harbour.jpg");
    f.addFrame(path, QSize(640, 480));
    f.click(0);

    const QString shown = f.lblFilename->text();
    QVERIFY(f.lblFilename->fontMetrics().horizontalAdvance(path) > 231);
    QCOMPARE(shown, ElideText(path, 231, f.lblFilename->fontMetrics()));
    QVERIFY(shown.size() < path.size());
    QVERIFY(f.lblFilename->fontMetrics().horizontalAdvance(shown) <= 231);

    QCOMPARE(f.lblSize->text(), QStringLiteral("Image Size : 640 by 480"));

    // A path that fits is shown whole.
    f.addFrame(QStringLiteral("/p/a.gif"), QSize(1, 2));
    f.click(1);
    QCOMPARE(f.lblFilename->text(), QStringLiteral("/p/a.gif"));
}

void TestFrameStrip::pressAndMoveStartsADragNotAClick()
{
    FrameStripFixture f;
    f.addFrames(3);
    TFrame *thumb = f.strip->thumbnail(1);

    // Moving less than the drag distance is still a click.
    QTest::mousePress(thumb, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QTest::mouseMove(thumb, QPoint(21, 20));
    QTest::mouseRelease(thumb, Qt::LeftButton, Qt::NoModifier, QPoint(21, 20));
    QCOMPARE(f.selected(), QList<int>{1});

    // Moving with the button held starts the drag (offscreen it ends at once, dropping
    // nowhere); the release is then no click.
    f.strip->ClearSelection(-1);
    QTest::mousePress(thumb, Qt::LeftButton, Qt::ControlModifier, QPoint(20, 20));
    QVERIFY(f.strip->SavedShift().testFlag(Qt::ControlModifier));
    QTest::mouseMove(thumb, QPoint(20 + 2 * QApplication::startDragDistance(), 20));
    QTest::mouseRelease(thumb, Qt::LeftButton, Qt::NoModifier, QPoint(40, 20));
    QCOMPARE(f.selected(), QList<int>{});
    QCOMPARE(f.paths(), (QStringList{QStringLiteral("/pics/frame0.gif"), QStringLiteral("/pics/frame1.gif"),
                                     QStringLiteral("/pics/frame2.gif")}));

    // A right-button press records the modifiers too but clicks nothing.
    QTest::mouseClick(thumb, Qt::RightButton, Qt::ShiftModifier, QPoint(20, 20));
    QCOMPARE(f.strip->SavedShift(), Qt::KeyboardModifiers(Qt::ShiftModifier));
    QCOMPARE(f.selected(), QList<int>{});
}

void TestFrameStrip::selectionBorderInvertsThePicture()
{
    FrameStripFixture f;
    QImage red(130, 130, QImage::Format_RGB32);
    red.fill(QColor(255, 0, 0));
    f.document.appendFrame(QStringLiteral("/pics/red.gif"), QString(), QSize(130, 130), red);
    TFrame *thumb = f.strip->thumbnail(0);
    QCOMPARE(thumb->size(), QSize(65, 65));
    QCOMPARE(thumb->shownPicture(), red);

    f.click(0);
    const QImage selected = thumb->shownPicture();
    QCOMPARE(selected.pixelColor(0, 0), QColor(0, 255, 255));
    QCOMPARE(selected.pixelColor(129, 129), QColor(0, 255, 255));
    QCOMPARE(selected.pixelColor(65, 65), QColor(255, 0, 0));
    // The thumbnail as drawn on the screen shows the inverted edge.
    const QImage drawn = thumb->grab().toImage();
    QCOMPARE(drawn.pixelColor(0, 0), QColor(0, 255, 255));
    QCOMPARE(drawn.pixelColor(32, 32), QColor(255, 0, 0));

    f.strip->ClearSelection(-1);
    QCOMPARE(thumb->shownPicture(), red);
}

// ---- dragging ----

void TestFrameStrip::dragReorders_data()
{
    QTest::addColumn<bool>("exchange");
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("order");
    QTest::newRow("A onto C") << false << 0 << 2 << "BCA";
    QTest::newRow("C onto A") << false << 2 << 0 << "CAB";
    QTest::newRow("A onto B") << false << 0 << 1 << "BAC";
    QTest::newRow("B onto A") << false << 1 << 0 << "BAC";
    QTest::newRow("exchange A and C") << true << 0 << 2 << "CBA";
    QTest::newRow("exchange C and A") << true << 2 << 0 << "CBA";
    QTest::newRow("exchange B and C") << true << 1 << 2 << "ACB";
}

void TestFrameStrip::dragReorders()
{
    QFETCH(bool, exchange);
    QFETCH(int, source);
    QFETCH(int, target);
    QFETCH(QString, order);
    FrameStripFixture f;
    for (const QString &name : {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")})
        f.addFrame(name);
    f.chkExchange->setChecked(exchange);
    // B selected and current: a reorder leaves both with B.
    f.click(1);
    const FrameId b = f.document.frame(1).Id;

    std::unique_ptr<QMimeData> data(f.strip->createFrameDragData(f.strip->thumbnail(source)));
    const DragResult result = dragTo(f.strip, data.get(), f.centreOf(target), true);
    QVERIFY(result.entered);
    QVERIFY(result.accepted);
    QCOMPARE(result.action, Qt::MoveAction);

    QCOMPARE(f.paths().join(QString()), order);
    QCOMPARE(f.thumbnailPaths().join(QString()), order);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(f.strip->thumbnail(i)->x(), 66 * i);
    const int bAt = f.document.indexOf(b);
    QCOMPARE(f.selected(), QList<int>{bAt});
    QCOMPARE(f.document.CurrentFrame(), bAt);
    QCOMPARE(f.document.SelectedCount(), 1);

    // Calling the handler directly does the same as the drop.
    f.strip->AnimDragDrop(f.strip->thumbnail(0), nullptr);
    QCOMPARE(f.paths().join(QString()), order);
}

void TestFrameStrip::dragAcceptRule_data()
{
    QTest::addColumn<int>("source"); // -1: data from another strip
    QTest::addColumn<int>("over");   // -1: the empty part of the strip
    QTest::addColumn<bool>("entered");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("onto itself") << 1 << 1 << true << false;
    QTest::newRow("onto another") << 1 << 2 << true << true;
    QTest::newRow("onto the empty part") << 1 << -1 << true << false;
    QTest::newRow("from another strip") << -1 << 2 << false << false;
}

void TestFrameStrip::dragAcceptRule()
{
    QFETCH(int, source);
    QFETCH(int, over);
    QFETCH(bool, entered);
    QFETCH(bool, accepted);
    FrameStripFixture f;
    f.addFrames(3);
    FrameStripFixture other;
    other.addFrames(3);

    std::unique_ptr<QMimeData> data(source >= 0 ? f.strip->createFrameDragData(f.strip->thumbnail(source))
                                                : other.strip->createFrameDragData(other.strip->thumbnail(0)));
    const QPoint point = over >= 0 ? f.centreOf(over) : QPoint(300, 30);
    QCOMPARE(f.strip->thumbnailAt(point), over >= 0 ? f.strip->thumbnail(over) : nullptr);

    const DragResult move = dragTo(f.strip, data.get(), point, false);
    QCOMPARE(move.entered, entered);
    QCOMPARE(move.accepted, accepted);
    const DragResult drop = dragTo(f.strip, data.get(), point, true);
    QCOMPARE(drop.accepted, accepted);
    const QStringList unchanged{QStringLiteral("/pics/frame0.gif"), QStringLiteral("/pics/frame1.gif"),
                                QStringLiteral("/pics/frame2.gif")};
    if (!accepted)
        QCOMPARE(f.paths(), unchanged);
    QCOMPARE(other.paths(), unchanged);

    // The handler's own rule.
    if (source >= 0 && over >= 0)
        QCOMPARE(f.strip->AnimDragOver(f.strip->thumbnail(source), f.strip->thumbnail(over), 30), accepted);
}

void TestFrameStrip::autoScrollWhileDragging_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("x"); // in the strip's visible area
    QTest::addColumn<int>("expected");
    QTest::newRow("left edge") << 100 << 0 << 90;
    QTest::newRow("left zone end") << 100 << 19 << 90;
    QTest::newRow("just past the left zone") << 100 << 20 << 100;
    QTest::newRow("middle") << 100 << 200 << 100;
    QTest::newRow("just before the right zone") << 100 << 387 << 100;
    QTest::newRow("right zone") << 100 << 388 << 110;
    QTest::newRow("right edge") << 100 << 400 << 110;
    QTest::newRow("left, at the start") << 0 << 5 << 0;
    QTest::newRow("left, near the start") << 4 << 5 << 0;
    QTest::newRow("right, at the end") << 100000 << 395 << -1; // -1: stays at the maximum
}

void TestFrameStrip::autoScrollWhileDragging()
{
    QFETCH(int, start);
    QFETCH(int, x);
    QFETCH(int, expected);
    FrameStripFixture f;
    f.addFrames(12);
    QScrollBar *bar = f.strip->horizontalScrollBar();
    if (expected < 0)
        expected = bar->maximum();

    // Over a thumbnail (even the dragged one itself) and over the gap between two, once per
    // drag-over event.
    for (bool ontoItself : {false, true}) {
        bar->setValue(start);
        const QPoint point(x, 30);
        TFrame *under = f.strip->thumbnailAt(point);
        QVERIFY(under);
        TFrame *source = ontoItself ? under : f.strip->thumbnail(under == f.strip->thumbnail(0) ? 1 : 0);
        std::unique_ptr<QMimeData> data(f.strip->createFrameDragData(source));
        const DragResult result = dragTo(f.strip, data.get(), point, false);
        QCOMPARE(result.accepted, !ontoItself);
        QCOMPARE(bar->value(), expected);
    }
    bar->setValue(start);
    f.strip->scrFramesDragOver(x);
    QCOMPARE(bar->value(), expected);
}

// ---- caption ----

void TestFrameStrip::pastedAndTypedCaptions_data()
{
    QTest::addColumn<QString>("pasted"); // empty: type instead
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("caption");
    QTest::newRow("pasted CR LF") << "first\r\nsecond" << "" << "first second";
    QTest::newRow("pasted two CR LF") << "a\r\n\r\nb" << "" << "a  b";
    QTest::newRow("pasted LF") << "a\nb" << "" << "a b";
    QTest::newRow("pasted bar") << "left|right" << "" << "left/right";
    QTest::newRow("typed") << "" << "Sunset" << "Sunset";
    QTest::newRow("typed bar refused") << "" << "a|b" << "ab";
}

void TestFrameStrip::pastedAndTypedCaptions()
{
    QFETCH(QString, pasted);
    QFETCH(QString, typed);
    QFETCH(QString, caption);
    FrameStripFixture f;
    f.addFrames(3);
    f.click(2);
    f.txtCaption->setFocus();
    f.txtCaption->selectAll();
    if (!pasted.isEmpty()) {
        QApplication::clipboard()->setText(pasted);
        QTest::keyClick(f.txtCaption, Qt::Key_V, Qt::ControlModifier);
    } else {
        QTest::keyClick(f.txtCaption, Qt::Key_Delete);
        QTest::keyClicks(f.txtCaption, typed);
        QTest::keyClick(f.txtCaption, Qt::Key_Return); // no line break in a caption
    }
    QCOMPARE(f.document.frame(2).CaptionText, caption);
    QCOMPARE(f.document.frame(0).CaptionText, QStringLiteral("caption 0"));
    QVERIFY(!f.txtCaption->toPlainText().contains(u'|'));
    QCOMPARE(f.prompts.shown.size(), 0);

    // Clicking the frame again shows the stored caption.
    f.click(0);
    f.click(2);
    QCOMPARE(f.txtCaption->toPlainText(), caption);
}

void TestFrameStrip::typingWithoutCurrentFrame_data()
{
    QTest::addColumn<QString>("before");
    QTest::newRow("nothing clicked") << "";
    QTest::newRow("two selected, none clicked alone") << "select";
    QTest::newRow("current frame deleted") << "delete";
    QTest::newRow("after reset") << "reset";
}

void TestFrameStrip::typingWithoutCurrentFrame()
{
    QFETCH(QString, before);
    FrameStripFixture f;
    f.addFrames(3);
    if (before == u"select") {
        f.document.SetSelected(0, true);
        f.document.SetSelected(1, true);
    } else if (before == u"delete") {
        f.click(1);
        f.strip->btnDeleteClick();
    } else if (before == u"reset") {
        f.click(1);
        f.document.ResetDocument();
    }
    QVERIFY(!f.document.HasCurrentFrame());
    f.txtCaption->setFocus();
    QTest::keyClick(f.txtCaption, Qt::Key_X);

    QCOMPARE(f.prompts.messages(), QStringList{QStringLiteral("Please click on a frame before setting the caption.")});
    QCOMPARE(f.txtCaption->toPlainText(), QString());
    for (const AnimationFrame &frame : f.document.Frames())
        QVERIFY(!frame.CaptionText.contains(u'x'));
}

// ---- deleting and fitting ----

void TestFrameStrip::deleteSelected_data()
{
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<QString>("left");
    QTest::newRow("B and D") << "1 c3" << "ACE";
    QTest::newRow("first") << "0" << "BCDE";
    QTest::newRow("last") << "4" << "ABCD";
    QTest::newRow("all") << "0 c1 c2 c3 c4" << "";
    QTest::newRow("nothing selected") << "" << "ABCDE";
    QTest::newRow("current not selected") << "0 c2 c0" << "ABDE";
}

void TestFrameStrip::deleteSelected()
{
    QFETCH(QString, clicks);
    QFETCH(QString, left);
    FrameStripFixture f;
    for (QChar name : QStringLiteral("ABCDE"))
        f.addFrame(QString(name));
    for (const QString &click : clicks.split(u' ', Qt::SkipEmptyParts)) {
        const bool ctrl = click.startsWith(u'c');
        f.click((ctrl ? click.mid(1) : click).toInt(), ctrl ? Qt::ControlModifier : Qt::NoModifier);
    }
    const QString current = f.document.HasCurrentFrame() ? f.document.frame(f.document.CurrentFrame()).PicturePath : QString();

    f.strip->btnDeleteClick();

    QCOMPARE(f.paths().join(QString()), left);
    QCOMPARE(f.thumbnailPaths().join(QString()), left);
    QCOMPARE(f.document.SelectedCount(), 0);
    for (int i = 0; i < int(left.size()); ++i)
        QCOMPARE(f.strip->thumbnail(i)->geometry(), QRect(66 * i, 1, 65, 65));
    // The current frame goes with its thumbnail; one that stays stays current.
    QCOMPARE(f.document.HasCurrentFrame(), !current.isEmpty() && left.contains(current));
    QCOMPARE(f.lblFilename->text(), QString());
    QCOMPARE(f.lblSize->text(), QStringLiteral("Size :"));
    QCOMPARE(f.txtCaption->toPlainText(), QString());
    QCOMPARE(f.prompts.shown.size(), 0);
}

void TestFrameStrip::deleteAll_data()
{
    QTest::addColumn<int>("frames");
    QTest::addColumn<QVariant>("answer"); // invalid: nothing may be asked
    QTest::addColumn<int>("framesAfter");
    QTest::addColumn<QString>("caption");
    QTest::newRow("yes") << 8 << QVariant(true) << 0 << "Reelcraft 1.7";
    QTest::newRow("no") << 8 << QVariant(false) << 8 << "Reelcraft 1.7";
    QTest::newRow("empty strip") << 0 << QVariant() << 0 << "Reelcraft - [/work/show.rcf]";
}

void TestFrameStrip::deleteAll()
{
    QFETCH(int, frames);
    QFETCH(QVariant, answer);
    QFETCH(int, framesAfter);
    QFETCH(QString, caption);
    FrameStripFixture f;
    f.addFrames(frames);
    f.document.SetCurrentFileName(QStringLiteral("/work/show.rcf"));
    if (frames > 0) {
        f.click(0);
        f.click(1, Qt::ControlModifier);
        f.click(1, Qt::ControlModifier); // frame 1 current, frame 0 selected
    }
    if (answer.isValid())
        f.prompts.answers.enqueue(answer);

    f.strip->btnDeleteAllClick();

    QCOMPARE(f.prompts.texts(), answer.isValid() ? QStringList{QStringLiteral("Are you sure you want to clear the animation ?")}
                                                 : QStringList());
    QCOMPARE(f.prompts.unanswered, 0);
    QCOMPARE(f.document.frameCount(), framesAfter);
    QCOMPARE(f.strip->thumbnails().size(), framesAfter);
    QCOMPARE(f.document.Caption(), caption);
    QCOMPARE(f.document.CurrentFileName().isEmpty(), answer.isValid());
    QCOMPARE(f.strip->height(), framesAfter > 6 ? 86 : 72);
    QCOMPARE(f.document.SelectedCount(), 0);
    if (answer.isValid()) {
        QCOMPARE(f.lblFilename->text(), QString());
        QCOMPARE(f.lblSize->text(), QStringLiteral("Size :"));
        QCOMPARE(f.txtCaption->toPlainText(), QString());
        // No keeps the current frame; Yes leaves none.
        QCOMPARE(f.document.CurrentFrame(), framesAfter > 0 ? 1 : -1);
    }
}

void TestFrameStrip::fitToLargestPicture_data()
{
    QTest::addColumn<QList<QSize>>("sizes");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::newRow("no frames") << QList<QSize>{} << "0" << "0";
    QTest::newRow("one") << QList<QSize>{{320, 200}} << "320" << "200";
    QTest::newRow("widest and tallest differ") << QList<QSize>{{120, 80}, {90, 150}, {100, 100}} << "120" << "150";
    QTest::newRow("unreadable picture counts nothing") << QList<QSize>{{0, 0}, {40, 30}} << "40" << "30";
}

void TestFrameStrip::fitToLargestPicture()
{
    QFETCH(QList<QSize>, sizes);
    QFETCH(QString, width);
    QFETCH(QString, height);
    FrameStripFixture f;
    for (const QSize &size : sizes)
        f.addFrame(QStringLiteral("/pics/p.gif"), size);
    QCOMPARE(f.document.text(TextSetting::JavaWidth), QStringLiteral("600"));
    f.strip->btnFitClick();
    QCOMPARE(f.document.text(TextSetting::JavaWidth), width);
    QCOMPARE(f.document.text(TextSetting::JavaHeight), height);
}

void TestFrameStrip::followsResetAndReorderFromElsewhere()
{
    FrameStripFixture f;
    f.addFrames(8);
    f.click(3);
    QCOMPARE(f.strip->height(), 86);

    // Changes made to the document by others (the tag reader, the main window) show at once.
    f.document.moveFrame(0, 7);
    QCOMPARE(f.thumbnailPaths(), f.paths());
    f.document.exchangeFrames(1, 6);
    QCOMPARE(f.thumbnailPaths(), f.paths());
    f.document.removeFrame(2);
    QCOMPARE(f.thumbnailPaths(), f.paths());
    for (int i = 0; i < f.document.frameCount(); ++i)
        QCOMPARE(f.strip->thumbnail(i)->x(), 66 * i);
    QCOMPARE(f.strip->height(), 86);

    f.document.ResetDocument();
    QCOMPARE(f.strip->thumbnails().size(), 0);
    QCOMPARE(f.strip->height(), 72);
    QCOMPARE(f.txtCaption->toPlainText(), QString());
    QCOMPARE(f.lblFilename->text(), QString());
    QCOMPARE(f.lblSize->text(), QStringLiteral("Size :"));
    QCOMPARE(f.prompts.shown.size(), 0);
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QApplication app(argc, argv);
    TestFrameStrip test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_framestrip.moc"
