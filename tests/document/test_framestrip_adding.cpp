#include "FrameStripFixture.h"

#include "imaging/ImageDecoder.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QUrl>

namespace {

QString errorTextFor(const QString &path)
{
    return ImageDecoder().decode(path).errorText;
}

// Twelve pictures, the 4th and 9th damaged.
QStringList batchOfTwelve(const QString &prefix)
{
    QStringList files;
    for (int i = 0; i < 12; ++i) {
        const QString name = prefix + QString::number(i);
        files << ((i == 3 || i == 8) ? TestPictures::damaged(name + QStringLiteral(".jpg"))
                                     : TestPictures::jpeg(name + QStringLiteral(".jpg"), QSize(40 + i, 30 + i)));
    }
    return files;
}

bool sendFileDrop(TFrameStrip *strip, const QList<QUrl> &urls, const QPoint &point, bool *entered = nullptr)
{
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(strip->viewport(), &enter);
    if (entered)
        *entered = enter.isAccepted();
    QDropEvent drop(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(strip->viewport(), &drop);
    return drop.isAccepted();
}

} // namespace

class TestFrameStripAdding : public QObject
{
    Q_OBJECT
private slots:
    void addFrameDecodes_data();
    void addFrameDecodes();
    void addButton_data();
    void addButton();
    void fitUsesDecodedSizes();
    void droppedFilesFromFileManager_data();
    void droppedFilesFromFileManager();
    void largeBatchRunsInTheBackgroundInOrder();
    void cancelKeepsFramesAddedSoFar_data();
    void cancelKeepsFramesAddedSoFar();
    void resetCancelsTheBatch();
    void framesFromTheReaderGetTheirPictures();
};

void TestFrameStripAdding::addFrameDecodes_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("fails");
    QTest::newRow("jpeg") << TestPictures::jpeg(QStringLiteral("photo.jpg"), QSize(320, 240)) << QSize(320, 240) << false;
    QTest::newRow("gif") << TestPictures::gif(QStringLiteral("dot.gif"), QSize(20, 10)) << QSize(20, 10) << false;
    QTest::newRow("damaged") << TestPictures::damaged(QStringLiteral("broken.jpg")) << QSize(0, 0) << true;
    QTest::newRow("missing") << TestPictures::folder() + QStringLiteral("/nothing here.gif") << QSize(0, 0) << true;
    QTest::newRow("a folder") << TestPictures::folder() << QSize(0, 0) << true;
}

void TestFrameStripAdding::addFrameDecodes()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    QFETCH(bool, fails);
    FrameStripFixture f;
    f.addFrames(1);
    f.click(0);

    QCOMPARE(f.strip->AddFrame(path, QStringLiteral("given caption")), 1);

    QCOMPARE(f.prompts.messages(), fails ? QStringList{errorTextFor(path)} : QStringList());
    QVERIFY(!fails || !f.prompts.messages().constFirst().isEmpty());
    const AnimationFrame &frame = f.document.frame(1);
    QCOMPARE(frame.PicturePath, path);
    QCOMPARE(frame.CaptionText, QStringLiteral("given caption"));
    QCOMPARE(frame.PictureSize, size);
    QVERIFY(!frame.Thumbnail.isNull()); // the placeholder when it failed
    QVERIFY(!frame.Selected);
    QCOMPARE(f.selected(), QList<int>{0}); // earlier selection unchanged
    QCOMPARE(f.strip->thumbnails().size(), 2);
    QCOMPARE(f.strip->thumbnail(1)->PicturePath(), path);
    QCOMPARE(f.strip->thumbnail(1)->geometry(), QRect(66, 1, 65, 65));

    f.click(1);
    QCOMPARE(f.lblSize->text(), QStringLiteral("Image Size : %1 by %2").arg(size.width()).arg(size.height()));
}

