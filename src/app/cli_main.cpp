#include "output/StagedFolderWrite.h"
#include "output/cli/ReelcraftCli.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tarnwick"));
    QCoreApplication::setApplicationName(QStringLiteral("Java Reelcraft"));
    // A run ended by a signal leaves no half-made copies behind.
    RemoveStagedFilesOnTerminateSignals();
    return ReelcraftCli::Run(QCoreApplication::arguments().mid(1), stdout, stderr);
}
