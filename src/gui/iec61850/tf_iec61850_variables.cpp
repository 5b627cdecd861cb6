#include "gui/iec61850/tf_iec61850_variables.h"

#include "core/app/app_context.h"
#include "core/common/decimal.h"
#include "core/iec61850/variable_table.h"
#include "core/iec61850/data_array_map.h"
#include "core/lang/text_ids.h"
#include "gui/common/prompter.h"
#include "gui/common/text_input_guard.h"
#include "gui/iec61850/data_array_view.h"

#include <QItemSelectionModel>

namespace mirandel {

namespace {

QList<GridColumn> variableColumns()
{
    using E = GridColumn::Editor;
    const Qt::Alignment left = Qt::AlignLeft;
    const Qt::Alignment centre = Qt::AlignHCenter;
    const QColor orange(255, 216, 176), cyan(224, 250, 254), green(168, 255, 168), yellow(255, 255, 168),
        pink(252, 214, 244), lilac(213, 213, 255);
    QStringList bits;
    for (int bit = 0; bit < 8; ++bit)
        bits.append(QString::number(bit));
    return {
        {E::DataCheck, 50, centre, orange, {}},
        {E::Text, 250, left, cyan, {}},
        {E::List, 80, left, green, {QStringLiteral("Int"), QStringLiteral("Float"), QStringLiteral("Digital (Bit)")}},
        {E::Text, 65, left, green, {}},
        {E::DataCheck, 65, centre, yellow, {}},
        {E::Text, 80, left, pink, {}},
        {E::List, 60, left, pink, bits},
        {E::List, 75, left, lilac,
         {QStringLiteral("None"), QStringLiteral("Int to Float"), QStringLiteral("Float to Int")}},
        {E::EditableList, 75, left, lilac, {QStringLiteral("None")}},
        {E::DataCheck, 45, centre, lilac, {}},
        {E::DataCheck, 80, centre, lilac, {}},
        {E::Text, 128, left, Qt::white, {}},
    };
}

TableDialog::Texts variableTexts()
{
    TableDialog::Texts t;
    t.caption = 900;
    t.description = 901;
    t.firstButton = 902;
    t.firstButtonHint = 908;
    t.allHintsShown = false;
    t.titles = {914, 915, 916, 917, 918, 919, 920, 932, 933, 934, 942, 943, 921};
    t.hints = {922, 923, 924, 925, 926, 927, 935, 936, 937, 944, 945, 928};
    t.deleteQuestion = 931;
    t.readError = Text_Variables_Unreadable;
    t.extraRows = Text_Variables_Extra_Rows;
    t.writeError = Text_Variables_Not_Saved;
    t.keepError = Text_Variables_Not_Kept;
    return t;
}

} // namespace

TFIEC61850_Variables::TFIEC61850_Variables(AppContext &context, Prompter &prompter, QWidget *parent)
    : TableDialog(context, prompter, parent, makeVariableTable(), variableColumns(), Variant::Text,
                  variableTexts(), QStringLiteral("ACG"), QSize(1155, 337))
{
    setObjectName(QStringLiteral("TFIEC61850_Variables"));

    Btn_Map = buttonBand()->addButton(QStringLiteral("Btn_Map"), 724);
    Btn_Map->setAutoDefault(false);
    connect(Btn_Map, &QPushButton::clicked, this, &TFIEC61850_Variables::Btn_MapClick);
    m_mapView = new DataArrayView(m_context, m_prompter, this);
    connect(m_mapView, &DataArrayView::variableClicked, this, &TFIEC61850_Variables::selectVariable);
    connect(model(), &QAbstractItemModel::dataChanged, this, &TFIEC61850_Variables::updateMap);
    connect(model(), &QAbstractItemModel::modelReset, this, &TFIEC61850_Variables::updateMap);
    dropNonXmlCharactersInEditors(grid()->viewport());
    Set_Lang();
}

void TFIEC61850_Variables::Set_Lang()
{
    TableDialog::Set_Lang();
    Btn_Map->setText(m_context.text(Text_Map));
    Btn_Map->setToolTip(m_context.text(Text_Map_Hint));
    m_mapView->Set_Lang();
}

void TFIEC61850_Variables::Btn_MapClick()
{
    grid()->finishEditing();
    updateMap();
    m_mapView->show();
    m_mapView->raise();
    m_mapView->activateWindow();
}

void TFIEC61850_Variables::updateMap()
{
    m_mapView->setMap(buildDataArrayMap(m_rows));
}

void TFIEC61850_Variables::selectVariable(int row)
{
    const QModelIndex index = model()->index(row, 2);
    grid()->setCurrentIndex(index);
    grid()->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    grid()->scrollTo(index);
}

void TFIEC61850_Variables::hideEvent(QHideEvent *event)
{
    // The map belongs to this showing of the editor.
    m_mapView->hide();
    TableDialog::hideEvent(event);
}

QString TFIEC61850_Variables::filePath() const
{
    return m_context.IEC61850_Variables_File;
}

TableLoadResult TFIEC61850_Variables::loadRows()
{
    NByte_IN = mirandel::NByte_IN;
    return loadVariableTable(filePath(), m_rows);
}

bool TFIEC61850_Variables::saveRows(QString *error)
{
    return saveVariableTable(m_rows, filePath(), error);
}

bool TFIEC61850_Variables::Controllo_dati()
{
    const auto failure = mirandel::Controllo_dati(m_rows, m_context.texts, Get_Decimal_Separator());
    if (!failure)
        return true;
    m_prompter.error(this, failure->message);
    return false;
}

} // namespace mirandel
