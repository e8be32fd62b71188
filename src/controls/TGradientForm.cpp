#include "controls/TGradientForm.h"

#include "controls/GradientTitleBar.h"
#include "controls/WindowPlaceCheck.h"

#include <QEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QWhatsThis>
#include <QWindow>

namespace {

// A lone "[*]" in a window title is Qt's modified-marker placeholder; doubled it shows as
// written, so a caption with a file named "*" keeps its text in task bars.
QString escapedTitle(const QString &caption)
{
    QString title = caption;
    return title.replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
}

constexpr int SizingCorner = 16;

// A strip over one sizing border: shows the sizing cursor of the spot under the pointer
// and hands a press to the window system to resize from there.
class SizeGrip : public QWidget
{
public:
    SizeGrip(TGradientForm *form, std::function<Qt::Edges(const QPoint &)> edgesAt)
        : QWidget(form), m_form(form), m_edgesAt(std::move(edgesAt))
    {
        setMouseTracking(true);
    }

protected:
    void mouseMoveEvent(QMouseEvent *event) override
    {
        setCursor(cursorFor(edges(event)));
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        const Qt::Edges at = edges(event);
        if (event->button() == Qt::LeftButton && at && m_form->windowHandle())
            m_form->windowHandle()->startSystemResize(at);
        event->accept();
    }

private:
    Qt::Edges edges(const QMouseEvent *event) const
    {
        return m_edgesAt(mapTo(m_form, event->position().toPoint()));
    }
    static Qt::CursorShape cursorFor(Qt::Edges edges)
    {
        const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
        const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
        if (horizontal && vertical) {
            const bool mainDiagonal = edges == (Qt::LeftEdge | Qt::TopEdge)
                || edges == (Qt::RightEdge | Qt::BottomEdge);
            return mainDiagonal ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
        }
        if (horizontal)
            return Qt::SizeHorCursor;
        return vertical ? Qt::SizeVerCursor : Qt::ArrowCursor;
    }

    TGradientForm *m_form;
    std::function<Qt::Edges(const QPoint &)> m_edgesAt;
};

} // namespace

TGradientForm::TGradientForm(QWidget *parent) : QMainWindow(parent)
{
    setWindowFlags(windowFlags() | Qt::Window | Qt::FramelessWindowHint);
    WindowPlaceCheck::Watch(this);
    m_titleBar = new GradientTitleBar(this);
    for (QWidget *&grip : m_grips)
        grip = new SizeGrip(this, [this](const QPoint &position) { return edgesAt(position); });
    rebuildCaptionFont();
    rebuildColourTables();
    applyBorder();
}

TGradientForm::~TGradientForm() = default;

void TGradientForm::SetCaption(const QString &caption)
{
    m_caption = caption;
    setWindowTitle(escapedTitle(caption));
    redrawTitle();
}

void TGradientForm::SetGradientColors(int colors)
{
    if (colors < GradientCaption::MinColors || colors > GradientCaption::MaxColors
        || colors == m_gradientColors)
        return;
    m_gradientColors = colors;
    rebuildColourTables();
    redrawTitle();
}

void TGradientForm::SetPaintGradient(TGFPaintWhen when)
{
    if (when == m_paintGradient)
        return;
    m_paintGradient = when;
    redrawTitle();
}

void TGradientForm::SetBorderStyle(TFormBorderStyle style)
{
    if (style == m_borderStyle)
        return;
    const bool wasTool = GradientCaption::IsToolWindow(m_borderStyle);
    m_borderStyle = style;
    if (wasTool != GradientCaption::IsToolWindow(style)) {
        const bool visible = isVisible();
        setWindowFlag(Qt::Tool, GradientCaption::IsToolWindow(style));
        if (visible)
            show();
    }
    rebuildCaptionFont();
    applyBorder();
}

void TGradientForm::SetBorderIcons(TBorderIcons icons)
{
    if (icons == m_borderIcons)
        return;
    m_borderIcons = icons;
    redrawTitle();
}