void TestFrameStripAdding::addButton_data()
{
    QTest::addColumn<QString>("stored"); // "Open Directory" before
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<QString>("storedAfter");
    const QString folder = TestPictures::folder();
    const QStringList three{TestPictures::jpeg(QStringLiteral("one.jpg"), QSize(10, 20)),
                            TestPictures::jpeg(QStringLiteral("TWO.JPG"), QSize(30, 40)),
                            TestPictures::gif(QStringLiteral("three.gif"), QSize(8, 8))};
    QTest::newRow("three files") << "/somewhere/else/" << three << folder + u'/';
    QTest::newRow("cancelled") << "/somewhere/else/" << QStringList() << "/somewhere/else/";
    QTest::newRow("nothing stored yet") << "" << three.mid(2) << folder + u'/';
}

void TestFrameStripAdding::addButton()
{
    QFETCH(QString, stored);
    QFETCH(QStringList, chosen);
    QFETCH(QString, storedAfter);
    FrameStripFixture f;
    f.key.deleteValue(OpenDirectoryValue);
    if (!stored.isEmpty())
        f.key.writeString(OpenDirectoryValue, stored);
    if (!chosen.isEmpty())
        f.prompts.answers.enqueue(chosen);

    f.strip->btnAddClick();

    QCOMPARE(f.prompts.shown.size(), 1);
    const Prompts::FileDialog &dialog = f.prompts.shown.constFirst().dialog;
    QCOMPARE(f.prompts.shown.constFirst().what, QStringLiteral("openFiles"));
    QCOMPARE(dialog.filter, QStringLiteral("Gif and JPEG (*.gif *.jpg);;Gif (*.gif);;JPEG (*.jpg)"));
    QCOMPARE(dialog.filterIndex, 0);
    QCOMPARE(dialog.folder, stored);
    QCOMPARE(f.paths(), chosen);
    QCOMPARE(f.thumbnailPaths(), chosen);
    QCOMPARE(f.document.SelectedCount(), 0);
    QCOMPARE(f.key.readString(OpenDirectoryValue), storedAfter);
    QVERIFY(!f.strip->isAddingFrames());
    QVERIFY(QApplication::overrideCursor() == nullptr); // the busy cursor is gone
}

void TestFrameStripAdding::fitUsesDecodedSizes()
{
    FrameStripFixture f;
    f.strip->addPictureFiles({TestPictures::jpeg(QStringLiteral("wide.jpg"), QSize(300, 40)),
                              TestPictures::damaged(QStringLiteral("bad.jpg")),
                              TestPictures::jpeg(QStringLiteral("tall.jpg"), QSize(50, 220))});
    f.strip->btnFitClick();
    QCOMPARE(f.document.text(TextSetting::JavaWidth), QStringLiteral("300"));
    QCOMPARE(f.document.text(TextSetting::JavaHeight), QStringLiteral("220"));
}

void TestFrameStripAdding::droppedFilesFromFileManager_data()
{
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QStringList>("added");
    const QString a = TestPictures::jpeg(QStringLiteral("Camera.JPG"), QSize(60, 40));
    const QString b = TestPictures::gif(QStringLiteral("small.gif"), QSize(12, 12));
    const QString c = TestPictures::jpeg(QStringLiteral("long name.jpeg"), QSize(33, 44));
    const QString notes = TestPictures::folder() + QStringLiteral("/notes.txt");
    QTest::newRow("pictures among others")
        << QList<QUrl>{QUrl::fromLocalFile(a), QUrl::fromLocalFile(notes), QUrl::fromLocalFile(b),
                       QUrl(QStringLiteral("https://example.org/remote.jpg")), QUrl::fromLocalFile(c)}
        << true << QStringList{a, b, c};
    QTest::newRow("no pictures") << QList<QUrl>{QUrl::fromLocalFile(notes)} << false << QStringList();
    QTest::newRow("remote picture only") << QList<QUrl>{QUrl(QStringLiteral("https://example.org/remote.jpg"))}
                                         << false << QStringList();
}

