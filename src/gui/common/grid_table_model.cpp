#include "gui/common/grid_table_model.h"

#include <QApplication>
#include <QBrush>
#include <QPalette>

namespace mirandel {

using Editor = GridColumn::Editor;

GridTableModel::GridTableModel(GridRows &rows, QList<GridColumn> columns, QObject *parent)
    : QAbstractTableModel(parent)
    , m_rows(rows)
    , m_columns(std::move(columns))
{
}

int GridTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.rowCount();
}

int GridTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size()) + 1;
}

QVariant GridTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    Q_ASSERT(checkIndex(index));
    if (extraData) {
        if (QVariant extra = extraData(index, role); extra.isValid())
            return extra;
    }
    const int row = index.row();
    if (index.column() == 0) {
        switch (role) {
        case Qt::DisplayRole:
            return QString::number(row + 1);
        case Qt::TextAlignmentRole:
            return int(Qt::AlignCenter);
        case Qt::BackgroundRole:
            return QApplication::palette().brush(QPalette::Button);
        default:
            return {};
        }
    }
    const int c = index.column() - 1;
    const GridColumn &col = m_columns.at(c);
    const bool isCheck = col.editor == Editor::DataCheck || col.editor == Editor::CheckBox;
    switch (role) {
    case Qt::DisplayRole:
        return isCheck ? QVariant() : QVariant(m_rows.text(row, c));
    case Qt::EditRole:
        return m_rows.text(row, c);
    case Qt::CheckStateRole:
        if (col.editor == Editor::DataCheck)
            return int(m_rows.text(row, c) == QStringLiteral("Y") ? Qt::Checked : Qt::Unchecked);
        if (col.editor == Editor::CheckBox)
            return int(m_rows.isChecked(row, c) ? Qt::Checked : Qt::Unchecked);
        return {};
    case Qt::TextAlignmentRole:
        return int(col.alignment | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        return QBrush(col.colour);
    case Qt::ForegroundRole:
        return QBrush(Qt::black);
    default:
        return {};
    }
}

bool GridTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.column() == 0)
        return false;
    Q_ASSERT(checkIndex(index));
    const int row = index.row();
    const int c = index.column() - 1;
    const GridColumn &col = m_columns.at(c);
    if (role == Qt::CheckStateRole) {
        const bool checked = value.toInt() == Qt::Checked;
        if (col.editor == Editor::DataCheck)
            m_rows.setText(row, c, checked ? QStringLiteral("Y") : QStringLiteral("N"));
        else if (col.editor == Editor::CheckBox)
            m_rows.setChecked(row, c, checked);
        else
            return false;
    } else if (role == Qt::EditRole) {
        if (col.editor == Editor::CheckBox)
            return false;
        m_rows.setText(row, c, value.toString());
    } else {
        return false;
    }
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags GridTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Q_ASSERT(checkIndex(index));
    const Qt::ItemFlags base = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0)
        return base;
    switch (column(index.column()).editor) {
    case Editor::DataCheck:
    case Editor::CheckBox:
        return base | Qt::ItemIsUserCheckable;
    default:
        return base | Qt::ItemIsEditable;
    }
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole && section >= 0 && section < rowCount())
            return QString::number(section + 1);
        return {};
    }
    if (section < 0 || section >= columnCount())
        return {};
    if (role == Qt::DisplayRole)
        return m_titles.value(section);
    // The hint of a title cell; the row-number column has none.
    if (role == Qt::ToolTipRole && section > 0) {
        const QString hint = m_hints.value(section - 1);
        return hint.isEmpty() ? QVariant() : QVariant(hint);
    }
    return {};
}

void GridTableModel::setHeaderTexts(const QStringList &titles, const QStringList &hints)
{
    m_titles = titles;
    m_hints = hints;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void GridTableModel::rowsChanged(int first, int last)
{
    first = qBound(0, first, rowCount() - 1);
    last = qBound(first, last, rowCount() - 1);
    emit dataChanged(index(first, 0), index(last, columnCount() - 1));
}

void GridTableModel::reload()
{
    beginResetModel();
    endResetModel();
}

} // namespace mirandel
