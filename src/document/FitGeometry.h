#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class AnimationDocument;

// Where the web player draws pictures in the box, worked out in whole box pixels the same way
// as the player does it, so the size Fit and "make" choose is the one the show needs.
//
// With scale on and captions present, the captions take a band below the pictures and the
// pictures fit the area above it: a picture larger than the area on either axis is scaled
// down to fit it whole (proportions kept), a smaller one keeps its size. Without scale every
// picture keeps its natural size and the band is 0, as the applet draws.
namespace FitGeometry {

// The caption font size when the element names none.
constexpr int DefaultFontSize = 12;
// The box Fit chooses with scale on is never larger than this, captions' band aside.
constexpr int LargestBoxWidth = 960;
constexpr int LargestBoxHeight = 720;

// What the geometry depends on: the box, the settings and the upright picture sizes.
struct Show
{
    QSize box;
    bool scale = false;
    bool captions = false;    // the element carries "captionlist"
    int fontSize = DefaultFontSize;
    QPoint move;              // the MOVE components; only their signs matter here
    QList<QSize> sizes;       // upright natural sizes, in play order
};

// 2 * ceil(1.25 * fontSize) + 8 when scale and captions are both on; else 0.
int CaptionBand(bool scale, bool captions, int fontSize);
// The part of box the pictures fit into: the box less the band (never negative).
QSize PictureArea(QSize box, int band);
// natural fitted into area as described above; 0 x 0 when the area is empty on either axis.
// Products first, then one division and rounding half up, at least 1 pixel.
QSize FittedSize(QSize natural, QSize area);
// The per-axis maxima of sizes: the range a moving picture travels over.
QSize MovementRange(const QList<QSize> &sizes);

// Each picture's drawn rectangle at the start position, in box pixels.
QList<QRect> StartRectangles(const Show &show);
// The movement range of the show (of the drawn sizes).
QSize ShowRange(const Show &show);

// The box Fit and "make" choose without a size. With scale: the per-axis maxima of the sizes,
// fitted as one rectangle within LargestBoxWidth x LargestBoxHeight (never up), plus the band
// in height. Without scale: the per-axis maxima (the largest picture's natural size).
QSize DefaultBox(const QList<QSize> &sizes, bool scale, bool captions, int fontSize);

// The caption font size as the player reads the "fontsize" text: its whole number when above
// 0, else (empty, 0, no number) DefaultFontSize.
int PlayerFontSize(const QString &fontSizeText);

// DefaultBox for a document's frames and settings (captions as the element carries them).
QSize DefaultBoxFor(const AnimationDocument &document);

} // namespace FitGeometry
