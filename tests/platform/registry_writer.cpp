// registry_writer FILE PREFIX COUNT
// Waits for one line on standard input, then writes COUNT values named "PREFIX <n>" with
// the data "<n>" into key "Concurrent\Shared" of the settings file FILE, so a test can
// start two of them together. The exit status is the number of writes that failed.
#include "platform/Registry.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 4) {
        std::fprintf(stderr, "usage: registry_writer FILE PREFIX COUNT\n");
        return 100;
    }
    const int count = arguments.at(3).toInt();

    char line[16];
    if (!std::fgets(line, sizeof line, stdin))
        return 101;

    Registry registry(arguments.at(1), QString());
    int failed = 0;
    for (int n = 0; n < count; ++n) {
        const QString name = arguments.at(2) + QLatin1Char(' ') + QString::number(n);
        if (!registry.writeString(Registry::Root::CurrentUser, QStringLiteral("Concurrent\\Shared"), name,
                                  QString::number(n)))
            ++failed;
    }
    return failed > 99 ? 99 : failed;
}
