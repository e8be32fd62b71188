#pragma once

#include "platform/ScreenSource.h"

// Reads the screen with QScreen::grabWindow (works on X11).
class QtScreenSource : public ScreenSource
{
public:
    std::optional<QColor> pixelAt(const QPoint &global) override;
    QImage grab(const QRect &global) override;
};
