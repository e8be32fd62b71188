#include "mail/SmtpSession.h"

#include "mail/SmtpDialogue.h"

#include <arpa/inet.h>
#include <curl/curl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QUrl>

#include <cerrno>
#include <cstring>
#include <memory>

namespace {

constexpr int SliceMs = 50;
constexpr qsizetype MaxReply = 64 * 1024;

// Milliseconds left of a wait, at most one slice, so cancel is looked at often.
int slice(const QElapsedTimer &clock, int timeoutMs)
{
    return int(std::clamp<qint64>(timeoutMs - clock.elapsed(), 0, SliceMs));
}

bool socketAddress(const QString &text, int port, sockaddr_storage &address, socklen_t &length)
{
    address = {};
    const QByteArray ip = text.toLatin1();
    auto *v4 = reinterpret_cast<sockaddr_in *>(&address);
    auto *v6 = reinterpret_cast<sockaddr_in6 *>(&address);
    if (inet_pton(AF_INET, ip.constData(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = htons(uint16_t(port));
        length = sizeof(sockaddr_in);
        return true;
    }
    if (inet_pton(AF_INET6, ip.constData(), &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(uint16_t(port));
        length = sizeof(sockaddr_in6);
        return true;
    }
    return false;
}

QString localAddress(int fd)
{
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    char text[INET6_ADDRSTRLEN] = {};
    if (getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        return {};
    const void *ip = address.ss_family == AF_INET6
        ? static_cast<const void *>(&reinterpret_cast<sockaddr_in6 *>(&address)->sin6_addr)
        : static_cast<const void *>(&reinterpret_cast<sockaddr_in *>(&address)->sin_addr);
    return inet_ntop(address.ss_family, ip, text, sizeof text) ? QString::fromLatin1(text) : QString();
}

// A TCP connection to the first of the addresses that takes one, all within timeoutMs.
struct Connection
{
    int fd = -1;
    QString address;
    QString problem;
};

Connection connectToHost(const QStringList &addresses, int port, int timeoutMs, const CancelFlag &cancel)
{
    Connection made;
    made.problem = QStringLiteral("no connection could be made");
    QElapsedTimer clock;
    clock.start();
    for (const QString &address : addresses) {
        sockaddr_storage to{};
        socklen_t length = 0;
        if (cancel || clock.elapsed() >= timeoutMs || !socketAddress(address, port, to, length))
            continue;
        const int fd = ::socket(to.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0)
            continue;
        bool connected = ::connect(fd, reinterpret_cast<sockaddr *>(&to), length) == 0;
        int error = connected ? 0 : errno;
        if (error == EINPROGRESS) {
            error = ETIMEDOUT;
            while (!cancel && clock.elapsed() < timeoutMs) {
                pollfd wanted{fd, POLLOUT, 0};
                if (poll(&wanted, 1, slice(clock, timeoutMs)) > 0) {
                    socklen_t size = sizeof error;
                    getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size);
                    connected = error == 0;
                    break;
                }
            }
        }
        if (connected) {
            made.fd = fd;
            made.address = address;
            return made;
        }
        made.problem = QString::fromLocal8Bit(std::strerror(error));
        ::close(fd);
    }
    return made;
}

struct EasyDeleter
{
    void operator()(CURL *easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter
{
    void operator()(CURLM *multi) const { curl_multi_cleanup(multi); }
};
struct ListDeleter
{
    void operator()(curl_slist *list) const { curl_slist_free_all(list); }
};

// The socket made here, lent to libcurl once, and whether libcurl has closed it.
struct LentSocket
{
    int fd = -1;
    bool lent = false;
    bool closed = false;
};

curl_socket_t lendSocket(void *target, curlsocktype, curl_sockaddr *)
{
    auto *socket = static_cast<LentSocket *>(target);
    if (socket->lent)
        return CURL_SOCKET_BAD;
    socket->lent = true;
    return socket->fd;
}

int alreadyConnected(void *, curl_socket_t, curlsocktype)
{
    return CURL_SOCKOPT_ALREADY_CONNECTED;
}

int closeSocket(void *target, curl_socket_t fd)
{
    auto *socket = static_cast<LentSocket *>(target);
    if (fd == socket->fd)
        socket->closed = true;
    return ::close(fd);
}

// Keeps the last refusal (a 4xx or 5xx line) the server sent while libcurl talked to it.
int watchReplies(CURL *, curl_infotype type, char *data, size_t size, void *target)
{
    if (type != CURLINFO_HEADER_IN)
        return 0;
    for (const QByteArray &line : QByteArray(data, qsizetype(size)).split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.startsWith('4') || trimmed.startsWith('5'))
            *static_cast<QByteArray *>(target) = trimmed;
    }
    return 0;
}

// The conversation after libcurl's greeting, over its (perhaps encrypted) connection.
class Conversation
{
public:
    enum class Outcome { Done, Cancelled, TimedOut, Closed, Failed };

    Conversation(CURL *easy, curl_socket_t fd, const CancelFlag &cancel)
        : m_easy(easy), m_fd(fd), m_cancel(cancel)
    {
    }

    Outcome write(const QByteArray &data, int timeoutMs)
    {
        QElapsedTimer clock;
        clock.start();
        qsizetype offset = 0;
        while (offset < data.size()) {
            if (m_cancel)
                return Outcome::Cancelled;
            if (clock.elapsed() >= timeoutMs)
                return Outcome::TimedOut;
            size_t sent = 0;
            const CURLcode result =
                curl_easy_send(m_easy, data.constData() + offset, size_t(data.size() - offset), &sent);
            if (result == CURLE_OK) {
                offset += qsizetype(sent);
            } else if (result == CURLE_AGAIN) {
                pollfd wanted{m_fd, POLLOUT, 0};
                poll(&wanted, 1, slice(clock, timeoutMs));
            } else {
                return Outcome::Failed;
            }
        }
        return Outcome::Done;
    }

    Outcome read(SmtpReply &reply, int timeoutMs)
    {
        QElapsedTimer clock;
        clock.start();
        while (true) {
            if (std::optional<SmtpReply> whole = TakeSmtpReply(m_buffer)) {
                reply = *whole;
                return Outcome::Done;
            }
            if (m_cancel)
                return Outcome::Cancelled;
            if (clock.elapsed() >= timeoutMs)
                return Outcome::TimedOut;
            if (m_buffer.size() > MaxReply)
                return Outcome::Failed;
            char chunk[4096];
            size_t got = 0;
            const CURLcode result = curl_easy_recv(m_easy, chunk, sizeof chunk, &got);
            if (result == CURLE_OK && got == 0)
                return Outcome::Closed;
            if (result == CURLE_OK) {
                m_buffer.append(chunk, qsizetype(got));
            } else if (result == CURLE_AGAIN) {
                pollfd wanted{m_fd, POLLIN, 0};
                poll(&wanted, 1, slice(clock, timeoutMs));
            } else {
                return Outcome::Failed;
            }
        }
    }

private:
    CURL *m_easy;
    curl_socket_t m_fd;
    const CancelFlag &m_cancel;
    QByteArray m_buffer;
};

QString hostName()
{
    char name[256] = {};
    return gethostname(name, sizeof name - 1) == 0 ? QString::fromLocal8Bit(name) : QString();
}

// Runs libcurl's part (greeting, EHLO, STARTTLS) until it hands the connection over.
CURLcode greet(CURLM *multi, const CancelFlag &cancel)
{
    int running = 1;
    while (!cancel) {
        if (curl_multi_perform(multi, &running) != CURLM_OK)
            return CURLE_FAILED_INIT;
        int queued = 0;
        if (CURLMsg *message = curl_multi_info_read(multi, &queued); message && message->msg == CURLMSG_DONE)
            return message->data.result;
        if (running != 0)
            curl_multi_poll(multi, nullptr, 0, SliceMs, nullptr);
    }
    return CURLE_ABORTED_BY_CALLBACK;
}

} // namespace

namespace SmtpSession {

std::optional<QString> send(const Request &request, const CancelFlag &cancel, const std::function<void()> &accepted)
{
    const auto failed = [&](const QString &why) {
        return QStringLiteral("The mail could not be sent through %1: %2").arg(request.host, why);
    };
    const auto refused = [&](const QByteArray &reply) {
        return QStringLiteral("The mail server %1 refused the message: %2").arg(request.host, QString::fromUtf8(reply));
    };
    const Connection connection = connectToHost(request.addresses, request.port, request.connectMs, cancel);
    if (connection.fd < 0)
        return cancel ? QString() : failed(connection.problem);

    LentSocket socket{connection.fd};
    const QString ehlo = EhloName(hostName(), localAddress(connection.fd));
    const QByteArray port = QByteArray::number(request.port);
    const QByteArray url = "smtp://" + request.host.toUtf8() + ':' + port + '/' + QUrl::toPercentEncoding(ehlo);
    const QByteArray where = connection.address.contains(QLatin1Char(':')) ? '[' + connection.address.toLatin1() + ']'
                                                                           : connection.address.toLatin1();
    std::unique_ptr<curl_slist, ListDeleter> resolve(
        curl_slist_append(nullptr, (request.host.toUtf8() + ':' + port + ':' + where).constData()));
    QByteArray refusal;
    char error[CURL_ERROR_SIZE] = {};

    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    if (!easy || !multi || !resolve) {
        ::close(connection.fd);
        return failed(QStringLiteral("the mail could not be prepared"));
    }
    CURL *e = easy.get();
    curl_easy_setopt(e, CURLOPT_URL, url.constData());
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "smtp");
    curl_easy_setopt(e, CURLOPT_CONNECT_ONLY, 1L);
    curl_easy_setopt(e, CURLOPT_RESOLVE, resolve.get());
    curl_easy_setopt(e, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(e, CURLOPT_OPENSOCKETFUNCTION, lendSocket);
    curl_easy_setopt(e, CURLOPT_OPENSOCKETDATA, &socket);
    curl_easy_setopt(e, CURLOPT_SOCKOPTFUNCTION, alreadyConnected);
    curl_easy_setopt(e, CURLOPT_CLOSESOCKETFUNCTION, closeSocket);
    curl_easy_setopt(e, CURLOPT_CLOSESOCKETDATA, &socket);
    // Between mail servers TLS is opportunistic: encrypted, whoever signed the certificate.
    curl_easy_setopt(e, CURLOPT_USE_SSL, long(CURLUSESSL_TRY));
    curl_easy_setopt(e, CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(e, CURLOPT_SSL_VERIFYHOST, 0L);
    curl_easy_setopt(e, CURLOPT_SERVER_RESPONSE_TIMEOUT, long(std::max(1, request.replyMs / 1000)));
    // The greeting, two EHLOs, STARTTLS and the handshake, each bounded by the reply time.
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, long(request.replyMs) * 5);
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(e, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(e, CURLOPT_DEBUGFUNCTION, watchReplies);
    curl_easy_setopt(e, CURLOPT_DEBUGDATA, &refusal);

    std::optional<QString> outcome;
    if (curl_multi_add_handle(multi.get(), e) != CURLM_OK) {
        outcome = failed(QStringLiteral("the mail could not be prepared"));
    } else if (const CURLcode greeted = greet(multi.get(), cancel); cancel) {
        outcome = QString();
    } else if (greeted != CURLE_OK) {
        outcome = !refusal.isEmpty() ? refused(refusal)
                                     : failed(error[0] ? QString::fromUtf8(error)
                                                       : QString::fromUtf8(curl_easy_strerror(greeted)));
    } else {
        curl_socket_t active = CURL_SOCKET_BAD;
        curl_easy_getinfo(e, CURLINFO_ACTIVESOCKET, &active);
        Conversation talk(e, active == CURL_SOCKET_BAD ? connection.fd : active, cancel);
        const QList<std::pair<QByteArray, int>> steps{
            {"MAIL FROM:<" + request.from.toUtf8() + ">\r\n", 2},
            {"RCPT TO:<" + request.to.toUtf8() + ">\r\n", 2},
            {"DATA\r\n", 3},
            {SmtpDataBlock(request.message), 2},
        };
        for (const auto &[command, wanted] : steps) {
            SmtpReply reply;
            Conversation::Outcome step = talk.write(command, request.replyMs);
            if (step == Conversation::Outcome::Done)
                step = talk.read(reply, request.replyMs);
            if (step == Conversation::Outcome::Cancelled)
                outcome = QString();
            else if (step == Conversation::Outcome::TimedOut)
                outcome = failed(QStringLiteral("the server did not answer within %1 seconds")
                                     .arg(std::max(1, request.replyMs / 1000)));
            else if (step == Conversation::Outcome::Closed)
                outcome = failed(QStringLiteral("the server closed the connection"));
            else if (step == Conversation::Outcome::Failed)
                outcome = failed(QStringLiteral("the connection failed"));
            else if (reply.code / 100 != wanted)
                outcome = refused(reply.text);
            if (outcome)
                break;
        }
        if (!outcome) {
            accepted();
            // Goodbye, but the message is on its way whatever the answer.
            SmtpReply reply;
            QElapsedTimer clock;
            clock.start();
            if (talk.write("QUIT\r\n", request.quitMs) == Conversation::Outcome::Done)
                talk.read(reply, int(std::max<qint64>(0, request.quitMs - clock.elapsed())));
        }
    }
    // libcurl would say QUIT itself on closing and wait for the answer: cut the connection
    // first, so it closes at once.
    if (!socket.lent)
        ::close(connection.fd);
    else if (!socket.closed)
        ::shutdown(connection.fd, SHUT_RDWR);
    curl_multi_remove_handle(multi.get(), e);
    multi.reset();
    easy.reset();
    return outcome;
}

} // namespace SmtpSession
