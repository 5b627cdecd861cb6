#pragma once
// TFIEC61850_Variables: the editor of the IEC 61850 variable table. Shows the
// 50 rows of IEC61850_Variables.xml in the grid ACG (row numbers, then the
// twelve fields), offers the text variant of the row commands, and saves on
// OK once the data check has passed.
//
// "Map" opens a window beside the editor that shows where the enabled
// variables sit in the internal data array; it follows every edit of the
// grid, saved or not, and a click on a variable there selects its row.

#include "gui/common/table_dialog.h"

namespace mirandel {

class DataArrayView;

class TFIEC61850_Variables : public TableDialog {
    Q_OBJECT
public:
    TFIEC61850_Variables(AppContext &context, Prompter &prompter, QWidget *parent = nullptr);

    // The data check: shows the first failing row's message and returns false.
    bool Controllo_dati() override;

    void Set_Lang() override;

    // Size of the internal data array, set each time the dialog is shown.
    int NByte_IN = 0;

    // Opens (or raises) the map of the data array.
    void Btn_MapClick();
    DataArrayView *mapView() const { return m_mapView; }

protected:
    QString filePath() const override;
    TableLoadResult loadRows() override;
    bool saveRows(QString *error) override;
    void hideEvent(QHideEvent *event) override;

private:
    void updateMap();
    void selectVariable(int row);

    FlatButton *Btn_Map = nullptr;
    DataArrayView *m_mapView = nullptr;
};

} // namespace mirandel
