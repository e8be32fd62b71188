#include "controls/TfrmSplash.h"

#include "controls/WidgetHelpers.h"
#include "mail/MailDefaults.h"
#include "mail/TfrmEmail.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QMovie>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QSvgRenderer>
#include <QTimer>

namespace {

constexpr int PictureWidth = 471;
constexpr int PictureHeight = 285;
const QColor Navy(0, 0, 128);

QPixmap splashPicture()
{
    QPixmap picture(PictureWidth, PictureHeight);
    picture.fill(Qt::white);
    QSvgRenderer renderer(QStringLiteral(":/artwork/splash.svg"));
    QPainter painter(&picture);
    renderer.render(&painter, QRectF(0, 0, PictureWidth, PictureHeight));
    return picture;
}

// The labels' face: Arial where it is installed, else the nearest sans font, sized so
// that a line fits the labels' 14 pixels.
QFont labelFont(bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    font.setBold(bold);
    return font;
}

QLabel *makeLabel(QWidget *parent, const QRect &geometry, const QString &text, bool bold)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(labelFont(bold));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Navy);
    label->setPalette(palette);
    label->setAttribute(Qt::WA_TranslucentBackground);
    // A click on a label over the picture counts as a click on the picture.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

} // namespace

TfrmSplash::TfrmSplash(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setFixedSize(ClientWidth, ClientHeight);
    // Closing the splash before the main window exists must not end the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0x14, 0x23, 0x5a));
    setPalette(palette);
    setAutoFillBackground(true);

    Image1 = new QLabel(this);
    Image1->setGeometry(0, 0, PictureWidth, PictureHeight);
    Image1->setPixmap(splashPicture());
    Image1->installEventFilter(this);

    lblVersion = makeLabel(this, QRect(238, 130, 137, 14), QStringLiteral("Version"), true);
    lblCopyright = makeLabel(this, QRect(96, 260, 244, 14), CopyrightText(), false);
    CenterLabel(lblCopyright, CenterMode::Horizontal);
    lblCopyright->move(lblCopyright->x(), 260);

    aniEmailAFriend = new QLabel(this);
    aniEmailAFriend->setGeometry(367, 15, 86, 29);
    aniEmailAFriend->setCursor(Qt::PointingHandCursor);
    aniEmailAFriend->setToolTip(QStringLiteral("Email a friend about this program"));
    aniEmailAFriend->setAutoFillBackground(true);
    QPalette white = aniEmailAFriend->palette();
    white.setColor(QPalette::Window, Qt::white);
    aniEmailAFriend->setPalette(white);
    aniEmailAFriend->installEventFilter(this);
    aniEmailAFriend->hide();

    // Centred on the screen.
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        move(available.center() - QPoint(ClientWidth / 2, ClientHeight / 2));
    }
}

TfrmSplash::~TfrmSplash() = default;

QString TfrmSplash::DownloadAddress()
{
    return DefaultDownloadAddress();
}

EmailTexts TfrmSplash::ProductEmailTexts()
{
    return EmailTexts{ProductName(), DownloadAddress(), ShortDescription(), LongDescription()};
}

void TfrmSplash::PrepareAbout()
{
    if (!m_movie) {
        m_movie = new QMovie(QStringLiteral(":/emailavi"), QByteArray("gif"), this);
        aniEmailAFriend->setMovie(m_movie);
    }
    m_movie->start();
    aniEmailAFriend->show();
    lblVersion->setText(VersionText());
}

void TfrmSplash::PrepareStartup()
{
    aniEmailAFriend->hide();
    lblVersion->setText(VersionText());
}

void TfrmSplash::WaitPainting(TfrmSplash &splash, int milliseconds)
{
    QPointer<TfrmSplash> alive(&splash);
    QElapsedTimer elapsed;
    elapsed.start();
    // A precise timer: a coarse one may end the wait early.
    QEventLoop loop;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    while (alive && elapsed.elapsed() < milliseconds) {
        timer.start(int(milliseconds - elapsed.elapsed()));
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
}

void TfrmSplash::ShowStartupSplash(const Wait &wait)
{
    TfrmSplash splash;
    splash.setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    splash.PrepareStartup();
    splash.show();
    splash.repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (wait)
        wait(splash, StartupMilliseconds);
    else
        WaitPainting(splash, StartupMilliseconds);
}

void TfrmSplash::ShowAbout(QWidget *parent, const std::function<void(TfrmSplash &)> &beforeShow,
                           const MailServices *mail)
{
    TfrmSplash about(parent);
    about.PrepareAbout();
    if (mail) {
        // Queued, so the click is done with before the dialog's own event loop runs.
        QObject::connect(
            &about, &TfrmSplash::emailAFriendClicked, &about,
            [&about, mail] { TfrmEmail::Run(&about, *mail, ProductEmailTexts()); }, Qt::QueuedConnection);
    }
    if (beforeShow)
        beforeShow(about);
    about.exec();
}

bool TfrmSplash::handleKey(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Escape)
        return false;
    // Escape closes only the About box; the start-up splash ignores it.
    if (ShownModally() && aniEmailAFriend->isVisible())
        reject();
    return true;
}

void TfrmSplash::keyPressEvent(QKeyEvent *event)
{
    if (handleKey(event))
        event->accept();
    else
        QDialog::keyPressEvent(event);
}

bool TfrmSplash::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        return handleKey(static_cast<QKeyEvent *>(event));
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (watched == aniEmailAFriend && (mouse->button() == Qt::LeftButton || mouse->button() == Qt::RightButton)) {
            emit emailAFriendClicked();
            return true;
        }
        if (watched == Image1 && mouse->button() == Qt::LeftButton && ShownModally()
            && Image1->rect().contains(mouse->position().toPoint())) {
            accept();
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}
