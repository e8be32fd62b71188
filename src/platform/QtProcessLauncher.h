#pragma once

#include "platform/ProcessLauncher.h"

// Starts programs with QProcess::startDetached and turns the reason of a failed start
// (the system error that QProcess reports) into a ProcessLauncher::Failure.
class QtProcessLauncher : public ProcessLauncher
{
public:
    Result start(const QString &program, const QStringList &arguments) override;

    // The failure for the text QProcess gives a failed start ("execv: " or "fork: " and the
    // system's error text). program decides between a missing file and a missing folder.
    static Result classify(const QString &errorString, const QString &program);
};
