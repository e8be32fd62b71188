#include "mail/NetMailTransport.h"

#include "mail/AresLookup.h"
#include "mail/CurlTransfer.h"
#include "mail/MailMessageText.h"
#include "mail/MailServers.h"

#include <QDateTime>

namespace {

const QString UserAgent = QStringLiteral("Tarnwick Software Email-A-Friend");

} // namespace

bool NetMailTransport::load()
{
    return AresLookup::initialise() && CurlTransfer::initialise();
}

int NetMailTransport::SmtpPort()
{
    bool ok = false;
    const int port = qEnvironmentVariableIntValue("REELCRAFT_SMTP_PORT", &ok);
    return ok && port > 0 && port < 65536 ? port : 25;
}

QByteArray NetMailTransport::fetchDocument(const QString &url, const CancelFlag &cancel)
{
    return CurlTransfer::fetch(url, UserAgent, DnsTimeoutSeconds * 1000, cancel);
}

QList<MxRecord> NetMailTransport::resolveMx(const QString &dnsServer, const QString &domain, int timeoutSeconds,
                                            const CancelFlag &cancel)
{
    return AresLookup::mailExchangers(dnsServer, domain, timeoutSeconds * 1000, cancel);
}

std::optional<QString> NetMailTransport::send(const SmtpTarget &target, const OutgoingMail &mail,
                                              const CancelFlag &cancel)
{
    CurlTransfer::SmtpSend smtp;
    smtp.host = target.host;
    smtp.port = SmtpPort();
    smtp.addresses = AresLookup::addresses(target.dnsServer, target.host, DnsTimeoutSeconds * 1000, cancel);
    smtp.from = HeaderValue(mail.fromAddress, 255);
    smtp.to = HeaderValue(mail.toAddress);
    smtp.message = MailMessageText(mail, QDateTime::currentDateTime(), NewMessageId(mail.fromAddress));
    smtp.timeoutMs = target.timeoutSeconds * 1000;
    if (cancel)
        return QString();
    return CurlTransfer::send(smtp, cancel);
}
