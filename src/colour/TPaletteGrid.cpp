#include "colour/TPaletteGrid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

#include <memory>

TPaletteGrid::TPaletteGrid(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QString TPaletteGrid::CellText(int column, int row) const
{
    return ColourToDecimal(m_cells[size_t(column)][size_t(row)]);
}

QRect TPaletteGrid::CellRect(int column, int row)
{
    return QRect(column * Pitch, row * Pitch, CellSize, CellSize);
}

QPoint TPaletteGrid::CellAt(const QPoint &point)
{
    if (point.x() < 0 || point.y() < 0)
        return QPoint(-1, -1);
    const int column = point.x() / Pitch;
    const int row = point.y() / Pitch;
    if (column > 15 || row > 15 || point.x() % Pitch >= CellSize || point.y() % Pitch >= CellSize)
        return QPoint(-1, -1);
    return QPoint(column, row);
}

void TPaletteGrid::ShowPalette(const Palette &palette, bool fade)
{
    if (fade && isVisible()) {
        auto ramps = std::make_unique<std::array<GradientTable, 256>>();
        for (int column = 0; column < 16; ++column) {
            for (int row = 0; row < 16; ++row) {
                FillGradient((*ramps)[size_t(16 * row + column)], 0, 15, m_cells[size_t(column)][size_t(row)],
                             EntryColour(palette[size_t(16 * row + column)]));
            }
        }
        m_ramps = ramps.get();
        // The frames follow each other without a pause, each painted at once.
        for (m_fadeStep = 0; m_fadeStep <= 13; ++m_fadeStep)
            repaint();
        m_fadeStep = -1;
        m_ramps = nullptr;
    }
    for (int column = 0; column < 16; ++column) {
        for (int row = 0; row < 16; ++row)
            m_cells[size_t(column)][size_t(row)] = EntryColour(palette[size_t(16 * row + column)]);
    }
    update();
}

void TPaletteGrid::SelectCell(int column, int row)
{
    if (column < 0 || column > 15 || row < 0 || row > 15)
        return;
    m_selected = QPoint(column, row);
    update();
    emit cellSelected(column, row);
}

void TPaletteGrid::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    // Columns 15 down to 0, each from row 15 up, as the fade draws them.
    for (int column = 15; column >= 0; --column) {
        for (int row = 15; row >= 0; --row) {
            const ColourValue colour = m_fadeStep >= 0 && m_ramps
                ? (*m_ramps)[size_t(16 * row + column)][size_t(m_fadeStep)]
                : m_cells[size_t(column)][size_t(row)];
            painter.fillRect(CellRect(column, row), ColourToQColor(colour));
        }
    }
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = CellRect(m_selected.x(), m_selected.y());
        option.backgroundColor = ColourToQColor(m_cells[size_t(m_selected.x())][size_t(m_selected.y())]);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
        // The style's focus frame may be faint on dark cells; a dotted outline always shows.
        painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(option.rect.adjusted(0, 0, -1, -1));
    }
}

void TPaletteGrid::mousePressEvent(QMouseEvent *event)
{
    const QPoint cell = CellAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && cell.x() >= 0)
        SelectCell(cell.x(), cell.y());
    QWidget::mousePressEvent(event);
}

void TPaletteGrid::mouseMoveEvent(QMouseEvent *event)
{
    // A drag with the left button moves the selection onto the cell under the pointer; over
    // a grid line or outside the grid it stays where it is.
    const QPoint cell = CellAt(event->position().toPoint());
    if ((event->buttons() & Qt::LeftButton) && cell.x() >= 0 && cell != m_selected)
        SelectCell(cell.x(), cell.y());
    event->accept();
}

void TPaletteGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QPoint cell = CellAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || cell.x() < 0)
        return;
    // The second press of a double click lands here only: it selects as any press does.
    if (cell != m_selected)
        SelectCell(cell.x(), cell.y());
    emit cellDoubleClicked(cell.x(), cell.y());
}

void TPaletteGrid::keyPressEvent(QKeyEvent *event)
{
    QPoint next = m_selected;
    switch (event->key()) {
    case Qt::Key_Left: next.rx() -= 1; break;
    case Qt::Key_Right: next.rx() += 1; break;
    case Qt::Key_Up: next.ry() -= 1; break;
    case Qt::Key_Down: next.ry() += 1; break;
    case Qt::Key_Home: next.rx() = 0; break;
    case Qt::Key_End: next.rx() = 15; break;
    case Qt::Key_PageUp: next.ry() = 0; break;
    case Qt::Key_PageDown: next.ry() = 15; break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (next.x() >= 0 && next.x() <= 15 && next.y() >= 0 && next.y() <= 15 && next != m_selected)
        SelectCell(next.x(), next.y());
    event->accept();
}
