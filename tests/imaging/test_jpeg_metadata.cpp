#include "imaging/JpegMetadata.h"

#include "TestPictures.h"

#include <QBuffer>
#include <QImageReader>
#include <QTest>

namespace {

// Everything from the last start-of-scan marker on (a thumbnail inside the Exif segment has
// its own): the coded pixels of a baseline picture.
QByteArray scanData(const QByteArray &jpeg)
{
    return jpeg.mid(jpeg.lastIndexOf(QByteArray("\xFF\xDA", 2)));
}

// The picture as a browser shows it: decoded with its orientation applied.
QImage upright(const QByteArray &jpeg)
{
    QBuffer buffer;
    buffer.setData(jpeg);
    QImageReader reader(&buffer, "jpeg");
    reader.setAutoTransform(true);
    return reader.read();
}

} // namespace

class TestJpegMetadata : public QObject
{
    Q_OBJECT
private slots:
    void privateDataLeavesPixelsStay_data();
    void privateDataLeavesPixelsStay();
    void brokenSegmentsAreRefused_data();
    void brokenSegmentsAreRefused();
};

void TestJpegMetadata::privateDataLeavesPixelsStay_data()
{
    QTest::addColumn<QByteArray>("jpeg");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<bool>("unchanged"); // nothing to remove: the copy is the file itself

    const QByteArray plain = TestPictures::jpegBytes(TestPictures::twoColours(QSize(64, 48), Qt::red, Qt::blue));
    QTest::newRow("no metadata") << plain << 1 << true;
    for (int orientation : {1, 3, 6, 8})
        QTest::addRow("phone photo, orientation %d", orientation)
            << TestPictures::jpegWithOrientationAndGps(plain, orientation) << orientation << false;
    QTest::newRow("camera file with a thumbnail") << TestPictures::withExifThumbnail(plain) << 1 << false;
    QTest::newRow("no JFIF segment, orientation 6")
        << TestPictures::jpegWithOrientationAndGps(QByteArray("\xFF\xD8", 2) + plain.mid(4 + ((uchar(plain.at(4)) << 8) | uchar(plain.at(5)))), 6)
        << 6 << false;
}

void TestJpegMetadata::privateDataLeavesPixelsStay()
{
    QFETCH(QByteArray, jpeg);
    QFETCH(int, orientation);
    QFETCH(bool, unchanged);

    QCOMPARE(JpegExifOrientation(jpeg), orientation);
    const std::optional<QByteArray> copy = JpegWithoutMetadata(jpeg);
    QVERIFY(copy);
    QCOMPARE(*copy == jpeg, unchanged);
    QVERIFY(!copy->contains(TestPictures::PrivateMarker));
    QVERIFY(!copy->contains("ns.adobe.com"));
    QVERIFY(!copy->contains("Photoshop"));
    // Only the orientation is written back, and only when it turns the picture.
    QCOMPARE(copy->contains(QByteArray("Exif\0\0", 6)), orientation != 1);
    QCOMPARE(JpegExifOrientation(*copy), orientation);
    QCOMPARE(scanData(*copy), scanData(jpeg));
    const QImage shown = upright(*copy);
    QVERIFY(!shown.isNull());
    QCOMPARE(shown, upright(jpeg));
    QCOMPARE(shown.size(), orientation >= 5 ? QSize(48, 64) : QSize(64, 48));
    // Once clean, always clean.
    QCOMPARE(JpegWithoutMetadata(*copy), copy);
}

void TestJpegMetadata::brokenSegmentsAreRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray photo = TestPictures::jpegWithOrientationAndGps(TestPictures::jpegOfSize(QSize(16, 16)));
    QTest::newRow("not a JPEG") << QByteArray("GIF89a and more bytes than that");
    QTest::newRow("cut inside the Exif segment") << photo.left(40);
    QTest::newRow("segment longer than the file") << QByteArray("\xFF\xD8\xFF\xE1\x7F\xFF" "Exif", 10);
    QTest::newRow("length below 2") << QByteArray("\xFF\xD8\xFF\xE1\x00\x01\xFF\xDA", 8);
    QTest::newRow("no marker after a segment") << QByteArray("\xFF\xD8\xFF\xFE\x00\x04xyQQ", 10);
}

void TestJpegMetadata::brokenSegmentsAreRefused()
{
    QFETCH(QByteArray, bytes);
    QCOMPARE(JpegWithoutMetadata(bytes), std::nullopt);
    QCOMPARE(JpegExifOrientation(bytes), 1);
}

QTEST_GUILESS_MAIN(TestJpegMetadata)
#include "test_jpeg_metadata.moc"
