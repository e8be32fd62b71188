#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QList>
#include <QPalette>
#include <QRect>
#include <QString>

#include <functional>

class QPainter;

// The drawing of a gradient title bar, apart from any window: colour tables, where the
// icon, caption buttons and text go, and the painting itself.

enum class TGFPaintWhen { gfpAlways, gfpActive, gfpNever };

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

enum TBorderIcon { biSystemMenu = 0x1, biMinimize = 0x2, biMaximize = 0x4, biHelp = 0x8 };
using TBorderIcons = int; // a combination of TBorderIcon

enum class CaptionButton { Close, Maximize, Minimize, Help };

namespace GradientCaption {

inline constexpr int DefaultColors = 64;
inline constexpr int MinColors = 8;
inline constexpr int MaxColors = 256;
// The solid fill of an active bar that draws no gradient.
inline const QColor SolidActiveColour{0, 128, 0};

// Entry k of n is the caption colour's red, green and blue times k / (n - 1), rounded to
// the nearest integer: entry 0 is black, entry n - 1 the caption colour itself.
QList<QColor> ColourTable(const QColor &captionColour, int steps);

bool IsToolWindow(TFormBorderStyle style);
bool IsSizeable(TFormBorderStyle style);
// The frame drawn round a window of the style: none, a thin single line, or a sizing frame.
int FrameWidth(TFormBorderStyle style);
// The caption font: the system's title font, bold; smaller for tool windows.
QFont CaptionFont(TFormBorderStyle style);
// Height of the title rectangle for the font (the caption height less 1 pixel).
int TitleHeight(const QFont &captionFont, TFormBorderStyle style);

struct ButtonPlace
{
    CaptionButton kind;
    QRect rect;
    bool enabled;
};

// Where everything goes in a title rectangle at (0, 0).
struct Layout
{
    QRect title;
    QRect icon;                 // empty when no icon is drawn
    QList<ButtonPlace> buttons; // right to left
    QRect text;                 // what is left for the caption text
};

Layout ComputeLayout(const QSize &titleSize, TFormBorderStyle style, TBorderIcons icons);

// What one painting of the bar needs.
struct PaintState
{
    QString caption;
    bool active = true;
    bool maximized = false;
    TGFPaintWhen paintWhen = TGFPaintWhen::gfpAlways;
    TFormBorderStyle style = TFormBorderStyle::bsSingle;
    TBorderIcons icons = biSystemMenu;
    QList<QColor> activeColours;
    QList<QColor> inactiveColours;
    QColor inactiveCaptionColour;
    QIcon icon;
    QFont font;
    QPalette palette;                   // button faces and glyphs
    int pressedButton = -1;             // index into Layout::buttons, -1 for none
    // Called after background, icon and buttons, with the caption font selected; it may
    // narrow the text rectangle.
    std::function<void(QPainter &canvas, QRect &textRect)> onCaptionPaint;
};

// The caption as drawn into a text rectangle of the given width: cut with an ellipsis
// when it does not fit (2 pixels are kept free at the left).
QString ElidedCaption(const QString &caption, const QFont &font, int textRectWidth);

// Paints the whole bar into the painter's area at (0, 0) of the layout's title size.
void Paint(QPainter &painter, const Layout &layout, const PaintState &state);

// The glyph of a caption button drawn into its rectangle.
void PaintButton(QPainter &painter, const ButtonPlace &button, bool pressed, bool maximized,
                 const QPalette &palette);

} // namespace GradientCaption
