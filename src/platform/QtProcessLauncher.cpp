#include "platform/QtProcessLauncher.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <cerrno>

namespace {

// The highest errno searched when reading an error text back into its number.
constexpr int HighestErrno = 200;

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

} // namespace

ProcessLauncher::Result QtProcessLauncher::start(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    // The browser outlives this program and must not write into its terminal.
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    qint64 pid = 0;
    if (process.startDetached(&pid))
        return {};
    return classify(process.errorString(), program);
}

ProcessLauncher::Result QtProcessLauncher::classify(const QString &errorString, const QString &program)
{
    // QProcess words a failed start as the failing call, ": ", and the error's text.
    const qsizetype colon = errorString.indexOf(QLatin1String(": "));
    const QString function = colon < 0 ? QString() : errorString.left(colon);
    const int code = errnoOfText(colon < 0 ? errorString : errorString.mid(colon + 2));

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
