#pragma once

#include <QString>
#include <QStringList>

// The settings of an animation that are texts, stored exactly as typed.
enum class TextSetting {
    JavaWidth,      // "Applet Width"
    JavaHeight,     // "Applet Height"
    BetweenFrames,  // "Time Between Frames", milliseconds
    Delay,          // "Delay Before Restarting", milliseconds
    Repeat,         // "# of Times to Repeat"; empty means repeat without end
    Soundtrack,     // file path
    BackImage,      // file path
    HorizSpeed,     // "Horiz. Speed"
    VerticalSpeed,  // "Vertical Speed"
    FontSize,       // "Size"
};

// The settings that are drop-down lists with fixed items; each holds the index of its
// selected item, -1 for no selected item.
enum class ListSetting {
    Edge,            // "Behaviour At Edge"
    HorizDirection,  // "Horizontal Direction"
    VertDirection,   // "Vertical Direction"
    FontName,        // "Name" of the caption font
    FontStyle,       // "Style" of the caption font
};

inline constexpr int NoSelectedItem = -1;

// Item indexes of the lists.
enum EdgeItem { BounceOffEdge = 0, DisappearOffEdge = 1 };
enum HorizDirectionItem { NoSidewaysMovement = 0, LeftToRight = 1, RightToLeft = 2 };
enum VertDirectionItem { NoVerticalMovement = 0, TopToBottom = 1, BottomToTop = 2 };
enum FontStyleItem { FontStyleNone = 0, FontStyleBold = 1, FontStyleItalic = 2, FontStyleBoldItalic = 3 };

// Every text and list setting of an animation (the background colour is the document's
// colour field). Texts are kept as typed: nothing here checks or converts them.
struct AnimationSettings
{
    QString JavaWidth;
    QString JavaHeight;
    QString BetweenFrames;
    QString Delay;
    QString Repeat;
    QString Soundtrack;
    QString BackImage;
    QString HorizSpeed;
    QString VerticalSpeed;
    QString FontSize;

    int Edge = NoSelectedItem;
    int HorizDirection = NoSelectedItem;
    int VertDirection = NoSelectedItem;
    int FontName = NoSelectedItem;
    int FontStyle = NoSelectedItem;

    // "Scale pictures to fit": the web player fits each picture into the box (the Java applet
    // ignores the parameter and draws natural sizes). Off at start-up and after a reset.
    bool ScaleToFit = false;

    // The values at program start: "Time Between Frames" is "500", no font name or style.
    static AnimationSettings StartupValues();
    // The values after a reset: "Time Between Frames" is "0", "Helvetica" and "[None]".
    static AnimationSettings ResetValues();

    QString text(TextSetting setting) const;
    void setText(TextSetting setting, const QString &value);
    int selectedIndex(ListSetting setting) const;
    void setSelectedIndex(ListSetting setting, int index);
    // The text of the selected item; empty with no selected item.
    QString selectedItemText(ListSetting setting) const;

    // The fixed items of a list, in order.
    static QStringList items(ListSetting setting);
    // An index outside the list's items becomes NoSelectedItem.
    static int normalisedIndex(ListSetting setting, int index);

    // The What's-This help context of a setting's field; 0 when it has none.
    static int helpContext(TextSetting setting);
    static int helpContext(ListSetting setting);
    static int backgroundColourHelpContext() { return 20; }
    // The largest number the field lets the user type; 0 when there is no limit.
    static int maximum(TextSetting setting);

    static const QList<TextSetting> &allTextSettings();
    static const QList<ListSetting> &allListSettings();

    friend bool operator==(const AnimationSettings &a, const AnimationSettings &b);
    friend bool operator!=(const AnimationSettings &a, const AnimationSettings &b) { return !(a == b); }
};
