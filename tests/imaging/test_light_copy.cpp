#include "imaging/LightCopy.h"

#include "TestEnvironment.h"
#include "TestPictures.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageReader>
#include <QTest>

// A light copy is the photo as the box shows it: upright, no larger than 1.5 times the box,
// a progressive JPEG that keeps nothing of the camera's metadata.
class TestLightCopy : public QObject
{
    Q_OBJECT
private slots:
    void copies_data();
    void copies();
};

void TestLightCopy::copies_data()
{
    QTest::addColumn<QSize>("stored");
    QTest::addColumn<int>("orientation"); // 0: no metadata at all
    QTest::addColumn<QSize>("box");
    QTest::addColumn<bool>("needed");
    QTest::addColumn<QSize>("copySize");
    QTest::addColumn<QPoint>("redSide"); // where the stored left (red) half ends up
    QTest::newRow("landscape photo, 1/2 decode") << QSize(1600, 1200) << 1 << QSize(400, 300) << true
                                                  << QSize(600, 450) << QPoint(-1, 0);
    QTest::newRow("portrait phone photo turned upright") << QSize(1600, 1200) << 6 << QSize(400, 300) << true
                                                         << QSize(338, 450) << QPoint(0, -1);
    QTest::newRow("turned the other way") << QSize(1600, 1200) << 8 << QSize(960, 758) << true
                                          << QSize(853, 1137) << QPoint(0, 1);
    QTest::newRow("upside down, whole decode") << QSize(900, 200) << 3 << QSize(500, 400) << true
                                               << QSize(750, 167) << QPoint(1, 0);
    QTest::newRow("no metadata, odd box") << QSize(1000, 1000) << 0 << QSize(101, 51) << true
                                          << QSize(76, 76) << QPoint(-1, 0);
    QTest::newRow("exactly 1.5 times the box: copied as it is") << QSize(900, 600) << 1 << QSize(600, 400) << false
                                                                << QSize(900, 600) << QPoint(-1, 0);
    QTest::newRow("turned, larger only upright") << QSize(500, 100) << 6 << QSize(400, 300) << true
                                                 << QSize(90, 450) << QPoint(0, -1);
}

void TestLightCopy::copies()
{
    QFETCH(QSize, stored);
    QFETCH(int, orientation);
    QFETCH(QSize, box);
    QFETCH(bool, needed);
    QFETCH(QSize, copySize);
    QFETCH(QPoint, redSide);
    using namespace TestPictures;
    const QByteArray plain = jpegBytes(twoColours(stored, Qt::red, Qt::blue), 92);
    const QByteArray original = orientation == 0 ? plain : jpegWithOrientationAndGps(plain, orientation);
    const QString path = writeFile(TestEnvironment::instance().freshFolder(QStringLiteral("light")),
                                   QStringLiteral("photo.jpg"), original);
    const QSize upright = orientation >= 5 ? stored.transposed() : stored;
    QCOMPARE(NeedsLightCopy(upright, box), needed);
    QCOMPARE(LightCopySize(upright, box), copySize);
    QCOMPARE(LightCopyIfNeeded(path, box).has_value(), needed);

    const LightCopy copy = MakeLightCopy(path, box);
    QVERIFY2(copy.ok(), qPrintable(copy.errorText));
    QCOMPARE(copy.size, copySize);
    const QSize bound = LightCopyBound(box);
    QVERIFY(copy.size.width() <= bound.width() && copy.size.height() <= bound.height());

    // Progressive (SOF2), no Exif, XMP, Photoshop, comment or colour profile segment, and no
    // trace of the marker text those held.
    QVERIFY(copy.jpeg.contains(QByteArray("\xff\xc2", 2)));
    QVERIFY(!copy.jpeg.contains(PrivateMarker));
    for (const char *segment : {"\xff\xe1", "\xff\xe2", "\xff\xed", "\xff\xfe"})
        QVERIFY2(!copy.jpeg.contains(QByteArray(segment, 2)), segment);

    // Decoded as a browser does (upright by any orientation left): the copy's own size,
    // the red half where the photo shows it.
    QBuffer buffer(const_cast<QByteArray *>(&copy.jpeg));
    QImageReader reader(&buffer, "jpeg");
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    QCOMPARE(image.size(), copySize);
    const QPoint middle(image.width() / 2, image.height() / 2);
    const QPoint step(redSide.x() * image.width() / 4, redSide.y() * image.height() / 4);
    const QColor red = image.pixelColor(middle + step);
    const QColor blue = image.pixelColor(middle - step);
    QVERIFY2(red.red() > 160 && red.blue() < 100, qPrintable(red.name()));
    QVERIFY2(blue.blue() > 160 && blue.red() < 100, qPrintable(blue.name()));

    // A file that is no JPEG gives a reason, never a copy.
    const QString damaged = writeFile(QFileInfo(path).path(), QStringLiteral("damaged.jpg"), original.left(original.size() / 2));
    const LightCopy refused = MakeLightCopy(damaged, box);
    QVERIFY(!refused.ok());
    QVERIFY(refused.jpeg.isEmpty());
    QVERIFY(refused.errorText.contains(damaged));
    QVERIFY(!LightCopyIfNeeded(damaged, box)->ok());
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QCoreApplication app(argc, argv);
    TestLightCopy test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_light_copy.moc"
