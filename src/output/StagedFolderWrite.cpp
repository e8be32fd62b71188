#include "output/StagedFolderWrite.h"

#include "imaging/JpegMetadata.h"
#include "platform/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The temporary files alive in this process, for a signal handler to remove: a fixed table,
// since a handler may neither lock nor allocate. A file staged while the table is full is still
// removed on every other path.
constexpr int CleanupSlots = 4096;
constexpr std::size_t TemporaryNameSize = 24;

struct CleanupSlot
{
    std::atomic<int> state{0}; // 0 free, 1 being filled, 2 live
    int folderFd = -1;
    char name[TemporaryNameSize] = {};
};

CleanupSlot g_cleanup[CleanupSlots];

int registerTemporary(int folderFd, const QByteArray &name)
{
    if (std::size_t(name.size()) >= TemporaryNameSize)
        return -1;
    for (int i = 0; i < CleanupSlots; ++i) {
        int expected = 0;
        if (!g_cleanup[i].state.compare_exchange_strong(expected, 1))
            continue;
        g_cleanup[i].folderFd = folderFd;
        std::memcpy(g_cleanup[i].name, name.constData(), std::size_t(name.size()) + 1);
        g_cleanup[i].state.store(2);
        return i;
    }
    return -1;
}

void unregisterTemporary(int slot)
{
    if (slot >= 0)
        g_cleanup[slot].state.store(0);
}

extern "C" void removeStagedFilesAndEnd(int signalNumber)
{
    for (CleanupSlot &slot : g_cleanup) {
        if (slot.state.load() == 2)
            ::unlinkat(slot.folderFd, slot.name, 0);
    }
    ::signal(signalNumber, SIG_DFL);
    ::raise(signalNumber);
}

QByteArray temporaryName()
{
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray name(".reelcraft-");
    for (int i = 0; i < 6; ++i)
        name.append(letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)]);
    return name;
}

QString errorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool writeAllTo(int fd, const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, std::size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

// A QIODevice over a descriptor it does not own, for Writer callbacks.
class DescriptorDevice : public QIODevice
{
public:
    explicit DescriptorDevice(int fd) : m_fd(fd) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        return writeAllTo(m_fd, data, size) ? size : -1;
    }

private:
    int m_fd;
};

} // namespace

void RemoveStagedFilesOnTerminateSignals()
{
    struct sigaction action = {};
    action.sa_handler = removeStagedFilesAndEnd;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signalNumber, &action, nullptr);
}

StagedFolderWrite::StagedFolderWrite(const QString &folder) : m_folder(folder)
{
    m_folderFd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_folderFd < 0)
        m_openProblem = QStringLiteral("cannot open the folder \"%1\": %2").arg(folder, errorText(errno));
}

StagedFolderWrite::~StagedFolderWrite()
{
    discard();
    if (m_folderFd >= 0)
        ::close(m_folderFd);
}

