#include "controls/ProgramCursors.h"
#include "controls/TfrmSplash.h"

#include "TestEnvironment.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImageReader>
#include <QLabel>
#include <QMovie>
#include <QPointer>
#include <QSignalSpy>
#include <QSvgRenderer>
#include <QTest>
#include <QTimer>
#include <QScreen>

namespace {

class PaintCounter : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

} // namespace

// The splash and About window: the start-up pause, the About animation, Escape and clicks.
class TestSplash : public QObject
{
    Q_OBJECT
private slots:
    void layoutAndTexts_data();
    void layoutAndTexts();
    void pictureIsTheArtwork();
    void startupSplashWaitsWhileShown();
    void startupWaitLastsTwoSeconds();
    void aboutPlaysTheAnimation();
    void escapeAndClickRules_data();
    void escapeAndClickRules();
    void showAboutRunsUntilClosed();
    void artworkResources_data();
    void artworkResources();
    void saveScreenshots();
};

void TestSplash::layoutAndTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");

    QTest::newRow("picture") << QStringLiteral("Image1") << QRect(0, 0, 471, 285);
    QTest::newRow("version") << QStringLiteral("lblVersion") << QRect(238, 130, 137, 14);
    // Centred across the 472-pixel window at creation, top 260.
    QTest::newRow("copyright") << QStringLiteral("lblCopyright") << QRect(114, 260, 244, 14);
    QTest::newRow("animation") << QStringLiteral("aniEmailAFriend") << QRect(367, 15, 86, 29);
}

void TestSplash::layoutAndTexts()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);

    TfrmSplash splash;
    QCOMPARE(splash.size(), QSize(472, 286));
    QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
    const QMap<QString, QLabel *> controls{{QStringLiteral("Image1"), splash.Image1},
                                           {QStringLiteral("lblVersion"), splash.lblVersion},
                                           {QStringLiteral("lblCopyright"), splash.lblCopyright},
                                           {QStringLiteral("aniEmailAFriend"), splash.aniEmailAFriend}};
    QLabel *label = controls.value(name);
    QCOMPARE(label->geometry(), geometry);

    QCOMPARE(splash.lblVersion->text(), QStringLiteral("Version"));
    splash.PrepareStartup();
    QCOMPARE(splash.lblVersion->text(), QStringLiteral("Version 1.7"));
    // Every text fits its label.
    for (QLabel *text : {splash.lblVersion, splash.lblCopyright}) {
        const QFontMetrics metrics(text->font());
        QVERIFY2(metrics.horizontalAdvance(text->text()) <= text->width(), qPrintable(text->text()));
        QVERIFY(metrics.height() <= text->height());
        QCOMPARE(text->palette().color(QPalette::WindowText), QColor(0, 0, 128));
        QVERIFY(text->alignment() & Qt::AlignHCenter);
    }
    QVERIFY(splash.lblVersion->font().bold());
    QVERIFY(!splash.lblCopyright->font().bold());
    QCOMPARE(splash.aniEmailAFriend->toolTip(), QStringLiteral("Email a friend about this program"));
    QCOMPARE(splash.aniEmailAFriend->cursor().shape(), Qt::PointingHandCursor);
}

void TestSplash::pictureIsTheArtwork()
{
    TfrmSplash splash;
    const QImage picture = splash.Image1->pixmap().toImage();
    QCOMPARE(picture.size(), QSize(471, 285));
    // A pale background with the navy title drawn on it: many colours, light and dark.
    QSet<QRgb> colours;
    int dark = 0;
    for (int y = 0; y < picture.height(); y += 3) {
        for (int x = 0; x < picture.width(); x += 3) {
            const QRgb pixel = picture.pixel(x, y);
            colours.insert(pixel);
            if (qGray(pixel) < 60)
                ++dark;
        }
    }
    QVERIFY(colours.size() > 200);
    QVERIFY(dark > 500);
    QVERIFY(qGray(picture.pixel(300, 140)) > 200); // behind the version label
    QVERIFY(qGray(picture.pixel(236, 266)) > 200); // behind the copyright label
}

