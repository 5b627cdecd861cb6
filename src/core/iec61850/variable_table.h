#pragma once
// The IEC 61850 variable table: up to 50 variables, one row of twelve text
// fields each, stored in IEC61850_Variables.xml as one `row` element per
// variable with every field as an attribute. Fields stay texts as the user
// typed or chose them; only the check and the image builder read numbers.

#include "core/common/grid_rows.h"

#include <QChar>
#include <array>
#include <optional>

namespace mirandel {

class TextTable;

// Columns of the table (0-based data columns), in file attribute order.
enum VariableField {
    Var_Enable,
    Var_Name,
    Var_Type,
    Var_Length,
    Var_ReadOnly,
    Var_Position,
    Var_StartBit,
    Var_Conversion,
    Var_MultiplicationFactor,
    Var_Swap,
    Var_SwapWord,
    Var_Mnemonic,
};

inline constexpr int Variable_Rows = 50;
inline constexpr int Variable_Fields = 12;
// Size of the gateway's internal data array.
inline constexpr int NByte_IN = 1438;

inline constexpr const char *Variables_Root = "IEC61850_Variables";
// File attribute of each field, in column order.
inline constexpr std::array<const char *, Variable_Fields> Variable_Attributes = {
    "Enable", "Name", "Type", "Length", "ReadOnly", "Position",
    "StartBit", "Conversion", "MultiplicationFactor", "Swap", "SwapWord", "Mnemonic"};

// An empty table of 50 rows with its column kinds, already reset.
GridRows makeVariableTable();

// Every row: Enable "Y", every other field empty.
void resetVariableTable(GridRows &table);

// Resets the table, then fills it from `path`. A missing attribute keeps the
// reset value, except Enable ("Y") and ReadOnly, Swap, SwapWord ("N").
// Texts are taken unchanged. A file that is missing or cannot be read leaves
// the reset table.
TableLoadResult loadVariableTable(const QString &path, GridRows &table);

// Builds the file's document: the rows from the first down to the last one
// before the first row whose Name is blank, all twelve attributes each.
void buildVariableDocument(const GridRows &table, pugi::xml_document &doc);

// buildVariableDocument, written atomically. False with the reason in *error.
bool saveVariableTable(const GridRows &table, const QString &path, QString *error);

struct VariableCheckFailure {
    int row;         // 0-based data row
    QString message; // e.g. "Error row 3!! Length must be between 1 and 4"
};

// The variable editor's data check: the first failing enabled row above the
// first nameless row, with its message composed from the UI text table, or
// nullopt when every row passes. `separator` is the decimal separator used
// to read the multiplication factor.
std::optional<VariableCheckFailure> Controllo_dati(const GridRows &table, const TextTable &texts,
                                                   QChar separator);

} // namespace mirandel
