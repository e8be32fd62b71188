#include "app/ReelcraftApplication.h"
#include "app/TfrmReelcraft.h"
#include "controls/HelpFile.h"
#include "output/ProjectFiles.h"
#include "integration/DBusHostLink.h"
#include "platform/QtHelpViewer.h"
#include "platform/QtProcessLauncher.h"
#include "platform/QtPrompts.h"
#include "platform/Registry.h"
#include "platform/TerminateSignals.h"

#include <QFileInfo>
#include <QIcon>
#include <QTimer>

int main(int argc, char **argv)
{
    ReelcraftApplication app(argc, argv);
    app.setWindowIcon(QIcon(QStringLiteral(":/icons/reelcraft.svg")));
    app.setDesktopFileName(QStringLiteral("reelcraft"));

    Registry registry;
    QtPrompts prompts;
    DBusHostLink host;
    QtHelpViewer help(HelpFilePath());
    QtProcessLauncher launcher;

    // A terminate request closes the window as the user would, so the shutdown clean-up
    // runs. One that comes during start-up (the splash) ends the program as soon as the
    // window exists.
    TerminateSignals terminate;
    TfrmReelcraft *mainWindow = nullptr;
    bool terminateDuringStartup = false;
    QObject::connect(&terminate, &TerminateSignals::terminateRequested, &app, [&](int) {
        if (mainWindow)
            mainWindow->close();
        else
            terminateDuringStartup = true;
    });

    TfrmReelcraft window(AppServices{prompts, registry, host, help, launcher});
    mainWindow = &window;
    prompts.setParent(&window);
    if (terminateDuringStartup)
        return 0;

    window.show();

    // A project or page named on the command line (a file opened from the file manager)
    // opens once the window is up, so a failure shows as any command's does.
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1) {
        // Kept with its full path, so the caption and the recent files name it wherever the
        // program runs next.
        const QString file = QFileInfo(arguments.at(1)).absoluteFilePath();
        QTimer::singleShot(0, &window, [&window, file] { window.projectFiles().OpenProject(file); });
    }
    return app.exec();
}
