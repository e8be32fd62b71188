#include "platform/RegularFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

QString readProblem(const QString &path, const QString &reason)
{
    return QStringLiteral("cannot read \"%1\": %2").arg(path, reason);
}

QString sizeText(qint64 bytes)
{
    constexpr qint64 MiB = 1024 * 1024;
    return bytes % MiB == 0 ? QStringLiteral("%1 MiB").arg(bytes / MiB) : QStringLiteral("%1 bytes").arg(bytes);
}

} // namespace

RegularFile::~RegularFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool RegularFile::open(const QString &path, QString *problem)
{
    m_path = path;
    // Non-blocking, so that opening a FIFO returns at once; the type is checked on the open file.
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) {
        m_reason = QString::fromLocal8Bit(std::strerror(errno));
        *problem = readProblem(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    if (::fstat(m_fd, &m_status) != 0 || !S_ISREG(m_status.st_mode)) {
        const bool folder = S_ISDIR(m_status.st_mode);
        m_reason = folder ? QStringLiteral("It is a folder") : QStringLiteral("It is not a regular file");
        *problem = readProblem(path, folder ? QStringLiteral("it is a folder") : QStringLiteral("it is not a regular file"));
        ::close(m_fd);
        m_fd = -1;
        return false;
    }
    ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) & ~O_NONBLOCK);
    return true;
}

std::optional<QByteArray> RegularFile::readAll(QString *problem, qint64 limit)
{
    if (limit >= 0 && m_status.st_size > limit) {
        *problem = readProblem(m_path, QStringLiteral("it is larger than %1").arg(sizeText(limit)));
        return std::nullopt;
    }
    QByteArray bytes;
    bytes.reserve(qsizetype(m_status.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(m_fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            *problem = readProblem(m_path, QString::fromLocal8Bit(std::strerror(errno)));
            return std::nullopt;
        }
        if (got == 0)
            return bytes;
        bytes.append(chunk, got);
        // A file that grows while it is read is held to the limit too.
        if (limit >= 0 && bytes.size() > limit) {
            *problem = readProblem(m_path, QStringLiteral("it is larger than %1").arg(sizeText(limit)));
            return std::nullopt;
        }
    }
}

QByteArray RegularFile::readUpTo(qint64 size)
{
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    qsizetype got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(m_fd, bytes.data() + got, std::size_t(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += n;
    }
    bytes.truncate(got);
    return bytes;
}

std::optional<QByteArray> ReadRegularFile(const QString &path, QString *problem, qint64 limit)
{
    RegularFile file;
    if (!file.open(path, problem))
        return std::nullopt;
    return file.readAll(problem, limit);
}

QString RegularFileProblem(const QString &path)
{
    RegularFile file;
    QString problem;
    file.open(path, &problem);
    return problem;
}
