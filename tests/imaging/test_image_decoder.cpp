#include "imaging/ImageDecoder.h"
#include "imaging/StreamCompleteness.h"

#include "PromptsDouble.h"
#include "TestEnvironment.h"
#include "TestPictures.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>
#include <QTest>

#include <new>

using Failure = DecodedPicture::Failure;
Q_DECLARE_METATYPE(Failure)

namespace {

// A decoder whose reading fails with an exception, as a broken reader plug-in would.
class ThrowingDecoder : public ImageDecoder
{
protected:
    DecodedPicture decodeFile(const QString &) const override { throw std::bad_alloc(); }
};

bool isReddish(QRgb pixel)
{
    return qRed(pixel) > 180 && qGreen(pixel) < 90 && qBlue(pixel) < 90;
}

bool isBluish(QRgb pixel)
{
    return qBlue(pixel) > 180 && qRed(pixel) < 90 && qGreen(pixel) < 90;
}

} // namespace

class TestImageDecoder : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void refusedFiles_data();
    void refusedFiles();
    void goodFiles_data();
    void goodFiles();
    void photoKeepsFullSizeAndSmallCopy_data();
    void photoKeepsFullSizeAndSmallCopy();
    void orientationTurnsThePictureUpright_data();
    void orientationTurnsThePictureUpright();
    void transparentGifPartsBecomeWhite();
    void exceptionGivesLibraryText();
    void failureIsReportedInErrorBox();

    void readerFormatFromExtension_data();
    void readerFormatFromExtension();
    void keptSize_data();
    void keptSize();
    void jpegDecodeSizeIsLibraryScale_data();
    void jpegDecodeSizeIsLibraryScale();
    void jpegCompleteness_data();
    void jpegCompleteness();
    void gifCompleteness_data();
    void gifCompleteness();

private:
    QString m_folder;
    QByteArray m_cameraJpeg;
    qsizetype m_exifEnd = 0;
};

void TestImageDecoder::initTestCase()
{
    m_folder = TestEnvironment::instance().freshFolder(QStringLiteral("decoder"));
    m_cameraJpeg = TestPictures::withExifThumbnail(
        TestPictures::jpegBytes(TestPictures::twoColours(QSize(640, 480), Qt::red, Qt::blue)), &m_exifEnd);
}

// Every way a file can fail: our own text naming the file, a visible placeholder, size 0 x 0.
void TestImageDecoder::refusedFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes"); // an empty name means the path is a folder
    QTest::addColumn<bool>("create");
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<QString>("reason");

    const QString damaged = QStringLiteral("it is damaged or not a GIF or JPEG file.");
    const QByteArray gif = TestPictures::gifBytes(TestPictures::fourColourQuarters(QSize(40, 30)));
    const QByteArray jpeg = m_cameraJpeg;
    const QByteArray png = TestPictures::pngBytes(TestPictures::twoColours(QSize(40, 30), Qt::red, Qt::blue));

    QTest::newRow("missing file") << QStringLiteral("nothere.jpg") << QByteArray() << false
                                  << Failure::Missing << QStringLiteral("the file does not exist.");
    QTest::newRow("folder") << QStringLiteral("folder.gif") << QByteArray() << true << Failure::Unopenable
                            << QStringLiteral("the file cannot be opened.");
    QTest::newRow("49 bytes of a GIF") << QStringLiteral("tiny.gif") << gif.left(49) << true
                                       << Failure::TooSmall << QStringLiteral("the file is shorter than 50 bytes.");
    QTest::newRow("empty file") << QStringLiteral("empty.jpg") << QByteArray() << true << Failure::TooSmall
                                << QStringLiteral("the file is shorter than 50 bytes.");
    QTest::newRow("50 bytes of nonsense") << QStringLiteral("fifty.gif") << QByteArray(50, 'x') << true
                                          << Failure::Undecodable << damaged;
    QTest::newRow("GIF renamed .jpg") << QStringLiteral("renamed.jpg") << gif << true << Failure::Undecodable
                                      << damaged;
    QTest::newRow("JPEG renamed .gif") << QStringLiteral("renamed.gif") << jpeg << true
                                       << Failure::Undecodable << damaged;
    QTest::newRow("PNG renamed .JPEG") << QStringLiteral("renamed.JPEG") << png << true
                                       << Failure::Undecodable << damaged;
    QTest::newRow("truncated JPEG, cut in the scan") << QStringLiteral("cut.jpg") << jpeg.left(jpeg.size() * 6 / 10)
                                                     << true << Failure::Undecodable << damaged;
    QTest::newRow("truncated JPEG, end marker missing") << QStringLiteral("cut2.JPG") << jpeg.left(jpeg.size() - 2)
                                                        << true << Failure::Undecodable << damaged;
    QTest::newRow("truncated JPEG, only the Exif thumbnail is whole")
        << QStringLiteral("cut3.jpg") << jpeg.left(m_exifEnd) << true << Failure::Undecodable << damaged;
    QTest::newRow("truncated GIF, cut in the colour table") << QStringLiteral("cut.gif") << gif.left(60) << true
                                                            << Failure::Undecodable << damaged;
    QTest::newRow("truncated GIF, cut in the image data") << QStringLiteral("cut2.gif") << gif.left(gif.size() - 100)
                                                          << true << Failure::Undecodable << damaged;
    QTest::newRow("text with another extension") << QStringLiteral("notes.txt") << QByteArray(200, 'a') << true
                                                 << Failure::Undecodable << damaged;
}

