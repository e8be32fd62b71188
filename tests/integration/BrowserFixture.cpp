#include "BrowserFixture.h"

#include "TestEnvironment.h"

#include <QDir>
#include <QFile>

namespace {

QString prepared(const QString &name)
{
    return TestEnvironment::instance().freshFolder(name);
}

} // namespace

BrowserFixture::BrowserFixture(const QString &name)
    : folder(prepared(name)),
      pathFolder(folder + QStringLiteral("/bin")),
      registry(folder + QStringLiteral("/user.json"), folder + QStringLiteral("/machine.json")),
      session(host, prompts),
      list({registry, prompts, launcher, session}),
      m_oldPath(qgetenv("PATH"))
{
    QDir().mkpath(pathFolder);
    qputenv("PATH", QFile::encodeName(pathFolder));
}

BrowserFixture::~BrowserFixture()
{
    qputenv("PATH", m_oldPath);
}

void BrowserFixture::writeMachineValue(const QString &folder, const QString &key, const QString &name,
                                       const QString &value)
{
    // The machine file has the user file's form: write it as a user file.
    Registry writer(folder + QStringLiteral("/machine.json"), QString());
    writer.writeString(Registry::Root::CurrentUser, key, name, value);
}

QString BrowserFixture::makeFile(const QString &path, const QByteArray &content, bool executable)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
    file.close();
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    if (executable)
        permissions |= QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    file.setPermissions(permissions);
    return path;
}

QString BrowserFixture::addToPath(const QString &name)
{
    return makeFile(pathFolder + QLatin1Char('/') + name, "#!/bin/sh\nexit 0\n", true);
}

QString BrowserFixture::value(const QString &browser, const QString &name) const
{
    return registry.readString(Registry::Root::CurrentUser, BrowserList::DefaultRegPath + QLatin1Char('\\') + browser,
                               name);
}

QString BrowserFixture::listValue(const QString &name) const
{
    return registry.readString(Registry::Root::CurrentUser, BrowserList::DefaultRegPath, name);
}

QStringList BrowserFixture::browsers() const
{
    return registry.subkeyNames(Registry::Root::CurrentUser, BrowserList::DefaultRegPath);
}
