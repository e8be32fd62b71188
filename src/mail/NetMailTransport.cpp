#include "mail/NetMailTransport.h"

#include "mail/AresLookup.h"
#include "mail/CurlTransfer.h"
#include "mail/MailMessageText.h"
#include "mail/MailServers.h"
#include "mail/SmtpSession.h"

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

int NetMailTransport::SmtpReplySeconds()
{
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("REELCRAFT_SMTP_REPLY_TIMEOUT", &ok);
    return ok && seconds > 0 && seconds <= 60 ? seconds : 60;
}

QByteArray NetMailTransport::fetchDocument(const QString &url, const CancelFlag &cancel)
{
    return CurlTransfer::fetch(url, UserAgent, DnsTimeoutSeconds * 1000, cancel);
}

MxLookup NetMailTransport::resolveMx(const QString &dnsServer, const QString &domain, int timeoutSeconds,
                                     const CancelFlag &cancel)
{
    return AresLookup::mailExchangers(dnsServer, domain, timeoutSeconds * 1000, cancel);
}

QStringList NetMailTransport::resolveAddresses(const QString &dnsServer, const QString &host, int timeoutSeconds,
                                               const CancelFlag &cancel)
{
    return AresLookup::addresses(dnsServer, host, timeoutSeconds * 1000, cancel);
}

std::optional<QString> NetMailTransport::send(const SmtpTarget &target, const OutgoingMail &mail,
                                              const CancelFlag &cancel, const std::function<void()> &accepted)
{
    SmtpSession::Request request;
    request.host = target.host;
    request.port = SmtpPort();
    request.addresses = target.addresses;
    request.from = HeaderValue(mail.fromAddress, 255);
    request.to = HeaderValue(mail.toAddress);
    request.message = MailMessageText(mail, QDateTime::currentDateTime(), NewMessageId(mail.fromAddress));
    request.connectMs = target.connectSeconds * 1000;
    request.replyMs = SmtpReplySeconds() * 1000;
    return SmtpSession::send(request, cancel, accepted);
}
