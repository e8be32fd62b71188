#include "platform/RegistryNode.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {

const QString ValuesMember = QStringLiteral("values");
const QString KeysMember = QStringLiteral("keys");

bool sameName(const QString &a, const QString &b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

bool nameBefore(const QString &a, const QString &b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

// The first name that occurs twice without regard to case, or a null string.
QString clashingName(QStringList names)
{
    std::sort(names.begin(), names.end(), nameBefore);
    for (qsizetype i = 1; i < names.size(); ++i) {
        if (sameName(names.at(i - 1), names.at(i)))
            return names.at(i);
    }
    return QString();
}

} // namespace

bool RegistryNode::readValues(const QJsonValue &member, RegistryNode &key, QString *problem)
{
    if (!member.isArray()) {
        *problem = QStringLiteral("\"values\" is not a list");
        return false;
    }
    const QJsonArray list = member.toArray();
    QStringList names;
    names.reserve(list.size());
    for (const QJsonValue &entry : list) {
        const QJsonArray pair = entry.toArray();
        if (!entry.isArray() || pair.size() != 2 || !pair.at(0).isString() || !pair.at(1).isString()) {
            *problem = QStringLiteral("a value is not a pair of name and text");
            return false;
        }
        names.append(pair.at(0).toString());
    }
    const QString clash = clashingName(names);
    if (!clash.isNull()) {
        *problem = QStringLiteral("the value name \"%1\" occurs twice").arg(clash);
        return false;
    }
    key.m_values.reserve(key.m_values.size() + size_t(list.size()));
    for (qsizetype i = 0; i < list.size(); ++i)
        key.m_values.push_back(Value{names.at(i), list.at(i).toArray().at(1).toString()});
    return true;
}

bool RegistryNode::readSubkeys(const QJsonValue &member, RegistryNode &key, QString *problem)
{
    if (!member.isObject()) {
        *problem = QStringLiteral("\"keys\" is not an object");
        return false;
    }
    const QJsonObject subkeys = member.toObject();
    const QString clash = clashingName(subkeys.keys());
    if (!clash.isNull()) {
        *problem = QStringLiteral("the key name \"%1\" occurs twice").arg(clash);
        return false;
    }
    for (auto it = subkeys.constBegin(); it != subkeys.constEnd(); ++it) {
        if (it.key().isEmpty() || it.key().contains(QLatin1Char('\\'))) {
            *problem = QStringLiteral("the key name \"%1\" is empty or holds \"\\\"").arg(it.key());
            return false;
        }
        if (!it.value().isObject()) {
            *problem = QStringLiteral("the key \"%1\" is not an object").arg(it.key());
            return false;
        }
        key.m_subkeys.push_back(std::make_unique<RegistryNode>(it.key()));
        if (!readKey(it.value().toObject(), *key.m_subkeys.back(), problem))
            return false;
    }
    // Appended in the file's order and sorted once: inserting each in place would take
    // time quadratic in the number of subkeys.
    std::stable_sort(key.m_subkeys.begin(), key.m_subkeys.end(),
                     [](const std::unique_ptr<RegistryNode> &a, const std::unique_ptr<RegistryNode> &b) {
                         return nameBefore(a->name(), b->name());
                     });
    return true;
}

// The parser limits nesting to 1024 levels, which bounds this recursion.
bool RegistryNode::readKey(const QJsonObject &object, RegistryNode &key, QString *problem)
{
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        bool ok = false;
        if (it.key() == ValuesMember)
            ok = readValues(it.value(), key, problem);
        else if (it.key() == KeysMember)
            ok = readSubkeys(it.value(), key, problem);
        else
            *problem = QStringLiteral("unknown member \"%1\"").arg(it.key());
        if (!ok)
            return false;
    }
    return true;
}

