#include "zoom/MagnifierRules.h"

#include <algorithm>

QSize MagnifierViewSize(int rightBevelLeft, int leftBevelWidth, int bottomBevelTop, int topBevelHeight)
{
    return QSize(rightBevelLeft - leftBevelWidth, bottomBevelTop - topBevelHeight);
}

QRect MagnifierSource(const QPoint &centre, int zoom, const QSize &view, const QRect &screen)
{
    zoom = std::max(zoom, 1);
    const int width = view.width() / zoom;
    const int height = view.height() / zoom;
    int left = std::max(screen.left(), centre.x() - width / 2);
    int top = std::max(screen.top(), centre.y() - height / 2);
    if (left + width > screen.left() + screen.width())
        left = screen.left() + screen.width() - width;
    if (top + height > screen.top() + screen.height())
        top = screen.top() + screen.height() - height;
    return QRect(left, top, width, height);
}

QRect MagnifierCopyRect(const QRect &source)
{
    return QRect(source.left() + 1, source.top() + 1, source.width() - 2, source.height() - 2);
}

QRect MagnifierTargetRect(const QSize &view)
{
    return QRect(2, 2, view.width() - 1, view.height() - 1);
}

MagnifierLayout LayOutMagnifier(const QSize &client, int trackBarWidth)
{
    MagnifierLayout layout;
    const int trackLeft = client.width() - trackBarWidth;
    layout.trackBar = QRect(trackLeft, 0, trackBarWidth, client.height());
    const int bevelWidth = std::max(trackLeft - 3, 0);
    const int bevelHeight = std::max(client.height() - 3, 0);
    layout.top = QRect(0, 0, bevelWidth, 2);
    layout.bottom = QRect(0, client.height() - 2, bevelWidth, 2);
    layout.left = QRect(0, 1, 2, bevelHeight);
    layout.right = QRect(trackLeft - 3, 1, 2, bevelHeight);
    return layout;
}
