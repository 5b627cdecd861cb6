#include "core/common/grid_rows.h"

#include <QTemporaryDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace mirandel;

namespace {

using Kind = GridRows::Kind;

// Rows are written as "cell|cell|...": a real check box as "[x]" or "[ ]",
// every other cell as its text.
QString rowText(const GridRows &table, int row)
{
    QStringList cells;
    for (int c = 0; c < table.columnCount(); ++c) {
        if (table.hasCheck(c))
            cells.append(table.isChecked(row, c) ? QStringLiteral("[x]") : QStringLiteral("[ ]"));
        else
            cells.append(table.text(row, c));
    }
    return cells.join(QLatin1Char('|'));
}

QStringList dump(const GridRows &table)
{
    QStringList rows;
    for (int r = 0; r < table.rowCount(); ++r)
        rows.append(rowText(table, r));
    return rows;
}

void setRow(GridRows &table, int row, const QString &text)
{
    const QStringList cells = text.split(QLatin1Char('|'));
    for (int c = 0; c < table.columnCount(); ++c) {
        if (table.hasCheck(c))
            table.setChecked(row, c, cells.at(c) == QStringLiteral("[x]"));
        else
            table.setText(row, c, cells.at(c));
    }
}

GridRows fill(QList<Kind> kinds, const QStringList &rows)
{
    GridRows table(int(rows.size()), std::move(kinds));
    for (int r = 0; r < rows.size(); ++r)
        setRow(table, r, rows.at(r));
    return table;
}

// Text variant: Enable, Name, a data check box, Mnemonic.
const QList<Kind> kTextKinds = {Kind::DataCheck, Kind::Text, Kind::DataCheck, Kind::Text};
const QStringList kTextRows = {u"Y|a|Y|1"_qs, u"N|b|N|2"_qs, u"Y|c||3"_qs, u"Y|d|N|4"_qs};

// Check-box variant: a real box, Certificate, Mnemonic.
const QList<Kind> kCheckKinds = {Kind::CheckBox, Kind::Text, Kind::Text};
const QStringList kCheckRows = {u"[x]|a|1"_qs, u"[ ]|b|2"_qs, u"[x]|c|3"_qs, u"[ ]|d|4"_qs};

struct ShiftCase {
    const char *what;
    int row;
    QStringList expected;
};

TEST(GridRows, DeleteMovesRowsUpAndEmptiesTheLast)
{
    const ShiftCase textCases[] = {
        {"first", 0, {u"N|b|N|2"_qs, u"Y|c||3"_qs, u"Y|d|N|4"_qs, u"|||"_qs}},
        {"middle", 1, {u"Y|a|Y|1"_qs, u"Y|c||3"_qs, u"Y|d|N|4"_qs, u"|||"_qs}},
        {"last", 3, {u"Y|a|Y|1"_qs, u"N|b|N|2"_qs, u"Y|c||3"_qs, u"|||"_qs}},
    };
    for (const ShiftCase &c : textCases) {
        SCOPED_TRACE(c.what);
        GridRows table = fill(kTextKinds, kTextRows);
        Grid_Delete_Row(table, c.row);
        EXPECT_EQ(dump(table), c.expected);
    }
    const ShiftCase checkCases[] = {
        {"first", 0, {u"[ ]|b|2"_qs, u"[x]|c|3"_qs, u"[ ]|d|4"_qs, u"[x]||"_qs}},
        {"middle", 1, {u"[x]|a|1"_qs, u"[x]|c|3"_qs, u"[ ]|d|4"_qs, u"[x]||"_qs}},
        {"last", 3, {u"[x]|a|1"_qs, u"[ ]|b|2"_qs, u"[x]|c|3"_qs, u"[x]||"_qs}},
    };
    for (const ShiftCase &c : checkCases) {
        SCOPED_TRACE(c.what);
        GridRows table = fill(kCheckKinds, kCheckRows);
        Grid_Delete_Row_Check(table, c.row, true);
        EXPECT_EQ(dump(table), c.expected);
    }
    GridRows table = fill(kCheckKinds, kCheckRows);
    Grid_Delete_Row_Check(table, 0, false);
    EXPECT_EQ(rowText(table, 3), u"[ ]||"_qs);
}

TEST(GridRows, InsertMovesRowsDownAndLosesTheLast)
{
    const ShiftCase textCases[] = {
        {"first, table full", 0, {u"Y|||"_qs, u"Y|a|Y|1"_qs, u"N|b|N|2"_qs, u"Y|c||3"_qs}},
        {"middle", 2, {u"Y|a|Y|1"_qs, u"N|b|N|2"_qs, u"Y|||"_qs, u"Y|c||3"_qs}},
        {"last row: reset only", 3, {u"Y|a|Y|1"_qs, u"N|b|N|2"_qs, u"Y|c||3"_qs, u"Y|||"_qs}},
    };
    for (const ShiftCase &c : textCases) {
        SCOPED_TRACE(c.what);
        GridRows table = fill(kTextKinds, kTextRows);
        Grid_Insert_Row(table, c.row, true);
        EXPECT_EQ(dump(table), c.expected);
    }
    const ShiftCase checkCases[] = {
        {"first, table full", 0, {u"[x]||"_qs, u"[x]|a|1"_qs, u"[ ]|b|2"_qs, u"[x]|c|3"_qs}},
        {"middle", 2, {u"[x]|a|1"_qs, u"[ ]|b|2"_qs, u"[x]||"_qs, u"[x]|c|3"_qs}},
        {"last row: reset only", 3, {u"[x]|a|1"_qs, u"[ ]|b|2"_qs, u"[x]|c|3"_qs, u"[x]||"_qs}},
    };
    for (const ShiftCase &c : checkCases) {
        SCOPED_TRACE(c.what);
        GridRows table = fill(kCheckKinds, kCheckRows);
        Grid_Insert_Row_Check(table, c.row, true);
        EXPECT_EQ(dump(table), c.expected);
    }
}

struct PasteCase {
    const char *what;
    bool doCopy;
    QStringList buffer;
    QString target;    // contents of the row pasted into
    bool answer;       // answer to the overwrite question
    PasteResult result;
    bool asked;        // whether the question was asked
    QString after;     // the row afterwards
};

TEST(GridRows, PasteTextVariant)
{
    const QStringList row = {u"N"_qs, u"x"_qs, u"Y"_qs, u"m"_qs};
    const PasteCase cases[] = {
        {"no copy in this showing", false, row, u"Y|||"_qs, true, PasteResult::NoCopy, false, u"Y|||"_qs},
        {"buffer too short", true, {u"N"_qs, u"x"_qs}, u"Y|||"_qs, true, PasteResult::WrongWidth, false,
         u"Y|||"_qs},
        {"empty buffer", true, {}, u"Y|||"_qs, true, PasteResult::WrongWidth, false, u"Y|||"_qs},
        {"empty row", true, row, u"Y|||"_qs, false, PasteResult::Pasted, false, u"N|x|Y|m"_qs},
        {"only blanks and check texts", true, row, u"N|  | Y|\t"_qs, false, PasteResult::Pasted, false,
         u"N|x|Y|m"_qs},
        {"name in use, yes", true, row, u"Y|old||"_qs, true, PasteResult::Pasted, true, u"N|x|Y|m"_qs},
        {"name in use, no", true, row, u"Y|old||"_qs, false, PasteResult::Declined, true, u"Y|old||"_qs},
        {"mnemonic in use", true, row, u"Y|||note"_qs, false, PasteResult::Declined, true, u"Y|||note"_qs},
    };
    for (const PasteCase &c : cases) {
        SCOPED_TRACE(c.what);
        GridRows table(1, kTextKinds);
        setRow(table, 0, c.target);
        int asked = 0;
        const PasteResult result = Grid_Paste_Row(table, 0, c.buffer, c.doCopy, [&] {
            ++asked;
            return c.answer;
        });
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(asked, c.asked ? 1 : 0);
        EXPECT_EQ(rowText(table, 0), c.after);
    }
}

TEST(GridRows, PasteCheckVariant)
{
    const QStringList row = {u"N"_qs, u"cert"_qs, u"m"_qs};
    const PasteCase cases[] = {
        {"no copy in this showing", false, row, u"[x]||"_qs, true, PasteResult::NoCopy, false, u"[x]||"_qs},
        {"buffer too long", true, {u"N"_qs, u"c"_qs, u"m"_qs, u"x"_qs}, u"[x]||"_qs, true,
         PasteResult::WrongWidth, false, u"[x]||"_qs},
        {"empty row", true, row, u"[x]||"_qs, false, PasteResult::Pasted, false, u"[ ]|cert|m"_qs},
        // Blanks count: the check-box variant does not trim.
        {"blank certificate", true, row, u"[x]| |"_qs, false, PasteResult::Declined, true, u"[x]| |"_qs},
        {"in use, yes", true, row, u"[x]|old|"_qs, true, PasteResult::Pasted, true, u"[ ]|cert|m"_qs},
    };
    for (const PasteCase &c : cases) {
        SCOPED_TRACE(c.what);
        GridRows table(1, kCheckKinds);
        setRow(table, 0, c.target);
        int asked = 0;
        const QList<bool> isCheck = QList<bool>{true, false, false, false}.mid(0, c.buffer.size());
        const PasteResult result = Grid_Paste_Row_Check(table, 0, c.buffer, isCheck, c.doCopy, [&] {
            ++asked;
            return c.answer;
        });
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(asked, c.asked ? 1 : 0);
        EXPECT_EQ(rowText(table, 0), c.after);
    }
}

TEST(GridRows, CopyThenPasteKeepsTextsAndCheckStates)
{
    GridRows texts = fill(kTextKinds, kTextRows);
    QStringList buffer;
    Grid_Copy_Row(texts, 1, buffer);
    EXPECT_EQ(buffer, (QStringList{u"N"_qs, u"b"_qs, u"N"_qs, u"2"_qs}));
    Grid_Insert_Row(texts, 3, true);
    EXPECT_EQ(Grid_Paste_Row(texts, 3, buffer, true, {}), PasteResult::Pasted);
    EXPECT_EQ(rowText(texts, 3), u"N|b|N|2"_qs);

    GridRows checks = fill(kCheckKinds, kCheckRows);
    QList<bool> isCheck;
    Grid_Copy_Row_Check(checks, 3, buffer, isCheck);
    EXPECT_EQ(buffer, (QStringList{u"N"_qs, u"d"_qs, u"4"_qs}));
    EXPECT_EQ(isCheck, (QList<bool>{true, false, false}));
    Grid_Insert_Row_Check(checks, 0, true);
    EXPECT_EQ(Grid_Paste_Row_Check(checks, 0, buffer, isCheck, true, {}), PasteResult::Pasted);
    EXPECT_EQ(rowText(checks, 0), u"[ ]|d|4"_qs);
    // A text-variant buffer (no check flags) is not a row of this table.
    EXPECT_EQ(Grid_Paste_Row_Check(checks, 0, buffer, {}, true, {}), PasteResult::WrongWidth);
}

TEST(TableFile, CountsRecordsBeyondTheTableAndSkipsComments)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"t.xml"_qs);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<root><row a=\"1\"/><!-- note --><other a=\"2\"/><row a=\"3\"/><row a=\"4\"/></root>"
               "<!--SW_VERSION = 1.000-->");
    file.close();
    QStringList seen;
    const TableLoadResult result = loadTableFile(path, 2, [&](int row, const pugi::xml_node &node) {
        seen.append(QString::number(row) + QLatin1Char('=') + fromXml(node.attribute("a").value()));
    });
    EXPECT_TRUE(result.xml.ok());
    EXPECT_EQ(seen, (QStringList{u"0=1"_qs, u"1=2"_qs}));
    EXPECT_EQ(result.droppedRows, 2);
}

} // namespace
