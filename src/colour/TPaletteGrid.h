#pragma once

#include "colour/ColourSearch.h"
#include "colour/Palette.h"

#include <QWidget>

// The 16 x 16 grid of palette colours: cells of 11 x 11 pixels with 2-pixel grid lines, so
// cell (c, r) covers x 13c..13c+10 and y 13r..13r+10. The selected cell is not highlighted;
// it carries the focus rectangle. Each cell keeps its colour and the R,G,B text of it.
class TPaletteGrid : public QWidget
{
    Q_OBJECT
public:
    explicit TPaletteGrid(QWidget *parent = nullptr);

    static constexpr int CellSize = 11;
    static constexpr int LineWidth = 2;
    static constexpr int Pitch = CellSize + LineWidth;

    // Entry 16r + c goes to cell (c, r). With fade, every cell first runs through 14 steps
    // of a ramp from the colour it shows to its new one, painted straight away.
    void ShowPalette(const Palette &palette, bool fade);
    const PaletteCells &Cells() const { return m_cells; }
    QString CellText(int column, int row) const;
    QPoint Selected() const { return m_selected; }
    // Selects a cell (always reported, even when it was selected already).
    void SelectCell(int column, int row);
    // The cell at a point of the widget; (-1, -1) on a grid line or outside.
    static QPoint CellAt(const QPoint &point);
    static QRect CellRect(int column, int row);

signals:
    void cellSelected(int column, int row);
    void cellDoubleClicked(int column, int row);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    PaletteCells m_cells{};
    QPoint m_selected{0, 0};
    // While fading: the ramps of every cell and the step shown; -1 otherwise.
    std::array<GradientTable, 256> *m_ramps = nullptr;
    int m_fadeStep = -1;
};
