#include "document/AnimationSettings.h"

AnimationSettings AnimationSettings::StartupValues()
{
    AnimationSettings s;
    s.JavaWidth = QStringLiteral("600");
    s.JavaHeight = QStringLiteral("200");
    s.BetweenFrames = QStringLiteral("500");
    s.Delay = QStringLiteral("0");
    s.HorizSpeed = QStringLiteral("0");
    s.VerticalSpeed = QStringLiteral("0");
    s.FontSize = QStringLiteral("16");
    s.Edge = BounceOffEdge;
    s.HorizDirection = NoSidewaysMovement;
    s.VertDirection = NoVerticalMovement;
    // The font lists have no selected item until the first reset or the user's pick.
    s.FontName = NoSelectedItem;
    s.FontStyle = NoSelectedItem;
    return s;
}

AnimationSettings AnimationSettings::ResetValues()
{
    AnimationSettings s = StartupValues();
    s.BetweenFrames = QStringLiteral("0");
    s.FontName = 0;
    s.FontStyle = FontStyleNone;
    return s;
}

QString AnimationSettings::text(TextSetting setting) const
{
    switch (setting) {
    case TextSetting::JavaWidth: return JavaWidth;
    case TextSetting::JavaHeight: return JavaHeight;
    case TextSetting::BetweenFrames: return BetweenFrames;
    case TextSetting::Delay: return Delay;
    case TextSetting::Repeat: return Repeat;
    case TextSetting::Soundtrack: return Soundtrack;
    case TextSetting::BackImage: return BackImage;
    case TextSetting::HorizSpeed: return HorizSpeed;
    case TextSetting::VerticalSpeed: return VerticalSpeed;
    case TextSetting::FontSize: return FontSize;
    }
    return QString();
}

void AnimationSettings::setText(TextSetting setting, const QString &value)
{
    switch (setting) {
    case TextSetting::JavaWidth: JavaWidth = value; break;
    case TextSetting::JavaHeight: JavaHeight = value; break;
    case TextSetting::BetweenFrames: BetweenFrames = value; break;
    case TextSetting::Delay: Delay = value; break;
    case TextSetting::Repeat: Repeat = value; break;
    case TextSetting::Soundtrack: Soundtrack = value; break;
    case TextSetting::BackImage: BackImage = value; break;
    case TextSetting::HorizSpeed: HorizSpeed = value; break;
    case TextSetting::VerticalSpeed: VerticalSpeed = value; break;
    case TextSetting::FontSize: FontSize = value; break;
    }
}

int AnimationSettings::selectedIndex(ListSetting setting) const
{
    switch (setting) {
    case ListSetting::Edge: return Edge;
    case ListSetting::HorizDirection: return HorizDirection;
    case ListSetting::VertDirection: return VertDirection;
    case ListSetting::FontName: return FontName;
    case ListSetting::FontStyle: return FontStyle;
    }
    return NoSelectedItem;
}

void AnimationSettings::setSelectedIndex(ListSetting setting, int index)
{
    index = normalisedIndex(setting, index);
    switch (setting) {
    case ListSetting::Edge: Edge = index; break;
    case ListSetting::HorizDirection: HorizDirection = index; break;
    case ListSetting::VertDirection: VertDirection = index; break;
    case ListSetting::FontName: FontName = index; break;
    case ListSetting::FontStyle: FontStyle = index; break;
    }
}

QString AnimationSettings::selectedItemText(ListSetting setting) const
{
    const int index = selectedIndex(setting);
    const QStringList list = items(setting);
    return index >= 0 && index < list.size() ? list.at(index) : QString();
}

QStringList AnimationSettings::items(ListSetting setting)
{
    switch (setting) {
    case ListSetting::Edge:
        return {QStringLiteral("Bounce Off Edge"), QStringLiteral("Disappear Off Edge")};
    case ListSetting::HorizDirection:
        return {QStringLiteral("No Sideways Movement"), QStringLiteral("Left To Right"),
                QStringLiteral("Right To Left")};
    case ListSetting::VertDirection:
        return {QStringLiteral("No Vertical Movement"), QStringLiteral("Top To Bottom"),
                QStringLiteral("Bottom To Top")};
    case ListSetting::FontName:
        return {QStringLiteral("Helvetica"), QStringLiteral("TimesRoman"), QStringLiteral("Courier"),
                QStringLiteral("Dialog"), QStringLiteral("DialogInput"), QStringLiteral("Symbol")};
    case ListSetting::FontStyle:
        return {QStringLiteral("[None]"), QStringLiteral("Bold"), QStringLiteral("Italic"),
                QStringLiteral("Bold + Italic")};
    }
    return {};
}

int AnimationSettings::normalisedIndex(ListSetting setting, int index)
{
    return index >= 0 && index < items(setting).size() ? index : NoSelectedItem;
}

int AnimationSettings::helpContext(TextSetting setting)
{
    switch (setting) {
    case TextSetting::JavaWidth:
    case TextSetting::JavaHeight: return 25;
    case TextSetting::BetweenFrames: return 18;
    case TextSetting::Delay: return 19;
    case TextSetting::Repeat: return 26;
    case TextSetting::Soundtrack: return 21;
    case TextSetting::HorizSpeed: return 24;
    case TextSetting::BackImage:
    case TextSetting::VerticalSpeed:
    case TextSetting::FontSize: return 0;
    }
    return 0;
}

int AnimationSettings::helpContext(ListSetting setting)
{
    switch (setting) {
    case ListSetting::Edge: return 22;
    case ListSetting::HorizDirection: return 23;
    case ListSetting::VertDirection:
    case ListSetting::FontName:
    case ListSetting::FontStyle: return 0;
    }
    return 0;
}

int AnimationSettings::maximum(TextSetting setting)
{
    switch (setting) {
    case TextSetting::Repeat: return 9999999;
    case TextSetting::FontSize: return 127;
    default: return 0;
    }
}

const QList<TextSetting> &AnimationSettings::allTextSettings()
{
    // In the order the reset sets them.
    static const QList<TextSetting> all = {
        TextSetting::JavaWidth, TextSetting::JavaHeight, TextSetting::Soundtrack,
        TextSetting::BackImage, TextSetting::FontSize, TextSetting::Repeat,
        TextSetting::VerticalSpeed, TextSetting::HorizSpeed, TextSetting::BetweenFrames,
        TextSetting::Delay};
    return all;
}

const QList<ListSetting> &AnimationSettings::allListSettings()
{
    static const QList<ListSetting> all = {ListSetting::Edge, ListSetting::HorizDirection,
                                           ListSetting::VertDirection, ListSetting::FontName,
                                           ListSetting::FontStyle};
    return all;
}

bool operator==(const AnimationSettings &a, const AnimationSettings &b)
{
    for (TextSetting setting : AnimationSettings::allTextSettings()) {
        if (a.text(setting) != b.text(setting))
            return false;
    }
    for (ListSetting setting : AnimationSettings::allListSettings()) {
        if (a.selectedIndex(setting) != b.selectedIndex(setting))
            return false;
    }
    return a.ScaleToFit == b.ScaleToFit;
}
