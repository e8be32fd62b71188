#include "platform/Registry.h"

#include "platform/RegistryNode.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtDebug>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// Settings files are a few kilobytes; anything this large is not one of ours.
constexpr qint64 MaxFileSize = 16 * 1024 * 1024;
// Each key level costs two JSON nesting levels and the parser stops at 1024, so deeper
// keys could be written but never read back.
constexpr qsizetype MaxKeyDepth = 256;
constexpr std::chrono::milliseconds LockTimeout(5000);

QStringList splitKey(const QString &key)
{
    return key.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

QString defaultUserFile()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/Tarnwick/registry.json");
}

QString defaultMachineFile()
{
    const QString chosen = qEnvironmentVariable("REELCRAFT_MACHINE_REGISTRY");
    return chosen.isEmpty() ? QStringLiteral("/etc/xdg/Tarnwick/registry.json") : chosen;
}

QString systemError(int number)
{
    return QString::fromLocal8Bit(std::strerror(number));
}

// What identifies one version of a file without reading it. Every write replaces the
// file by a rename, so the inode changes too, not only the time.
struct FileStamp
{
    bool present = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    static FileStamp of(const struct stat &info)
    {
        FileStamp stamp;
        stamp.present = true;
        stamp.device = info.st_dev;
        stamp.inode = info.st_ino;
        stamp.size = info.st_size;
        stamp.modified = info.st_mtim;
        stamp.changed = info.st_ctim;
        return stamp;
    }

    static FileStamp of(const QString &path)
    {
        struct stat info;
        if (::stat(QFile::encodeName(path).constData(), &info) != 0)
            return FileStamp();
        return of(info);
    }

    bool operator==(const FileStamp &other) const
    {
        if (present != other.present)
            return false;
        return !present
            || (device == other.device && inode == other.inode && size == other.size
                && modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec
                && changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec);
    }
    bool operator!=(const FileStamp &other) const { return !(*this == other); }
};

enum class FileState { Missing, Loaded, Damaged, Unreadable };

struct LoadedFile
{
    FileState state = FileState::Missing;
    std::unique_ptr<RegistryNode> tree = std::make_unique<RegistryNode>();
    FileStamp stamp;
    QString problem;
};

LoadedFile readFile(const QString &path)
{
    LoadedFile loaded;
    // Non-blocking, so a FIFO in the file's place cannot hang the program.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        if (error != ENOENT && error != ENOTDIR) {
            loaded.state = FileState::Unreadable;
            loaded.problem = systemError(error);
            loaded.stamp = FileStamp::of(path);
        }
        return loaded;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        loaded.state = FileState::Unreadable;
        loaded.problem = QStringLiteral("not a regular file");
        loaded.stamp = FileStamp::of(path);
        return loaded;
    }
    loaded.stamp = FileStamp::of(info);
    if (info.st_size > MaxFileSize) {
        ::close(fd);
        loaded.state = FileState::Damaged;
        loaded.problem = QStringLiteral("larger than %1 bytes").arg(MaxFileSize);
        return loaded;
    }

    QByteArray bytes;
    bytes.reserve(qsizetype(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            loaded.state = FileState::Unreadable;
            loaded.problem = systemError(errno);
            ::close(fd);
            return loaded;
        }
        if (count == 0)
            break;
        bytes.append(buffer, qsizetype(count));
        if (bytes.size() > MaxFileSize)
            break;
    }
    ::close(fd);

    QString problem;
    std::unique_ptr<RegistryNode> tree = bytes.size() > MaxFileSize ? nullptr : RegistryNode::fromJson(bytes, &problem);
    if (!tree) {
        loaded.state = FileState::Damaged;
        loaded.problem = problem.isEmpty() ? QStringLiteral("larger than %1 bytes").arg(MaxFileSize) : problem;
        return loaded;
    }
    loaded.state = FileState::Loaded;
    loaded.tree = std::move(tree);
    return loaded;
}

