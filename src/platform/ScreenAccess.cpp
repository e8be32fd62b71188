#include "platform/ScreenAccess.h"

#include <QtGlobal>

ScreenAccess ChooseScreenAccess(const std::function<QByteArray(const char *)> &lookup)
{
    const QByteArray forced = lookup("REELCRAFT_SCREEN").trimmed().toLower();
    if (forced == "x11")
        return ScreenAccess::Direct;
    if (forced == "portal")
        return ScreenAccess::Portal;
    if (!lookup("WAYLAND_DISPLAY").isEmpty() || lookup("XDG_SESSION_TYPE").trimmed().toLower() == "wayland")
        return ScreenAccess::Portal;
    return ScreenAccess::Direct;
}

ScreenAccess CurrentScreenAccess()
{
    return ChooseScreenAccess([](const char *name) { return qgetenv(name); });
}
