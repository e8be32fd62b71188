#pragma once

#include "platform/ProcessLauncher.h"

#include <list>

class QSocketNotifier;

// Starts programs through a short-lived middle process: it starts the program, waits up to
// earlyExitMilliseconds for it to end, tells this process its status through a pipe if it
// did, and ends, so the program outlives this one. A failed start is reported at once, its
// system error turned into a ProcessLauncher::Failure.
class QtProcessLauncher : public ProcessLauncher
{
public:
    QtProcessLauncher() = default;
    ~QtProcessLauncher() override;
    QtProcessLauncher(const QtProcessLauncher &) = delete;
    QtProcessLauncher &operator=(const QtProcessLauncher &) = delete;

    Result start(const QString &program, const QStringList &arguments, EarlyExit onEarlyExit = {}) override;

    // How long a start is watched for an early end; tests shorten it.
    int earlyExitMilliseconds = EarlyExitMilliseconds;

    // The failure for the text QProcess gives a failed start ("execv: " or "fork: " and the
    // system's error text). program decides between a missing file and a missing folder.
    static Result classify(const QString &errorString, const QString &program);
    // The failure for a system error of the named call ("fork", "pipe" or "execv").
    static Result classifyError(const QString &function, int code, const QString &program);

private:
    struct Watch
    {
        int statusPipe = -1;
        int middlePid = 0;
        QSocketNotifier *notifier = nullptr;
        EarlyExit onEarlyExit;
    };
    void finishWatch(std::list<Watch>::iterator watch);

    std::list<Watch> m_watches;
};
