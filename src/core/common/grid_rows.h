#pragma once
// GridRows: the records of a table editor, independent of any widget, and the
// row commands every table editor offers (delete, insert, copy, paste).
//
// A table has a fixed number of data rows and data columns; rows are never
// added or removed, insert and delete shift the contents of the fixed rows.
// Indices here are 0-based data indices: row 0 is the record shown with the
// number 1, column 0 is the first data column (the Enable column of every
// table). Row numbers and column titles belong to the view, not to this model.
//
// Each column has a kind:
//   Text      - a text cell (edits and drop-down lists alike);
//   DataCheck - a data check box: the cell text "Y"/"N" is its state;
//   CheckBox  - a real check box: the state is kept apart from the text.
//
// The row commands come in two variants. The text variant (Grid_*_Row) moves
// texts only and treats DataCheck cells as texts; the check-box variant
// (Grid_*_Row_Check) also moves and resets the states of CheckBox cells.
// The copy buffer is the caller's (one program-wide list in the application),
// so these routines hold no state of their own.

#include "core/common/xml_file.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace mirandel {

class GridRows {
public:
    enum class Kind { Text, DataCheck, CheckBox };

    GridRows(int rowCount, QList<Kind> columns);

    int rowCount() const { return m_rowCount; }
    int columnCount() const { return int(m_kinds.size()); }
    Kind kind(int column) const { return m_kinds.at(column); }
    // True when the cells of `column` carry a real check box.
    bool hasCheck(int column) const { return m_kinds.at(column) == Kind::CheckBox; }

    QString text(int row, int column) const { return m_texts.at(cellIndex(row, column)); }
    void setText(int row, int column, const QString &text) { m_texts[cellIndex(row, column)] = text; }
    // State of a real check box; false for cells without one.
    bool isChecked(int row, int column) const { return m_checks.at(cellIndex(row, column)); }
    void setChecked(int row, int column, bool checked) { m_checks[cellIndex(row, column)] = checked; }

    // Empties every text and unchecks every box of `row`.
    void clearRow(int row);

private:
    int cellIndex(int row, int column) const { return row * columnCount() + column; }

    int m_rowCount;
    QList<Kind> m_kinds;
    QList<QString> m_texts;
    QList<bool> m_checks;
};

// Text variant: moves the rows below `row` up one place and empties the last
// row, its Enable cell included.
void Grid_Delete_Row(GridRows &table, int row);

// Check-box variant: as Grid_Delete_Row, moving check states too; in the
// emptied last row the box of column 0 is checked when `enableDefault` is
// true, every other box unchecked.
void Grid_Delete_Row_Check(GridRows &table, int row, bool enableDefault);

// Text variant: moves `row` and the rows below it down one place (the last
// row's contents are lost) and empties `row`, whose column 0 gets "Y" when
// `enableDefault` is true. At the last row it only resets that row.
void Grid_Insert_Row(GridRows &table, int row, bool enableDefault);

// Check-box variant of Grid_Insert_Row: the reset row's box in column 0 is
// checked when `enableDefault` is true, other boxes unchecked, texts empty.
void Grid_Insert_Row_Check(GridRows &table, int row, bool enableDefault);

// Text variant: replaces `buffer` by the texts of `row`, in column order.
void Grid_Copy_Row(const GridRows &table, int row, QStringList &buffer);

// Check-box variant: one entry per column in both lists; a check-box cell is
// copied as "Y"/"N" with its isCheck entry true, other cells as their text.
void Grid_Copy_Row_Check(const GridRows &table, int row, QStringList &buffer, QList<bool> &isCheck);

enum class PasteResult {
    Pasted,
    NoCopy,     // no copy was made in this showing of the dialog: nothing pasted
    WrongWidth, // the buffer does not hold one entry per column: nothing pasted
    Declined    // the row was in use and the overwrite question was answered No
};

// Asked before overwriting a row in use; true allows the paste.
using ConfirmOverwrite = std::function<bool()>;

// Text variant. A row is in use when a cell of a column that is not a
// DataCheck column holds a text that is not blank; then `confirm` decides.
PasteResult Grid_Paste_Row(GridRows &table, int row, const QStringList &buffer, bool doCopy,
                           const ConfirmOverwrite &confirm);

// Check-box variant. A row is in use when a cell without a check box holds a
// non-empty text (blanks count). Check-box cells take "Y" as checked.
PasteResult Grid_Paste_Row_Check(GridRows &table, int row, const QStringList &buffer, const QList<bool> &isCheck,
                                 bool doCopy, const ConfirmOverwrite &confirm);

// Result of reading a table file.
struct TableLoadResult {
    XmlLoadResult xml;   // Ok, Missing (defaults, no message), Unreadable or Malformed
    int droppedRows = 0; // records of the file beyond the table's last row
};

// Reads the table file `path`: the document's first node is the root; its
// element children, in document order and whatever their names, are the
// records. `fill(row, element)` is called for the first `rowCount` of them;
// the others are counted in droppedRows.
TableLoadResult loadTableFile(const QString &path, int rowCount,
                              const std::function<void(int, const pugi::xml_node &)> &fill);

} // namespace mirandel
