#include "app/ReelcraftApplication.h"
#include "app/TfrmReelcraft.h"
#include "platform/NoHostLink.h"
#include "platform/QtPrompts.h"
#include "platform/Registry.h"
#include "platform/TerminateSignals.h"

int main(int argc, char **argv)
{
    ReelcraftApplication app(argc, argv);
    Registry registry;
    QtPrompts prompts;
    NoHostLink host;
    TfrmReelcraft window(AppServices{prompts, registry, host});
    prompts.setParent(&window);
    // A terminate request closes the window as the user would, so the shutdown clean-up runs.
    TerminateSignals terminate;
    QObject::connect(&terminate, &TerminateSignals::terminateRequested, &window, &QWidget::close);
    window.show();
    return app.exec();
}