// An exclusive advisory lock on a file beside the settings file, held for one
// read-change-write. flock locks vanish with their process, so a crashed writer never
// leaves a stale lock, and waiting in short steps keeps two busy writers taking turns.
class FileLock
{
public:
    explicit FileLock(const QString &path) : m_path(path) {}
    ~FileLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    bool acquire()
    {
        m_fd = ::open(QFile::encodeName(m_path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600);
        if (m_fd < 0)
            return false;
        const auto deadline = std::chrono::steady_clock::now() + LockTimeout;
        std::chrono::milliseconds pause(1);
        for (;;) {
            if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
                return true;
            if (errno == EINTR)
                continue;
            if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline)
                break;
            std::this_thread::sleep_for(pause);
            pause = std::min(pause * 2, std::chrono::milliseconds(16));
        }
        ::close(m_fd);
        m_fd = -1;
        return false;
    }

private:
    QString m_path;
    int m_fd = -1;
};

} // namespace

// One settings file: its parsed tree, kept until the file on disk changes.
class Registry::Store
{
public:
    enum class Change { Failed, Unchanged, Changed };

    Store(QString path, bool writable) : m_path(std::move(path)), m_writable(writable) {}

    const QString &path() const { return m_path; }
    const RegistryNode &tree();
    bool modify(const std::function<Change(RegistryNode &)> &change);

private:
    QString lockPath() const { return m_path + QStringLiteral(".lock"); }
    bool setAside(LoadedFile &damaged);
    void report(const LoadedFile &damaged, const QString &keptAs);
    void adopt(LoadedFile &&loaded);

    QString m_path;
    bool m_writable;
    bool m_cached = false;
    FileStamp m_stamp;
    std::unique_ptr<RegistryNode> m_tree = std::make_unique<RegistryNode>();
    bool m_reported = false;
    FileStamp m_reportedStamp;
};

const RegistryNode &Registry::Store::tree()
{
    if (m_cached && FileStamp::of(m_path) == m_stamp)
        return *m_tree;
    LoadedFile loaded = readFile(m_path);
    if (loaded.state == FileState::Damaged) {
        // Only under the lock: another copy of the program may have replaced the damaged
        // file with a good one a moment ago, and that one must not be moved aside.
        FileLock lock(lockPath());
        if (m_writable && lock.acquire()) {
            loaded = readFile(m_path);
            if (loaded.state == FileState::Damaged)
                setAside(loaded);
        } else {
            report(loaded, QString());
        }
    }
    adopt(std::move(loaded));
    return *m_tree;
}

bool Registry::Store::modify(const std::function<Change(RegistryNode &)> &change)
{
    if (!m_writable || !QDir().mkpath(QFileInfo(m_path).absolutePath()))
        return false;
    FileLock lock(lockPath());
    if (!lock.acquire())
        return false;
    // Always read again under the lock: the change goes onto what is on disk now, so
    // values another copy of the program wrote since our last read are kept.
    LoadedFile loaded = readFile(m_path);
    if (loaded.state == FileState::Unreadable)
        return false;
    if (loaded.state == FileState::Damaged && !setAside(loaded))
        return false;

    const Change result = change(*loaded.tree);
    if (result != Change::Changed) {
        adopt(std::move(loaded));
        return result == Change::Unchanged;
    }
    const QByteArray text = loaded.tree->toJson();
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        m_cached = false;
        return false;
    }
    loaded.state = FileState::Loaded;
    loaded.stamp = FileStamp::of(m_path);
    adopt(std::move(loaded));
    return true;
}

// Moves a damaged file out of the way, keeping its bytes, and reports it. On success
// the loaded state becomes an empty store with no file.
bool Registry::Store::setAside(LoadedFile &damaged)
{
    const QString stem = m_path + QStringLiteral(".damaged-")
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString keptAs = stem;
    for (int n = 2; QFileInfo::exists(keptAs) && n < 1000; ++n)
        keptAs = stem + QLatin1Char('-') + QString::number(n);
    if (::rename(QFile::encodeName(m_path).constData(), QFile::encodeName(keptAs).constData()) != 0) {
        report(damaged, QString());
        return false;
    }
    report(damaged, keptAs);
    damaged.state = FileState::Missing;
    damaged.tree = std::make_unique<RegistryNode>();
    damaged.stamp = FileStamp::of(m_path);
    return true;
}

