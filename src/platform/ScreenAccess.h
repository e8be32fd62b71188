#pragma once

#include <QByteArray>

#include <functional>

// How this desktop lets the program read the screen: directly (X11), or only through the
// desktop portal (Wayland, where screen grabs come back black). REELCRAFT_SCREEN=x11 or
// =portal overrides what the session says.
enum class ScreenAccess { Direct, Portal };

// The choice for an environment; lookup gives a variable's value (empty when unset).
ScreenAccess ChooseScreenAccess(const std::function<QByteArray(const char *)> &lookup);
// The choice for this process's environment.
ScreenAccess CurrentScreenAccess();
