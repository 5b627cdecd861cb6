#pragma once

#include <QTableView>
#include <functional>

namespace mirandel {

// The grid. Enter walks the fields when jumpEnabled() is true; a double click
// on a column title fits the column when autoSizeEnabled() is true. With row
// sizing on, the user changes a row's height by dragging the lower border of
// its number cell (the grid has no row header of its own to drag).
class TableGrid : public QTableView {
    Q_OBJECT
public:
    explicit TableGrid(QWidget *parent = nullptr);

    std::function<bool()> jumpEnabled;
    std::function<bool()> autoSizeEnabled;

    void setRowSizing(bool enabled);

    // Moves the focus to the next field: the next column of the row, or
    // column 1 of the next row (of row 1 after the last row). Does nothing
    // when the focus is outside the data area.
    void Grid_Enter_Key();
    // Fits `column` to its contents when the flag is on.
    void Grid_Auto_Size(int column);
    // Commits and closes an open editor, so its text reaches the model.
    void finishEditing();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // The row whose lower border in the number column lies under `pos`
    // (viewport coordinates), or -1.
    int rowBorderAt(const QPoint &pos) const;

    bool m_rowSizing = false;
    int m_sizingRow = -1; // row being resized by a drag, or -1
    int m_sizingStartY = 0;
    int m_sizingStartHeight = 0;
};

} // namespace mirandel
