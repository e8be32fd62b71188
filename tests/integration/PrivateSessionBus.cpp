#include "PrivateSessionBus.h"

#include <QtGlobal>

PrivateSessionBus::PrivateSessionBus()
{
    m_daemon.setProgram(QStringLiteral("dbus-daemon"));
    // No service folders: nothing installed (a desktop portal) takes a stand-in's name.
    m_daemon.setArguments({QStringLiteral("--config-file=" REELCRAFT_TEST_BUS_CONFIG), QStringLiteral("--nofork"),
                           QStringLiteral("--nopidfile"), QStringLiteral("--print-address=1")});
    m_daemon.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_daemon.start();
    if (!m_daemon.waitForStarted(10000)) {
        qWarning("PrivateSessionBus: dbus-daemon cannot be started: %s", qPrintable(m_daemon.errorString()));
        return;
    }
    while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead(10000)) {
    }
    m_address = QString::fromLocal8Bit(m_daemon.readLine()).trimmed();
    if (m_address.isEmpty()) {
        qWarning("PrivateSessionBus: dbus-daemon gave no address");
        return;
    }
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_address.toLocal8Bit());
}

PrivateSessionBus::~PrivateSessionBus()
{
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(5000)) {
            m_daemon.kill();
            m_daemon.waitForFinished(5000);
        }
    }
}
