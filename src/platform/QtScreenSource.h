#pragma once

#include "platform/PortalScreen.h"
#include "platform/ScreenAccess.h"
#include "platform/ScreenSource.h"

// Reads the screen with QScreen::grabWindow (works on X11). Where the screen can only be
// reached through the desktop portal (ScreenAccess), direct reads give nothing and the
// portal answers pickColour and screenshot.
class QtScreenSource : public ScreenSource
{
public:
    explicit QtScreenSource(ScreenAccess access = CurrentScreenAccess()) : m_access(access) {}

    std::optional<QColor> pixelAt(const QPoint &global) override;
    QImage grab(const QRect &global) override;
    bool readsDirectly() const override { return m_access == ScreenAccess::Direct; }
    ScreenReading pickColour() override;
    ScreenReading screenshot() override;

private:
    ScreenAccess m_access;
    PortalScreen m_portal;
};
