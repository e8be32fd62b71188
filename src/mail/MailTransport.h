#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <optional>

// Set by the user-interface thread to stop a running look-up or send; the transport's
// calls look at it often and give up within a fraction of a second.
using CancelFlag = std::atomic<bool>;

// One mail exchanger as the DNS server gave it.
struct MxRecord
{
    int preference = 0;
    QString host;
};

// What the tell-a-friend dialog sends: one message from the sender to one friend.
struct OutgoingMail
{
    QString fromAddress;
    QString fromName;
    QString toAddress;
    QString subject;
    QString body; // lines end in CR LF
    bool html = false;
};

// What one DNS server said about a domain's mail exchangers.
struct MxLookup
{
    QList<MxRecord> records; // in the order the server gave them
    bool noRecords = false;  // the server answered that the name has no MX records
};

// One mail server and the addresses it was found at.
struct SmtpTarget
{
    QString host;
    QStringList addresses;
    int connectSeconds = 7; // for all of the host's addresses together
};

// The network underneath the tell-a-friend dialog: DNS look-ups, SMTP and one HTTP fetch.
// The calls block and are made on a worker thread, never on the user-interface thread;
// each returns soon after cancel is set.
class MailTransport
{
public:
    virtual ~MailTransport() = default;

    // Readies the network libraries; false when they cannot be used on this computer.
    virtual bool load() = 0;
    // The document at url; empty on any failure.
    virtual QByteArray fetchDocument(const QString &url, const CancelFlag &cancel) = 0;
    // The MX records of domain at one DNS server ("127.0.0.1", "127.0.0.1:5353",
    // "[::1]:5353"); no records on any failure or time-out.
    virtual MxLookup resolveMx(const QString &dnsServer, const QString &domain, int timeoutSeconds,
                               const CancelFlag &cancel) = 0;
    // The IPv4 and IPv6 addresses of host at one DNS server, IPv4 first; empty on any failure.
    virtual QStringList resolveAddresses(const QString &dnsServer, const QString &host, int timeoutSeconds,
                                         const CancelFlag &cancel) = 0;
    // Sends the message through the target; no value on success, else the error message.
    // accepted is called the moment the server has taken the message, before the goodbye.
    virtual std::optional<QString> send(const SmtpTarget &target, const OutgoingMail &mail, const CancelFlag &cancel,
                                        const std::function<void()> &accepted) = 0;
};
