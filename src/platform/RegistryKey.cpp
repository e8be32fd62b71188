#include "platform/RegistryKey.h"

RegistryKey::RegistryKey(Registry &registry, Registry::Root root) : m_registry(&registry), m_root(root) {}

bool RegistryKey::openKey(const QString &path, bool canCreate)
{
    const QString target = absolutePath(path);
    if (!m_registry->keyExists(m_root, target) && !(canCreate && m_registry->createKey(m_root, target)))
        return false;
    m_path = target;
    return true;
}

void RegistryKey::closeKey()
{
    m_path.clear();
}

// Joins the open key and a relative path, or takes a path that starts with "\" as it
// is; empty segments (doubled or trailing "\") are dropped, as the store drops them.
QString RegistryKey::absolutePath(const QString &relative) const
{
    const QString full = relative.startsWith(QLatin1Char('\\')) ? relative : m_path + QLatin1Char('\\') + relative;
    return full.split(QLatin1Char('\\'), Qt::SkipEmptyParts).join(QLatin1Char('\\'));
}

bool RegistryKey::keyExists(const QString &relative) const
{
    return m_registry->keyExists(m_root, absolutePath(relative));
}

bool RegistryKey::valueExists(const QString &name) const
{
    return m_registry->valueExists(m_root, m_path, name);
}

QString RegistryKey::readString(const QString &name, const QString &defaultValue) const
{
    return m_registry->readString(m_root, m_path, name, defaultValue);
}

bool RegistryKey::writeString(const QString &name, const QString &value)
{
    return m_registry->writeString(m_root, m_path, name, value);
}

QStringList RegistryKey::subkeyNames() const
{
    return m_registry->subkeyNames(m_root, m_path);
}

QStringList RegistryKey::valueNames() const
{
    return m_registry->valueNames(m_root, m_path);
}

bool RegistryKey::deleteValue(const QString &name)
{
    return m_registry->deleteValue(m_root, m_path, name);
}

bool RegistryKey::deleteKey(const QString &relative)
{
    return m_registry->deleteKey(m_root, absolutePath(relative));
}
