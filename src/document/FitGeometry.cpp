#include "document/FitGeometry.h"

#include "document/AnimationDocument.h"
#include "output/AppletTagText.h"
#include "output/AppletTagWriter.h"

#include <algorithm>
#include <cmath>

namespace FitGeometry {

namespace {

// numerator / denominator rounded half up, as the player's Math.round does; one division in
// double after exact 64-bit products, so both sides reach the same integer.
int roundedQuotient(qint64 numerator, qint64 denominator)
{
    return int(std::floor(double(numerator) / double(denominator) + 0.5));
}

// The start of one axis: centred when still (with scale), else the moving rule: 0, or the
// far end of the range when the picture moves back.
int startPosition(int component, bool scale, int area, int drawn, int range)
{
    if (component < 0)
        return area - range;
    if (component > 0 || !scale)
        return 0;
    // With scale the drawn size never exceeds the area, so this halves a non-negative number.
    const int room = area - drawn;
    return room >= 0 ? room / 2 : -((-room + 1) / 2);
}

} // namespace

int CaptionBand(bool scale, bool captions, int fontSize)
{
    if (!scale || !captions)
        return 0;
    const qint64 size = std::max(0, fontSize);
    // ceil(1.25 * size) in integers.
    return int(2 * ((5 * size + 3) / 4) + 8);
}

QSize PictureArea(QSize box, int band)
{
    return QSize(std::max(0, box.width()), std::max(0, box.height() - band));
}

QSize FittedSize(QSize natural, QSize area)
{
    if (area.width() <= 0 || area.height() <= 0)
        return QSize(0, 0);
    const qint64 w = natural.width();
    const qint64 h = natural.height();
    const qint64 aw = area.width();
    const qint64 ah = area.height();
    if (w <= aw && h <= ah)
        return natural;
    if (w * ah >= h * aw)
        return QSize(int(aw), std::max(1, roundedQuotient(h * aw, w)));
    return QSize(std::max(1, roundedQuotient(w * ah, h)), int(ah));
}

QSize MovementRange(const QList<QSize> &sizes)
{
    QSize range(0, 0);
    for (const QSize &size : sizes)
        range = range.expandedTo(size);
    return range;
}

namespace {

QList<QSize> drawnSizes(const Show &show, QSize area)
{
    QList<QSize> drawn;
    drawn.reserve(show.sizes.size());
    for (const QSize &size : show.sizes)
        drawn.append(show.scale ? FittedSize(size, area) : size);
    return drawn;
}

} // namespace

QSize ShowRange(const Show &show)
{
    const QSize area = PictureArea(show.box, CaptionBand(show.scale, show.captions, show.fontSize));
    return MovementRange(drawnSizes(show, area));
}

QList<QRect> StartRectangles(const Show &show)
{
    const QSize area = PictureArea(show.box, CaptionBand(show.scale, show.captions, show.fontSize));
    const QList<QSize> drawn = drawnSizes(show, area);
    const QSize range = MovementRange(drawn);
    QList<QRect> rectangles;
    rectangles.reserve(drawn.size());
    for (const QSize &size : drawn) {
        const int x = startPosition(show.move.x(), show.scale, area.width(), size.width(), range.width());
        const int y = startPosition(show.move.y(), show.scale, area.height(), size.height(), range.height());
        rectangles.append(QRect(QPoint(x, y), size));
    }
    return rectangles;
}

QSize DefaultBox(const QList<QSize> &sizes, bool scale, bool captions, int fontSize)
{
    const QSize largest = MovementRange(sizes);
    if (!scale)
        return largest;
    const QSize fitted = FittedSize(largest, QSize(LargestBoxWidth, LargestBoxHeight));
    return QSize(fitted.width(), fitted.height() + CaptionBand(scale, captions, fontSize));
}

int PlayerFontSize(const QString &fontSizeText)
{
    const std::optional<qint64> value = ParseIntegerText(fontSizeText);
    // The player takes a size above 0 that fits in 32 bits; anything else is the default.
    if (!value || *value <= 0 || *value >= (qint64(1) << 31))
        return DefaultFontSize;
    return int(*value);
}

QSize DefaultBoxFor(const AnimationDocument &document)
{
    QList<QSize> sizes;
    for (const AnimationFrame &frame : document.Frames())
        sizes.append(frame.PictureSize);
    return DefaultBox(sizes, document.ScaleToFit(), CaptionsAreWritten(document),
                      PlayerFontSize(document.text(TextSetting::FontSize)));
}

} // namespace FitGeometry