namespace {

// JSON string text. Non-ASCII letters stay as they are so the file reads well; a lone
// surrogate (possible in a QString, not in UTF-8) is escaped so it survives the trip.
void appendQuoted(QString &out, const QString &text)
{
    out += QLatin1Char('"');
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
        } else if (u == u'"' || u == u'\\') {
            out += QLatin1Char('\\');
            out += c;
        } else if (u == u'\n') {
            out += QLatin1String("\\n");
        } else if (u == u'\r') {
            out += QLatin1String("\\r");
        } else if (u == u'\t') {
            out += QLatin1String("\\t");
        } else if (u < 0x20 || c.isSurrogate()) {
            out += QStringLiteral("\\u%1").arg(uint(u), 4, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    out += QLatin1Char('"');
}

void appendKey(QString &out, const RegistryNode &key, int depth)
{
    const QString inner(4 * (depth + 1), QLatin1Char(' '));
    const QString innerMost(4 * (depth + 2), QLatin1Char(' '));
    if (key.values().empty() && key.subkeys().empty()) {
        out += QLatin1String("{}");
        return;
    }
    out += QLatin1String("{\n");
    if (!key.values().empty()) {
        out += inner + QLatin1String("\"values\": [\n");
        for (size_t i = 0; i < key.values().size(); ++i) {
            const RegistryNode::Value &value = key.values()[i];
            out += innerMost + QLatin1Char('[');
            appendQuoted(out, value.name);
            out += QLatin1String(", ");
            appendQuoted(out, value.data);
            out += i + 1 < key.values().size() ? QLatin1String("],\n") : QLatin1String("]\n");
        }
        out += inner + QLatin1Char(']');
        out += key.subkeys().empty() ? QLatin1String("\n") : QLatin1String(",\n");
    }
    if (!key.subkeys().empty()) {
        out += inner + QLatin1String("\"keys\": {\n");
        for (size_t i = 0; i < key.subkeys().size(); ++i) {
            const RegistryNode &subkey = *key.subkeys()[i];
            out += innerMost;
            appendQuoted(out, subkey.name());
            out += QLatin1String(": ");
            appendKey(out, subkey, depth + 2);
            out += i + 1 < key.subkeys().size() ? QLatin1String(",\n") : QLatin1String("\n");
        }
        out += inner + QLatin1String("}\n");
    }
    out += QString(4 * depth, QLatin1Char(' ')) + QLatin1Char('}');
}

} // namespace

const RegistryNode::Value *RegistryNode::value(const QString &name) const
{
    for (const Value &value : m_values) {
        if (sameName(value.name, name))
            return &value;
    }
    return nullptr;
}

bool RegistryNode::setValue(const QString &name, const QString &data)
{
    if (Value *existing = const_cast<Value *>(value(name))) {
        if (existing->data == data)
            return false;
        existing->data = data;
        return true;
    }
    m_values.push_back(Value{name, data});
    return true;
}

bool RegistryNode::removeValue(const QString &name)
{
    const auto it = std::find_if(m_values.begin(), m_values.end(),
                                 [&name](const Value &value) { return sameName(value.name, name); });
    if (it == m_values.end())
        return false;
    m_values.erase(it);
    return true;
}

std::vector<std::unique_ptr<RegistryNode>>::const_iterator RegistryNode::lowerBound(const QString &name) const
{
    return std::lower_bound(m_subkeys.begin(), m_subkeys.end(), name,
                            [](const std::unique_ptr<RegistryNode> &key, const QString &wanted) {
                                return nameBefore(key->name(), wanted);
                            });
}

RegistryNode *RegistryNode::subkey(const QString &name) const
{
    const auto it = lowerBound(name);
    return it != m_subkeys.end() && sameName((*it)->name(), name) ? it->get() : nullptr;
}

RegistryNode &RegistryNode::addSubkey(const QString &name)
{
    const auto it = lowerBound(name);
    if (it != m_subkeys.end() && sameName((*it)->name(), name))
        return **it;
    return **m_subkeys.insert(it, std::make_unique<RegistryNode>(name));
}

bool RegistryNode::removeSubkey(const QString &name)
{
    const auto it = lowerBound(name);
    if (it == m_subkeys.end() || !sameName((*it)->name(), name))
        return false;
    m_subkeys.erase(it);
    return true;
}

const RegistryNode *RegistryNode::find(const QStringList &path) const
{
    const RegistryNode *key = this;
    for (const QString &name : path) {
        key = key->subkey(name);
        if (!key)
            return nullptr;
    }
    return key;
}

std::unique_ptr<RegistryNode> RegistryNode::fromJson(const QByteArray &text, QString *problem)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError) {
        *problem = QStringLiteral("%1 at byte %2").arg(error.errorString()).arg(error.offset);
        return nullptr;
    }
    if (!document.isObject()) {
        *problem = QStringLiteral("the file is not one JSON object");
        return nullptr;
    }
    auto root = std::make_unique<RegistryNode>();
    if (!readKey(document.object(), *root, problem))
        return nullptr;
    return root;
}

QByteArray RegistryNode::toJson() const
{
    QString out;
    appendKey(out, *this, 0);
    out += QLatin1Char('\n');
    return out.toUtf8();
}
