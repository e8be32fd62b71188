#pragma once

#include "mail/MailTransport.h"

// The real network: c-ares for the DNS look-ups at a chosen server, libcurl for SMTP and
// the HTTP fetch. SMTP goes to port 25, or to $REELCRAFT_SMTP_PORT when that is set; the
// answer to QUIT is awaited two seconds at most.
class NetMailTransport : public MailTransport
{
public:
    bool load() override;
    QByteArray fetchDocument(const QString &url, const CancelFlag &cancel) override;
    MxLookup resolveMx(const QString &dnsServer, const QString &domain, int timeoutSeconds,
                       const CancelFlag &cancel) override;
    QStringList resolveAddresses(const QString &dnsServer, const QString &host, int timeoutSeconds,
                                 const CancelFlag &cancel) override;
    std::optional<QString> send(const SmtpTarget &target, const OutgoingMail &mail, const CancelFlag &cancel,
                                const std::function<void()> &accepted) override;

    static int SmtpPort();
    // Seconds each reply of a mail server is awaited: 60, or $REELCRAFT_SMTP_REPLY_TIMEOUT.
    static int SmtpReplySeconds();
};
