#include "controls/GradientTitleBar.h"

#include "controls/TGradientForm.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

GradientTitleBar::GradientTitleBar(TGradientForm *form) : QWidget(form), m_form(form)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize GradientTitleBar::sizeHint() const
{
    return {120, GradientCaption::TitleHeight(m_form->m_captionFont, m_form->m_borderStyle)};
}

QSize GradientTitleBar::minimumSizeHint() const
{
    return {0, sizeHint().height()};
}

int GradientTitleBar::buttonAt(const QPoint &position) const
{
    const GradientCaption::Layout layout = m_form->TitleLayout();
    for (int i = 0; i < layout.buttons.size(); ++i) {
        if (layout.buttons.at(i).rect.contains(position))
            return i;
    }
    return -1;
}

void GradientTitleBar::paintEvent(QPaintEvent *)
{
    // Drawn off screen first and put on the window in one step.
    const qreal ratio = devicePixelRatioF();
    QImage buffer(size() * ratio, QImage::Format_RGB32);
    buffer.setDevicePixelRatio(ratio);
    buffer.fill(palette().color(QPalette::Window));
    {
        QPainter painter(&buffer);
        GradientCaption::PaintState state = m_form->paintState(m_form->IsActiveForm());
        state.pressedButton = m_pressedInside ? m_pressedButton : -1;
        GradientCaption::Paint(painter, m_form->TitleLayout(), state);
    }
    QPainter(this).drawImage(0, 0, buffer);
}

void GradientTitleBar::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    const QPoint position = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        showWindowMenu(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;

    const int button = buttonAt(position);
    if (button >= 0) {
        if (m_form->TitleLayout().buttons.at(button).enabled) {
            m_pressedButton = button;
            m_pressedInside = true;
            update();
        }
        return;
    }
    const GradientCaption::Layout layout = m_form->TitleLayout();
    if (layout.icon.contains(position)) {
        showWindowMenu(mapToGlobal(layout.icon.bottomLeft() + QPoint(0, 2)));
        return;
    }
    // The window system moves the window where it can; elsewhere it follows the pointer.
    QWindow *handle = m_form->windowHandle();
    if (!m_form->isMaximized() && !(handle && handle->startSystemMove())) {
        m_dragging = true;
        m_dragOffset = event->globalPosition().toPoint() - m_form->frameGeometry().topLeft();
    }
}

void GradientTitleBar::mouseMoveEvent(QMouseEvent *event)
{
    if (m_pressedButton >= 0) {
        const QList<GradientCaption::ButtonPlace> buttons = m_form->TitleLayout().buttons;
        const bool inside = m_pressedButton < buttons.size()
            && buttons.at(m_pressedButton).rect.contains(event->position().toPoint());
        if (inside != m_pressedInside) {
            m_pressedInside = inside;
            update();
        }
    } else if (m_dragging) {
        m_form->move(event->globalPosition().toPoint() - m_dragOffset);
    }
    event->accept();
}

void GradientTitleBar::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    m_dragging = false;
    if (m_pressedButton < 0 || event->button() != Qt::LeftButton)
        return;
    const int pressed = m_pressedButton;
    const bool inside = m_pressedInside;
    m_pressedButton = -1;
    m_pressedInside = false;
    update();
    const QList<GradientCaption::ButtonPlace> buttons = m_form->TitleLayout().buttons;
    if (inside && pressed < buttons.size())
        m_form->buttonClicked(buttons.at(pressed).kind);
}

void GradientTitleBar::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() != Qt::LeftButton || buttonAt(event->position().toPoint()) >= 0)
        return;
    // A double click on the icon closes the window; on the bar it maximises or restores
    // a window that can be maximised.
    if (m_form->TitleLayout().icon.contains(event->position().toPoint())) {
        if (m_form->BorderIcons() & biSystemMenu)
            m_form->close();
        return;
    }
    if (GradientCaption::IsSizeable(m_form->BorderStyle()) && (m_form->BorderIcons() & biMaximize))
        m_form->buttonClicked(CaptionButton::Maximize);
}

void GradientTitleBar::showWindowMenu(const QPoint &globalPosition)
{
    const TBorderIcons icons = m_form->BorderIcons();
    if (!(icons & biSystemMenu))
        return;
    const bool canMaximize = (icons & biMaximize) && m_form->BorderStyle() != TFormBorderStyle::bsDialog;
    const bool canMinimize = (icons & biMinimize) && m_form->BorderStyle() != TFormBorderStyle::bsDialog;

    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction *restore = menu->addAction(QStringLiteral("&Restore"), m_form, &QWidget::showNormal);
    restore->setEnabled(canMaximize && m_form->isMaximized());
    QAction *minimize = menu->addAction(QStringLiteral("Mi&nimize"), m_form, &QWidget::showMinimized);
    minimize->setEnabled(canMinimize);
    QAction *maximize = menu->addAction(QStringLiteral("Ma&ximize"), m_form, &QWidget::showMaximized);
    maximize->setEnabled(canMaximize && !m_form->isMaximized());
    menu->addSeparator();
    QAction *close = menu->addAction(QStringLiteral("&Close"), m_form, &QWidget::close);
    close->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    menu->popup(globalPosition);
}
