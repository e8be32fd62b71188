#pragma once

#include "document/AnimationFrame.h"

#include <QImage>
#include <QPoint>
#include <QWidget>

class AnimationDocument;

// The thumbnail of one frame: its picture stretched into a 65 x 65 square whatever its
// proportions, with the inverting selection border while the frame is selected. The frame's
// data (path, caption, picture, selection) lives in the document; the thumbnail shows the
// document's frame with its id and reports presses, clicks and the start of a drag to the strip.
//
// A drag starts in deferred mode: only once the pointer moves the drag distance with a button
// held. A left press and release without that movement, inside the thumbnail, is a click.
class TFrame : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Side = 65;

    TFrame(const AnimationDocument &document, FrameId id, QWidget *parent);

    FrameId id() const { return m_id; }
    // The frame's place in the document; -1 once the document no longer holds it.
    int index() const;
    QString PicturePath() const;
    QString CaptionText() const;
    bool Selected() const;
    // The decoded picture's own width and height.
    QSize PictureSize() const;

    // The picture as the thumbnail shows it before stretching: the frame's reduced copy, with
    // the border inverted while selected (a placeholder for a frame without a picture yet).
    QImage shownPicture() const;

    // The frame's picture or selection changed in the document.
    void refresh();

signals:
    void mousePressed(TFrame *frame, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void clicked(TFrame *frame);
    void dragRequested(TFrame *frame, QPoint hotSpot);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    const AnimationFrame *frame() const;
    QImage buildShownPicture() const;

    const AnimationDocument &m_document;
    FrameId m_id;
    mutable QImage m_shown; // cache of shownPicture(); null when it must be built again
    mutable qreal m_shownRatio = 0;

    Qt::MouseButtons m_pressedButtons;
    QPoint m_pressPosition;
    bool m_dragStarted = false;
};
