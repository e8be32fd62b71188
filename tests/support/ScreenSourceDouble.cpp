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

ScreenReading ScreenSourceDouble::pickColour()
{
    ++desktopRequests;
    return picked;
}

ScreenReading ScreenSourceDouble::screenshot()
{
    ++desktopRequests;
    return shot;
}
