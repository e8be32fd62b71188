#pragma once

#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QUdpSocket>

// Real servers on 127.0.0.0/8 for the mail tests, each at a free port, stopped with the
// object that started it.
class LocalServer
{
public:
    ~LocalServer();
    int port = 0;

protected:
    // Starts program and waits until its output holds ready; false when it ends first.
    bool run(const QString &program, const QStringList &arguments, const QByteArray &ready);
    QProcess m_process;
    QByteArray m_output;
};

// dnsmasq on 127.0.0.1 with no configuration of its own, answering only from the records (--mx-host=,
// --host-record=) given on its command line.
class DnsmasqServer : public LocalServer
{
public:
    bool start(const QStringList &records);
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(port); }
};

// The servers of smtp_servers.py; specs are "address=name:mode".
class SmtpServers : public LocalServer
{
public:
    bool start(const QString &folder, const QStringList &specs);
    QStringList log() const; // names of the servers that got MAIL, in order
    QList<QJsonObject> messages() const; // what they received, decoded by Python's parser
    QByteArray raw(int number) const;

private:
    QString m_folder;
};

// A DNS server that never answers: it reads and drops every query.
class SilentDnsServer
{
public:
    SilentDnsServer();
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_socket.localPort()); }

private:
    QUdpSocket m_socket;
};
