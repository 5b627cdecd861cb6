#pragma once
// GridTableModel: a thin item model over a core GridRows. Model column 0
// holds the row numbers, model column c >= 1 is data column c - 1 of the
// GridRows; GridColumn says how each data column is edited and drawn.

#include "core/common/grid_rows.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>
#include <functional>

namespace mirandel {

struct GridColumn {
    enum class Editor {
        Text,         // one-line text edit
        MultiLine,    // multi-line text edit; line breaks are kept
        List,         // fixed drop-down list of `items`
        EditableList, // drop-down list of `items` that also accepts typed text
        DataCheck,    // data check box: the cell text "Y"/"N" is its state
        CheckBox      // real check box: the state is kept apart from the text
    };
    Editor editor = Editor::Text;
    int width = 64;
    Qt::Alignment alignment = Qt::AlignLeft;
    QColor colour = Qt::white;
    QStringList items;
};

// Item model over a GridRows. Column 0 shows the row numbers 1..n.
class GridTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // `columns` describes the data columns, one per GridRows column.
    GridTableModel(GridRows &rows, QList<GridColumn> columns, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Titles of all columns (row numbers first) and hints of the data columns.
    void setHeaderTexts(const QStringList &titles, const QStringList &hints);
    // The GridRows changed in rows first..last (data rows, 0-based).
    void rowsChanged(int first, int last);
    // The GridRows changed everywhere.
    void reload();

    const GridColumn &column(int modelColumn) const { return m_columns.at(modelColumn - 1); }
    GridRows &rows() const { return m_rows; }

    // Data a dialog adds to a cell (a tooltip, a marker), asked first; an
    // invalid QVariant leaves the cell's own data.
    std::function<QVariant(const QModelIndex &index, int role)> extraData;

private:
    GridRows &m_rows;
    QList<GridColumn> m_columns;
    QStringList m_titles;
    QStringList m_hints;
};

} // namespace mirandel
