#pragma once

#include <QPoint>
#include <QWidget>

class TGradientForm;

// The title bar of a TGradientForm: paints the bar in one step from an off-screen image,
// presses its caption buttons, opens the window menu from the icon, and moves the window
// when dragged.
class GradientTitleBar : public QWidget
{
    Q_OBJECT
public:
    explicit GradientTitleBar(TGradientForm *form);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    int buttonAt(const QPoint &position) const;
    void showWindowMenu(const QPoint &globalPosition);

    TGradientForm *m_form;
    int m_pressedButton = -1; // the button held down, -1 for none
    bool m_pressedInside = false;
    bool m_dragging = false;  // moving by hand where the window system cannot
    QPoint m_dragOffset;
};