QString StagedFolderWrite::targetText(const QString &name) const
{
    return QFileInfo(m_folder).filePath() + (m_folder.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/"))
        + name;
}

int StagedFolderWrite::createTemporary(Staged *staged, QString *problem)
{
    if (m_folderFd < 0) {
        *problem = m_openProblem;
        return -1;
    }
    const QString &name = staged->name;
    if (name.isEmpty() || name == u"." || name == u".." || name.contains(QLatin1Char('/')) || name.contains(QChar(0))) {
        *problem = QStringLiteral("cannot write \"%1\" into \"%2\": it is no file name").arg(name, m_folder);
        return -1;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = temporaryName();
        const int fd = ::openat(m_folderFd, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) {
            staged->temporary = name;
            staged->slot = registerTemporary(m_folderFd, name);
            return fd;
        }
        if (errno != EEXIST) {
            *problem = QStringLiteral("cannot write \"%1\": %2").arg(targetText(staged->name), errorText(errno));
            return -1;
        }
    }
    *problem = QStringLiteral("cannot write \"%1\": no free temporary name").arg(targetText(staged->name));
    return -1;
}

void StagedFolderWrite::removeTemporary(const Staged &staged)
{
    ::unlinkat(m_folderFd, staged.temporary.constData(), 0);
    unregisterTemporary(staged.slot);
}

bool StagedFolderWrite::finish(int fd, Staged staged, bool written, QString *problem)
{
    if (written && ::fdatasync(fd) != 0) {
        *problem = QStringLiteral("cannot write \"%1\": %2").arg(targetText(staged.name), errorText(errno));
        written = false;
    }
    if (::close(fd) != 0 && written) {
        *problem = QStringLiteral("cannot write \"%1\": %2").arg(targetText(staged.name), errorText(errno));
        written = false;
    }
    if (!written) {
        removeTemporary(staged);
        return false;
    }
    QMutexLocker lock(&m_mutex);
    for (qsizetype i = 0; i < m_staged.size(); ++i) {
        if (m_staged.at(i).name == staged.name) {
            removeTemporary(m_staged.at(i));
            m_staged.removeAt(i);
            break;
        }
    }
    m_staged.append(std::move(staged));
    return true;
}

bool StagedFolderWrite::stageWritten(const QString &name, const Writer &write, QString *problem)
{
    Staged staged;
    staged.name = name;
    const int fd = createTemporary(&staged, problem);
    if (fd < 0)
        return false;
    DescriptorDevice device(fd);
    QString writeProblem;
    const bool written = write(device, &writeProblem);
    if (!written)
        *problem = writeProblem.isEmpty() ? QStringLiteral("cannot write \"%1\"").arg(targetText(name)) : writeProblem;
    return finish(fd, std::move(staged), written, problem);
}

bool StagedFolderWrite::stageBytes(const QString &name, const QByteArray &bytes, QString *problem)
{
    return stageWritten(name, [&](QIODevice &out, QString *writeProblem) {
        if (out.write(bytes) == bytes.size())
            return true;
        *writeProblem = QStringLiteral("cannot write \"%1\": %2").arg(targetText(name), errorText(errno));
        return false;
    }, problem);
}

bool StagedFolderWrite::stageCopy(const QString &source, const QString &name, QString *problem, bool *itself)
{
    if (itself)
        *itself = false;
    RegularFile file;
    if (!file.open(source, problem))
        return false;
    // The target is the source itself (the pictures already lie in the folder): leave it be.
    struct stat target = {};
    if (m_folderFd >= 0 && ::fstatat(m_folderFd, QFile::encodeName(name).constData(), &target, AT_SYMLINK_NOFOLLOW) == 0
        && target.st_dev == file.status().st_dev && target.st_ino == file.status().st_ino) {
        if (itself)
            *itself = true;
        return true;
    }
    std::optional<QByteArray> bytes = file.readAll(problem);
    if (!bytes)
        return false;
    if (bytes->startsWith("\xFF\xD8")) {
        if (std::optional<QByteArray> stripped = JpegWithoutMetadata(*bytes))
            bytes = std::move(stripped);
    }
    return stageBytes(name, *bytes, problem);
}

QStringList StagedFolderWrite::stagedNames() const
{
    QMutexLocker lock(&m_mutex);
    QStringList names;
    for (const Staged &staged : m_staged)
        names.append(staged.name);
    return names;
}

bool StagedFolderWrite::commit(QString *problem)
{
    QMutexLocker lock(&m_mutex);
    // Every target is checked before the first rename, so a refusal changes nothing.
    for (const Staged &staged : std::as_const(m_staged)) {
        struct stat target = {};
        const QByteArray name = QFile::encodeName(staged.name);
        if (::fstatat(m_folderFd, name.constData(), &target, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT)
                continue;
            *problem = QStringLiteral("cannot write \"%1\": %2").arg(targetText(staged.name), errorText(errno));
        } else if (S_ISLNK(target.st_mode)) {
            continue;
        } else if (S_ISREG(target.st_mode)) {
            // A file that is replaced keeps its permissions.
            ::fchmodat(m_folderFd, staged.temporary.constData(), target.st_mode & 07777, 0);
            continue;
        } else {
            *problem = QStringLiteral("cannot write \"%1\": %2 is in the way")
                           .arg(targetText(staged.name), S_ISDIR(target.st_mode) ? QStringLiteral("a folder")
                                                                                : QStringLiteral("something that is no file"));
        }
        lock.unlock();
        discard();
        return false;
    }
    while (!m_staged.isEmpty()) {
        const Staged staged = m_staged.takeFirst();
        if (::renameat(m_folderFd, staged.temporary.constData(), m_folderFd,
                       QFile::encodeName(staged.name).constData()) != 0) {
            *problem = QStringLiteral("cannot write \"%1\": %2").arg(targetText(staged.name), errorText(errno));
            removeTemporary(staged);
            lock.unlock();
            discard();
            return false;
        }
        unregisterTemporary(staged.slot);
    }
    return true;
}

void StagedFolderWrite::discard()
{
    QMutexLocker lock(&m_mutex);
    for (const Staged &staged : std::as_const(m_staged))
        removeTemporary(staged);
    m_staged.clear();
}
