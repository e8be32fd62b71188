#pragma once

#include "controls/GradientCaption.h"

#include <QMainWindow>

#include <functional>

class GradientTitleBar;
class QPainter;

// A top-level window that draws its own title bar: a gradient from black on the left to
// the caption colour on the right (the palette's active or inactive highlight), the icon,
// the caption buttons and the caption in white, cut with an ellipsis when it is too long.
// The window is frameless for the window manager; dragging the bar moves it, and a
// sizeable style resizes from its borders.
//
// The bar sits above the menu bar: the window keeps its frame and bar free through its
// contents margins, so QMainWindow's own layout (menuBar(), setMenuBar(), setMenuWidget(),
// toolbars, central widget) works as usual below it. Do not change the window's contents
// margins yourself.
//
// Defaults: a single fixed border with the system menu, minimise and help icons, 64 colour
// steps, the gradient always drawn.
class TGradientForm : public QMainWindow
{
    Q_OBJECT
public:
    using CaptionPaintEvent = std::function<void(TGradientForm *sender, QPainter &canvas, QRect &textRect)>;

    explicit TGradientForm(QWidget *parent = nullptr);
    ~TGradientForm() override;

    // The title text; also the window title that task bars and window lists show.
    QString Caption() const { return m_caption; }
    void SetCaption(const QString &caption);

    // Number of colour steps; values outside 8 to 256 are ignored.
    int GradientColors() const { return m_gradientColors; }
    void SetGradientColors(int colors);

    TGFPaintWhen PaintGradient() const { return m_paintGradient; }
    void SetPaintGradient(TGFPaintWhen when);

    TFormBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TFormBorderStyle style);
    TBorderIcons BorderIcons() const { return m_borderIcons; }
    void SetBorderIcons(TBorderIcons icons);

    // Called after background, icon and buttons are drawn, with the caption font selected
    // and the rectangle left for the text (which the handler may narrow).
    void SetOnCaptionPaint(CaptionPaintEvent handler);

    // The colour tables of the active and the inactive bar.
    const QList<QColor> &ActiveColors() const { return m_activeColours; }
    const QList<QColor> &InactiveColors() const { return m_inactiveColours; }

    // Whether the bar is drawn as active: the window is the active window.
    bool IsActiveForm() const;
    QFont CaptionFont() const { return m_captionFont; }
    // The title bar; its rectangle in window coordinates is TitleRect().
    QWidget *TitleBar() const;
    QRect TitleRect() const;
    GradientCaption::Layout TitleLayout() const;
    // The caption as the bar shows it (with an ellipsis when cut).
    QString DisplayedCaption() const;
    // The bar as it is drawn, active or inactive.
    QImage RenderTitleBar(bool active) const;

signals:
    // The help caption button was clicked; What's-This mode has begun.
    void HelpButtonClicked();

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    friend class GradientTitleBar;

    GradientCaption::PaintState paintState(bool active) const;
    void buttonClicked(CaptionButton button);
    void rebuildColourTables();
    void rebuildCaptionFont();
    void applyBorder();
    void placeTitleBar();
    void redrawTitle();
    Qt::Edges edgesAt(const QPoint &position) const;

    QString m_caption;
    int m_gradientColors = GradientCaption::DefaultColors;
    TGFPaintWhen m_paintGradient = TGFPaintWhen::gfpAlways;
    TFormBorderStyle m_borderStyle = TFormBorderStyle::bsSingle;
    TBorderIcons m_borderIcons = biSystemMenu | biMinimize | biHelp;
    CaptionPaintEvent m_onCaptionPaint;
    QList<QColor> m_activeColours;
    QList<QColor> m_inactiveColours;
    QFont m_captionFont;
    GradientTitleBar *m_titleBar = nullptr;
    QWidget *m_grips[4] = {};
};