void TestFrameStripAdding::droppedFilesFromFileManager()
{
    QFETCH(QList<QUrl>, urls);
    QFETCH(bool, accepted);
    QFETCH(QStringList, added);
    FrameStripFixture f;
    f.addFrames(2);
    f.key.writeString(OpenDirectoryValue, QStringLiteral("/before/"));

    bool entered = false;
    // Over a thumbnail or over the empty part, the pictures are appended.
    QCOMPARE(sendFileDrop(f.strip, urls, f.centreOf(0), &entered), accepted);
    QCOMPARE(entered, accepted);
    // Added once the drop is over, not inside it.
    QCOMPARE(f.document.frameCount(), 2);
    if (accepted)
        QTRY_COMPARE(f.document.frameCount(), 2 + int(added.size()));
    else
        QTest::qWait(50);
    QCOMPARE(f.paths().mid(2), added);
    QCOMPARE(f.thumbnailPaths(), f.paths());
    QCOMPARE(f.prompts.shown.size(), 0);
    QCOMPARE(f.key.readString(OpenDirectoryValue),
             accepted ? TestPictures::folder() + u'/' : QStringLiteral("/before/"));

    // A drop of plain text is not taken.
    QMimeData text;
    text.setText(QStringLiteral("/pics/a.gif"));
    QDragEnterEvent enter(QPoint(300, 30), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.strip->viewport(), &enter);
    QVERIFY(!enter.isAccepted());
}

void TestFrameStripAdding::largeBatchRunsInTheBackgroundInOrder()
{
    FrameStripFixture f;
    const QStringList files = batchOfTwelve(QStringLiteral("order"));
    QSignalSpy finished(f.strip, &TFrameStrip::addingFinished);
    int landedWithProgressShown = 0;
    connect(&f.document, &AnimationDocument::frameAdded, this, [&] {
        if (f.strip->progressDialog() && f.strip->progressDialog()->isVisible())
            ++landedWithProgressShown;
    });

    // The command returns at once; the frames land later, from the event loop.
    f.strip->addPictureFiles(files);
    QVERIFY(f.strip->isAddingFrames());
    QCOMPARE(f.document.frameCount(), 0);
    QProgressDialog *progress = f.strip->progressDialog();
    QVERIFY(progress);
    QCOMPARE(f.window.findChild<QProgressDialog *>(), progress);
    QVERIFY(progress->isVisible());
    QCOMPARE(progress->maximum(), 12);
    QCOMPARE(progress->windowModality(), Qt::WindowModal);

    QTRY_COMPARE(finished.size(), 1);
    QCOMPARE(finished.constFirst().constFirst().toBool(), false);
    QCOMPARE(landedWithProgressShown, 12);
    QCOMPARE(f.paths(), files);
    QCOMPARE(f.thumbnailPaths(), files);
    QCOMPARE(f.prompts.messages(), (QStringList{errorTextFor(files.at(3)), errorTextFor(files.at(8))}));
    QCOMPARE(f.document.frame(5).PictureSize, QSize(45, 35));
    QCOMPARE(f.document.frame(8).PictureSize, QSize(0, 0));
    QVERIFY(!f.document.frame(8).Thumbnail.isNull());
    QCOMPARE(f.strip->height(), 86);
    for (int i = 0; i < 12; ++i)
        QCOMPARE(f.strip->thumbnail(i)->x(), 66 * i);
    QVERIFY(!f.strip->isAddingFrames());
    QVERIFY(!f.strip->progressDialog());
    QTRY_VERIFY(!f.window.findChild<QProgressDialog *>());

    // The same batch dropped from the file manager lands after the first, in its order.
    QList<QUrl> urls;
    for (const QString &file : files)
        urls << QUrl::fromLocalFile(file);
    f.prompts.clear();
    QVERIFY(sendFileDrop(f.strip, urls, QPoint(200, 30)));
    QTRY_COMPARE(finished.size(), 2);
    QCOMPARE(landedWithProgressShown, 24);
    QCOMPARE(f.paths(), files + files);
    QCOMPARE(f.prompts.messages(), (QStringList{errorTextFor(files.at(3)), errorTextFor(files.at(8))}));

    // A batch of eight is added before the command returns, without a progress box.
    f.strip->addPictureFiles(files.mid(0, 8));
    QCOMPARE(f.document.frameCount(), 32);
    QVERIFY(!f.strip->isAddingFrames());
    QCOMPARE(finished.size(), 2);
    QCOMPARE(landedWithProgressShown, 24);
}

