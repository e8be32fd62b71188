#include "colour/PaletteSources.h"

#include "controls/FileText.h"
#include "controls/PathUtils.h"
#include "platform/AppFolders.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

QString BuiltInPaletteName()
{
    return QStringLiteral("websafe.pal");
}

QString BuiltInPaletteResource()
{
    return QStringLiteral("WEBSAFE");
}

QString BuiltInPalettePath()
{
    return JoinPath(GetTempFolder(), BuiltInPaletteName());
}

bool EnsureBuiltInPalette(Prompts &prompts)
{
    const QString path = BuiltInPalettePath();
    if (QFileInfo::exists(path))
        return true;
    return ExtractResourceToFile(path, BuiltInPaletteResource(), prompts);
}

QStringList PaletteListEntries(const QString &folder)
{
    QStringList names;
    const QDir dir(folder);
    const QDir::Filters filters = QDir::Files | QDir::Hidden | QDir::System;
    for (const char *pattern : {"*.pal", "*.gif", "*.act"}) {
        for (const QString &name : dir.entryList({QString::fromLatin1(pattern)}, filters, QDir::Name)) {
            if (name != BuiltInPaletteName())
                names.append(name);
        }
    }
    names.append(BuiltInPaletteName());
    std::stable_sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    return names;
}

QString PaletteFileFilter()
{
    return QStringLiteral("GIF files (*.gif);;Palette Files (RIFF & JASC) (*.pal);;Photoshop Palettes (*.act)");
}

int PaletteFilterIndex(const QString &currentFile)
{
    const QString lower = currentFile.toLower();
    if (lower.endsWith(QLatin1String(".pal")))
        return 1;
    if (lower.endsWith(QLatin1String(".act")))
        return 2;
    return 0;
}

QString ColorPickerKey()
{
    return QStringLiteral("\\Software\\Tarnwick\\Color Picker");
}
