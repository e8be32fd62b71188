#pragma once

#include "platform/ProcessLauncher.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>

#include <functional>

// Records every start with program and arguments and answers from a script: each start
// takes the next outcome (a result, or an EError thrown as a failing platform would);
// with the script empty every start succeeds.
class ProcessLauncherDouble : public ProcessLauncher
{
public:
    struct Start
    {
        QString program;
        QStringList arguments;
        EarlyExit onEarlyExit; // a test calls it as a program that ended at once would
    };
    struct Outcome
    {
        Result result;
        bool throws = false;
        QString errorText; // the EError's message when it throws
    };

    QList<Start> starts;
    QQueue<Outcome> script;
    // Runs at each start, before its outcome: a test looks at the program's state then.
    std::function<void(const Start &start)> onStart;

    Result start(const QString &program, const QStringList &arguments, EarlyExit onEarlyExit = {}) override;

    // Queues a failure of the given kind (and system error number).
    void failWith(Failure failure, int systemError = 0);
    // Queues an EError thrown by the next start.
    void throwOnce(const QString &errorText = QStringLiteral("The browser cannot be reached."));
};
