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

    std::optional<QColor> pixelAt(const QPoint &global) override;
    QImage grab(const QRect &global) override;
};
