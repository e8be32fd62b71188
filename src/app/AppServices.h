#pragma once

#include <functional>

class HelpViewer;
class HostLink;
class MailTransport;
class ProcessLauncher;
class Prompts;
class Registry;
class ScreenSource;
class TfrmSplash;

// The services the main window and its dialogs work through. The program passes the real
// ones; tests pass doubles.
struct AppServices
{
    Prompts &prompts;
    Registry &registry;
    HostLink &host;
    HelpViewer &help;
    ProcessLauncher &launcher;
    // How the start-up splash waits; empty for the real pause while it paints. Tests pass
    // one that returns at once.
    std::function<void(TfrmSplash &splash, int milliseconds)> splashWait = {};
    // Reads the screen for the colour picker; null for the window's own Qt one.
    ScreenSource *screen = nullptr;
    // The network of the tell-a-friend dialog; empty for the real one.
    MailTransport *mail = nullptr;
};
