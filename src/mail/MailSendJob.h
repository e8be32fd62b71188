#pragma once

#include "mail/MailTransport.h"

#include <QObject>
#include <QStringList>

#include <thread>

// The network part of a send, on a worker thread so the dialog stays responsive: find the
// DNS servers (the computer's own, else the fallback document), the mail servers of the
// sender's domain, and send through them in order until one takes the message. Its
// signals arrive on the thread that made the job.
class MailSendJob : public QObject
{
    Q_OBJECT
public:
    MailSendJob(MailTransport &transport, const QStringList &localDnsServers, const OutgoingMail &mail,
                QObject *parent = nullptr);
    ~MailSendJob() override;

    void start();
    // Stops the look-up or send under way and waits for the worker, which takes a fraction
    // of a second. The worker signals nothing more, though a signal it sent just before may
    // still wait in the event queue.
    void cancel();
    bool running() const { return m_worker.joinable(); }

    static QString WinsockErrorText();
    static QString DnsNotFoundText();
    static QString ClipboardHintText();

signals:
    void status(const QString &text);
    // sent, or the error text of the last failure.
    void finished(bool sent, const QString &errorText);

private:
    void run();

    MailTransport &m_transport;
    const QStringList m_localDnsServers;
    const OutgoingMail m_mail;
    CancelFlag m_cancel{false};
    std::thread m_worker;
};
