#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Starts programs on their own, without waiting for them and without a shell: the browser
// launcher opens pages this way. The Qt implementation is QtProcessLauncher; tests use a
// double that records program and arguments and answers from a script.
class ProcessLauncher
{
public:
    // Why a start failed, in the terms the launcher's messages use.
    enum class Failure {
        None,          // started
        FileNotFound,  // the program file is not there
        PathNotFound,  // the folder that should hold it is not there
        NotExecutable, // no permission to run it, or not in a format that can run
        NoResources,   // no process could be made (out of processes, memory or pipes)
        Other          // anything else; systemError holds the system's error number
    };

    struct Result
    {
        Failure failure = Failure::None;
        int systemError = 0; // the errno behind the failure, 0 when unknown or started
        bool started() const { return failure == Failure::None; }
    };

    // Told, on the user-interface thread, the exit status of a started program that ended
    // with a non-zero status within EarlyExitMilliseconds of its start (128 + the signal
    // for one that a signal ended). A browser that cannot open its window ends like that.
    using EarlyExit = std::function<void(int exitStatus)>;
    static constexpr int EarlyExitMilliseconds = 3000;

    virtual ~ProcessLauncher() = default;

    // Starts program with arguments detached from this process; it outlives this one.
    virtual Result start(const QString &program, const QStringList &arguments, EarlyExit onEarlyExit = {}) = 0;
};
