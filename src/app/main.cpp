#include "app/ReelcraftApplication.h"
#include "app/TfrmReelcraft.h"

int main(int argc, char **argv)
{
    ReelcraftApplication app(argc, argv);
    TfrmReelcraft window;
    window.show();
    return app.exec();
}
