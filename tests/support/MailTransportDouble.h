#pragma once

#include "mail/MailTransport.h"

#include <QHash>
#include <QSet>
#include <QStringList>

// Scripted network for the tell-a-friend dialog: MX records per DNS server and an error
// message per mail host (none: the host takes the message). It notes every call as
// "mx <server> <domain>", "address <server> <host>" or "send <host>". Calls come from the dialog's worker; read the
// notes once the send has ended.
class MailTransportDouble : public MailTransport
{
public:
    bool loads = true;
    QHash<QString, QList<MxRecord>> records;
    QSet<QString> answersNoRecords; // DNS servers that say the domain has no MX records
    QSet<QString> addressless;      // hosts without addresses; others are at 192.0.2.25
    QHash<QString, QString> failures;
    QStringList calls;
    QList<OutgoingMail> sent;

    bool load() override { return loads; }
    QByteArray fetchDocument(const QString &url, const CancelFlag &) override
    {
        calls << QStringLiteral("fetch ") + url;
        return {};
    }
    MxLookup resolveMx(const QString &dnsServer, const QString &domain, int, const CancelFlag &) override
    {
        calls << QStringLiteral("mx %1 %2").arg(dnsServer, domain);
        return MxLookup{records.value(dnsServer), answersNoRecords.contains(dnsServer)};
    }
    QStringList resolveAddresses(const QString &dnsServer, const QString &host, int, const CancelFlag &) override
    {
        calls << QStringLiteral("address %1 %2").arg(dnsServer, host);
        return addressless.contains(host) ? QStringList() : QStringList{QStringLiteral("192.0.2.25")};
    }
    std::optional<QString> send(const SmtpTarget &target, const OutgoingMail &mail, const CancelFlag &,
                                const std::function<void()> &accepted) override
    {
        calls << QStringLiteral("send ") + target.host;
        if (failures.contains(target.host))
            return failures.value(target.host);
        sent << mail;
        accepted();
        return std::nullopt;
    }
};
