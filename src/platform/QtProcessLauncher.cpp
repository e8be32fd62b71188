#include "platform/QtProcessLauncher.h"

#include <QByteArrayList>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

namespace {

// The highest errno searched when reading an error text back into its number.
constexpr int HighestErrno = 200;
// The middle process looks at the program this often while it waits.
constexpr long PollNanoseconds = 20L * 1000 * 1000;

// The errno whose text (as Qt words it) is text; 0 when none matches.
int errnoOfText(const QString &text)
{
    for (int code = 1; code <= HighestErrno; ++code)
        if (qt_error_string(code) == text)
            return code;
    return 0;
}

bool folderExists(const QString &program)
{
    return QFileInfo(QFileInfo(program).absolutePath()).isDir();
}

void closeBoth(int fds[2])
{
    ::close(fds[0]);
    ::close(fds[1]);
}

// Writes the whole value; only async-signal-safe calls, as the forked children need.
void writeAll(int fd, const void *data, size_t size)
{
    const char *bytes = static_cast<const char *>(data);
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        bytes += written;
        size -= size_t(written);
    }
}

// Reads exactly size bytes; false at an end of file before that.
bool readAll(int fd, void *data, size_t size)
{
    char *bytes = static_cast<char *>(data);
    while (size > 0) {
        const ssize_t got = ::read(fd, bytes, size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        bytes += got;
        size -= size_t(got);
    }
    return true;
}

// The middle process: starts the program, reports a failed exec through errorPipe, then
// waits up to waitMs for the program and reports its wait status through statusPipe.
// Between fork and exec only async-signal-safe calls are made.
[[noreturn]] void runMiddle(char *const argv[], int nullDevice, int errorPipe, int statusPipe, int waitMs)
{
    // Its own session, so the terminal's hang-up or Ctrl+C never reaches the program.
    ::setsid();
    const pid_t program = ::fork();
    if (program == 0) {
        ::dup2(nullDevice, STDIN_FILENO);
        ::dup2(nullDevice, STDOUT_FILENO);
        ::dup2(nullDevice, STDERR_FILENO);
        sigset_t none;
        ::sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::execv(argv[0], argv);
        const int code[2] = {1, errno}; // 1: execv
        writeAll(errorPipe, code, sizeof code);
        ::_exit(127);
    }
    if (program < 0) {
        const int code[2] = {0, errno}; // 0: fork
        writeAll(errorPipe, code, sizeof code);
        ::_exit(1);
    }
    ::close(errorPipe);
    // Measured by the clock, not by the pauses, which a busy machine stretches.
    timespec start{};
    ::clock_gettime(CLOCK_MONOTONIC, &start);
    for (;;) {
        timespec now{};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        if ((now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000 >= waitMs)
            break;
        int status = 0;
        if (::waitpid(program, &status, WNOHANG) == program) {
            writeAll(statusPipe, &status, sizeof status);
            ::_exit(0);
        }
        const timespec pause{0, PollNanoseconds};
        ::nanosleep(&pause, nullptr);
    }
    ::_exit(0);
}

} // namespace

QtProcessLauncher::~QtProcessLauncher()
{
    while (!m_watches.empty()) {
        Watch &watch = m_watches.front();
        delete watch.notifier;
        ::close(watch.statusPipe);
        ::waitpid(watch.middlePid, nullptr, WNOHANG);
        m_watches.pop_front();
    }
}

ProcessLauncher::Result QtProcessLauncher::start(const QString &program, const QStringList &arguments,
                                                 EarlyExit onEarlyExit)
{
    // Everything the children use is made before the fork: they may only make
    // async-signal-safe calls.
    // A bare name is looked for on PATH; a text file is never handed to a shell.
    QString path = program;
    if (!program.contains(QLatin1Char('/'))) {
        const QString found = QStandardPaths::findExecutable(program);
        if (!found.isEmpty())
            path = found;
    }
    QByteArrayList texts{QFile::encodeName(path)};
    for (const QString &argument : arguments)
        texts.append(QFile::encodeName(argument));
    std::vector<char *> argv;
    for (QByteArray &text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    int errorPipe[2];
    int statusPipe[2];
    if (::pipe2(errorPipe, O_CLOEXEC) != 0)
        return classifyError(QStringLiteral("pipe"), errno, program);
    if (::pipe2(statusPipe, O_CLOEXEC) != 0) {
        const int code = errno;
        closeBoth(errorPipe);
        return classifyError(QStringLiteral("pipe"), code, program);
    }
    const int nullDevice = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    const int waitMs = onEarlyExit ? earlyExitMilliseconds : 0;

    const pid_t middle = ::fork();
    if (middle == 0) {
        ::close(errorPipe[0]);
        ::close(statusPipe[0]);
        runMiddle(argv.data(), nullDevice, errorPipe[1], statusPipe[1], waitMs);
    }
    const int forkError = errno;
    if (nullDevice >= 0)
        ::close(nullDevice);
    ::close(errorPipe[1]);
    ::close(statusPipe[1]);
    if (middle < 0) {
        ::close(errorPipe[0]);
        ::close(statusPipe[0]);
        return classifyError(QStringLiteral("fork"), forkError, program);
    }

    // The error pipe ends when the program has been executed (close-on-exec) and the middle
    // process has let go of it, or carries the call that failed and its error.
    int failure[2] = {0, 0};
    const bool failed = readAll(errorPipe[0], failure, sizeof failure);
    ::close(errorPipe[0]);
    if (failed) {
        ::waitpid(middle, nullptr, 0);
        ::close(statusPipe[0]);
        return classifyError(failure[0] == 1 ? QStringLiteral("execv") : QStringLiteral("fork"), failure[1], program);
    }
    if (!onEarlyExit) {
        ::waitpid(middle, nullptr, 0);
        ::close(statusPipe[0]);
        return {};
    }

    m_watches.push_back({statusPipe[0], middle, nullptr, std::move(onEarlyExit)});
    const auto watch = std::prev(m_watches.end());
    watch->notifier = new QSocketNotifier(statusPipe[0], QSocketNotifier::Read);
    QObject::connect(watch->notifier, &QSocketNotifier::activated, watch->notifier,
                     [this, watch] { finishWatch(watch); });
    return {};
}

void QtProcessLauncher::finishWatch(std::list<Watch>::iterator watch)
{
    // The middle process wrote the program's status, or ended without a word once the
    // program had outlived the wait.
    int status = 0;
    const bool ended = readAll(watch->statusPipe, &status, sizeof status);
    ::close(watch->statusPipe);
    ::waitpid(watch->middlePid, nullptr, 0);
    watch->notifier->setEnabled(false);
    watch->notifier->deleteLater();
    const EarlyExit onEarlyExit = std::move(watch->onEarlyExit);
    m_watches.erase(watch);

    if (!ended)
        return;
    if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
        onEarlyExit(WEXITSTATUS(status));
    else if (WIFSIGNALED(status))
        onEarlyExit(128 + WTERMSIG(status));
}

ProcessLauncher::Result QtProcessLauncher::classify(const QString &errorString, const QString &program)
{
    // QProcess words a failed start as the failing call, ": ", and the error's text.
    const qsizetype colon = errorString.indexOf(QLatin1String(": "));
    const QString function = colon < 0 ? QString() : errorString.left(colon);
    return classifyError(function, errnoOfText(colon < 0 ? errorString : errorString.mid(colon + 2)), program);
}

ProcessLauncher::Result QtProcessLauncher::classifyError(const QString &function, int code, const QString &program)
{
    Result result;
    result.systemError = code;
    if (function == QLatin1String("fork") || function == QLatin1String("pipe")) {
        result.failure = Failure::NoResources;
        return result;
    }
    switch (code) {
    case ENOENT:
        result.failure = folderExists(program) ? Failure::FileNotFound : Failure::PathNotFound;
        break;
    case ENOTDIR:
        result.failure = Failure::PathNotFound;
        break;
    case EACCES:
    case EPERM:
    case ENOEXEC:
    case EISDIR:
    case ETXTBSY:
    case ELIBBAD:
        result.failure = Failure::NotExecutable;
        break;
    case ENOMEM:
    case EAGAIN:
    case E2BIG:
    case EMFILE:
    case ENFILE:
        result.failure = Failure::NoResources;
        break;
    default:
        result.failure = Failure::Other;
        break;
    }
    return result;
}
