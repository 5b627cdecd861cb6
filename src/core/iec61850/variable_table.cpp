#include "core/iec61850/variable_table.h"

#include "core/common/decimal.h"
#include "core/common/text_rules.h"
#include "core/lang/text_ids.h"
#include "core/lang/text_table.h"

namespace mirandel {

namespace {

using Kind = GridRows::Kind;

} // namespace

GridRows makeVariableTable()
{
    GridRows table(Variable_Rows,
                   {Kind::DataCheck, Kind::Text, Kind::Text, Kind::Text, Kind::DataCheck, Kind::Text,
                    Kind::Text, Kind::Text, Kind::Text, Kind::DataCheck, Kind::DataCheck, Kind::Text});
    resetVariableTable(table);
    return table;
}

void resetVariableTable(GridRows &table)
{
    for (int r = 0; r < table.rowCount(); ++r) {
        table.clearRow(r);
        table.setText(r, Var_Enable, QStringLiteral("Y"));
    }
}

TableLoadResult loadVariableTable(const QString &path, GridRows &table)
{
    resetVariableTable(table);
    return loadTableFile(path, table.rowCount(), [&table](int row, const pugi::xml_node &node) {
        for (int c = 0; c < Variable_Fields; ++c) {
            QString value;
            if (attributeText(node, Variable_Attributes[c], value))
                table.setText(row, c, value);
            else if (c == Var_Enable)
                table.setText(row, c, QStringLiteral("Y"));
            else if (c == Var_ReadOnly || c == Var_Swap || c == Var_SwapWord)
                table.setText(row, c, QStringLiteral("N"));
        }
    });
}

void buildVariableDocument(const GridRows &table, pugi::xml_document &doc)
{
    pugi::xml_node root = startProjectDocument(doc, Variables_Root);
    for (int r = 0; r < table.rowCount(); ++r) {
        if (isBlankText(table.text(r, Var_Name)))
            break;
        pugi::xml_node row = root.append_child("row");
        for (int c = 0; c < Variable_Fields; ++c)
            row.append_attribute(Variable_Attributes[c]).set_value(toXml(table.text(r, c)).c_str());
    }
}

bool saveVariableTable(const GridRows &table, const QString &path, QString *error)
{
    pugi::xml_document doc;
    buildVariableDocument(table, doc);
    return saveXmlFile(doc, path, error);
}

std::optional<VariableCheckFailure> Controllo_dati(const GridRows &table, const TextTable &texts,
                                                   QChar separator)
{
    const int lastPosition = NByte_IN - 1;
    for (int r = 0; r < table.rowCount(); ++r) {
        if (isBlankText(table.text(r, Var_Name)))
            break;
        if (trimText(table.text(r, Var_Enable)) != QStringLiteral("Y"))
            continue;
        const auto fail = [&](QString tail) {
            return VariableCheckFailure{r, texts.text(Text_Error_Row) + QString::number(r + 1) + tail};
        };
        const int length = numericTextOr(table.text(r, Var_Length), -1);
        if (length < 1 || length > 4)
            return fail(texts.text(Text_Length_Range));
        const int position = numericTextOr(table.text(r, Var_Position), -1);
        if (position < 0 || position > lastPosition)
            return fail(texts.text(Text_Position_Range) + QString::number(lastPosition));
        if (table.text(r, Var_Type) == QStringLiteral("Digital (Bit)") && isBlankText(table.text(r, Var_StartBit)))
            return fail(texts.text(Text_Start_Bit_Missing));
        if (isBlankText(table.text(r, Var_Conversion)))
            return fail(texts.text(Text_Conversion_Missing));
        const QString factor = table.text(r, Var_MultiplicationFactor);
        float value = 0;
        if (trimText(factor).toUpper() != QStringLiteral("NONE") && !Str_To_Single(factor, separator, value))
            return fail(texts.text(Text_Factor_Not_Float));
    }
    return std::nullopt;
}

} // namespace mirandel
