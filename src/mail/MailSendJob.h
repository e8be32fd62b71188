#pragma once

#include "mail/MailTransport.h"

#include <QObject>
#include <QStringList>

#include <memory>

// The network part of a send, on a worker thread so the dialog stays responsive: find the
// DNS servers (the computer's own, else the fallback document), the mail servers of the
// sender's domain, and send through them in order until one takes the message. Its
// signals arrive on the thread that made the job. Nothing ever waits for the worker on
// that thread: a cancelled worker ends on its own soon after, and one that has sent the
// message goes on to say goodbye to the server after "sent" has been reported.
class MailSendJob : public QObject
{
    Q_OBJECT
public:
    // transport must outlive the worker: keep it for the life of the program.
    MailSendJob(MailTransport &transport, const QStringList &localDnsServers, const OutgoingMail &mail,
                QObject *parent = nullptr);
    // Cancels unless the message was sent; never waits.
    ~MailSendJob() override;

    void start();
    // Stops the look-up or send under way and returns at once. Nothing is signalled after it.
    void cancel();
    bool running() const;

    // Waits (a few seconds at most) for the workers still ending; run at program end.
    static void WaitForWorkers();

    static QString WinsockErrorText();
    static QString DnsNotFoundText();
    static QString ClipboardHintText();

signals:
    void status(const QString &text);
    // sent, or the error text of the last failure.
    void finished(bool sent, const QString &errorText);

private:
    struct Shared;
    std::shared_ptr<Shared> m_shared;
};
