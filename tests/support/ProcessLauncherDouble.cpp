#include "ProcessLauncherDouble.h"

#include "platform/EError.h"

ProcessLauncher::Result ProcessLauncherDouble::start(const QString &program, const QStringList &arguments,
                                                     EarlyExit onEarlyExit)
{
    starts.append({program, arguments, std::move(onEarlyExit)});
    if (onStart)
        onStart(starts.last());
    if (script.isEmpty())
        return {};
    const Outcome outcome = script.dequeue();
    if (outcome.throws)
        throw EError(outcome.errorText);
    return outcome.result;
}

void ProcessLauncherDouble::failWith(Failure failure, int systemError)
{
    Outcome outcome;
    outcome.result.failure = failure;
    outcome.result.systemError = systemError;
    script.enqueue(outcome);
}

void ProcessLauncherDouble::throwOnce(const QString &errorText)
{
    Outcome outcome;
    outcome.throws = true;
    outcome.errorText = errorText;
    script.enqueue(outcome);
}
