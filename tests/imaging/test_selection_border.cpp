#include "imaging/SelectionBorder.h"

#include "TestEnvironment.h"
#include "TestPictures.h"

#include <QGuiApplication>
#include <QTest>

namespace {

// A picture in which every pixel differs from its neighbours, so any pixel left inverted (or
// inverted twice) shows.
QImage patterned(QSize size, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgba((x * 37 + y * 11) & 0xFF, (x * 5 + y * 53) & 0xFF, (x ^ y) & 0xFF,
                                       200 + (x + y) % 56));
    return image.convertToFormat(format);
}

bool inverted(QRgb before, QRgb after)
{
    return (after & 0x00FFFFFF) == (~before & 0x00FFFFFF);
}

// The stretched 65 x 65 display a thumbnail shows (nearest pixel, as a plain stretch draws).
QImage display(const QImage &picture)
{
    return picture.scaled(ThumbnailDisplaySize, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

} // namespace

class TestSelectionBorder : public QObject
{
    Q_OBJECT
private slots:
    void drawingTwiceRestoresEveryPixel_data();
    void drawingTwiceRestoresEveryPixel();
    void fullSizePictureHasPenGeometry();
    void photoBorderIsOneDisplayPixelAtLeast_data();
    void photoBorderIsOneDisplayPixelAtLeast();
    void bandsFollowFullPictureScale_data();
    void bandsFollowFullPictureScale();
    void alphaIsKept();
};

void TestSelectionBorder::drawingTwiceRestoresEveryPixel_data()
{
    QTest::addColumn<QSize>("pictureSize");
    QTest::addColumn<QSize>("fullSize");
    QTest::addColumn<int>("format");
    QTest::newRow("small picture kept whole") << QSize(40, 30) << QSize(40, 30) << int(QImage::Format_RGB32);
    QTest::newRow("copy of a 4000 x 3000 photo") << QSize(130, 98) << QSize(4000, 3000) << int(QImage::Format_RGB32);
    QTest::newRow("portrait copy") << QSize(98, 130) << QSize(3000, 4000) << int(QImage::Format_RGB32);
    QTest::newRow("bands overlap") << QSize(3, 2) << QSize(3, 2) << int(QImage::Format_RGB32);
    QTest::newRow("one pixel") << QSize(1, 1) << QSize(1, 1) << int(QImage::Format_RGB32);
    QTest::newRow("placeholder without full size") << QSize(130, 130) << QSize(0, 0) << int(QImage::Format_RGB32);
    QTest::newRow("ARGB32") << QSize(65, 65) << QSize(650, 650) << int(QImage::Format_ARGB32);
}

void TestSelectionBorder::drawingTwiceRestoresEveryPixel()
{
    QFETCH(QSize, pictureSize);
    QFETCH(QSize, fullSize);
    QFETCH(int, format);
    const QImage original = patterned(pictureSize, QImage::Format(format));
    QImage picture = original;
    drawSelectionBorder(picture, fullSize);
    QVERIFY(picture != original);
    // Every pixel is either untouched or inverted exactly once.
    for (int y = 0; y < pictureSize.height(); ++y)
        for (int x = 0; x < pictureSize.width(); ++x) {
            const QRgb before = original.pixel(x, y);
            const QRgb after = picture.pixel(x, y);
            QVERIFY2(after == before || inverted(before, after), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
    QVERIFY(inverted(original.pixel(0, 0), picture.pixel(0, 0))); // a corner, not inverted twice
    const int right = pictureSize.width() - 1;
    const int bottom = pictureSize.height() - 1;
    QVERIFY(inverted(original.pixel(right, bottom), picture.pixel(right, bottom)));
    QVERIFY(inverted(original.pixel(right, 0), picture.pixel(right, 0)));
    QVERIFY(inverted(original.pixel(0, bottom), picture.pixel(0, bottom)));

    drawSelectionBorder(picture, fullSize);
    QCOMPARE(picture, original);
}

// On a picture kept at full size the border covers exactly what the 5-pixel pen covers:
// rows and columns 0-3 at the top and left, the last 2 at the bottom and right.
void TestSelectionBorder::fullSizePictureHasPenGeometry()
{
    const QImage original = patterned(QSize(20, 12));
    QImage picture = original;
    drawSelectionBorder(picture, QSize(20, 12));
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inBorder = y < 4 || y >= 10 || x < 4 || x >= 18;
            const bool flipped = inverted(original.pixel(x, y), picture.pixel(x, y));
            QVERIFY2(flipped == inBorder, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
}

// A photo's border is thin on the full picture, yet shows as at least one pixel on every side
// of the stretched 65 x 65 display, while the inside stays as it was.
void TestSelectionBorder::photoBorderIsOneDisplayPixelAtLeast_data()
{
    QTest::addColumn<QSize>("pictureSize");
    QTest::addColumn<QSize>("fullSize");
    QTest::newRow("4000 x 3000") << QSize(130, 98) << QSize(4000, 3000);
    QTest::newRow("3000 x 4000") << QSize(98, 130) << QSize(3000, 4000);
    QTest::newRow("copy of 100 x 100 from 8000 x 8000") << QSize(100, 100) << QSize(8000, 8000);
    QTest::newRow("thin strip 4000 x 40") << QSize(130, 1) << QSize(4000, 40);
}

void TestSelectionBorder::photoBorderIsOneDisplayPixelAtLeast()
{
    QFETCH(QSize, pictureSize);
    QFETCH(QSize, fullSize);
    const QImage original = patterned(pictureSize);
    QImage picture = original;
    drawSelectionBorder(picture, fullSize);
    const QImage before = display(original);
    const QImage after = display(picture);
    const int last = ThumbnailDisplaySize.width() - 1;
    for (int i = 0; i <= last; ++i) {
        QVERIFY2(inverted(before.pixel(i, 0), after.pixel(i, 0)), "top");
        QVERIFY2(inverted(before.pixel(i, last), after.pixel(i, last)), "bottom");
        QVERIFY2(inverted(before.pixel(0, i), after.pixel(0, i)), "left");
        QVERIFY2(inverted(before.pixel(last, i), after.pixel(last, i)), "right");
    }
    if (pictureSize.height() > 4) {
        QCOMPARE(after.pixel(32, 32), before.pixel(32, 32));
        QCOMPARE(after.pixel(2, 32), before.pixel(2, 32));
        QCOMPARE(after.pixel(32, 2), before.pixel(32, 2));
    }
}

void TestSelectionBorder::bandsFollowFullPictureScale_data()
{
    QTest::addColumn<QSize>("pictureSize");
    QTest::addColumn<QSize>("fullSize");
    QTest::addColumn<QSize>("displaySize");
    QTest::addColumn<QList<int>>("bands"); // top, bottom, left, right

    QTest::newRow("kept whole") << QSize(40, 30) << QSize(40, 30) << QSize(65, 65) << QList<int>{4, 2, 4, 2};
    QTest::newRow("half size") << QSize(100, 60) << QSize(200, 120) << QSize(65, 65) << QList<int>{2, 1, 2, 2};
    QTest::newRow("photo, 65 display") << QSize(130, 98) << QSize(4000, 3000) << QSize(65, 65)
                                       << QList<int>{2, 2, 2, 2};
    QTest::newRow("photo, 130 display (2x screen)") << QSize(130, 98) << QSize(4000, 3000) << QSize(130, 130)
                                                    << QList<int>{1, 1, 1, 1};
    QTest::newRow("no full size: the copy is the picture") << QSize(20, 20) << QSize(0, 0) << QSize(65, 65)
                                                           << QList<int>{4, 2, 4, 2};
    QTest::newRow("tiny picture, bands clipped") << QSize(3, 2) << QSize(3, 2) << QSize(65, 65)
                                                 << QList<int>{2, 2, 3, 2};
}

void TestSelectionBorder::bandsFollowFullPictureScale()
{
    QFETCH(QSize, pictureSize);
    QFETCH(QSize, fullSize);
    QFETCH(QSize, displaySize);
    QFETCH(QList<int>, bands);
    const SelectionBorderBands got = selectionBorderBands(pictureSize, fullSize, displaySize);
    QCOMPARE((QList<int>{got.top, got.bottom, got.left, got.right}), bands);
}

void TestSelectionBorder::alphaIsKept()
{
    const QImage original = patterned(QSize(10, 10), QImage::Format_ARGB32);
    QImage picture = original;
    drawSelectionBorder(picture, QSize(10, 10));
    QCOMPARE(picture.format(), QImage::Format_ARGB32);
    QCOMPARE(qAlpha(picture.pixel(0, 0)), qAlpha(original.pixel(0, 0)));
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QGuiApplication app(argc, argv);
    TestSelectionBorder test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_selection_border.moc"
