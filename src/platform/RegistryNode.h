#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// One key of a settings file in memory: its named string values in the order they were
// created (the recent-file list depends on that order) and its subkeys sorted by name
// without regard to case. Names compare without regard to case and keep the case they
// were created with. Registry's own building block; nothing else uses it.
class RegistryNode
{
public:
    struct Value
    {
        QString name;
        QString data;
    };

    explicit RegistryNode(QString name = QString()) : m_name(std::move(name)) {}
    RegistryNode(const RegistryNode &) = delete;
    RegistryNode &operator=(const RegistryNode &) = delete;

    const QString &name() const { return m_name; }
    const std::vector<Value> &values() const { return m_values; }
    const std::vector<std::unique_ptr<RegistryNode>> &subkeys() const { return m_subkeys; }

    const Value *value(const QString &name) const;
    // False when the value already held exactly this data, so nothing changed.
    bool setValue(const QString &name, const QString &data);
    bool removeValue(const QString &name);

    RegistryNode *subkey(const QString &name) const;
    // The existing subkey of that name, or a new one.
    RegistryNode &addSubkey(const QString &name);
    bool removeSubkey(const QString &name);
    // The key at the end of a path of subkey names; this key for an empty path.
    const RegistryNode *find(const QStringList &path) const;
    RegistryNode *find(const QStringList &path)
    {
        return const_cast<RegistryNode *>(static_cast<const RegistryNode *>(this)->find(path));
    }

    // The file form: one JSON object per key, {"values": [[name, data], ...],
    // "keys": {name: key, ...}}, both members left out when empty. Anything else
    // (wrong types, unknown members, names that clash without regard to case) is refused
    // with a description in problem, so a file we do not understand is never rewritten.
    static std::unique_ptr<RegistryNode> fromJson(const QByteArray &text, QString *problem);
    QByteArray toJson() const;

private:
    static bool readKey(const QJsonObject &object, RegistryNode &key, QString *problem);
    static bool readValues(const QJsonValue &member, RegistryNode &key, QString *problem);
    static bool readSubkeys(const QJsonValue &member, RegistryNode &key, QString *problem);
    std::vector<std::unique_ptr<RegistryNode>>::const_iterator lowerBound(const QString &name) const;

    QString m_name;
    std::vector<Value> m_values;
    std::vector<std::unique_ptr<RegistryNode>> m_subkeys;
};
