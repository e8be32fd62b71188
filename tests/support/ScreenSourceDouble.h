#pragma once

#include "platform/ScreenSource.h"

#include <QList>

// A screen made of a prepared image whose top-left pixel sits at global (0, 0). Points
// outside it cannot be read. Records every point asked for.
class ScreenSourceDouble : public ScreenSource
{
public:
    QImage screen;
    QList<QPoint> pixelRequests;
    // false: behave like a desktop reached only through the portal, answering with these.
    bool direct = true;
    ScreenReading picked;
    ScreenReading shot;
    int desktopRequests = 0;

    std::optional<QColor> pixelAt(const QPoint &global) override;
    QImage grab(const QRect &global) override;
    bool readsDirectly() const override { return direct; }
    ScreenReading pickColour() override;
    ScreenReading screenshot() override;
};
