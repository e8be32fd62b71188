#pragma once

#include "platform/Registry.h"

// A registry access object opened on one key, as the settings helpers and controls take it.
// openKey with a path starting with "\" opens from the root, any other path relative to the
// key that is open now.
class RegistryKey
{
public:
    explicit RegistryKey(Registry &registry, Registry::Root root = Registry::Root::CurrentUser);

    Registry &registry() const { return *m_registry; }
    Registry::Root root() const { return m_root; }
    // The open key's full path without a leading "\"; empty for the root.
    QString currentPath() const { return m_path; }

    bool openKey(const QString &path, bool canCreate);
    void closeKey();
    QString absolutePath(const QString &relative) const;

    bool keyExists(const QString &relative) const;
    bool valueExists(const QString &name) const;
    QString readString(const QString &name, const QString &defaultValue = QString()) const;
    bool writeString(const QString &name, const QString &value);
    QStringList subkeyNames() const;
    QStringList valueNames() const;
    bool deleteValue(const QString &name);
    bool deleteKey(const QString &relative);

private:
    Registry *m_registry;
    Registry::Root m_root;
    QString m_path;
};
