#include "mail/MailSendJob.h"

#include "mail/MailServers.h"

#include <QCoreApplication>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// What the worker shares with the job; it lives until both are done with it.
struct MailSendJob::Shared
{
    Shared(MailTransport &t, const QStringList &servers, const OutgoingMail &m)
        : transport(t), localDnsServers(servers), mail(m)
    {
    }
    MailTransport &transport;
    const QStringList localDnsServers;
    const OutgoingMail mail;
    CancelFlag cancel{false};
    std::atomic<bool> started{false};
    std::atomic<bool> sent{false};
    std::atomic<bool> done{false};
    std::mutex mutex;                 // guards receiver
    MailSendJob *receiver = nullptr;  // null once the job is gone or cancelled

    // Hands a result to the job on its own thread, while it still wants one.
    template <typename Call> void post(Call call)
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (receiver && !cancel)
            QMetaObject::invokeMethod(receiver, [job = receiver, call] { call(*job); }, Qt::QueuedConnection);
    }
    void run();
};

namespace {

// Workers still running, so the program can let them end before it does.
std::mutex workersMutex;
std::condition_variable workersEnded;
int workersRunning = 0;

QString addressNotFound(const QString &host)
{
    return QStringLiteral("The address of the mail server %1 could not be found.").arg(host);
}

} // namespace

MailSendJob::MailSendJob(MailTransport &transport, const QStringList &localDnsServers, const OutgoingMail &mail,
                         QObject *parent)
    : QObject(parent), m_shared(std::make_shared<Shared>(transport, localDnsServers, mail))
{
    m_shared->receiver = this;
}

MailSendJob::~MailSendJob()
{
    if (!m_shared->sent)
        cancel();
    const std::lock_guard<std::mutex> lock(m_shared->mutex);
    m_shared->receiver = nullptr;
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

bool MailSendJob::running() const
{
    return m_shared->started && !m_shared->done;
}

void MailSendJob::start()
{
    if (m_shared->started.exchange(true))
        return;
    static const bool waitsAtExit = [] {
        qAddPostRoutine(&MailSendJob::WaitForWorkers);
        return true;
    }();
    Q_UNUSED(waitsAtExit);
    {
        const std::lock_guard<std::mutex> lock(workersMutex);
        ++workersRunning;
    }
    std::thread([shared = m_shared]() mutable {
        shared->run();
        shared->done = true;
        shared.reset(); // before the program may stop waiting for this worker
        const std::lock_guard<std::mutex> lock(workersMutex);
        --workersRunning;
        workersEnded.notify_all();
    }).detach();
}

void MailSendJob::cancel()
{
    const std::lock_guard<std::mutex> lock(m_shared->mutex);
    m_shared->cancel = true;
}

void MailSendJob::WaitForWorkers()
{
    std::unique_lock<std::mutex> lock(workersMutex);
    workersEnded.wait_for(lock, std::chrono::seconds(5), [] { return workersRunning == 0; });
}

void MailSendJob::Shared::run()
{
    const auto report = [this](const QString &text) { post([text](MailSendJob &job) { emit job.status(text); }); };
    const auto finish = [this](bool ok, const QString &error) {
        post([ok, error](MailSendJob &job) { emit job.finished(ok, error); });
    };
    const QStringList servers = FindDnsServers(localDnsServers, transport, cancel);
    const MailServerSearch search = FindMailServers(mail.fromAddress, servers, transport, report, cancel);
    if (cancel)
        return;
    if (search.entries.isEmpty()) {
        finish(false, DnsNotFoundText());
        return;
    }
    QString error;
    for (const QString &entry : search.entries) {
        const QString host = EntryHost(entry);
        report(QStringLiteral("Sending through ") + host);
        const QStringList addresses = transport.resolveAddresses(search.dnsServer, host, DnsTimeoutSeconds, cancel);
        if (cancel)
            return;
        if (addresses.isEmpty()) {
            // A domain that names no mail server and has no address of its own has no mail at all.
            error = search.implicit ? DnsNotFoundText() : addressNotFound(host) + QStringLiteral("\r\n") + ClipboardHintText();
            continue;
        }
        // "Sent" the moment the server has taken the message; the goodbye comes after.
        const auto accepted = [&] {
            sent = true;
            finish(true, QString());
        };
        const std::optional<QString> failure =
            transport.send(SmtpTarget{host, addresses, SmtpTimeoutSeconds}, mail, cancel, accepted);
        if (sent || cancel)
            return;
        if (!failure) {
            accepted();
            return;
        }
        error = *failure + QStringLiteral("\r\n") + ClipboardHintText();
    }
    finish(false, error);
}