void TestImageDecoder::refusedFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, create);
    QFETCH(Failure, failure);
    QFETCH(QString, reason);

    QString path = m_folder + QLatin1Char('/') + name;
    if (create && name.startsWith(u"folder"))
        QVERIFY(QDir().mkpath(path));
    else if (create)
        path = TestPictures::writeFile(m_folder, name, bytes);

    const DecodedPicture result = ImageDecoder().decode(path);
    QVERIFY(!result.ok());
    QCOMPARE(result.failure, failure);
    QCOMPARE(result.path, path);
    QCOMPARE(result.errorText, QStringLiteral("The picture ") + path + QStringLiteral(" could not be read: ") + reason);
    QCOMPARE(result.fullSize, QSize(0, 0));
    QCOMPARE(result.picture.format(), QImage::Format_RGB32);
    QCOMPARE(result.picture.size(), QSize(130, 130));
    QVERIFY(TestPictures::isVisible(result.picture));
    // Measuring refuses what decoding refuses, with the same failure and text.
    const DecodedPicture measured = ImageDecoder().measure(path);
    QCOMPARE(measured.failure, failure);
    QCOMPARE(measured.errorText, result.errorText);
}

// Files that decode, whatever the case of their extension; pixels are the picture's own.
void TestImageDecoder::goodFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("fullSize");
    QTest::addColumn<QSize>("keptSize");

    const QByteArray gif = TestPictures::gifBytes(TestPictures::fourColourQuarters(QSize(40, 30)));
    const QByteArray bigGif = TestPictures::gifBytes(TestPictures::fourColourQuarters(QSize(400, 300)));
    const QByteArray png = TestPictures::pngBytes(TestPictures::fourColourQuarters(QSize(40, 30)));
    const QByteArray jpeg = m_cameraJpeg;

    QTest::newRow("camera .JPG with Exif thumbnail") << QStringLiteral("IMG_0001.JPG") << jpeg << QSize(640, 480)
                                                     << QSize(130, 98);
    QTest::newRow(".jpeg") << QStringLiteral("photo.jpeg") << jpeg << QSize(640, 480) << QSize(130, 98);
    // Orientation 1 keeps the stored picture; the others are turned upright (below).
    QTest::newRow("phone photo with orientation 1 and GPS")
        << QStringLiteral("IMG_0002.jpg")
        << TestPictures::jpegWithOrientationAndGps(
               TestPictures::jpegBytes(TestPictures::twoColours(QSize(640, 480), Qt::red, Qt::blue)), 1)
        << QSize(640, 480) << QSize(130, 98);
    QTest::newRow("JPEG with padding after the end") << QStringLiteral("padded.jpg") << jpeg + QByteArray(300, '\0')
                                                     << QSize(640, 480) << QSize(130, 98);
    QTest::newRow("small .gif kept whole") << QStringLiteral("small.gif") << gif << QSize(40, 30) << QSize(40, 30);
    QTest::newRow(".GIF") << QStringLiteral("SMALL.GIF") << gif << QSize(40, 30) << QSize(40, 30);
    QTest::newRow("large GIF reduced") << QStringLiteral("large.gif") << bigGif << QSize(400, 300) << QSize(130, 98);
    QTest::newRow(".png chosen by content") << QStringLiteral("frame.png") << png << QSize(40, 30) << QSize(40, 30);
    QTest::newRow("GIF named .png chosen by content") << QStringLiteral("gif.png") << gif << QSize(40, 30)
                                                      << QSize(40, 30);
    QTest::newRow("no extension") << QStringLiteral("picture") << gif << QSize(40, 30) << QSize(40, 30);
}

