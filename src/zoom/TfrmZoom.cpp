#include "zoom/TfrmZoom.h"

#include "controls/FormPosition.h"
#include "controls/WindowPlaceCheck.h"
#include "controls/ProgramCursors.h"
#include "platform/Prompts.h"
#include "platform/ScreenSource.h"
#include "zoom/MagnifierRules.h"
#include "zoom/TDottedFrame.h"
#include "zoom/TFrozenScreen.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QSlider>
#include <QSvgRenderer>
#include <QTimer>
#include <QWindow>

namespace {

constexpr int ClientWidth = 203;
constexpr int ClientHeight = 172; // below the menu bar
constexpr int TrackBarWidth = 33;
const QString PositionName = QStringLiteral("Color Picker Zoom");

QImage instructionPicture(const QString &resource)
{
    QImage picture(62, 87, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    QPainter painter(&picture);
    renderer.render(&painter, QRectF(picture.rect()));
    return picture;
}

QFrame *bevel(QWidget *parent, QFrame::Shape shape)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(shape);
    line->setFrameShadow(QFrame::Raised);
    return line;
}

} // namespace

TfrmZoom::TfrmZoom(ScreenSource &screen, Prompts &prompts, QWidget *owner)
    : QDialog(owner), m_screen(screen), m_prompts(prompts), m_frame(std::make_unique<TDottedFrame>())
{
    setWindowTitle(QStringLiteral("Zoom"));
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    buildWindow();
    // Its saved place must be where it really was.
    WindowPlaceCheck::Watch(this);
    if (QScreen *primary = QGuiApplication::primaryScreen())
        move(primary->availableGeometry().center() - rect().center());
}

TfrmZoom::~TfrmZoom()
{
    restoreDefaultCursor();
}

void TfrmZoom::buildWindow()
{
    MainMenu1 = new QMenuBar(this);
    mnuHelp = MainMenu1->addMenu(QStringLiteral("&Help"));
    mnuHowToUse = mnuHelp->addAction(QStringLiteral("&How To Use"));
    connect(mnuHowToUse, &QAction::triggered, this, &TfrmZoom::mnuHowToUseClick);
    const int menuHeight = MainMenu1->sizeHint().height();
    MainMenu1->setGeometry(0, 0, ClientWidth, menuHeight);

    pnlClient = new QWidget(this);
    pnlClient->setGeometry(0, menuHeight, ClientWidth, ClientHeight);
    pnlClient->setCursor(Qt::CrossCursor);
    pnlClient->setMouseTracking(true);
    pnlClient->installEventFilter(this);

    trZoom = new QSlider(Qt::Vertical, pnlClient);
    trZoom->setRange(1, 16);
    trZoom->setValue(2);
    trZoom->setTickInterval(1);
    trZoom->setTickPosition(QSlider::TicksLeft);
    trZoom->setPageStep(1);
    trZoom->setInvertedAppearance(true); // 1 at the top
    trZoom->setGeometry(160, 4, TrackBarWidth, 150);
    connect(trZoom, &QSlider::valueChanged, this, &TfrmZoom::zoomChanged);

    lblHowTo = new QLabel(QStringLiteral("Hold the left mouse button down on this window then drag to the area you "
                                         "want to magnify"),
                          pnlClient);
    lblHowTo->setAlignment(Qt::AlignCenter);
    lblHowTo->setWordWrap(true);
    lblHowTo->setGeometry(6, 101, 150, 65);
    // Five lines of the sans font must fit the label's 65 pixels.
    QFont small = lblHowTo->font();
    small.setPointSizeF(std::min(small.pointSizeF(), 8.0));
    lblHowTo->setFont(small);
    lblHowTo->setMouseTracking(true);
    lblHowTo->installEventFilter(this);

    bvlTop = bevel(pnlClient, QFrame::HLine);
    bvlLeft = bevel(pnlClient, QFrame::VLine);
    bvlBottom = bevel(pnlClient, QFrame::HLine);
    bvlRight = bevel(pnlClient, QFrame::VLine);
    imgMouseUp = instructionPicture(QStringLiteral(":/zoom/mouseup.svg"));
    imgMouseDown = instructionPicture(QStringLiteral(":/zoom/mousedown.svg"));

    tmrRefresh = new QTimer(this);
    tmrRefresh->setInterval(200);
    connect(tmrRefresh, &QTimer::timeout, this, [this] { Magnify(-1, -1, false); });
    tmrRefresh->start();
    tmrDelayed = new QTimer(this);
    tmrDelayed->setInterval(1000);
    connect(tmrDelayed, &QTimer::timeout, this, &TfrmZoom::tmrDelayedTimer);
    tmrDelayed->start();

    resize(ClientWidth, menuHeight + ClientHeight);
    layOut();
}

