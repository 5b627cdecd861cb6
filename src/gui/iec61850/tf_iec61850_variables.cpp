#include "gui/iec61850/tf_iec61850_variables.h"

#include "core/app/app_context.h"
#include "core/common/decimal.h"
#include "core/iec61850/variable_table.h"
#include "gui/common/prompter.h"
#include "gui/common/text_input_guard.h"

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
    t.readError = 946;
    t.extraRows = 947;
    t.writeError = 948;
    t.keepError = 949;
    return t;
}

} // namespace

TFIEC61850_Variables::TFIEC61850_Variables(AppContext &context, Prompter &prompter, QWidget *parent)
    : TableDialog(context, prompter, parent, makeVariableTable(), variableColumns(), Variant::Text,
                  variableTexts(), QStringLiteral("ACG"), QSize(1155, 337))
{
    setObjectName(QStringLiteral("TFIEC61850_Variables"));
    dropNonXmlCharactersInEditors(grid()->viewport());
    Set_Lang();
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
