#include "gui/common/table_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

namespace mirandel {

TableGrid::TableGrid(QWidget *parent)
    : QTableView(parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setShowGrid(true);
    setWordWrap(false);
    verticalHeader()->hide();
    horizontalHeader()->setFixedHeight(22);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    // The view fits a column on a double click on a section border by itself;
    // fitting is the flag's decision here, on the title as on its border.
    disconnect(horizontalHeader(), &QHeaderView::sectionHandleDoubleClicked, this, nullptr);
    connect(horizontalHeader(), &QHeaderView::sectionDoubleClicked, this, &TableGrid::Grid_Auto_Size);
    connect(horizontalHeader(), &QHeaderView::sectionHandleDoubleClicked, this, &TableGrid::Grid_Auto_Size);
}

void TableGrid::Grid_Enter_Key()
{
    const QModelIndex current = currentIndex();
    if (!model() || !current.isValid() || current.column() < 1)
        return;
    const int lastColumn = model()->columnCount() - 1;
    QModelIndex next;
    if (current.column() < lastColumn)
        next = model()->index(current.row(), current.column() + 1);
    else
        next = model()->index(current.row() + 1 < model()->rowCount() ? current.row() + 1 : 0, 1);
    selectionModel()->setCurrentIndex(next, QItemSelectionModel::ClearAndSelect);
    scrollTo(next);
}

void TableGrid::Grid_Auto_Size(int column)
{
    if (autoSizeEnabled && autoSizeEnabled())
        resizeColumnToContents(column);
}

void TableGrid::finishEditing()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    if (QWidget *editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void TableGrid::setRowSizing(bool enabled)
{
    m_rowSizing = enabled;
    setMouseTracking(enabled);
}

int TableGrid::rowBorderAt(const QPoint &pos) const
{
    constexpr int grip = 3; // pixels either side of the border line
    const int left = columnViewportPosition(0);
    if (!model() || pos.x() < left || pos.x() >= left + columnWidth(0))
        return -1;
    const int row = rowAt(pos.y());
    if (row < 0)
        return -1;
    const int top = rowViewportPosition(row);
    if (top + rowHeight(row) - pos.y() <= grip)
        return row;
    if (row > 0 && pos.y() - top < grip)
        return row - 1;
    return -1;
}

void TableGrid::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const int row = m_rowSizing && event->button() == Qt::LeftButton ? rowBorderAt(pos) : -1;
    if (row < 0) {
        QTableView::mousePressEvent(event);
        return;
    }
    m_sizingRow = row;
    m_sizingStartY = pos.y();
    m_sizingStartHeight = rowHeight(row);
    event->accept();
}

void TableGrid::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (m_sizingRow >= 0) {
        const int height = m_sizingStartHeight + pos.y() - m_sizingStartY;
        setRowHeight(m_sizingRow, qMax(verticalHeader()->minimumSectionSize(), height));
        event->accept();
        return;
    }
    if (m_rowSizing) {
        if (rowBorderAt(pos) >= 0)
            viewport()->setCursor(Qt::SplitVCursor);
        else
            viewport()->unsetCursor();
    }
    QTableView::mouseMoveEvent(event);
}

void TableGrid::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_sizingRow >= 0 && event->button() == Qt::LeftButton) {
        m_sizingRow = -1;
        event->accept();
        return;
    }
    QTableView::mouseReleaseEvent(event);
}

void TableGrid::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && jumpEnabled && jumpEnabled()) {
        Grid_Enter_Key();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

} // namespace mirandel
