#pragma once

#include <QWidget>

// The dotted frame the magnifier draws around the screen area it shows: a frameless,
// always-on-top window that takes no input, shaped to a one-pixel outline on the edge
// pixels of the rectangle, so it needs no compositor and never covers what is magnified.
class TDottedFrame : public QWidget
{
public:
    TDottedFrame();

    // Shows the outline on the rectangle's edge pixels (global coordinates).
    void ShowAround(const QRect &global);

protected:
    void paintEvent(QPaintEvent *event) override;
};
