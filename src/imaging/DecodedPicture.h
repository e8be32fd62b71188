#pragma once

#include <QImage>
#include <QMetaType>
#include <QSize>
#include <QString>

// What decoding one picture file gives a frame: the picture's own pixel size, a reduced copy to
// show in the thumbnail, and, when the file could not be read, the reason and the text to show.
struct DecodedPicture
{
    enum class Failure {
        None,
        Missing,      // no file of that name
        Unopenable,   // a folder, or a file that cannot be opened
        TooSmall,     // shorter than ImageDecoder::MinimumFileSize bytes
        Undecodable,  // damaged, truncated, or not a picture the reader for its extension knows
        TooLarge,     // more pixels than the decoder's memory limit allows
        Exception     // the decoder failed with an exception
    };

    QString path;
    // Width and height of the picture in the file. 0 x 0 when it could not be read, so a frame
    // whose picture failed never counts for the largest frame side.
    QSize fullSize{0, 0};
    // Format_RGB32. The reduced copy of the picture (the whole picture when it is small), or the
    // placeholder when decoding failed, so a frame always has something visible to show.
    QImage picture;
    Failure failure = Failure::None;
    // The text of the error box; empty when decoding worked.
    QString errorText;

    bool ok() const { return failure == Failure::None; }
};

Q_DECLARE_METATYPE(DecodedPicture)