void TestSplash::startupSplashWaitsWhileShown()
{
    int calls = 0;
    int waited = 0;
    QPointer<TfrmSplash> seen;
    TfrmSplash::ShowStartupSplash([&](TfrmSplash &splash, int milliseconds) {
        ++calls;
        waited = milliseconds;
        seen = &splash;
        QVERIFY(splash.isVisible());
        QVERIFY(!splash.ShownModally());
        QVERIFY(!splash.aniEmailAFriend->isVisible());
        QCOMPARE(splash.lblVersion->text(), QStringLiteral("Version 1.7"));
        QVERIFY(splash.geometry().contains(QGuiApplication::primaryScreen()->availableGeometry().center()));
        // Escape and a click do nothing in the start-up use.
        QTest::keyClick(&splash, Qt::Key_Escape);
        QTest::mouseClick(splash.Image1, Qt::LeftButton, {}, QPoint(200, 100));
        QVERIFY(splash.isVisible());
    });
    QCOMPARE(calls, 1);
    QCOMPARE(waited, 2001);
    QVERIFY(seen.isNull()); // freed after the wait
}

void TestSplash::startupWaitLastsTwoSeconds()
{
    TfrmSplash splash;
    splash.PrepareStartup();
    splash.show();
    PaintCounter counter;
    splash.Image1->installEventFilter(&counter);
    splash.Image1->update();

    QElapsedTimer elapsed;
    elapsed.start();
    TfrmSplash::WaitPainting(splash, TfrmSplash::StartupMilliseconds);
    const qint64 took = elapsed.elapsed();
    QVERIFY2(took >= 2001, qPrintable(QString::number(took)));
    QVERIFY2(took < 10000, qPrintable(QString::number(took)));
    QVERIFY(counter.count > 0); // it painted while waiting
}

void TestSplash::aboutPlaysTheAnimation()
{
    TfrmSplash about;
    about.PrepareAbout();
    QMovie *movie = about.Animation();
    QVERIFY(movie);
    QVERIFY(movie->isValid());
    QCOMPARE(movie->fileName(), QStringLiteral(":/emailavi"));
    QCOMPARE(movie->state(), QMovie::Running);
    QVERIFY(movie->frameCount() > 8);
    QCOMPARE(movie->currentImage().size(), QSize(86, 29));
    QCOMPARE(about.lblVersion->text(), QStringLiteral("Version 1.7"));
    about.show();
    QVERIFY(about.aniEmailAFriend->isVisible());
    const int first = movie->currentFrameNumber();
    QTRY_VERIFY(movie->currentFrameNumber() != first);
}

void TestSplash::escapeAndClickRules_data()
{
    QTest::addColumn<bool>("about");
    QTest::addColumn<bool>("modal");
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<int>("emails");

    QTest::newRow("about: Escape closes") << true << true << QStringLiteral("escape") << true << 0;
    QTest::newRow("about: click on picture closes") << true << true << QStringLiteral("picture") << true << 0;
    QTest::newRow("about: click on the version label closes") << true << true << QStringLiteral("label") << true << 0;
    QTest::newRow("about: right click on picture stays") << true << true << QStringLiteral("picture-right") << false
                                                         << 0;
    QTest::newRow("about: click on animation asks for e-mail and stays")
        << true << true << QStringLiteral("animation") << false << 1;
    QTest::newRow("about: right click on animation too")
        << true << true << QStringLiteral("animation-right") << false << 1;
    QTest::newRow("about: other keys do nothing") << true << true << QStringLiteral("enter") << false << 0;
    QTest::newRow("modal without animation: Escape stays") << false << true << QStringLiteral("escape") << false << 0;
    QTest::newRow("modal without animation: click closes") << false << true << QStringLiteral("picture") << true << 0;
    QTest::newRow("start-up: Escape stays") << false << false << QStringLiteral("escape") << false << 0;
    QTest::newRow("start-up: click stays") << false << false << QStringLiteral("picture") << false << 0;
    QTest::newRow("about shown without modality: click stays") << true << false << QStringLiteral("picture")
                                                               << false << 0;
}

