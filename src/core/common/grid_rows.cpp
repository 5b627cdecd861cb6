#include "core/common/grid_rows.h"

#include "core/common/text_rules.h"

namespace mirandel {

GridRows::GridRows(int rowCount, QList<Kind> columns)
    : m_rowCount(rowCount)
    , m_kinds(std::move(columns))
{
    const qsizetype cells = qsizetype(m_rowCount) * m_kinds.size();
    m_texts.resize(cells);
    m_checks.fill(false, cells);
}

void GridRows::clearRow(int row)
{
    for (int c = 0; c < columnCount(); ++c) {
        setText(row, c, QString());
        setChecked(row, c, false);
    }
}

namespace {

bool validRow(const GridRows &table, int row)
{
    return row >= 0 && row < table.rowCount();
}

// Copies the texts (and, when `withChecks`, the check states) of row `from`
// into row `to`.
void copyRowContents(GridRows &table, int from, int to, bool withChecks)
{
    for (int c = 0; c < table.columnCount(); ++c) {
        if (withChecks && table.hasCheck(c))
            table.setChecked(to, c, table.isChecked(from, c));
        else
            table.setText(to, c, table.text(from, c));
    }
}

// Empties the texts of `row`; check boxes are unchecked except column 0,
// which is checked when `enableDefault` is true.
void resetRowCheck(GridRows &table, int row, bool enableDefault)
{
    for (int c = 0; c < table.columnCount(); ++c) {
        if (table.hasCheck(c))
            table.setChecked(row, c, c == 0 && enableDefault);
        else
            table.setText(row, c, QString());
    }
}

void deleteRow(GridRows &table, int row, bool withChecks)
{
    for (int i = row; i < table.rowCount() - 1; ++i)
        copyRowContents(table, i + 1, i, withChecks);
}

void insertRow(GridRows &table, int row, bool withChecks)
{
    for (int i = table.rowCount() - 2; i >= row; --i)
        copyRowContents(table, i, i + 1, withChecks);
}

} // namespace

void Grid_Delete_Row(GridRows &table, int row)
{
    if (!validRow(table, row))
        return;
    deleteRow(table, row, false);
    const int last = table.rowCount() - 1;
    for (int c = 0; c < table.columnCount(); ++c)
        table.setText(last, c, QString());
}

void Grid_Delete_Row_Check(GridRows &table, int row, bool enableDefault)
{
    if (!validRow(table, row))
        return;
    deleteRow(table, row, true);
    resetRowCheck(table, table.rowCount() - 1, enableDefault);
}

void Grid_Insert_Row(GridRows &table, int row, bool enableDefault)
{
    if (!validRow(table, row))
        return;
    insertRow(table, row, false);
    for (int c = 0; c < table.columnCount(); ++c)
        table.setText(row, c, QString());
    if (enableDefault && table.columnCount() > 0)
        table.setText(row, 0, QStringLiteral("Y"));
}

void Grid_Insert_Row_Check(GridRows &table, int row, bool enableDefault)
{
    if (!validRow(table, row))
        return;
    insertRow(table, row, true);
    resetRowCheck(table, row, enableDefault);
}

void Grid_Copy_Row(const GridRows &table, int row, QStringList &buffer)
{
    buffer.clear();
    if (!validRow(table, row))
        return;
    for (int c = 0; c < table.columnCount(); ++c)
        buffer.append(table.text(row, c));
}

void Grid_Copy_Row_Check(const GridRows &table, int row, QStringList &buffer, QList<bool> &isCheck)
{
    buffer.clear();
    isCheck.fill(false, table.columnCount());
    if (!validRow(table, row))
        return;
    for (int c = 0; c < table.columnCount(); ++c) {
        if (table.hasCheck(c)) {
            isCheck[c] = true;
            buffer.append(table.isChecked(row, c) ? QStringLiteral("Y") : QStringLiteral("N"));
        } else {
            buffer.append(table.text(row, c));
        }
    }
}

PasteResult Grid_Paste_Row(GridRows &table, int row, const QStringList &buffer, bool doCopy,
                           const ConfirmOverwrite &confirm)
{
    if (!doCopy)
        return PasteResult::NoCopy;
    if (buffer.size() != table.columnCount() || !validRow(table, row))
        return PasteResult::WrongWidth;
    bool inUse = false;
    for (int c = 0; c < table.columnCount() && !inUse; ++c)
        inUse = table.kind(c) != GridRows::Kind::DataCheck && !isBlankText(table.text(row, c));
    if (inUse && !(confirm && confirm()))
        return PasteResult::Declined;
    for (int c = 0; c < table.columnCount(); ++c)
        table.setText(row, c, buffer.at(c));
    return PasteResult::Pasted;
}

PasteResult Grid_Paste_Row_Check(GridRows &table, int row, const QStringList &buffer, const QList<bool> &isCheck,
                                 bool doCopy, const ConfirmOverwrite &confirm)
{
    if (!doCopy)
        return PasteResult::NoCopy;
    // The check flags travel with the texts: a buffer without one flag per
    // text was not made by a check-box copy of this table.
    if (buffer.size() != table.columnCount() || isCheck.size() != buffer.size() || !validRow(table, row))
        return PasteResult::WrongWidth;
    bool inUse = false;
    for (int c = 0; c < table.columnCount() && !inUse; ++c)
        inUse = !table.hasCheck(c) && !table.text(row, c).isEmpty();
    if (inUse && !(confirm && confirm()))
        return PasteResult::Declined;
    for (int c = 0; c < table.columnCount(); ++c) {
        if (isCheck.at(c) && table.hasCheck(c))
            table.setChecked(row, c, buffer.at(c) == QStringLiteral("Y"));
        else
            table.setText(row, c, buffer.at(c));
    }
    return PasteResult::Pasted;
}

TableLoadResult loadTableFile(const QString &path, int rowCount,
                              const std::function<void(int, const pugi::xml_node &)> &fill)
{
    TableLoadResult result;
    pugi::xml_document doc;
    result.xml = loadXmlFile(path, doc);
    if (!result.xml.ok())
        return result;
    const pugi::xml_node root = firstTopLevelNode(doc);
    int row = 0;
    for (const pugi::xml_node &child : root.children()) {
        if (child.type() != pugi::node_element)
            continue;
        if (row < rowCount)
            fill(row, child);
        else
            ++result.droppedRows;
        ++row;
    }
    return result;
}

} // namespace mirandel