void TestFrameStripAdding::cancelKeepsFramesAddedSoFar_data()
{
    QTest::addColumn<bool>("button"); // the box's Cancel button, or QProgressDialog::cancel()
    QTest::newRow("cancel button") << true;
    QTest::newRow("cancel()") << false;
}

void TestFrameStripAdding::cancelKeepsFramesAddedSoFar()
{
    QFETCH(bool, button);
    FrameStripFixture f;
    const QStringList files = batchOfTwelve(QStringLiteral("cancel"));
    QSignalSpy finished(f.strip, &TFrameStrip::addingFinished);
    bool pressed = false;
    connect(&f.document, &AnimationDocument::frameAdded, this, [&](int index) {
        if (index != 2 || pressed)
            return;
        pressed = true;
        QProgressDialog *progress = f.window.findChild<QProgressDialog *>();
        QVERIFY(progress && progress->isVisible());
        if (button) {
            QPushButton *cancel = progress->findChild<QPushButton *>();
            QVERIFY(cancel);
            QCOMPARE(cancel->text(), QStringLiteral("Cancel"));
            QTest::mouseClick(cancel, Qt::LeftButton);
        } else {
            progress->cancel();
        }
    });

    f.strip->addPictureFiles(files);
    QTRY_COMPARE(finished.size(), 1);
    QCOMPARE(finished.constFirst().constFirst().toBool(), true);
    QVERIFY(pressed);
    QTest::qWait(200); // nothing more comes
    QCOMPARE(f.paths(), files.mid(0, 3));
    QCOMPARE(f.thumbnailPaths(), files.mid(0, 3));
    QCOMPARE(f.prompts.messages(), QStringList());
    QCOMPARE(f.strip->height(), 72);
    QVERIFY(!f.strip->isAddingFrames());
    QVERIFY(!f.strip->progressDialog());

    // The strip takes the next batch as usual.
    f.strip->addPictureFiles(files.mid(4, 2));
    QCOMPARE(f.document.frameCount(), 5);
}

void TestFrameStripAdding::resetCancelsTheBatch()
{
    FrameStripFixture f;
    const QStringList files = batchOfTwelve(QStringLiteral("reset"));
    QSignalSpy finished(f.strip, &TFrameStrip::addingFinished);
    f.strip->addPictureFiles(files);
    QVERIFY(f.strip->isAddingFrames());
    f.document.ResetDocument();
    QCOMPARE(finished.size(), 1);
    QVERIFY(!f.strip->isAddingFrames());
    QTest::qWait(200);
    QCOMPARE(f.document.frameCount(), 0);
    QCOMPARE(f.strip->thumbnails().size(), 0);
}

void TestFrameStripAdding::framesFromTheReaderGetTheirPictures()
{
    FrameStripFixture f;
    const QString good = TestPictures::jpeg(QStringLiteral("read.jpg"), QSize(77, 55));
    const QString bad = TestPictures::damaged(QStringLiteral("read-bad.jpg"));
    // The tag reader appends path and caption only; the strip decodes the pictures.
    f.document.appendFrame(good, QStringLiteral("first"));
    f.document.appendFrame(bad, QStringLiteral("second"));
    f.document.appendFrame(good, QStringLiteral("removed before decoding"));
    f.document.removeFrame(2);
    QCOMPARE(f.strip->thumbnails().size(), 2);
    QCOMPARE(f.thumbnailPaths(), (QStringList{good, bad}));

    QTRY_COMPARE(f.document.frame(0).PictureSize, QSize(77, 55));
    QTRY_COMPARE(f.prompts.messages(), QStringList{errorTextFor(bad)});
    QVERIFY(!f.document.frame(0).Thumbnail.isNull());
    QVERIFY(!f.document.frame(1).Thumbnail.isNull());
    QCOMPARE(f.document.frame(0).CaptionText, QStringLiteral("first"));
    QCOMPARE(f.document.frameCount(), 2);
    QTest::qWait(100);
    QCOMPARE(f.prompts.messages().size(), 1);
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QApplication app(argc, argv);
    TestFrameStripAdding test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_framestrip_adding.moc"
