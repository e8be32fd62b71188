#pragma once

#include <QProcess>
#include <QString>

// A session bus of the test's own: starts a dbus-daemon and points DBUS_SESSION_BUS_ADDRESS
// at it, so substitute editors of tests running side by side, or the desktop's own
// session, never answer for each other. Create it after the application and before the
// first use of D-Bus; child processes inherit the address.
class PrivateSessionBus
{
public:
    PrivateSessionBus();
    ~PrivateSessionBus();
    PrivateSessionBus(const PrivateSessionBus &) = delete;
    PrivateSessionBus &operator=(const PrivateSessionBus &) = delete;

    bool isRunning() const { return !m_address.isEmpty(); }
    QString address() const { return m_address; }

private:
    QProcess m_daemon;
    QString m_address;
};
