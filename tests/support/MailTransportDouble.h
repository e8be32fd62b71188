#pragma once

#include "mail/MailTransport.h"

#include <QHash>
#include <QMutex>
#include <QStringList>

// Scripted network for the tell-a-friend dialog: MX records per DNS server, an answer per
// mail host, a fallback document. Records every call ("mx <server> <domain>", "send <host>
// via <server>", "fetch <url>"). A host scripted as "block" waits until the call is
// cancelled. Calls come from the dialog's worker thread.
class MailTransportDouble : public MailTransport
{
public:
    bool loads = true;
    QHash<QString, QList<MxRecord>> records;       // by DNS server
    QHash<QString, QString> failures;              // by host: the error message; "block" waits
    QByteArray document;                            // the fallback document

    QStringList calls() const;
    QList<OutgoingMail> sent() const;

    bool load() override { return loads; }
    QByteArray fetchDocument(const QString &url, const CancelFlag &cancel) override;
    QList<MxRecord> resolveMx(const QString &dnsServer, const QString &domain, int timeoutSeconds,
                              const CancelFlag &cancel) override;
    std::optional<QString> send(const SmtpTarget &target, const OutgoingMail &mail, const CancelFlag &cancel) override;

private:
    mutable QMutex m_mutex;
    QStringList m_calls;
    QList<OutgoingMail> m_sent;
};