void TestImageDecoder::goodFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, fullSize);
    QFETCH(QSize, keptSize);

    const QString path = TestPictures::writeFile(m_folder, name, bytes);
    const DecodedPicture result = ImageDecoder().decode(path);
    QVERIFY2(result.ok(), qPrintable(result.errorText));
    QCOMPARE(result.failure, Failure::None);
    QVERIFY(result.errorText.isEmpty());
    QCOMPARE(result.path, path);
    QCOMPARE(result.fullSize, fullSize);
    QCOMPARE(result.picture.size(), keptSize);
    QCOMPARE(result.picture.format(), QImage::Format_RGB32);
    const DecodedPicture measured = ImageDecoder().measure(path);
    QVERIFY(measured.ok() && measured.picture.isNull());
    QCOMPARE(measured.fullSize, fullSize);

    const QImage &picture = result.picture;
    const int w = picture.width();
    const int h = picture.height();
    if (name.contains(u"jp", Qt::CaseInsensitive) || name.startsWith(u"IMG") || name.startsWith(u"padded")) {
        QVERIFY(isReddish(picture.pixel(w / 8, h / 2)));
        QVERIFY(isBluish(picture.pixel(w - 1 - w / 8, h / 2)));
    } else {
        QCOMPARE(picture.pixel(w / 4, h / 4), qRgb(255, 0, 0));
        QCOMPARE(picture.pixel(3 * w / 4, h / 4), qRgb(0, 255, 0));
        QCOMPARE(picture.pixel(w / 4, 3 * h / 4), qRgb(0, 0, 255));
        QCOMPARE(picture.pixel(3 * w / 4, 3 * h / 4), qRgb(255, 255, 0));
    }
}

// The frame reports the picture's own size while it keeps only a small copy.
void TestImageDecoder::photoKeepsFullSizeAndSmallCopy_data()
{
    QTest::addColumn<QSize>("fullSize");
    QTest::addColumn<QSize>("keptSize");
    QTest::newRow("landscape 4000 x 3000") << QSize(4000, 3000) << QSize(130, 98);
    QTest::newRow("portrait 1200 x 1600") << QSize(1200, 1600) << QSize(98, 130);
    QTest::newRow("odd size 1001 x 333") << QSize(1001, 333) << QSize(130, 43);
}

void TestImageDecoder::photoKeepsFullSizeAndSmallCopy()
{
    QFETCH(QSize, fullSize);
    QFETCH(QSize, keptSize);
    const QString path = TestPictures::writeFile(
        m_folder, QStringLiteral("photo.JPG"),
        TestPictures::jpegBytes(TestPictures::twoColours(fullSize, Qt::red, Qt::blue), 85));
    const DecodedPicture result = ImageDecoder().decode(path);
    QVERIFY2(result.ok(), qPrintable(result.errorText));
    QCOMPARE(result.fullSize, fullSize);
    QCOMPARE(result.picture.size(), keptSize);
    QCOMPARE(result.picture.format(), QImage::Format_RGB32);
    const int w = result.picture.width();
    const int h = result.picture.height();
    QVERIFY(isReddish(result.picture.pixel(w / 8, h / 2)));
    QVERIFY(isBluish(result.picture.pixel(w - 1 - w / 8, h / 2)));
}

