#include "controls/GradientCaption.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace GradientCaption {

namespace {

int scaled(int component, int k, int n)
{
    return int(std::lround(double(component) * k / (n - 1)));
}

// A raised (or, pressed, sunken) button face in the classic two-line bevel.
void paintBevel(QPainter &painter, const QRect &r, bool pressed, const QPalette &palette)
{
    const QColor face = palette.color(QPalette::Button);
    const QColor light = palette.color(QPalette::Light);
    const QColor mid = palette.color(QPalette::Mid);
    const QColor dark = palette.color(QPalette::Shadow);
    painter.fillRect(r, face);
    const QColor outerTopLeft = pressed ? dark : light;
    const QColor outerBottomRight = pressed ? light : dark;
    const QColor innerTopLeft = pressed ? mid : face.lighter(112);
    const QColor innerBottomRight = pressed ? face : mid;
    const auto frame = [&painter](const QRect &rect, const QColor &topLeft, const QColor &bottomRight) {
        painter.setPen(topLeft);
        painter.drawLine(rect.topLeft(), rect.topRight() - QPoint(1, 0));
        painter.drawLine(rect.topLeft(), rect.bottomLeft() - QPoint(0, 1));
        painter.setPen(bottomRight);
        painter.drawLine(rect.bottomLeft(), rect.bottomRight());
        painter.drawLine(rect.topRight(), rect.bottomRight());
    };
    frame(r, outerTopLeft, outerBottomRight);
    frame(r.adjusted(1, 1, -1, -1), innerTopLeft, innerBottomRight);
}

void paintGlyph(QPainter &painter, CaptionButton kind, bool maximized, const QRect &box, const QColor &colour)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    const int w = box.width();
    const int h = box.height();
    const int x = box.left();
    const int y = box.top();
    const int thick = std::max(1, h / 7);
    switch (kind) {
    case CaptionButton::Close: {
        painter.setRenderHint(QPainter::Antialiasing, true);
        QPen pen(colour, std::max(1.5, h / 6.0), Qt::SolidLine, Qt::FlatCap);
        painter.setPen(pen);
        const QRectF cross = QRectF(box).adjusted(w * 0.22, h * 0.22, -w * 0.22, -h * 0.22);
        painter.drawLine(cross.topLeft(), cross.bottomRight());
        painter.drawLine(cross.topRight(), cross.bottomLeft());
        break;
    }
    case CaptionButton::Minimize: {
        const int barWidth = std::max(4, w / 2);
        painter.drawRect(x + (w - barWidth) / 2 - 1, y + h - 3 - thick - h / 7, barWidth, thick + 1);
        break;
    }
    case CaptionButton::Maximize: {
        painter.setBrush(Qt::NoBrush);
        const int side = std::max(5, std::min(w, h) - 6);
        const QRect frame(x + (w - side) / 2 - 1, y + (h - side) / 2 - 1, side, side);
        if (!maximized) {
            painter.fillRect(QRect(frame.left(), frame.top(), frame.width() + 1, thick + 1), colour);
            painter.setPen(colour);
            painter.drawRect(frame);
        } else {
            // Restore: two overlapping windows.
            const int small = side * 2 / 3 + 1;
            const QRect back(frame.right() - small + 1, frame.top(), small, small);
            const QRect front(frame.left(), frame.bottom() - small + 1, small, small);
            painter.setPen(colour);
            painter.fillRect(QRect(back.left(), back.top(), back.width() + 1, thick), colour);
            painter.drawRect(back);
            painter.fillRect(front.adjusted(0, 0, 1, 1), painter.background());
            painter.fillRect(QRect(front.left(), front.top(), front.width() + 1, thick), colour);
            painter.drawRect(front);
        }
        break;
    }
    case CaptionButton::Help: {
        QFont font = painter.font();
        font.setBold(true);
        font.setPixelSize(std::max(8, h - 3));
        painter.setFont(font);
        painter.setPen(colour);
        painter.drawText(box.adjusted(0, 0, -1, 0), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    }
    painter.restore();
}

} // namespace

QList<QColor> ColourTable(const QColor &captionColour, int steps)
{
    QList<QColor> table;
    if (steps < 2)
        return table;
    table.reserve(steps);
    const QColor rgb = captionColour.toRgb();
    for (int k = 0; k < steps; ++k)
        table.append(QColor(scaled(rgb.red(), k, steps), scaled(rgb.green(), k, steps),
                            scaled(rgb.blue(), k, steps)));
    return table;
}

bool IsToolWindow(TFormBorderStyle style)
{
    return style == TFormBorderStyle::bsToolWindow || style == TFormBorderStyle::bsSizeToolWin;
}

bool IsSizeable(TFormBorderStyle style)
{
    return style == TFormBorderStyle::bsSizeable || style == TFormBorderStyle::bsSizeToolWin;
}

int FrameWidth(TFormBorderStyle style)
{
    if (style == TFormBorderStyle::bsNone)
        return 0;
    return IsSizeable(style) ? 4 : 1;
}

QFont CaptionFont(TFormBorderStyle style)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);
    if (IsToolWindow(style)) {
        if (font.pointSizeF() > 0)
            font.setPointSizeF(font.pointSizeF() * 0.85);
        else
            font.setPixelSize(std::max(8, font.pixelSize() * 85 / 100));
    }
    return font;
}

