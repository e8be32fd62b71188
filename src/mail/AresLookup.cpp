#include "mail/AresLookup.h"

#include <ares.h>
#include <arpa/inet.h>
#include <arpa/nameser.h>
#include <netinet/in.h>
#include <poll.h>

#include <QElapsedTimer>

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

constexpr int CancelCheckMs = 50;

struct Answer
{
    bool done = false;
    int status = ARES_ENOTFOUND;
    std::vector<unsigned char> bytes;
};

void onAnswer(void *arg, int status, int /*timeouts*/, unsigned char *abuf, int alen)
{
    auto *answer = static_cast<Answer *>(arg);
    answer->done = true;
    answer->status = status;
    if (status == ARES_SUCCESS && abuf && alen > 0)
        answer->bytes.assign(abuf, abuf + alen);
}

// One channel that asks only the given server.
class Channel
{
public:
    explicit Channel(const QString &server)
    {
        ares_options options{};
        options.timeout = 2000; // doubled on each retry; the caller's deadline bounds the whole
        options.tries = 3;
        options.flags = ARES_FLAG_NOSEARCH;
        if (ares_init_options(&m_channel, &options, ARES_OPT_TIMEOUTMS | ARES_OPT_TRIES | ARES_OPT_FLAGS)
            != ARES_SUCCESS) {
            m_channel = nullptr;
            return;
        }
        if (server.trimmed().isEmpty()
            || ares_set_servers_ports_csv(m_channel, server.trimmed().toLatin1().constData()) != ARES_SUCCESS) {
            ares_destroy(m_channel);
            m_channel = nullptr;
        }
    }
    ~Channel()
    {
        // Answers still outstanding are called back with ARES_EDESTRUCTION here.
        if (m_channel)
            ares_destroy(m_channel);
    }
    Channel(const Channel &) = delete;
    Channel &operator=(const Channel &) = delete;

    bool usable() const { return m_channel != nullptr; }

    void query(const QString &name, int type, Answer &answer)
    {
        ares_query(m_channel, name.toUtf8().constData(), ns_c_in, type, onAnswer, &answer);
    }

    // Drives the channel until every answer is in, the time is up or cancel is set.
    void wait(const std::vector<Answer *> &answers, int timeoutMs, const CancelFlag &cancel)
    {
        QElapsedTimer elapsed;
        elapsed.start();
        const auto allDone = [&] {
            return std::all_of(answers.begin(), answers.end(), [](const Answer *a) { return a->done; });
        };
        while (!allDone() && !cancel && elapsed.elapsed() < timeoutMs) {
            ares_socket_t sockets[ARES_GETSOCK_MAXNUM];
            const int bits = ares_getsock(m_channel, sockets, ARES_GETSOCK_MAXNUM);
            std::vector<pollfd> fds;
            for (int i = 0; i < ARES_GETSOCK_MAXNUM; ++i) {
                short events = 0;
                if (ARES_GETSOCK_READABLE(bits, i))
                    events |= POLLIN;
                if (ARES_GETSOCK_WRITABLE(bits, i))
                    events |= POLLOUT;
                if (events)
                    fds.push_back(pollfd{sockets[i], events, 0});
            }
            timeval tv{};
            timeval limit{0, CancelCheckMs * 1000};
            ares_timeout(m_channel, &limit, &tv);
            const int waitMs = int(std::min<qint64>(tv.tv_sec * 1000 + tv.tv_usec / 1000 + 1,
                                                    timeoutMs - elapsed.elapsed()));
            const int ready = poll(fds.data(), fds.size(), std::max(0, waitMs));
            if (ready <= 0) {
                ares_process_fd(m_channel, ARES_SOCKET_BAD, ARES_SOCKET_BAD); // time-outs and retries
                continue;
            }
            for (const pollfd &fd : fds) {
                const bool in = fd.revents & (POLLIN | POLLERR | POLLHUP);
                const bool out = fd.revents & POLLOUT;
                if (in || out)
                    ares_process_fd(m_channel, in ? fd.fd : ARES_SOCKET_BAD, out ? fd.fd : ARES_SOCKET_BAD);
            }
        }
    }

private:
    ares_channel m_channel = nullptr;
};

} // namespace

namespace AresLookup {

bool initialise()
{
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] { ready = ares_library_init(ARES_LIB_INIT_ALL) == ARES_SUCCESS; });
    return ready;
}

MxLookup mailExchangers(const QString &server, const QString &domain, int timeoutMs, const CancelFlag &cancel)
{
    MxLookup found;
    Answer answer; // outlives the channel, whose end may still call it back
    Channel channel(server);
    if (!channel.usable() || domain.isEmpty())
        return found;
    channel.query(domain, ns_t_mx, answer);
    channel.wait({&answer}, timeoutMs, cancel);
    if (cancel)
        return found;
    // The name exists but has no MX records (a successful answer without any).
    found.noRecords = answer.done && answer.status == ARES_ENODATA;
    if (answer.status != ARES_SUCCESS || answer.bytes.empty())
        return found;
    ares_mx_reply *reply = nullptr;
    const int parsed = ares_parse_mx_reply(answer.bytes.data(), int(answer.bytes.size()), &reply);
    found.noRecords = parsed == ARES_ENODATA;
    if (parsed != ARES_SUCCESS)
        return found;
    for (const ares_mx_reply *mx = reply; mx; mx = mx->next)
        found.records.append(MxRecord{mx->priority, QString::fromUtf8(mx->host)});
    ares_free_data(reply);
    return found;
}

QStringList addresses(const QString &server, const QString &host, int timeoutMs, const CancelFlag &cancel)
{
    QStringList found;
    Answer v4;
    Answer v6;
    Channel channel(server);
    if (!channel.usable() || host.isEmpty())
        return found;
    channel.query(host, ns_t_a, v4);
    channel.query(host, ns_t_aaaa, v6);
    channel.wait({&v4, &v6}, timeoutMs, cancel);
    if (cancel)
        return found;
    char text[INET6_ADDRSTRLEN] = {};
    if (v4.status == ARES_SUCCESS && !v4.bytes.empty()) {
        ares_addrttl list[16];
        int count = 16;
        if (ares_parse_a_reply(v4.bytes.data(), int(v4.bytes.size()), nullptr, list, &count) == ARES_SUCCESS)
            for (int i = 0; i < count; ++i)
                if (inet_ntop(AF_INET, &list[i].ipaddr, text, sizeof text))
                    found << QString::fromLatin1(text);
    }
    if (v6.status == ARES_SUCCESS && !v6.bytes.empty()) {
        ares_addr6ttl list[16];
        int count = 16;
        if (ares_parse_aaaa_reply(v6.bytes.data(), int(v6.bytes.size()), nullptr, list, &count) == ARES_SUCCESS)
            for (int i = 0; i < count; ++i)
                if (inet_ntop(AF_INET6, &list[i].ip6addr, text, sizeof text))
                    found << QString::fromLatin1(text);
    }
    return found;
}

} // namespace AresLookup
