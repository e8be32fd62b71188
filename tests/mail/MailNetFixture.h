#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QUdpSocket>

// Real servers on 127.0.0.0/8 for the mail tests, each at a free port and stopped with the
// object that started it.

// dnsmasq answering only from its command line: records are --mx-host= and --host-record=
// arguments.
class DnsmasqServer
{
public:
    ~DnsmasqServer();
    bool start(const QStringList &records);
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }

private:
    QProcess m_process;
    int m_port = 0;
};

// A DNS server that never answers: a UDP socket that reads and drops every query.
class SilentDnsServer
{
public:
    SilentDnsServer();
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_socket.localPort()); }

private:
    QUdpSocket m_socket;
};

// The SMTP servers of smtp_servers.py: specs are "address=name:mode".
class SmtpServers
{
public:
    ~SmtpServers();
    bool start(const QString &folder, const QStringList &specs);
    int port() const { return m_port; }
    // The names of the servers that got a MAIL command, in order.
    QStringList log() const;
    // What the servers received, as the script's parser decoded it, and the raw bytes.
    QList<QJsonObject> messages() const;
    QByteArray raw(int number) const;

private:
    QProcess m_process;
    QString m_folder;
    int m_port = 0;
};
