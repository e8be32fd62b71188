#include "ScreenSourceDouble.h"

std::optional<QColor> ScreenSourceDouble::pixelAt(const QPoint &global)
{
    pixelRequests.append(global);
    if (!screen.rect().contains(global))
        return std::nullopt;
    return screen.pixelColor(global);
}

QImage ScreenSourceDouble::grab(const QRect &global)
{
    return screen.copy(global);
}
