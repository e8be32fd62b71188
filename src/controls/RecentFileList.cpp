#include "controls/RecentFileList.h"

#include "controls/PathUtils.h"
#include "platform/RegistryKey.h"

bool RecentFileList::samePath(const QString &a, const QString &b)
{
    return SamePath(a, b);
}

int RecentFileList::indexOf(const QString &path) const
{
    for (int i = 0; i < m_paths.size(); ++i) {
        if (samePath(m_paths.at(i), path))
            return i;
    }
    return -1;
}

RecentFileList::Change RecentFileList::add(const QString &path)
{
    Change change;
    if (path.isEmpty())
        return change; // nothing that could be opened again
    change.movedFrom = indexOf(path);
    if (change.movedFrom < 0) {
        if (m_paths.size() >= MaxEntries) {
            m_paths.removeLast();
            change.droppedLast = true;
        }
        m_paths.prepend(path);
        change.inserted = true;
    } else if (change.movedFrom > 0) {
        // The entry keeps the spelling it was first listed with.
        m_paths.move(change.movedFrom, 0);
    }
    return change;
}

QStringList RecentFileList::readStored(const RegistryKey &key)
{
    return key.registry().valueNames(key.root(), key.absolutePath(subkeyName()));
}

void RecentFileList::load(const RegistryKey &key)
{
    const QStringList names = readStored(key);
    for (int i = int(names.size()) - 1; i >= 0; --i)
        add(names.at(i));
}

bool RecentFileList::save(RegistryKey &key) const
{
    Registry &registry = key.registry();
    const QString subkey = key.absolutePath(subkeyName());
    bool written = true;
    if (registry.keyExists(key.root(), subkey))
        written = registry.deleteKey(key.root(), subkey);
    for (const QString &path : m_paths) {
        if (!registry.writeString(key.root(), subkey, path, QString()))
            written = false;
    }
    return written;
}
