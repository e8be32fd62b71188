#include "platform/TerminateSignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_socketPair[2] = {-1, -1};
constexpr int HandledSignals[] = {SIGTERM, SIGINT, SIGHUP};

extern "C" void onTerminateSignal(int signalNumber)
{
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    // Nothing can be done about a full pipe inside a signal handler; one byte is enough.
    [[maybe_unused]] const ssize_t written = ::write(g_socketPair[0], &byte, 1);
}

} // namespace

TerminateSignals::TerminateSignals(QObject *parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_socketPair) != 0)
        return;
    ::fcntl(g_socketPair[0], F_SETFL, O_NONBLOCK);
    m_notifier = new QSocketNotifier(g_socketPair[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminateSignals::readSignal);

    struct sigaction action = {};
    action.sa_handler = onTerminateSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signalNumber : HandledSignals)
        ::sigaction(signalNumber, &action, nullptr);
}

TerminateSignals::~TerminateSignals()
{
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : HandledSignals)
        ::sigaction(signalNumber, &action, nullptr);
    if (g_socketPair[0] >= 0) {
        ::close(g_socketPair[0]);
        ::close(g_socketPair[1]);
        g_socketPair[0] = g_socketPair[1] = -1;
    }
}

void TerminateSignals::readSignal()
{
    unsigned char byte = 0;
    if (::read(g_socketPair[1], &byte, 1) == 1)
        emit terminateRequested(byte);
}
