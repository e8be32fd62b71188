#pragma once

#include "integration/BrowserList.h"
#include "integration/HostSession.h"
#include "platform/Registry.h"

#include "HostLinkDouble.h"
#include "ProcessLauncherDouble.h"
#include "PromptsDouble.h"

#include <QString>
#include <QStringList>

// A browser list over doubles with registry files of its own (HKEY_CURRENT_USER and
// HKEY_LOCAL_MACHINE) in a fresh folder, and PATH pointing at a fresh, empty program
// folder, so no browser of the machine is ever found.
class BrowserFixture
{
public:
    explicit BrowserFixture(const QString &name = QStringLiteral("browsers"));
    ~BrowserFixture();

    // Writes a value into the machine registry file; call before machine() is first read.
    static void writeMachineValue(const QString &folder, const QString &key, const QString &name,
                                  const QString &value);
    // A file with the given content; executable when asked.
    static QString makeFile(const QString &path, const QByteArray &content, bool executable);
    // An executable file name in the PATH folder.
    QString addToPath(const QString &name);

    QString folder;
    QString pathFolder;
    Registry registry;
    PromptsDouble prompts;
    ProcessLauncherDouble launcher;
    HostLinkDouble host;
    HostSession session;
    BrowserList list;

    QString value(const QString &browser, const QString &name) const;
    QString listValue(const QString &name) const;
    QStringList browsers() const;

private:
    QByteArray m_oldPath;
};