void TGradientForm::SetOnCaptionPaint(CaptionPaintEvent handler)
{
    m_onCaptionPaint = std::move(handler);
    redrawTitle();
}

bool TGradientForm::IsActiveForm() const
{
    return isActiveWindow();
}

QWidget *TGradientForm::TitleBar() const
{
    return m_titleBar;
}

QRect TGradientForm::TitleRect() const
{
    return m_titleBar->isVisibleTo(this) ? m_titleBar->geometry() : QRect();
}

GradientCaption::Layout TGradientForm::TitleLayout() const
{
    return GradientCaption::ComputeLayout(TitleRect().size(), m_borderStyle, m_borderIcons);
}

QString TGradientForm::DisplayedCaption() const
{
    const GradientCaption::Layout layout = TitleLayout();
    if (layout.title.isEmpty())
        return {};
    QRect textRect = layout.text;
    if (m_onCaptionPaint) {
        // The handler may narrow the text rectangle; let it, on a scratch canvas.
        QImage scratch(layout.title.size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&scratch);
        painter.setFont(m_captionFont);
        m_onCaptionPaint(const_cast<TGradientForm *>(this), painter, textRect);
    }
    return GradientCaption::ElidedCaption(m_caption, m_captionFont, textRect.width());
}

QImage TGradientForm::RenderTitleBar(bool active) const
{
    const GradientCaption::Layout layout = TitleLayout();
    QImage image(layout.title.size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(palette().color(QPalette::Window));
    QPainter painter(&image);
    GradientCaption::Paint(painter, layout, paintState(active));
    return image;
}

GradientCaption::PaintState TGradientForm::paintState(bool active) const
{
    GradientCaption::PaintState state;
    state.caption = m_caption;
    state.active = active;
    state.maximized = isMaximized();
    state.paintWhen = m_paintGradient;
    state.style = m_borderStyle;
    state.icons = m_borderIcons;
    state.activeColours = m_activeColours;
    state.inactiveColours = m_inactiveColours;
    state.inactiveCaptionColour = palette().color(QPalette::Inactive, QPalette::Highlight);
    // The window's icon falls back on the application's; without either, the style's.
    state.icon = windowIcon();
    if (state.icon.isNull())
        state.icon = style()->standardIcon(QStyle::SP_TitleBarMenuButton, nullptr, this);
    state.font = m_captionFont;
    state.palette = palette();
    if (m_onCaptionPaint) {
        auto *self = const_cast<TGradientForm *>(this);
        state.onCaptionPaint = [self, handler = m_onCaptionPaint](QPainter &canvas, QRect &textRect) {
            handler(self, canvas, textRect);
        };
    }
    return state;
}

void TGradientForm::buttonClicked(CaptionButton button)
{
    switch (button) {
    case CaptionButton::Close:
        close();
        break;
    case CaptionButton::Minimize:
        showMinimized();
        break;
    case CaptionButton::Maximize:
        if (isMaximized())
            showNormal();
        else
            showMaximized();
        break;
    case CaptionButton::Help:
        QWhatsThis::enterWhatsThisMode();
        emit HelpButtonClicked();
        break;
    }
}

void TGradientForm::rebuildColourTables()
{
    m_activeColours = GradientCaption::ColourTable(palette().color(QPalette::Active, QPalette::Highlight),
                                                   m_gradientColors);
    m_inactiveColours = GradientCaption::ColourTable(palette().color(QPalette::Inactive, QPalette::Highlight),
                                                     m_gradientColors);
}

void TGradientForm::rebuildCaptionFont()
{
    m_captionFont = GradientCaption::CaptionFont(m_borderStyle);
}

void TGradientForm::applyBorder()
{
    const int frame = GradientCaption::FrameWidth(m_borderStyle);
    const int title = GradientCaption::TitleHeight(m_captionFont, m_borderStyle);
    // The bar and the line below it stay free of the main window's own layout.
    setContentsMargins(frame, frame + title + (title > 0 ? 1 : 0), frame, frame);
    m_titleBar->setVisible(m_borderStyle != TFormBorderStyle::bsNone);
    placeTitleBar();
    update();
}

void TGradientForm::placeTitleBar()
{
    const int frame = GradientCaption::FrameWidth(m_borderStyle);
    const int title = GradientCaption::TitleHeight(m_captionFont, m_borderStyle);
    m_titleBar->setGeometry(frame, frame, std::max(0, width() - 2 * frame), title);
    m_titleBar->raise();
    m_titleBar->update();

    // Left, top, right, bottom.
    const bool sizeable = GradientCaption::IsSizeable(m_borderStyle);
    const QRect grips[4] = {QRect(0, 0, frame, height()), QRect(0, 0, width(), frame),
                            QRect(width() - frame, 0, frame, height()), QRect(0, height() - frame, width(), frame)};
    for (int i = 0; i < 4; ++i) {
        m_grips[i]->setGeometry(grips[i]);
        m_grips[i]->setVisible(sizeable);
        m_grips[i]->raise();
    }
}

void TGradientForm::redrawTitle()
{
    m_titleBar->update();
}

bool TGradientForm::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::WindowTitleChange:
        // A title set from outside becomes the caption.
        if (windowTitle() != escapedTitle(m_caption)) {
            m_caption = windowTitle();
            redrawTitle();
        }
        break;
    case QEvent::WindowIconChange:
        redrawTitle();
        break;
    case QEvent::ApplicationFontChange:
    case QEvent::ThemeChange:
        rebuildCaptionFont();
        applyBorder();
        break;
    default:
        break;
    }
    return QMainWindow::event(event);
}

