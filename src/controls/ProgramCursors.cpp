#include "controls/ProgramCursors.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace {

constexpr int CursorSize = 32;

QCursor cursorFrom(const QString &resource, const QPoint &hotSpot, Qt::CursorShape fallback)
{
    QSvgRenderer renderer(resource);
    if (!renderer.isValid())
        return QCursor(fallback);
    QPixmap picture(CursorSize, CursorSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    renderer.render(&painter, QRectF(0, 0, CursorSize, CursorSize));
    painter.end();
    return QCursor(picture, hotSpot.x(), hotSpot.y());
}

} // namespace

QCursor SamplingCursor()
{
    return cursorFrom(QStringLiteral(":/cursors/sample.svg"), QPoint(2, 29), Qt::CrossCursor);
}

QCursor MagnifierCursor()
{
    return cursorFrom(QStringLiteral(":/cursors/magnify.svg"), QPoint(12, 12), Qt::CrossCursor);
}
