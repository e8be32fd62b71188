#include "TestEnvironment.h"

#include <QDir>

TestEnvironment::TestEnvironment() : m_dir(QDir::tempPath() + QStringLiteral("/reelcraft-test-XXXXXX"))
{
    QDir().mkpath(configHome());
    QDir().mkpath(dataHome());
    QDir().mkpath(tempFolder());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome()));
    qputenv("TMPDIR", QFile::encodeName(tempFolder()));
    qunsetenv("REELCRAFT_MACHINE_REGISTRY");
}

TestEnvironment &TestEnvironment::instance()
{
    static TestEnvironment environment;
    return environment;
}

QString TestEnvironment::freshFolder(const QString &name) const
{
    const QString path = m_dir.path() + QLatin1Char('/') + name;
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path;
}