void TestSplash::escapeAndClickRules()
{
    QFETCH(bool, about);
    QFETCH(bool, modal);
    QFETCH(QString, action);
    QFETCH(bool, closed);
    QFETCH(int, emails);

    TfrmSplash splash;
    if (about)
        splash.PrepareAbout();
    else
        splash.PrepareStartup();
    QSignalSpy email(&splash, &TfrmSplash::emailAFriendClicked);
    if (modal)
        splash.open(); // modal without blocking the test
    else
        splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    QCOMPARE(splash.ShownModally(), modal);

    if (action == QLatin1String("escape"))
        QTest::keyClick(&splash, Qt::Key_Escape);
    else if (action == QLatin1String("enter"))
        QTest::keyClick(&splash, Qt::Key_Return);
    else if (action == QLatin1String("picture"))
        QTest::mouseClick(splash.Image1, Qt::LeftButton, {}, QPoint(200, 200));
    else if (action == QLatin1String("picture-right"))
        QTest::mouseClick(splash.Image1, Qt::RightButton, {}, QPoint(200, 200));
    else if (action == QLatin1String("label"))
        QTest::mouseClick(splash.windowHandle(), Qt::LeftButton, {}, splash.lblVersion->geometry().center());
    else if (action == QLatin1String("animation"))
        QTest::mouseClick(splash.aniEmailAFriend, Qt::LeftButton, {}, QPoint(40, 14));
    else if (action == QLatin1String("animation-right"))
        QTest::mouseClick(splash.aniEmailAFriend, Qt::RightButton, {}, QPoint(40, 14));
    QCoreApplication::processEvents();

    QCOMPARE(!splash.isVisible(), closed);
    QCOMPARE(int(email.count()), emails);
}

void TestSplash::showAboutRunsUntilClosed()
{
    QPointer<TfrmSplash> shown;
    bool modal = false;
    bool animated = false;
    TfrmSplash::ShowAbout(nullptr, [&](TfrmSplash &about) {
        shown = &about;
        // Once the box runs, Escape closes it.
        QTimer::singleShot(50, &about, [&] {
            modal = about.ShownModally();
            animated = about.aniEmailAFriend->isVisible();
            QTest::keyClick(&about, Qt::Key_Escape);
        });
    });
    QVERIFY(modal);
    QVERIFY(animated);
    QVERIFY(shown.isNull());
}

void TestSplash::artworkResources_data()
{
    QTest::addColumn<QString>("resource");
    QTest::addColumn<QSize>("size");

    QTest::newRow("splash") << QStringLiteral(":/artwork/splash.svg") << QSize(471, 285);
    QTest::newRow("icon") << QStringLiteral(":/icons/reelcraft.svg") << QSize(48, 48);
    QTest::newRow("sampling cursor") << QStringLiteral(":/cursors/sample.svg") << QSize(32, 32);
    QTest::newRow("magnifier cursor") << QStringLiteral(":/cursors/magnify.svg") << QSize(32, 32);
}

void TestSplash::artworkResources()
{
    QFETCH(QString, resource);
    QFETCH(QSize, size);
    QSvgRenderer renderer(resource);
    QVERIFY(renderer.isValid());
    QCOMPARE(renderer.defaultSize(), size);

    const QCursor sampling = SamplingCursor();
    QCOMPARE(sampling.hotSpot(), QPoint(2, 29));
    QCOMPARE(sampling.pixmap().size(), QSize(32, 32));
    const QCursor magnifier = MagnifierCursor();
    QCOMPARE(magnifier.hotSpot(), QPoint(12, 12));
    // The hot spots sit on the drawing: the pipette's tip, the lens's middle.
    const QImage pipette = sampling.pixmap().toImage();
    QVERIFY(qAlpha(pipette.pixel(3, 28)) > 0);
    QVERIFY(qAlpha(pipette.pixel(30, 1)) == 0);
    const QImage lens = magnifier.pixmap().toImage();
    QVERIFY(qAlpha(lens.pixel(12, 12)) > 0);
}

void TestSplash::saveScreenshots()
{
    const QString folder = qEnvironmentVariable("REELCRAFT_SHOT_DIR");
    if (folder.isEmpty())
        QSKIP("REELCRAFT_SHOT_DIR not set");
    TfrmSplash splash;
    splash.PrepareStartup();
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    QVERIFY(splash.grab().save(folder + QStringLiteral("/splash.png")));
    TfrmSplash about;
    about.PrepareAbout();
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QTest::qWait(900); // into the animation, with the letter out of the envelope
    QVERIFY(about.grab().save(folder + QStringLiteral("/about.png")));
}

int main(int argc, char **argv)
{
    TestEnvironment::instance();
    QApplication app(argc, argv);
    TestSplash test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_splash.moc"
