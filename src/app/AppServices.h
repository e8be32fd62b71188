#pragma once

class HostLink;
class Prompts;
class Registry;

// The services the main window and its dialogs work through. The program passes the real
// ones; tests pass doubles.
struct AppServices
{
    Prompts &prompts;
    Registry &registry;
    HostLink &host;
};
