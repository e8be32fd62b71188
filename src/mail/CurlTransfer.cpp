#include "mail/CurlTransfer.h"

#include <curl/curl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QElapsedTimer>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

namespace {

constexpr int CancelCheckMs = 50;
constexpr qsizetype MaxDocument = 64 * 1024;

struct EasyDeleter
{
    void operator()(CURL *easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter
{
    void operator()(CURLM *multi) const { curl_multi_cleanup(multi); }
};
using Easy = std::unique_ptr<CURL, EasyDeleter>;
using Multi = std::unique_ptr<CURLM, MultiDeleter>;

// The transfer's open sockets, so a cancel can cut them; a closed one leaves the list
// before its number can be reused.
int noteSocket(void *target, curl_socket_t fd, curlsocktype)
{
    static_cast<std::vector<curl_socket_t> *>(target)->push_back(fd);
    return CURL_SOCKOPT_OK;
}

int closeSocket(void *target, curl_socket_t fd)
{
    auto *sockets = static_cast<std::vector<curl_socket_t> *>(target);
    sockets->erase(std::remove(sockets->begin(), sockets->end(), fd), sockets->end());
    return ::close(fd);
}

// Runs one transfer through a multi handle, so the wait can be cut short every 50 ms.
CURLcode perform(CURL *easy, const CancelFlag &cancel)
{
    std::vector<curl_socket_t> sockets;
    curl_easy_setopt(easy, CURLOPT_SOCKOPTFUNCTION, noteSocket);
    curl_easy_setopt(easy, CURLOPT_SOCKOPTDATA, &sockets);
    curl_easy_setopt(easy, CURLOPT_CLOSESOCKETFUNCTION, closeSocket);
    curl_easy_setopt(easy, CURLOPT_CLOSESOCKETDATA, &sockets);
    Multi multi(curl_multi_init());
    if (!multi || curl_multi_add_handle(multi.get(), easy) != CURLM_OK)
        return CURLE_FAILED_INIT;
    CURLcode result = CURLE_ABORTED_BY_CALLBACK;
    int running = 1;
    while (!cancel) {
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK) {
            result = CURLE_FAILED_INIT;
            break;
        }
        int queued = 0;
        if (CURLMsg *message = curl_multi_info_read(multi.get(), &queued); message && message->msg == CURLMSG_DONE) {
            result = message->data.result;
            break;
        }
        if (running == 0)
            continue; // the result is read on the next turn
        curl_multi_poll(multi.get(), nullptr, 0, CancelCheckMs, nullptr);
    }
    if (cancel) {
        // Taking the transfer away would first say goodbye (SMTP QUIT) and wait for the
        // answer, which a stalled server never gives: cut the connection first.
        for (const curl_socket_t fd : sockets)
            ::shutdown(fd, SHUT_RDWR);
    }
    curl_multi_remove_handle(multi.get(), easy);
    multi.reset(); // closes the connections it keeps, while the list still lives
    curl_easy_setopt(easy, CURLOPT_SOCKOPTFUNCTION, nullptr);
    curl_easy_setopt(easy, CURLOPT_CLOSESOCKETFUNCTION, nullptr);
    return result;
}

size_t collect(char *data, size_t size, size_t count, void *target)
{
    auto *document = static_cast<QByteArray *>(target);
    const size_t bytes = size * count;
    if (document->size() + qsizetype(bytes) > MaxDocument)
        return 0; // ends the transfer with an error
    document->append(data, qsizetype(bytes));
    return bytes;
}

} // namespace

namespace CurlTransfer {

bool initialise()
{
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] { ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
    return ready;
}

QByteArray fetch(const QString &url, const QString &userAgent, int timeoutMs, const CancelFlag &cancel)
{
    Easy easy(curl_easy_init());
    if (!easy)
        return {};
    QByteArray document;
    const QByteArray address = url.toUtf8();
    const QByteArray agent = userAgent.toUtf8();
    curl_easy_setopt(easy.get(), CURLOPT_URL, address.constData());
    curl_easy_setopt(easy.get(), CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy.get(), CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy.get(), CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy.get(), CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(easy.get(), CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(easy.get(), CURLOPT_USERAGENT, agent.constData());
    curl_easy_setopt(easy.get(), CURLOPT_TIMEOUT_MS, long(timeoutMs));
    curl_easy_setopt(easy.get(), CURLOPT_NOSIGNAL, 1L);
    // A cancel during the system's name look-up leaves that look-up to end on its own
    // instead of waiting for it.
    curl_easy_setopt(easy.get(), CURLOPT_QUICK_EXIT, 1L);
    curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, &document);
    return perform(easy.get(), cancel) == CURLE_OK ? document : QByteArray();
}

} // namespace CurlTransfer