int TitleHeight(const QFont &captionFont, TFormBorderStyle style)
{
    if (style == TFormBorderStyle::bsNone)
        return 0;
    const int fontHeight = QFontMetrics(captionFont).height();
    return IsToolWindow(style) ? std::max(14, fontHeight + 2) : std::max(18, fontHeight + 4);
}

Layout ComputeLayout(const QSize &titleSize, TFormBorderStyle style, TBorderIcons icons)
{
    Layout layout;
    layout.title = QRect(QPoint(0, 0), titleSize);
    if (style == TFormBorderStyle::bsNone || titleSize.isEmpty())
        return layout;

    const int height = titleSize.height();
    const int iconSize = height - 2; // the small-icon size for this bar
    int textLeft = 0;
    const bool singleOrSizeable = style == TFormBorderStyle::bsSingle || style == TFormBorderStyle::bsSizeable;
    if ((icons & biSystemMenu) && singleOrSizeable) {
        layout.icon = QRect(1, 1, iconSize, iconSize);
        textLeft = layout.icon.right() + 1 + 1;
    }

    const QRect inner = layout.title.adjusted(2, 2, -2, -2);
    int right = inner.right();
    int textRight = layout.title.right();
    const auto place = [&](CaptionButton kind, int width, bool enabled) {
        const QRect rect(right - width + 1, inner.top(), width, inner.height());
        layout.buttons.append({kind, rect, enabled});
        return rect;
    };

    if (IsToolWindow(style)) {
        const QRect close = place(CaptionButton::Close, inner.height() + 2, true);
        textRight = close.left() - 5 - 1; // the text ends 5 pixels before it
    } else {
        const int width = iconSize - 2;
        QRect last;
        if (icons & biSystemMenu) {
            last = place(CaptionButton::Close, width, true);
            right = last.left() - 4 - 1; // 4 pixels free before the next button
        }
        if (style != TFormBorderStyle::bsDialog) {
            last = place(CaptionButton::Maximize, width, (icons & biMaximize) != 0);
            right = last.left() - 2 - 1; // maximise and minimise 2 pixels apart
            last = place(CaptionButton::Minimize, width, (icons & biMinimize) != 0);
        } else if (icons & biHelp) {
            last = place(CaptionButton::Help, width, true);
        }
        if (!last.isNull())
            textRight = last.left() - 3 - 1; // the text ends 3 pixels before it
    }
    layout.text = QRect(QPoint(textLeft, 0), QPoint(std::max(textLeft - 1, textRight), height - 1));
    return layout;
}

QString ElidedCaption(const QString &caption, const QFont &font, int textRectWidth)
{
    return QFontMetrics(font).elidedText(caption, Qt::ElideRight, std::max(0, textRectWidth - 2));
}

void PaintButton(QPainter &painter, const ButtonPlace &button, bool pressed, bool maximized,
                 const QPalette &palette)
{
    paintBevel(painter, button.rect, pressed, palette);
    QRect glyphBox = button.rect.adjusted(2, 2, -2, -2);
    if (pressed)
        glyphBox.translate(1, 1);
    painter.setBackground(palette.color(QPalette::Button));
    if (button.enabled) {
        paintGlyph(painter, button.kind, maximized, glyphBox, palette.color(QPalette::Active, QPalette::ButtonText));
    } else {
        // Embossed grey, as a disabled caption button.
        paintGlyph(painter, button.kind, maximized, glyphBox.translated(1, 1), palette.color(QPalette::Light));
        paintGlyph(painter, button.kind, maximized, glyphBox, palette.color(QPalette::Mid));
    }
}

void Paint(QPainter &painter, const Layout &layout, const PaintState &state)
{
    if (state.style == TFormBorderStyle::bsNone || layout.title.isEmpty())
        return;

    // Background.
    const bool solid = state.paintWhen == TGFPaintWhen::gfpNever
        || (state.paintWhen == TGFPaintWhen::gfpActive && !state.active);
    const QList<QColor> &table = state.active ? state.activeColours : state.inactiveColours;
    if (solid || table.isEmpty()) {
        painter.fillRect(layout.title, state.active ? SolidActiveColour : state.inactiveCaptionColour);
    } else {
        // A one-pixel strip of the table's entries, stretched over the bar in bands.
        QImage strip(int(table.size()), 1, QImage::Format_RGB32);
        for (int k = 0; k < table.size(); ++k)
            strip.setPixel(k, 0, table.at(k).rgb());
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(layout.title, strip);
        painter.restore();
    }

    if (!layout.icon.isEmpty() && !state.icon.isNull())
        state.icon.paint(&painter, layout.icon);

    for (int i = 0; i < layout.buttons.size(); ++i)
        PaintButton(painter, layout.buttons.at(i), i == state.pressedButton, state.maximized, state.palette);

    painter.setFont(state.font);
    QRect textRect = layout.text;
    if (state.onCaptionPaint)
        state.onCaptionPaint(painter, textRect);

    painter.setFont(state.font);
    painter.setPen(Qt::white);
    painter.setBackgroundMode(Qt::TransparentMode);
    const QString text = ElidedCaption(state.caption, state.font, textRect.width());
    painter.drawText(textRect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
}

} // namespace GradientCaption
