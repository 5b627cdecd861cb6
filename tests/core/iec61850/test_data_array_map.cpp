// The data-array map: which bytes and bits each enabled variable occupies,
// and the overlaps, overruns and repeated names among them.

#include "core/iec61850/data_array_map.h"

#include "core/iec61850/variable_table.h"

#include <gtest/gtest.h>
#include <cctype>
#include <vector>

using namespace mirandel;

namespace {

struct Row {
    const char *enable;
    const char *name;
    const char *type;
    const char *length;
    const char *position;
    const char *startBit = "";
};

GridRows tableOf(const std::vector<Row> &rows)
{
    GridRows table = makeVariableTable();
    for (size_t r = 0; r < rows.size(); ++r) {
        const int i = int(r);
        table.setText(i, Var_Enable, QString::fromUtf8(rows[r].enable));
        table.setText(i, Var_Name, QString::fromUtf8(rows[r].name));
        table.setText(i, Var_Type, QString::fromUtf8(rows[r].type));
        table.setText(i, Var_Length, QString::fromUtf8(rows[r].length));
        table.setText(i, Var_Position, QString::fromUtf8(rows[r].position));
        table.setText(i, Var_StartBit, QString::fromUtf8(rows[r].startBit));
    }
    return table;
}

// "overlap 1+2 10-11", "overlap 1+2 5-5 bit 3", "past-end 3 1438-1438", "duplicate-name 1+4".
std::string problemsOf(const DataArrayMap &map)
{
    std::string out;
    for (const MapProblem &p : map.problems) {
        if (!out.empty())
            out += "; ";
        out += p.code().toStdString() + ' ';
        if (p.otherRow >= 0)
            out += std::to_string(p.otherRow + 1) + '+';
        out += std::to_string(p.row + 1);
        if (p.kind != MapProblem::DuplicateName)
            out += ' ' + std::to_string(p.first) + '-' + std::to_string(p.last);
        if (p.bit >= 0)
            out += " bit " + std::to_string(p.bit);
    }
    return out;
}

// "1:0-3 2:4-4.3", row numbers 1-based, bit after the dot.
std::string spansOf(const DataArrayMap &map)
{
    std::string out;
    for (const VariableSpan &s : map.spans) {
        if (!out.empty())
            out += ' ';
        out += std::to_string(s.row + 1) + ':' + std::to_string(s.first) + '-' + std::to_string(s.last);
        if (s.isBit())
            out += '.' + std::to_string(s.bit);
    }
    return out;
}

struct MapCase {
    const char *name;
    std::vector<Row> rows;
    const char *spans;
    const char *problems;
};

const char *const Int = "Int";
const char *const Bit = "Digital (Bit)";

const MapCase kCases[] = {
    {"adjacent variables do not overlap",
     {{"Y", "a", Int, "4", "0"}, {"Y", "b", "Float", "4", "4"}},
     "1:0-3 2:4-7",
     ""},
    {"overlapping bytes",
     {{"Y", "a", Int, "4", "10"}, {"Y", "b", Int, "2", "12"}},
     "1:10-13 2:12-13",
     "overlap 1+2 12-13"},
    {"bits 3 and 4 of one byte do not overlap",
     {{"Y", "b3", Bit, "1", "5", "3"}, {"Y", "b4", Bit, "1", "5", "4"}},
     "1:5-5.3 2:5-5.4",
     ""},
    {"the same bit twice",
     {{"Y", "x", Bit, "1", "5", "3"}, {"Y", "y", Bit, "", "5", "3"}},
     "1:5-5.3 2:5-5.3",
     "overlap 1+2 5-5 bit 3"},
    {"a bit inside an Int overlaps",
     {{"Y", "word", Int, "2", "20"}, {"Y", "flag", Bit, "4", "21", "0"}},
     "1:20-21 2:21-21.0",
     "overlap 1+2 21-21"},
    {"position 1437 length 2 is past the end", {{"Y", "a", Int, "2", "1437"}}, "1:1437-1438", "past-end 1 1438-1438"},
    {"position 1437 length 1 fits", {{"Y", "a", Int, "1", "1437"}}, "1:1437-1437", ""},
    {"position 1437 length 4", {{"Y", "a", Int, "4", "1437"}}, "1:1437-1440", "past-end 1 1438-1440"},
    {"disabled rows are ignored",
     {{"N", "a", Int, "4", "0"}, {"Y", "b", Int, "4", "0"}, {" Y", "a", Int, "4", "2"}},
     "2:0-3",
     ""},
    {"rows below the first nameless row are ignored",
     {{"Y", "a", Int, "4", "0"}, {"Y", "  ", Int, "4", "0"}, {"Y", "a", Int, "4", "0"}},
     "1:0-3",
     ""},
    {"duplicate names, placed or not",
     {{"Y", "Temp", Int, "2", "0"}, {"Y", "Temp ", Int, "2", "2"}, {"Y", "Temp", Int, "x", "4"}},
     "1:0-1 2:2-3",
     "duplicate-name 1+2; duplicate-name 1+3"},
    {"rows that cannot be placed are left out",
     {{"Y", "a", Int, "0", "0"}, {"Y", "b", Int, "2", "-1"}, {"Y", "c", Int, "2", "abc"}, {"Y", "d", Int, "2", "0x10"}},
     "4:16-17",
     ""},
    {"spans in position order, problems by row",
     {{"Y", "hi", Int, "4", "100"},
      {"Y", "lo", Int, "4", "0"},
      {"Y", "mid", Int, "4", "2"},
      {"Y", "end", Int, "4", "1436"}},
     "2:0-3 3:2-5 1:100-103 4:1436-1439",
     "overlap 2+3 2-3; past-end 4 1438-1439"},
};

class DataArrayMapCases : public ::testing::TestWithParam<MapCase> {};

TEST_P(DataArrayMapCases, SpansAndProblems)
{
    const MapCase &c = GetParam();
    const DataArrayMap map = buildDataArrayMap(tableOf(c.rows));
    EXPECT_EQ(spansOf(map), c.spans);
    EXPECT_EQ(problemsOf(map), c.problems);
}

INSTANTIATE_TEST_SUITE_P(Rules, DataArrayMapCases, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<MapCase> &info) {
                             std::string name;
                             for (const char *p = info.param.name; *p; ++p)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

TEST(DataArrayMap, ProblemsNameTheRowsAndBytes)
{
    const DataArrayMap map = buildDataArrayMap(
        tableOf({{"Y", "a", Int, "4", "10"}, {"Y", "b", Bit, "1", "11", "2"}, {"Y", "a", Int, "2", "1437"}}));
    QStringList lines;
    for (const MapProblem &p : map.problems)
        lines.append(p.code() + QStringLiteral(": ") + p.describe());
    EXPECT_EQ(lines,
              (QStringList{QStringLiteral("overlap: rows 1 and 2 share byte 11"),
                           QStringLiteral("past-end: row 3 runs past the end of the 1438-byte array (byte 1438)"),
                           QStringLiteral("duplicate-name: rows 1 and 3 have the same name")}));
    EXPECT_TRUE(map.rowHasProblem(1));
    EXPECT_EQ(map.at(11).size(), 2);
    EXPECT_TRUE(map.at(9).isEmpty());
}

} // namespace