void TGradientForm::changeEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::ActivationChange:
    case QEvent::WindowStateChange:
        redrawTitle();
        break;
    case QEvent::PaletteChange:
        rebuildColourTables();
        redrawTitle();
        break;
    default:
        break;
    }
    QMainWindow::changeEvent(event);
}

void TGradientForm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    placeTitleBar();
}

void TGradientForm::paintEvent(QPaintEvent *event)
{
    QMainWindow::paintEvent(event);
    const int frame = GradientCaption::FrameWidth(m_borderStyle);
    if (frame == 0)
        return;
    QPainter painter(this);
    const QRect outer = rect().adjusted(0, 0, -1, -1);
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawRect(outer);
    if (frame > 1) {
        painter.setPen(palette().color(QPalette::Light));
        painter.drawRect(outer.adjusted(1, 1, -1, -1));
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(outer.adjusted(frame - 1, frame - 1, -(frame - 1), -(frame - 1)));
    }
}

Qt::Edges TGradientForm::edgesAt(const QPoint &position) const
{
    Qt::Edges edges;
    if (!GradientCaption::IsSizeable(m_borderStyle) || isMaximized())
        return edges;
    const int frame = GradientCaption::FrameWidth(m_borderStyle);
    const QRect area = rect();
    const bool nearLeft = position.x() < SizingCorner;
    const bool nearRight = position.x() >= area.width() - SizingCorner;
    const bool nearTop = position.y() < SizingCorner;
    const bool nearBottom = position.y() >= area.height() - SizingCorner;
    const bool onLeft = position.x() < frame;
    const bool onRight = position.x() >= area.width() - frame;
    const bool onTop = position.y() < frame;
    const bool onBottom = position.y() >= area.height() - frame;
    if (!(onLeft || onRight || onTop || onBottom))
        return edges;
    // Along a border near a corner both edges count, as on a framed window.
    if (onLeft || (nearLeft && (onTop || onBottom)))
        edges |= Qt::LeftEdge;
    if (onRight || (nearRight && (onTop || onBottom)))
        edges |= Qt::RightEdge;
    if (onTop || (nearTop && (onLeft || onRight)))
        edges |= Qt::TopEdge;
    if (onBottom || (nearBottom && (onLeft || onRight)))
        edges |= Qt::BottomEdge;
    return edges;
}

