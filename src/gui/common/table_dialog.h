#pragma once
// The table editor skeleton shared by the variable editor and the
// known-certificate list.
//
// A TableDialog owns its records as a core GridRows and shows them through
// GridTableModel (grid_table_model.h), a thin item model. GridDelegate
// (grid_delegate.h) gives each column its editor. TableGrid (table_grid.h) is
// the view; it walks the fields on Enter and fits a column on a double click
// on its title when the program-wide flags ask for it.
//
// Flow: every showing reloads the file (FormShow) and forgets the copy made in
// an earlier showing (Do_Copy); the row commands change the GridRows through
// the core row routines and tell the model which rows changed; OK runs the
// dialog's check and writes the file, Cancel writes nothing. Copy_Buffer and
// Copy_Is_Check live in the AppContext, shared by all table dialogs.

#include "gui/common/dialog_chrome.h"
#include "gui/common/grid_delegate.h"
#include "gui/common/grid_table_model.h"
#include "gui/common/table_grid.h"

#include <QList>

namespace mirandel {

class FlatButton;

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
