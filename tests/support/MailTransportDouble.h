#pragma once

#include "mail/MailTransport.h"

#include <QHash>
#include <QStringList>

// Scripted network for the tell-a-friend dialog: MX records per DNS server and an error
// message per mail host (none: the host takes the message). It notes every call as
// "mx <server> <domain>" or "send <host>". Calls come from the dialog's worker; read the
// notes once the send has ended.
class MailTransportDouble : public MailTransport
{
public:
    bool loads = true;
    QHash<QString, QList<MxRecord>> records;
    QHash<QString, QString> failures;
    QStringList calls;
    QList<OutgoingMail> sent;

    bool load() override { return loads; }
    QByteArray fetchDocument(const QString &url, const CancelFlag &) override
    {
        calls << QStringLiteral("fetch ") + url;
        return {};
    }
    QList<MxRecord> resolveMx(const QString &dnsServer, const QString &domain, int, const CancelFlag &) override
    {
        calls << QStringLiteral("mx %1 %2").arg(dnsServer, domain);
        return records.value(dnsServer);
    }
    std::optional<QString> send(const SmtpTarget &target, const OutgoingMail &mail, const CancelFlag &) override
    {
        calls << QStringLiteral("send ") + target.host;
        if (failures.contains(target.host))
            return failures.value(target.host);
        sent << mail;
        return std::nullopt;
    }
};
