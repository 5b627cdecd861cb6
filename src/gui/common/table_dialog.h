#pragma once
// The table editor skeleton shared by the variable editor and the
// known-certificate list.
//
// A TableDialog owns its records as a core GridRows and shows them through
// GridTableModel, a thin item model: model column 0 holds the row numbers,
// model column c >= 1 is data column c - 1 of the GridRows. GridDelegate gives
// each column its editor (text edit, multi-line text, fixed or editable
// drop-down list, data check box, real check box). TableGrid is the view; it
// walks the fields on Enter and fits a column on a double click on its title
// when the program-wide flags ask for it.
//
// Flow: every showing reloads the file (FormShow) and forgets the copy made in
// an earlier showing (Do_Copy); the row commands change the GridRows through
// the core row routines and tell the model which rows changed; OK runs the
// dialog's check and writes the file, Cancel writes nothing. Copy_Buffer and
// Copy_Is_Check live in the AppContext, shared by all table dialogs.

#include "core/common/grid_rows.h"
#include "gui/common/dialog_chrome.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

namespace mirandel {

class FlatButton;

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

// Per-column editors and the drawing of centred check boxes.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit GridDelegate(QObject *parent = nullptr);

    // When it returns true, Enter in an open editor commits and closes the
    // editor and emits enterPressed instead of reaching the editor.
    std::function<bool()> enterWalks;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

signals:
    void enterPressed();

protected:
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    static bool isCheckColumn(const QModelIndex &index);
    static QRect checkRect(const QStyleOptionViewItem &option);
};

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
    int m_sizingRow = -1;   // row being resized by a drag, or -1
    int m_sizingStartY = 0;
    int m_sizingStartHeight = 0;
};

// Base of the table dialogs: title band, grid, the six buttons, and every
// handler the table dialogs share.
class TableDialog : public BaseDialog {
    Q_OBJECT
public:
    // Indices of the dialog's own texts in the UI text table.
    struct Texts {
        int caption;          // window title
        int description;      // L_SW_Desc
        int firstButton;      // captions of the six buttons, in button order
        int firstButtonHint;  // hints of the six buttons, in button order
        bool allHintsShown;   // false: only Copy Row and Paste Row show their hints
        QList<int> titles;    // column titles, row-number column first
        QList<int> hints;     // Hint_List, one per data column
        int deleteQuestion;   // "Are you sure to delete the Row number "
        int readError;        // %1 file, %2 reason
        int extraRows;        // %1 file, %2 number of rows not shown
        int writeError;       // %1 file, %2 reason
        int keepError;        // %1 file, %2 reason
    };

    enum class Variant { Text, CheckBox };

    void Set_Lang() override;

    // Reloads the file: every row reset, then filled from the file; Do_Copy
    // cleared. Runs each time the dialog is shown.
    void FormShow();

    bool Do_Copy = false;
    QStringList Hint_List;

public slots:
    void Btn_OKClick();
    void Btn_DelRowClick();
    void Btn_InsRowClick();
    void Btn_CopyRowClick();
    void Btn_PasteRowClick();

protected:
    TableDialog(AppContext &context, Prompter &prompter, QWidget *parent, GridRows rows,
                QList<GridColumn> columns, Variant variant, Texts texts, const QString &gridName,
                QSize clientSize);

    // The dialog's file.
    virtual QString filePath() const = 0;
    // Resets m_rows and fills it from filePath().
    virtual TableLoadResult loadRows() = 0;
    // Writes m_rows to filePath(); false with the reason in *error.
    virtual bool saveRows(QString *error) = 0;
    // The dialog's data check; shows its message and returns false on failure.
    virtual bool Controllo_dati() = 0;

    void showEvent(QShowEvent *event) override;

    TableGrid *grid() const { return m_grid; }
    GridTableModel *model() const { return m_model; }

    GridRows m_rows;

private:
    int currentRow() const;
    void ClickCell(const QModelIndex &index);
    void showLoadNotices(const TableLoadResult &result);

    Variant m_variant;
    Texts m_texts;
    GridTableModel *m_model;
    TableGrid *m_grid;
    QList<FlatButton *> m_buttons;
    bool m_keepUnreadable = false;
};

} // namespace mirandel
