#pragma once

#include <QString>
#include <QStringList>

#include <memory>

// The settings store: two roots, each a tree of keys holding named string values.
// Keys are paths with "\" separators (a leading "\" is optional); key and value names
// compare without regard to case and keep the case they were created with; the unnamed
// value is the name "". CurrentUser is one JSON file that every write updates atomically
// under a lock, re-reading it first, so two running copies never lose each other's values.
// LocalMachine is read-only.
class Registry
{
public:
    enum class Root { CurrentUser, LocalMachine };

    // The files of the running user: $XDG_CONFIG_HOME/Tarnwick/registry.json and
    // $REELCRAFT_MACHINE_REGISTRY or /etc/xdg/Tarnwick/registry.json.
    Registry();
    Registry(const QString &currentUserFile, const QString &localMachineFile);
    ~Registry();
    Registry(const Registry &) = delete;
    Registry &operator=(const Registry &) = delete;

    QString fileName(Root root) const;

    bool keyExists(Root root, const QString &key) const;
    // Creates the key and its missing parents; false for LocalMachine or a failed write.
    bool createKey(Root root, const QString &key);
    bool valueExists(Root root, const QString &key, const QString &name) const;
    QString readString(Root root, const QString &key, const QString &name,
                       const QString &defaultValue = QString()) const;
    // Creates the key when missing. False for LocalMachine or a failed write.
    bool writeString(Root root, const QString &key, const QString &name, const QString &value);
    QStringList subkeyNames(Root root, const QString &key) const;
    QStringList valueNames(Root root, const QString &key) const;
    bool deleteValue(Root root, const QString &key, const QString &name);
    // Deletes the key with everything below it.
    bool deleteKey(Root root, const QString &key);

private:
    class Store;
    std::unique_ptr<Store> m_user;
    std::unique_ptr<Store> m_machine;
    Store &store(Root root) const;
};