void TestImageDecoder::orientationTurnsThePictureUpright_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QSize>("keptBound");
    QTest::addColumn<QSize>("fullSize");
    QTest::addColumn<QSize>("keptSize");
    QTest::addColumn<QPoint>("redCorner"); // where the stored left (red) edge ends up: -1 left/top, 1 right/bottom
    // Stored 400 x 100, red on the left. A bound of 130 takes the reduced JPEG decode (at 1/2,
    // asked for in the stored orientation); 400 keeps the whole picture.
    QTest::newRow("1, reduced") << 1 << QSize(130, 130) << QSize(400, 100) << QSize(130, 33) << QPoint(-1, 0);
    QTest::newRow("3, reduced") << 3 << QSize(130, 130) << QSize(400, 100) << QSize(130, 33) << QPoint(1, 0);
    QTest::newRow("6, reduced") << 6 << QSize(130, 130) << QSize(100, 400) << QSize(33, 130) << QPoint(0, -1);
    QTest::newRow("8, reduced") << 8 << QSize(130, 130) << QSize(100, 400) << QSize(33, 130) << QPoint(0, 1);
    QTest::newRow("6, wide bound") << 6 << QSize(400, 60) << QSize(100, 400) << QSize(15, 60) << QPoint(0, -1);
    QTest::newRow("6, whole") << 6 << QSize(400, 400) << QSize(100, 400) << QSize(100, 400) << QPoint(0, -1);
}

void TestImageDecoder::orientationTurnsThePictureUpright()
{
    QFETCH(int, orientation);
    QFETCH(QSize, keptBound);
    QFETCH(QSize, fullSize);
    QFETCH(QSize, keptSize);
    QFETCH(QPoint, redCorner);
    const QByteArray bytes = TestPictures::jpegWithOrientationAndGps(
        TestPictures::jpegBytes(TestPictures::twoColours(QSize(400, 100), Qt::red, Qt::blue), 95), orientation);
    const QString path = TestPictures::writeFile(m_folder, QStringLiteral("turned.jpg"), bytes);
    const DecodedPicture result = ImageDecoder(keptBound).decode(path);
    QVERIFY2(result.ok(), qPrintable(result.errorText));
    QCOMPARE(result.fullSize, fullSize);
    QCOMPARE(ImageDecoder().measure(path).fullSize, fullSize);
    QCOMPARE(result.picture.size(), keptSize);
    // Sample a quarter in from each end of the turned axis: red at one end, blue at the other.
    const QImage &picture = result.picture;
    const QPoint middle(picture.width() / 2, picture.height() / 2);
    const QPoint step(redCorner.x() * picture.width() / 4, redCorner.y() * picture.height() / 4);
    const QColor red = picture.pixelColor(middle + step);
    const QColor blue = picture.pixelColor(middle - step);
    QVERIFY2(red.red() > 160 && red.blue() < 100, qPrintable(red.name()));
    QVERIFY2(blue.blue() > 160 && blue.red() < 100, qPrintable(blue.name()));
}

void TestImageDecoder::transparentGifPartsBecomeWhite()
{
    const QString path = TestPictures::writeFile(
        m_folder, QStringLiteral("clear.gif"),
        TestPictures::gifBytes(TestPictures::fourColourQuarters(QSize(40, 30)), 1));
    const DecodedPicture result = ImageDecoder().decode(path);
    QVERIFY2(result.ok(), qPrintable(result.errorText));
    QCOMPARE(result.picture.format(), QImage::Format_RGB32);
    QCOMPARE(result.picture.pixel(30, 5), qRgb(255, 255, 255)); // the green quarter was transparent
    QCOMPARE(result.picture.pixel(5, 5), qRgb(255, 0, 0));
}

