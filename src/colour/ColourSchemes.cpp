#include "colour/ColourSchemes.h"

#include "colour/PaletteSources.h"
#include "platform/RegistryKey.h"

#include <algorithm>
#include <limits>

namespace {

QString customColoursPath()
{
    return ColorPickerKey() + QStringLiteral("\\Custom Colours");
}

QString absoluteSchemePath(const QString &scheme)
{
    return ColorPickerKey() + QLatin1Char('\\') + SchemeKeyPath(scheme);
}

// A key opened on its own, so the caller's key stays where it is.
RegistryKey openAt(const RegistryKey &registry, const QString &path, bool create, bool *opened = nullptr)
{
    RegistryKey key(registry.registry(), registry.root());
    const bool ok = key.openKey(path, create);
    if (opened)
        *opened = ok;
    return key;
}

} // namespace

QString DefaultSchemeName()
{
    return QStringLiteral("[Default]");
}

QString LastSchemeValueName()
{
    return QStringLiteral("Last Scheme");
}

QString SchemeKeyPath(const QString &scheme)
{
    if (scheme == DefaultSchemeName())
        return QStringLiteral("Custom Colours");
    return QStringLiteral("Custom Colours\\") + scheme;
}

QStringList SchemeNames(const RegistryKey &registry)
{
    QStringList names = openAt(registry, customColoursPath(), true).subkeyNames();
    // A sub-key that happens to be called "[Default]" would be listed twice and never read.
    names.removeIf([](const QString &name) { return name.compare(DefaultSchemeName(), Qt::CaseInsensitive) == 0; });
    names.append(DefaultSchemeName());
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return names;
}

ColourValue SwatchValue(const QString &text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    qint64 number = 0;
    if (trimmed.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        const QString digits = trimmed.mid(2);
        // Only hexadecimal digits, at most eight of them: a 32-bit value.
        if (digits.size() <= 8 && !digits.startsWith(u'+') && !digits.startsWith(u'-'))
            number = digits.toLongLong(&ok, 16);
    } else if (const std::optional<qint64> decimal = ParseColourInteger(trimmed)) {
        ok = *decimal >= std::numeric_limits<qint32>::min() && *decimal <= std::numeric_limits<quint32>::max();
        number = *decimal;
    }
    return ok ? ColourValue(quint32(number)) : SwatchWhite;
}

QList<std::optional<ColourValue>> LoadSchemeColours(const RegistryKey &registry, const QString &scheme)
{
    bool opened = false;
    const RegistryKey key = openAt(registry, absoluteSchemePath(scheme), false, &opened);
    // Only the number of values decides how many swatches are read, by their names in order.
    const int stored = opened ? int(key.valueNames().size()) : 0;
    QList<std::optional<ColourValue>> colours;
    for (int i = 0; i < SwatchCount; ++i) {
        if (i < stored && key.valueExists(QString::number(i)))
            colours.append(SwatchValue(key.readString(QString::number(i))));
        else if (i < stored)
            colours.append(SwatchWhite);
        else
            colours.append(std::nullopt);
    }
    return colours;
}

bool SaveSchemeColours(const RegistryKey &registry, const QString &scheme, const QList<ColourValue> &colours)
{
    bool opened = false;
    RegistryKey key = openAt(registry, absoluteSchemePath(scheme), true, &opened);
    bool written = opened;
    for (int i = 0; i < colours.size() && written; ++i)
        written = key.writeString(QString::number(i), QString::number(qint32(colours.at(i))));
    return written;
}

bool DeleteScheme(const RegistryKey &registry, const QString &scheme)
{
    if (scheme == DefaultSchemeName() || scheme.isEmpty())
        return false;
    RegistryKey key(registry.registry(), registry.root());
    return key.deleteKey(absoluteSchemePath(scheme));
}

QString SwatchHint(ColourValue colour)
{
    return QLatin1Char('#') + ColourToHex(colour) + QStringLiteral("\r\n") + ColourToDecimal(colour);
}
