#pragma once

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QtGlobal>

// A frame's identity for as long as the document holds it; never reused within a run.
using FrameId = quint64;

// One frame of the animation, in play order within FrameList. The picture itself is decoded
// by the strip; the record keeps its pixel size at full resolution and a reduced copy.
struct AnimationFrame
{
    FrameId Id = 0;
    QString PicturePath;  // full path of the picture file, exactly as chosen or read back
    QString CaptionText;  // one line, may be empty
    QSize PictureSize;    // width and height of the decoded picture at full size
    QImage Thumbnail;     // reduced copy of the picture for the strip; may be null
    bool Selected = false;
};

using FrameList = QList<AnimationFrame>;
