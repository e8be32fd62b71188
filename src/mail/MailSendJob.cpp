#include "mail/MailSendJob.h"

#include "mail/MailServers.h"

MailSendJob::MailSendJob(MailTransport &transport, const QStringList &localDnsServers, const OutgoingMail &mail,
                         QObject *parent)
    : QObject(parent), m_transport(transport), m_localDnsServers(localDnsServers), m_mail(mail)
{
}

MailSendJob::~MailSendJob()
{
    cancel();
}

QString MailSendJob::WinsockErrorText()
{
    return QStringLiteral("There was a problem with your computer's Winsock library and a connection to the "
                          "Internet could not be made.");
}

QString MailSendJob::ClipboardHintText()
{
    return QStringLiteral("You can still send the message to your friend.  Click the \"To Clipboard\" button and "
                          "the email message will be put on the clipboard.  You can then paste it into a "
                          "regular email to your friend.");
}

QString MailSendJob::DnsNotFoundText()
{
    return QStringLiteral("A DNS server cannot be found but you can still send the message to your friend.  Click "
                          "the \"To Clipboard\" button and the email message will be put on the clipboard.  "
                          "You can then paste it into a regular email to your friend.");
}

void MailSendJob::start()
{
    if (running())
        return;
    m_cancel = false;
    m_worker = std::thread([this] { run(); });
}

void MailSendJob::cancel()
{
    m_cancel = true;
    if (m_worker.joinable())
        m_worker.join();
}

void MailSendJob::run()
{
    const auto report = [this](const QString &text) {
        if (!m_cancel)
            emit status(text);
    };
    const QStringList servers = FindDnsServers(m_localDnsServers, m_transport, m_cancel);
    const MailServerSearch search = FindMailServers(m_mail.fromAddress, servers, m_transport, report, m_cancel);
    if (m_cancel)
        return;
    if (search.entries.isEmpty()) {
        emit finished(false, DnsNotFoundText());
        return;
    }
    QString error;
    for (const QString &entry : search.entries) {
        const QString host = EntryHost(entry);
        report(QStringLiteral("Sending through ") + host);
        const std::optional<QString> failure =
            m_transport.send(SmtpTarget{host, search.dnsServer, SmtpTimeoutSeconds}, m_mail, m_cancel);
        if (m_cancel)
            return;
        if (!failure) {
            emit finished(true, QString());
            return;
        }
        error = *failure + QStringLiteral("\r\n") + ClipboardHintText();
    }
    emit finished(false, error);
}
