#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
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

// Where and how long to try one mail server. The host's addresses are looked up at the DNS
// server that named it, never at the system resolver.
struct SmtpTarget
{
    QString host;
    QString dnsServer;
    int timeoutSeconds = 7;
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
    // "[::1]:5353"), in the order the server gave them; empty on any failure or time-out.
    virtual QList<MxRecord> resolveMx(const QString &dnsServer, const QString &domain,
                                      int timeoutSeconds, const CancelFlag &cancel) = 0;
    // Sends the message through the target; no value on success, else the error message.
    virtual std::optional<QString> send(const SmtpTarget &target, const OutgoingMail &mail,
                                        const CancelFlag &cancel) = 0;
};