void TestImageDecoder::exceptionGivesLibraryText()
{
    const DecodedPicture result = ThrowingDecoder().decode(QStringLiteral("/any/picture.gif"));
    QCOMPARE(result.failure, Failure::Exception);
    QCOMPARE(result.errorText,
             QStringLiteral("An exception error occured in the imagelib dll. We recommend to exit the "
                            "application and to restart it by clicking its icon!"));
    QCOMPARE(result.path, QStringLiteral("/any/picture.gif"));
    QCOMPARE(result.fullSize, QSize(0, 0));
    QVERIFY(TestPictures::isVisible(result.picture));
}

void TestImageDecoder::failureIsReportedInErrorBox()
{
    PromptsDouble prompts;
    const QString missing = m_folder + QStringLiteral("/gone.gif");
    ImageDecoder::report(ImageDecoder().decode(missing), prompts);
    const QString good = TestPictures::writeFile(
        m_folder, QStringLiteral("fine.gif"), TestPictures::gifBytes(TestPictures::fourColourQuarters(QSize(8, 8))));
    ImageDecoder::report(ImageDecoder().decode(good), prompts);

    QCOMPARE(prompts.shown.size(), 1);
    QCOMPARE(prompts.shown.at(0).what, QStringLiteral("message"));
    QCOMPARE(prompts.shown.at(0).kind, Prompts::Kind::Error);
    QCOMPARE(prompts.shown.at(0).text,
             QStringLiteral("The picture ") + missing + QStringLiteral(" could not be read: the file does not exist."));
}

void TestImageDecoder::readerFormatFromExtension_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("format");
    QTest::newRow(".gif") << QStringLiteral("/a/b.gif") << QByteArray("gif");
    QTest::newRow(".GiF") << QStringLiteral("/a/b.GiF") << QByteArray("gif");
    QTest::newRow(".jpg") << QStringLiteral("/a/b.jpg") << QByteArray("jpeg");
    QTest::newRow(".JPG") << QStringLiteral("/a/IMG_0001.JPG") << QByteArray("jpeg");
    QTest::newRow(".Jpeg") << QStringLiteral("b.Jpeg") << QByteArray("jpeg");
    QTest::newRow("last extension counts") << QStringLiteral("/a/b.gif.jpg") << QByteArray("jpeg");
    QTest::newRow(".png") << QStringLiteral("/a/b.png") << QByteArray();
    QTest::newRow(".jpe") << QStringLiteral("/a/b.jpe") << QByteArray();
    QTest::newRow("dot in folder only") << QStringLiteral("/a.gif/picture") << QByteArray();
    QTest::newRow("Windows form") << QStringLiteral("C:\\pics\\sky.GIF") << QByteArray("gif");
}

void TestImageDecoder::readerFormatFromExtension()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, format);
    QCOMPARE(ImageDecoder::readerFormatFor(path), format);
}

void TestImageDecoder::keptSize_data()
{
    QTest::addColumn<QSize>("fullSize");
    QTest::addColumn<QSize>("kept");
    QTest::newRow("4000 x 3000") << QSize(4000, 3000) << QSize(130, 98);
    QTest::newRow("3000 x 4000") << QSize(3000, 4000) << QSize(98, 130);
    QTest::newRow("fits") << QSize(100, 50) << QSize(100, 50);
    QTest::newRow("exactly the bound") << QSize(130, 130) << QSize(130, 130);
    QTest::newRow("one side over") << QSize(131, 10) << QSize(130, 10);
    QTest::newRow("thin strip keeps one row") << QSize(10000, 1) << QSize(130, 1);
}

void TestImageDecoder::keptSize()
{
    QFETCH(QSize, fullSize);
    QFETCH(QSize, kept);
    QCOMPARE(ImageDecoder::keptSizeFor(fullSize, QSize(130, 130)), kept);
}