void Registry::Store::report(const LoadedFile &damaged, const QString &keptAs)
{
    if (m_reported && m_reportedStamp == damaged.stamp)
        return;
    m_reported = true;
    m_reportedStamp = damaged.stamp;
    if (keptAs.isEmpty()) {
        qWarning().noquote() << QStringLiteral("The settings file %1 cannot be read (%2); its settings are ignored.")
                                    .arg(m_path, damaged.problem);
    } else {
        qWarning().noquote() << QStringLiteral("The settings file %1 cannot be read (%2); it was kept as %3 and the "
                                               "settings start empty.")
                                    .arg(m_path, damaged.problem, keptAs);
    }
}

void Registry::Store::adopt(LoadedFile &&loaded)
{
    m_tree = std::move(loaded.tree);
    m_stamp = loaded.stamp;
    m_cached = true;
}

Registry::Registry() : Registry(defaultUserFile(), defaultMachineFile()) {}

Registry::Registry(const QString &currentUserFile, const QString &localMachineFile)
    : m_user(std::make_unique<Store>(currentUserFile, true))
    , m_machine(std::make_unique<Store>(localMachineFile, false))
{
}

Registry::~Registry() = default;

Registry::Store &Registry::store(Root root) const
{
    return root == Root::CurrentUser ? *m_user : *m_machine;
}

QString Registry::fileName(Root root) const
{
    return store(root).path();
}

bool Registry::keyExists(Root root, const QString &key) const
{
    return store(root).tree().find(splitKey(key)) != nullptr;
}

namespace {

// Walks down a path, creating what is missing; notes whether anything was created.
RegistryNode &createPath(RegistryNode &root, const QStringList &path, bool &created)
{
    RegistryNode *key = &root;
    for (const QString &name : path) {
        RegistryNode *next = key->subkey(name);
        if (!next) {
            next = &key->addSubkey(name);
            created = true;
        }
        key = next;
    }
    return *key;
}

} // namespace

bool Registry::createKey(Root root, const QString &key)
{
    const QStringList path = splitKey(key);
    if (path.size() > MaxKeyDepth)
        return false;
    return store(root).modify([&path](RegistryNode &tree) {
        bool created = false;
        createPath(tree, path, created);
        return created ? Store::Change::Changed : Store::Change::Unchanged;
    });
}

bool Registry::valueExists(Root root, const QString &key, const QString &name) const
{
    const RegistryNode *node = store(root).tree().find(splitKey(key));
    return node && node->value(name);
}

QString Registry::readString(Root root, const QString &key, const QString &name, const QString &defaultValue) const
{
    const RegistryNode *node = store(root).tree().find(splitKey(key));
    const RegistryNode::Value *value = node ? node->value(name) : nullptr;
    return value ? value->data : defaultValue;
}

bool Registry::writeString(Root root, const QString &key, const QString &name, const QString &value)
{
    const QStringList path = splitKey(key);
    if (path.size() > MaxKeyDepth)
        return false;
    return store(root).modify([&](RegistryNode &tree) {
        bool changed = false;
        RegistryNode &node = createPath(tree, path, changed);
        changed = node.setValue(name, value) || changed;
        return changed ? Store::Change::Changed : Store::Change::Unchanged;
    });
}

QStringList Registry::subkeyNames(Root root, const QString &key) const
{
    QStringList names;
    if (const RegistryNode *node = store(root).tree().find(splitKey(key))) {
        for (const auto &subkey : node->subkeys())
            names.append(subkey->name());
    }
    return names;
}

QStringList Registry::valueNames(Root root, const QString &key) const
{
    QStringList names;
    if (const RegistryNode *node = store(root).tree().find(splitKey(key))) {
        for (const RegistryNode::Value &value : node->values())
            names.append(value.name);
    }
    return names;
}

bool Registry::deleteValue(Root root, const QString &key, const QString &name)
{
    const QStringList path = splitKey(key);
    return store(root).modify([&](RegistryNode &tree) {
        RegistryNode *node = tree.find(path);
        return node && node->removeValue(name) ? Store::Change::Changed : Store::Change::Failed;
    });
}

bool Registry::deleteKey(Root root, const QString &key)
{
    QStringList path = splitKey(key);
    // The root itself is never deleted.
    if (path.isEmpty())
        return false;
    const QString last = path.takeLast();
    return store(root).modify([&](RegistryNode &tree) {
        RegistryNode *parent = tree.find(path);
        return parent && parent->removeSubkey(last) ? Store::Change::Changed : Store::Change::Failed;
    });
}
