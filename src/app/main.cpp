#include "app/ReelcraftApplication.h"
#include "app/TfrmReelcraft.h"
#include "platform/NoHostLink.h"
#include "platform/QtPrompts.h"
#include "platform/Registry.h"

int main(int argc, char **argv)
{
    ReelcraftApplication app(argc, argv);
    Registry registry;
    QtPrompts prompts;
    NoHostLink host;
    TfrmReelcraft window(AppServices{prompts, registry, host});
    prompts.setParent(&window);
    window.show();
    return app.exec();
}