void TestImageDecoder::jpegDecodeSizeIsLibraryScale_data()
{
    QTest::addColumn<QSize>("fullSize");
    QTest::addColumn<QSize>("decodeSize");
    QTest::newRow("photo at 1/8") << QSize(4000, 3000) << QSize(500, 375);
    QTest::newRow("1/8 too small, 1/4") << QSize(1000, 750) << QSize(250, 187);
    QTest::newRow("1/2") << QSize(300, 200) << QSize(150, 100);
    QTest::newRow("no reduction covers it") << QSize(200, 150) << QSize(200, 150);
}

void TestImageDecoder::jpegDecodeSizeIsLibraryScale()
{
    QFETCH(QSize, fullSize);
    QFETCH(QSize, decodeSize);
    const QSize kept = ImageDecoder::keptSizeFor(fullSize, QSize(130, 130));
    const QSize size = ImageDecoder::jpegDecodeSize(fullSize, kept);
    QCOMPARE(size, decodeSize);
    QVERIFY(size.width() >= kept.width() && size.height() >= kept.height());
}

void TestImageDecoder::jpegCompleteness_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("complete");
    const QByteArray plain = TestPictures::jpegBytes(TestPictures::twoColours(QSize(64, 48), Qt::red, Qt::blue));
    QImage progressiveSource = TestPictures::twoColours(QSize(64, 48), Qt::green, Qt::blue);
    QByteArray progressive;
    {
        QBuffer buffer(&progressive);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setProgressiveScanWrite(true);
        QVERIFY(writer.write(progressiveSource));
    }
    QTest::newRow("whole") << plain << true;
    QTest::newRow("progressive, whole") << progressive << true;
    QTest::newRow("progressive, cut") << progressive.left(progressive.size() - 40) << false;
    QTest::newRow("camera file") << m_cameraJpeg << true;
    QTest::newRow("stray bytes before a marker") << plain.left(2) + QByteArray("\x00\x00", 2) + plain.mid(2) << true;
    QTest::newRow("cut in a header segment") << plain.left(30) << false;
    QTest::newRow("cut just before the end") << plain.left(plain.size() - 1) << false;
    QTest::newRow("no start marker") << plain.mid(2) << false;
    QTest::newRow("too short") << QByteArray("\xFF\xD8", 2) << false;
    QTest::newRow("cut after the thumbnail") << m_cameraJpeg.left(m_exifEnd + 10) << false;
    QTest::newRow("segment longer than the file") << QByteArray("\xFF\xD8\xFF\xE0\x7F\xFF\x00\x00", 8) << false;
}

void TestImageDecoder::jpegCompleteness()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, complete);
    QCOMPARE(isCompleteJpegStream(bytes), complete);
}

void TestImageDecoder::gifCompleteness_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("complete");
    const QByteArray gif = TestPictures::gifBytes(TestPictures::fourColourQuarters(QSize(40, 30)));
    const QByteArray transparent = TestPictures::gifBytes(TestPictures::fourColourQuarters(QSize(40, 30)), 2);
    const qsizetype tableEnd = 13 + 768;
    QTest::newRow("whole") << gif << true;
    QTest::newRow("with a transparency extension") << transparent << true;
    QTest::newRow("without its trailer") << gif.left(gif.size() - 1) << true;
    QTest::newRow("cut before the block terminator") << gif.left(gif.size() - 2) << false;
    QTest::newRow("cut in the image data") << gif.left(gif.size() - 100) << false;
    QTest::newRow("cut in the extension") << transparent.left(tableEnd + 4) << false;
    QTest::newRow("cut in the colour table") << gif.left(200) << false;
    QTest::newRow("trailer and no image") << gif.left(tableEnd) + QByteArray("\x3B", 1) << false;
    QTest::newRow("not GIF") << QByteArray(100, 'G') << false;
}

void TestImageDecoder::gifCompleteness()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, complete);
    QCOMPARE(isCompleteGifImage(bytes), complete);
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QGuiApplication app(argc, argv);
    TestImageDecoder test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_image_decoder.moc"
