#include "colour/TSpectrumPanel.h"

#include "colour/ColourSearch.h"
#include "colour/TTriangle.h"
#include "controls/BusyCursor.h"
#include "controls/ProgramCursors.h"

#include <QCursor>
#include <QLabel>
#include <QMouseEvent>

#include <algorithm>

TSpectrumPanel::TSpectrumPanel(QWidget *parent) : QFrame(parent)
{
    Shape4 = new QFrame(this);
    Shape4->setFrameShape(QFrame::Box);
    Shape4->setGeometry(SpectrumLeft - 1, SpectrumTop - 1, SpectrumWidth + 2, DesignedHeight + 2);
    imgSpectrum = new QLabel(this);
    imgSpectrum->setGeometry(SpectrumLeft, SpectrumTop, SpectrumWidth, DesignedHeight);
    const int greysTop = SpectrumTop + SpectrumHeight + 8;
    Shape5 = new QFrame(this);
    Shape5->setFrameShape(QFrame::Box);
    Shape5->setGeometry(SpectrumLeft - 1, greysTop - 1, GreyStripWidth + 2, GreyStripHeight + 2);
    imgGreys = new QLabel(this);
    imgGreys->setGeometry(SpectrumLeft, greysTop, GreyStripWidth, GreyStripHeight);
    for (QLabel *picture : {imgSpectrum, imgGreys}) {
        picture->setCursor(SamplingCursor());
        picture->installEventFilter(this);
    }

    triHoriz = new TTriangle(this);
    triHoriz->SetHorizontal(true);
    triHoriz->setGeometry(SpectrumLeft + SpectrumWidth / 2, SpectrumTop - 9, 17, 9);
    triVert = new TTriangle(this);
    triVert->SetHorizontal(false);
    triVert->setGeometry(SpectrumLeft - 9, SpectrumTop + DesignedHeight / 2, 9, 17);
    m_horizLow = SpectrumLeft - 17 / 2;
    m_horizHigh = SpectrumLeft + SpectrumWidth - 8 - 1;
    m_vertLow = SpectrumTop - 8;
    m_vertHigh = SpectrumTop + DesignedHeight - 8 - 1;
    for (TTriangle *triangle : {triHoriz, triVert})
        triangle->installEventFilter(this);
    // Only a release on the panel itself is a click beside the spectrum; one that ends a
    // press on a picture or a marker stays there.
    for (QWidget *child : {static_cast<QWidget *>(imgSpectrum), static_cast<QWidget *>(imgGreys),
                           static_cast<QWidget *>(triHoriz), static_cast<QWidget *>(triVert)})
        child->setAttribute(Qt::WA_NoMousePropagation);
}

void TSpectrumPanel::BuildSpectrum()
{
    m_spectrum = ::BuildSpectrum(imgSpectrum->width());
    m_greys = BuildGreyStrip(imgGreys->width(), imgGreys->height());
    imgSpectrum->resize(imgSpectrum->width(), m_spectrum.height());
    imgSpectrum->setPixmap(QPixmap::fromImage(m_spectrum));
    imgGreys->setPixmap(QPixmap::fromImage(m_greys));
    // The frame keeps surrounding the picture at its drawn height.
    Shape4->resize(Shape4->width(), m_spectrum.height() + 2);
    m_built = true;
}

void TSpectrumPanel::PlaceMarkers(int x, int y)
{
    triVert->move(triVert->x(), y + triVert->width() / 2 - 1);
    triHoriz->move(x + triHoriz->height() / 2 + 2, triHoriz->y());
}

void TSpectrumPanel::SelectSpectrumPixel(int x, int y)
{
    emit colourPicked(ReadPixel(m_spectrum, x, y));
    m_marker = QPoint(x, y);
}

bool TSpectrumPanel::ArrowKey(int key, int step)
{
    QPoint next = m_marker;
    switch (key) {
    case Qt::Key_Up: next.ry() -= step; break;
    case Qt::Key_Down: next.ry() += step; break;
    case Qt::Key_Left: next.rx() -= step; break;
    case Qt::Key_Right: next.rx() += step; break;
    default: return false;
    }
    if (next.x() >= 0 && next.x() < imgSpectrum->width() && next.y() >= 0 && next.y() < imgSpectrum->height()) {
        PlaceMarkers(next.x(), next.y());
        SelectSpectrumPixel(next.x(), next.y());
    }
    return true;
}

