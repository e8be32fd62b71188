#include "controls/WidgetHelpers.h"

#include <QAbstractButton>
#include <QFile>
#include <QIcon>
#include <QWidget>

void CenterLabel(QWidget *label, CenterMode mode)
{
    CenterLabel(label, int(mode));
}

void CenterLabel(QWidget *label, int mode)
{
    if (!label || !label->parentWidget() || mode < 0 || mode > 2)
        return;
    const QWidget *parent = label->parentWidget();
    int left = label->x();
    int top = label->y();
    if (mode != int(CenterMode::Vertical))
        left = (parent->width() - label->width()) / 2;
    if (mode != int(CenterMode::Horizontal))
        top = (parent->height() - label->height()) / 2;
    label->move(left, top);
}

QString GlyphPath(const QString &resourceName)
{
    if (resourceName.isEmpty())
        return {};
    QStringList names{resourceName};
    if (resourceName.toLower() != resourceName)
        names.append(resourceName.toLower());
    for (const QString &name : std::as_const(names)) {
        for (const QLatin1String suffix : {QLatin1String(".svg"), QLatin1String(".png")}) {
            const QString path = QStringLiteral(":/glyphs/") + name + suffix;
            if (QFile::exists(path))
                return path;
        }
    }
    return {};
}

bool LoadGlyph(QAbstractButton *button, const QString &resourceName)
{
    if (!button)
        return false;
    const QString path = GlyphPath(resourceName);
    const QIcon icon = path.isEmpty() ? QIcon() : QIcon(path);
    button->setIcon(icon);
    return !icon.isNull();
}
