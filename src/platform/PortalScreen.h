#pragma once

#include "platform/ScreenSource.h"

// The desktop portal's screen access on the session bus (org.freedesktop.portal.Desktop,
// interface org.freedesktop.portal.Screenshot): PickColor lets the user pick one pixel,
// Screenshot takes the whole screen without asking. Each request answers through the
// org.freedesktop.portal.Request.Response signal on the request's handle path; the wait
// runs a local event loop. No bus, no portal, an error or no answer in time: Unavailable.
class PortalScreen
{
public:
    ScreenReading pickColour(int timeoutMs = 300000);
    // The picture is read from the file the portal names, which is then deleted.
    ScreenReading screenshot(int timeoutMs = 60000);
};