void TSpectrumPanel::FindInSpectrum(ColourValue colour)
{
    if (colour == ReadPixel(m_spectrum, m_marker.x(), m_marker.y()))
        return;
    const BusyCursor busy;
    const std::optional<QPoint> at = ::FindInSpectrum(m_spectrum, colour, m_marker);
    if (!at)
        return;
    PlaceMarkers(at->x(), at->y());
    SelectSpectrumPixel(at->x(), at->y());
}

void TSpectrumPanel::MarkNearest(ColourValue colour)
{
    const std::optional<QPoint> at = ::FindInSpectrum(m_spectrum, colour, m_marker);
    if (!at)
        return;
    PlaceMarkers(at->x(), at->y());
    m_marker = *at;
}

QPoint TSpectrumPanel::confine(QWidget *picture, const QPoint &point) const
{
    const QPoint inside(std::clamp(point.x(), 0, picture->width() - 1), std::clamp(point.y(), 0, picture->height() - 1));
    if (inside != point)
        QCursor::setPos(picture->mapToGlobal(inside));
    return inside;
}

bool TSpectrumPanel::pictureMouse(QWidget *picture, QMouseEvent *event)
{
    const bool spectrum = picture == imgSpectrum;
    const QPoint point = event->position().toPoint();
    if (event->type() == QEvent::MouseButtonPress && event->button() == Qt::LeftButton) {
        if (spectrum) {
            PlaceMarkers(point.x(), point.y());
            SelectSpectrumPixel(point.x(), point.y());
        } else {
            emit colourPicked(ReadPixel(m_greys, point.x(), point.y()));
        }
        return true;
    }
    if (event->type() == QEvent::MouseMove && (event->buttons() & Qt::LeftButton)) {
        const QPoint at = confine(picture, point);
        if (spectrum) {
            PlaceMarkers(at.x(), at.y());
            SelectSpectrumPixel(at.x(), at.y());
        } else {
            emit colourPicked(ReadPixel(m_greys, at.x(), at.y()));
        }
        return true;
    }
    return false;
}

bool TSpectrumPanel::triangleMouse(TTriangle *triangle, QMouseEvent *event)
{
    if (event->type() != QEvent::MouseMove || !(event->buttons() & Qt::LeftButton))
        return event->type() == QEvent::MouseButtonPress;
    const QPoint point = event->position().toPoint();
    if (triangle == triHoriz) {
        triHoriz->move(std::clamp(triHoriz->x() + point.x(), m_horizLow, m_horizHigh), triHoriz->y());
        SelectSpectrumPixel(triHoriz->x() - 17 / 2 + 2, m_marker.y());
    } else {
        triVert->move(triVert->x(), std::clamp(triVert->y() + point.y(), m_vertLow, m_vertHigh));
        SelectSpectrumPixel(m_marker.x(), triVert->y() - 17 / 2 + 5);
    }
    return true;
}

bool TSpectrumPanel::eventFilter(QObject *watched, QEvent *event)
{
    const bool mouse = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove
        || event->type() == QEvent::MouseButtonRelease;
    if (mouse && m_built) {
        auto *mouseEvent = static_cast<QMouseEvent *>(event);
        if (watched == imgSpectrum || watched == imgGreys)
            return pictureMouse(static_cast<QWidget *>(watched), mouseEvent);
        if (watched == triHoriz || watched == triVert)
            return triangleMouse(static_cast<TTriangle *>(watched), mouseEvent);
    }
    return QFrame::eventFilter(watched, event);
}

void TSpectrumPanel::mouseReleaseEvent(QMouseEvent *event)
{
    QFrame::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !m_built)
        return;
    const int x = int(event->position().x());
    const int y = int(event->position().y());
    if (y < 15 && 15 < x && x < 217) {
        triHoriz->move(x - 8, triHoriz->y());
        SelectSpectrumPixel(triHoriz->x() - 7, m_marker.y());
    } else if (x < 15 && 15 < y && y < 105) {
        triVert->move(triVert->x(), y - 8);
        SelectSpectrumPixel(m_marker.x(), triVert->y() - 7);
    }
}
