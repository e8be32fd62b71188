#include "document/TFrame.h"

#include "document/AnimationDocument.h"
#include "imaging/ImageDecoder.h"
#include "imaging/SelectionBorder.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

TFrame::TFrame(const AnimationDocument &document, FrameId id, QWidget *parent)
    : QWidget(parent), m_document(document), m_id(id)
{
    setFixedSize(Side, Side);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

const AnimationFrame *TFrame::frame() const
{
    const int at = m_document.indexOf(m_id);
    return at < 0 ? nullptr : &m_document.frame(at);
}

int TFrame::index() const
{
    return m_document.indexOf(m_id);
}

QString TFrame::PicturePath() const
{
    const AnimationFrame *f = frame();
    return f ? f->PicturePath : QString();
}

QString TFrame::CaptionText() const
{
    const AnimationFrame *f = frame();
    return f ? f->CaptionText : QString();
}

bool TFrame::Selected() const
{
    const AnimationFrame *f = frame();
    return f && f->Selected;
}

QSize TFrame::PictureSize() const
{
    const AnimationFrame *f = frame();
    return f ? f->PictureSize : QSize(0, 0);
}

void TFrame::refresh()
{
    m_shown = QImage();
    update();
}

QImage TFrame::buildShownPicture() const
{
    const AnimationFrame *f = frame();
    QImage picture = f && !f->Thumbnail.isNull() ? f->Thumbnail : ImageDecoder::placeholder(QSize(Side, Side));
    if (f && f->Selected) {
        // The border is drawn on the copy as it would be on the full picture, but at least one
        // pixel of the thumbnail as the screen shows it.
        const QSize display = QSize(Side, Side) * devicePixelRatioF();
        drawSelectionBorder(picture, f->PictureSize, display);
    }
    return picture;
}

QImage TFrame::shownPicture() const
{
    if (m_shown.isNull() || m_shownRatio != devicePixelRatioF()) {
        m_shown = buildShownPicture();
        m_shownRatio = devicePixelRatioF();
    }
    return m_shown;
}

void TFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), shownPicture());
}

void TFrame::mousePressEvent(QMouseEvent *event)
{
    if (m_pressedButtons == Qt::NoButton) {
        m_pressPosition = event->position().toPoint();
        m_dragStarted = false;
    }
    m_pressedButtons |= event->button();
    emit mousePressed(this, event->button(), event->modifiers());
    event->accept();
}

void TFrame::mouseMoveEvent(QMouseEvent *event)
{
    if (m_pressedButtons == Qt::NoButton || m_dragStarted)
        return;
    if ((event->position().toPoint() - m_pressPosition).manhattanLength() < QApplication::startDragDistance())
        return;
    m_dragStarted = true;
    // The drag runs its own event loop on most platforms; the release ends it there and never
    // reaches this thumbnail, so the press is over once it returns.
    const QPointer<TFrame> alive(this);
    emit dragRequested(this, m_pressPosition);
    if (alive)
        m_pressedButtons = Qt::NoButton;
}

void TFrame::mouseReleaseEvent(QMouseEvent *event)
{
    const bool wasPressed = m_pressedButtons.testFlag(event->button());
    m_pressedButtons &= ~Qt::MouseButtons(event->button());
    event->accept();
    if (!wasPressed || m_dragStarted || event->button() != Qt::LeftButton)
        return;
    if (rect().contains(event->position().toPoint()))
        emit clicked(this);
}