void TfrmZoom::layOut()
{
    const MagnifierLayout layout = LayOutMagnifier(pnlClient->size(), TrackBarWidth);
    trZoom->setGeometry(layout.trackBar);
    bvlTop->setGeometry(layout.top);
    bvlLeft->setGeometry(layout.left);
    bvlBottom->setGeometry(layout.bottom);
    bvlRight->setGeometry(layout.right);
}

QSize TfrmZoom::ViewSize() const
{
    return MagnifierViewSize(bvlRight->x(), bvlLeft->width(), bvlBottom->y(), bvlTop->height());
}

void TfrmZoom::UseScreenshot(const QImage &picture)
{
    showFrame(false);
    m_frozen.reset();
    if (picture.isNull())
        return;
    m_frozen = std::make_unique<TFrozenScreen>(picture);
    m_frozen->show();
}

QRect TfrmZoom::screenRect() const
{
    if (m_frozen)
        return m_frozen->Area();
    QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->virtualGeometry() : QRect();
}

QImage TfrmZoom::grabSource(const QRect &copy)
{
    if (copy.width() < 1 || copy.height() < 1)
        return QImage();
    if (m_frozen)
        return m_frozen->Picture().copy(copy.translated(-m_frozen->Area().topLeft()));
    return m_screen.grab(copy);
}

// ---- Magnifying ---------------------------------------------------------------------------

void TfrmZoom::Magnify(int x, int y, bool withFrame)
{
    if (!isVisible() || !m_shown)
        return;
    if (x == -1)
        x = m_lastPoint.x();
    if (y == -1)
        y = m_lastPoint.y();
    const QPoint centre = pnlClient->mapToGlobal(QPoint(x, y));
    m_lastPoint = QPoint(x, y);
    const QSize view = ViewSize();
    const QRect source = MagnifierSource(centre, trZoom->value(), view, screenRect());
    // The window never magnifies itself; the view keeps its last picture.
    if (source.intersects(frameGeometry()))
        return;
    const QImage copy = grabSource(MagnifierCopyRect(source));
    // A screen that cannot be read leaves everything as it was.
    if (copy.isNull())
        return;
    if (withFrame)
        showFrame(false);
    // A plain pixel copy, no smoothing: the user is after single pixels.
    m_view = copy.scaled(MagnifierTargetRect(view).size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    m_sourceRect = source;
    pnlClient->update();
    if (withFrame)
        showFrame(true);
    m_hasMagnified = true;
    // The enlarged picture takes the whole view; the instructions have done their work.
    lblHowTo->hide();
}

void TfrmZoom::showFrame(bool show)
{
    // No frame over a screenshot: it would only mark the picture, not the screen.
    if (show == m_frameVisible || (show && m_frozen))
        return;
    m_frameVisible = show;
    if (show)
        m_frame->ShowAround(m_sourceRect);
    else
        m_frame->hide();
}

void TfrmZoom::paintClient()
{
    QPainter painter(pnlClient);
    if (m_hasMagnified) {
        painter.drawImage(MagnifierTargetRect(ViewSize()).topLeft(), m_view);
    } else if (m_pictureDrawn) {
        const QImage &picture = m_pictureDown ? imgMouseDown : imgMouseUp;
        painter.drawImage(bvlRight->x() / 2 - picture.width() / 2, 10, picture);
    }
}

void TfrmZoom::tmrDelayedTimer()
{
    if (m_hasMagnified) {
        showFrame(false);
        tmrDelayed->stop();
        return;
    }
    // The two instruction pictures in turn, the text below them.
    m_pictureDown = m_pictureDrawn && !m_pictureDown;
    m_pictureDrawn = true;
    const QImage &picture = m_pictureDown ? imgMouseDown : imgMouseUp;
    lblHowTo->move(bvlRight->x() / 2 - lblHowTo->width() / 2, picture.height() + 15);
    pnlClient->update();
}

void TfrmZoom::zoomChanged()
{
    Magnify(-1, -1, true);
    tmrDelayed->start();
}

// ---- The mouse ------------------------------------------------------------------------------

void TfrmZoom::setPointer(PointerKind kind)
{
    m_pointer = kind;
    switch (kind) {
    case PointerKind::Cross:
        pnlClient->setCursor(Qt::CrossCursor);
        break;
    case PointerKind::Magnifier:
        pnlClient->setCursor(MagnifierCursor());
        break;
    case PointerKind::Sampling:
        pnlClient->setCursor(SamplingCursor());
        break;
    }
}

void TfrmZoom::restoreDefaultCursor()
{
    if (m_appMagnifier)
        QApplication::restoreOverrideCursor();
    m_appMagnifier = false;
}

void TfrmZoom::mousePressed()
{
    pnlClient->grabMouse();
    tmrRefresh->stop();
    m_dragging = true;
}

void TfrmZoom::mouseMoved(const QPoint &at, Qt::MouseButtons buttons)
{
    if (m_dragging && (buttons & Qt::LeftButton)) {
        if (m_pointer != PointerKind::Magnifier) {
            if (!m_appMagnifier)
                QApplication::setOverrideCursor(MagnifierCursor());
            m_appMagnifier = true;
            setPointer(PointerKind::Magnifier);
        }
        Magnify(at.x(), at.y(), true);
        return;
    }
    if (m_hasMagnified && m_appMagnifier) {
        restoreDefaultCursor();
        setPointer(PointerKind::Sampling);
    }
    if (!pnlClient->rect().contains(at))
        return;
    const QImage pixel = pnlClient->grab(QRect(at, QSize(1, 1))).toImage();
    if (pixel.isNull())
        return;
    m_picked = QColorToColour(pixel.pixelColor(0, 0));
    emit colourPointed(m_picked);
}

void TfrmZoom::mouseReleased(const QPoint &at, Qt::MouseButton button)
{
    pnlClient->releaseMouse();
    m_dragging = false;
    tmrRefresh->start();
    showFrame(false);
    // A click: released over the surface it was pressed on.
    if (button != Qt::LeftButton || !pnlClient->rect().contains(at))
        return;
    emit colourPointed(m_picked);
    if (m_pointer == PointerKind::Sampling)
        done(QDialog::Accepted);
    else
        setPointer(PointerKind::Sampling);
}

bool TfrmZoom::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != pnlClient && watched != lblHowTo)
        return QDialog::eventFilter(watched, event);
    // The label's events count as the surface's, at the label's place.
    const QPoint offset = watched == lblHowTo ? lblHowTo->pos() : QPoint();
    switch (event->type()) {
    case QEvent::Paint:
        if (watched == pnlClient) {
            paintClient();
            return true;
        }
        break;
    case QEvent::Resize:
        if (watched == pnlClient) {
            layOut();
            Magnify(-1, -1, true);
            tmrDelayed->start();
        }
        break;
    case QEvent::MouseButtonPress:
        mousePressed();
        return true;
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        mouseMoved(mouse->position().toPoint() + offset, mouse->buttons());
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        mouseReleased(mouse->position().toPoint() + offset, mouse->button());
        return true;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmZoom::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    const int menuHeight = MainMenu1->height();
    MainMenu1->setGeometry(0, 0, width(), menuHeight);
    pnlClient->setGeometry(0, menuHeight, width(), std::max(height() - menuHeight, 0));
}

