#pragma once

#include "mail/MailTransport.h"

// The real network: c-ares for the DNS look-ups at a chosen server, libcurl for SMTP and
// the HTTP fetch. SMTP goes to port 25, or to $REELCRAFT_SMTP_PORT when that is set.
class NetMailTransport : public MailTransport
{
public:
    bool load() override;
    QByteArray fetchDocument(const QString &url, const CancelFlag &cancel) override;
    QList<MxRecord> resolveMx(const QString &dnsServer, const QString &domain, int timeoutSeconds,
                              const CancelFlag &cancel) override;
    std::optional<QString> send(const SmtpTarget &target, const OutgoingMail &mail, const CancelFlag &cancel) override;

    static int SmtpPort();
};
