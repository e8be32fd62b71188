#pragma once

#include <QString>
#include <QStringList>

class RegistryKey;

// The paths of the recently opened or saved files, newest first, at most MaxEntries.
// Paths in Windows form (a drive letter or a backslash) compare without regard to case,
// POSIX paths with it. The registry keeps them in the subkey "Recent Files" of the
// caller's key, one empty string value per path, named by the path.
class RecentFileList
{
public:
    static constexpr int MaxEntries = 5;

    // What add() did, so a menu can mirror it item by item.
    struct Change
    {
        bool inserted = false;    // the path was new and now stands at the top
        bool droppedLast = false; // the list was full, so its last entry went
        int movedFrom = -1;       // the path was already listed here (0 = top, nothing moved)
    };

    static QString subkeyName() { return QStringLiteral("Recent Files"); }
    static bool samePath(const QString &a, const QString &b);

    // An empty path is ignored.
    Change add(const QString &path);
    const QStringList &paths() const { return m_paths; }
    int count() const { return int(m_paths.size()); }
    bool isEmpty() const { return m_paths.isEmpty(); }
    int indexOf(const QString &path) const;
    void clear() { m_paths.clear(); }

    // The value names of "Recent Files" below key, in the order the registry lists them.
    static QStringList readStored(const RegistryKey &key);
    // Adds the stored names from the last to the first, so the first name read ends on top.
    void load(const RegistryKey &key);
    // Replaces "Recent Files" below key with one empty value per path, top to bottom.
    // False when a write fails. The key that is open in key does not change.
    bool save(RegistryKey &key) const;

private:
    QStringList m_paths;
};