// ---- Showing, closing, keys, help ----------------------------------------------------------

void TfrmZoom::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_shown = true;
}

void TfrmZoom::closeEvent(QCloseEvent *event)
{
    restoreDefaultCursor();
    showFrame(false);
    event->accept();
    done(QDialog::Accepted);
}

void TfrmZoom::hideEvent(QHideEvent *event)
{
    restoreDefaultCursor();
    showFrame(false);
    pnlClient->releaseMouse();
    m_dragging = false;
    m_frozen.reset();
    QDialog::hideEvent(event);
}

void TfrmZoom::setVisible(bool visible)
{
    // Every way of hiding comes here. The place is read while the window is still shown,
    // when the X server can still say where the window manager's frame is.
    if (!visible && isVisible() && m_registry)
        SaveFormPosition(*m_registry, this, PositionName);
    QDialog::setVisible(visible);
}

void TfrmZoom::keyPressEvent(QKeyEvent *event)
{
    // Esc closes on its release, not through the dialog's own reject on the press.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmZoom::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && !event->isAutoRepeat()) {
        close();
        return;
    }
    QDialog::keyReleaseEvent(event);
}

QString TfrmZoom::HowToUseText()
{
    const QString twoBreaks = QStringLiteral("\r\n\r\n");
    return QStringLiteral("The Color Picker's Zoom Window allows you to magnify an area of the screen ")
        + QStringLiteral("and easily select a pixel who's color you wish to use.") + twoBreaks
        + QStringLiteral("To magnify an area of the screen simply put the cursor over the zoom window and hold "
                         "down the left mouse button ")
        + QStringLiteral("and drag the cursor to the area of interest.  Make sure you keep the button ")
        + QStringLiteral("held down while moving or the zoom window will not magnify the area you want.") + twoBreaks
        + QStringLiteral("Once you have the appropriate area visible in the zoom window let go of the mouse ")
        + QStringLiteral("button and point the mouse back at the zoom window.  Find your color and click on it - "
                         "that's all it takes !")
        + twoBreaks
        + QStringLiteral("The slider bar on the side of the zoom window controls the level of magnification.");
}

void TfrmZoom::mnuHowToUseClick()
{
    // The message would otherwise open behind this always-on-top window.
    QWindow *window = windowHandle();
    const bool onTop = window && (window->flags() & Qt::WindowStaysOnTopHint);
    if (onTop)
        window->setFlag(Qt::WindowStaysOnTopHint, false);
    m_prompts.message(HowToUseText(), Prompts::Kind::Information);
    if (onTop)
        window->setFlag(Qt::WindowStaysOnTopHint, true);
}
