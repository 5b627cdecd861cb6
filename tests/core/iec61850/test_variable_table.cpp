#include "core/iec61850/variable_table.h"
#include "core/lang/text_table.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include "test_files.h"

using namespace mirandel;
using mirandel::test::readAll;
using mirandel::test::writeAll;

namespace {

// A row that passes the check.
void setGoodRow(GridRows &table, int row, const QString &name)
{
    const QStringList cells = {u"Y"_qs,  name,     u"Int"_qs, u"2"_qs,  u"N"_qs, u"10"_qs,
                               u""_qs,   u"None"_qs, u"None"_qs, u""_qs, u""_qs, u""_qs};
    for (int c = 0; c < Variable_Fields; ++c)
        table.setText(row, c, cells.at(c));
}

struct CheckCase {
    const char *what;
    int field;          // field of row 3 (index 2) to change
    QString value;
    QString message;    // empty: passes
};

TEST(VariableCheck, RulesAndMessages)
{
    const QString lengthMsg = u"Error row 3!! Length must be between 1 and 4"_qs;
    const QString positionMsg = u"Error row 3!! Position must be between 0 and 1437"_qs;
    const QString factorMsg = u"Error row 3!! Molt. Factor must be a valid Float"_qs;
    const CheckCase cases[] = {
        {"good row", Var_Mnemonic, u"x"_qs, {}},
        {"length 0", Var_Length, u"0"_qs, lengthMsg},
        {"length 5", Var_Length, u"5"_qs, lengthMsg},
        {"length empty", Var_Length, u""_qs, lengthMsg},
        {"length 4", Var_Length, u"4"_qs, {}},
        {"position 1437", Var_Position, u"1437"_qs, {}},
        {"position 1438", Var_Position, u"1438"_qs, positionMsg},
        {"position negative", Var_Position, u"-1"_qs, positionMsg},
        {"position not a number", Var_Position, u"abc"_qs, positionMsg},
        {"digital without start bit", Var_Type, u"Digital (Bit)"_qs,
         u"Error row 3!! Start Bit must be Selected "_qs},
        {"no conversion", Var_Conversion, u" "_qs, u"Error row 3!! Conversion must be Selected "_qs},
        {"factor none, lower case", Var_MultiplicationFactor, u" none"_qs, {}},
        {"factor 0,5", Var_MultiplicationFactor, u"0,5"_qs, {}},
        {"factor 0.5", Var_MultiplicationFactor, u"0.5"_qs, {}},
        {"factor empty", Var_MultiplicationFactor, u""_qs, factorMsg},
        {"factor abc", Var_MultiplicationFactor, u"abc"_qs, factorMsg},
        {"disabled row", Var_Enable, u"N"_qs, {}},
        {"enable with blanks counts", Var_Enable, u" Y "_qs, {}},
    };
    TextTable texts;
    for (const CheckCase &c : cases) {
        SCOPED_TRACE(c.what);
        GridRows table = makeVariableTable();
        for (int r = 0; r < 4; ++r)
            setGoodRow(table, r, u"V"_qs + QString::number(r));
        table.setText(2, c.field, c.value);
        const auto failure = Controllo_dati(table, texts, QLatin1Char(','));
        EXPECT_EQ(failure.has_value(), !c.message.isEmpty());
        if (failure) {
            EXPECT_EQ(failure->row, 2);
            EXPECT_EQ(failure->message, c.message);
        }
        // A disabled row with the same fault passes.
        if (c.field != Var_Enable) {
            table.setText(2, Var_Enable, u"N"_qs);
            EXPECT_FALSE(Controllo_dati(table, texts, QLatin1Char(',')).has_value());
        }
    }
}

TEST(VariableCheck, RulesOfARowRunInTheirOrder)
{
    // One row breaking every rule; mending them one at a time shows the
    // next rule's message.
    TextTable texts;
    GridRows table = makeVariableTable();
    const QStringList broken = {u"Y"_qs, u"V"_qs, u"Digital (Bit)"_qs, u"0"_qs, u""_qs, u"1438"_qs,
                                u""_qs,  u""_qs, u"abc"_qs, u""_qs, u""_qs, u""_qs};
    for (int c = 0; c < Variable_Fields; ++c)
        table.setText(0, c, broken.at(c));
    const struct {
        int mend;
        const char *value;
        QString next;
    } steps[] = {
        {-1, "", u"Error row 1!! Length must be between 1 and 4"_qs},
        {Var_Length, "1", u"Error row 1!! Position must be between 0 and 1437"_qs},
        {Var_Position, "0", u"Error row 1!! Start Bit must be Selected "_qs},
        {Var_StartBit, "7", u"Error row 1!! Conversion must be Selected "_qs},
        {Var_Conversion, "None", u"Error row 1!! Molt. Factor must be a valid Float"_qs},
        {Var_MultiplicationFactor, "NONE", QString()},
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(step.mend);
        if (step.mend >= 0)
            table.setText(0, step.mend, QString::fromUtf8(step.value));
        const auto failure = Controllo_dati(table, texts, QLatin1Char('.'));
        EXPECT_EQ(failure ? failure->message : QString(), step.next);
    }
}

TEST(VariableCheck, StopsAtTheFirstFailureAndAtTheFirstNamelessRow)
{
    TextTable texts;
    GridRows table = makeVariableTable();
    for (int r = 0; r < 6; ++r)
        setGoodRow(table, r, u"V"_qs);
    table.setText(1, Var_Length, u"9"_qs);
    table.setText(4, Var_Position, u"9999"_qs);
    auto failure = Controllo_dati(table, texts, QLatin1Char('.'));
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->message, u"Error row 2!! Length must be between 1 and 4"_qs);

    // Rows below a blank name are not checked.
    table.setText(1, Var_Name, u"  "_qs);
    EXPECT_FALSE(Controllo_dati(table, texts, QLatin1Char('.')).has_value());

    // Named rows that are all disabled pass whatever they hold.
    GridRows disabled = makeVariableTable();
    for (int r = 0; r < Variable_Rows; ++r) {
        disabled.setText(r, Var_Name, u"n"_qs);
        disabled.setText(r, Var_Enable, u"N"_qs);
    }
    EXPECT_FALSE(Controllo_dati(disabled, texts, QLatin1Char(',')).has_value());
}

TEST(VariableFile, MissingFileGivesTheResetTableAndSavesOnlyRootAndComment)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"IEC61850_Variables.xml"_qs);
    GridRows table = makeVariableTable();
    table.setText(5, Var_Name, u"stale"_qs);
    const TableLoadResult result = loadVariableTable(path, table);
    EXPECT_EQ(result.xml.status, XmlLoadResult::Missing);
    for (int r = 0; r < Variable_Rows; ++r) {
        EXPECT_EQ(table.text(r, Var_Enable), u"Y"_qs);
        for (int c = 1; c < Variable_Fields; ++c)
            EXPECT_TRUE(table.text(r, c).isEmpty());
    }
    QString error;
    ASSERT_TRUE(saveVariableTable(table, path, &error)) << error.toStdString();
    EXPECT_EQ(readAll(path), QByteArray("<IEC61850_Variables/><!--SW_VERSION = 1.000-->"));
}

TEST(VariableFile, SavesRowsUpToTheFirstNamelessRowWithEveryAttribute)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"v.xml"_qs);
    GridRows table = makeVariableTable();
    table.setText(0, Var_Name, u"A"_qs);
    table.setText(0, Var_MultiplicationFactor, u"0,5"_qs);
    table.setText(1, Var_Name, u"B"_qs);
    table.setText(1, Var_Enable, u"N"_qs);
    table.setText(2, Var_Name, u"  "_qs);
    table.setText(3, Var_Name, u"D"_qs);
    ASSERT_TRUE(saveVariableTable(table, path, nullptr));
    EXPECT_EQ(readAll(path),
              QByteArray("<IEC61850_Variables>"
                         "<row Enable=\"Y\" Name=\"A\" Type=\"\" Length=\"\" ReadOnly=\"\" Position=\"\" "
                         "StartBit=\"\" Conversion=\"\" MultiplicationFactor=\"0,5\" Swap=\"\" SwapWord=\"\" "
                         "Mnemonic=\"\"/>"
                         "<row Enable=\"N\" Name=\"B\" Type=\"\" Length=\"\" ReadOnly=\"\" Position=\"\" "
                         "StartBit=\"\" Conversion=\"\" MultiplicationFactor=\"\" Swap=\"\" SwapWord=\"\" "
                         "Mnemonic=\"\"/>"
                         "</IEC61850_Variables><!--SW_VERSION = 1.000-->"));
    GridRows again = makeVariableTable();
    loadVariableTable(path, again);
    EXPECT_EQ(again.text(1, Var_Name), u"B"_qs);
    EXPECT_TRUE(again.text(2, Var_Name).isEmpty());
    EXPECT_TRUE(again.text(3, Var_Name).isEmpty());
    // Untouched data check boxes stay empty; they are not turned into "N".
    EXPECT_TRUE(again.text(0, Var_ReadOnly).isEmpty());
}

TEST(VariableFile, MissingAttributesTakeTheirDefaults)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"v.xml"_qs);
    // The root's name is not checked, nor the names of its children.
    writeAll(path, "<Anything><row Name=\"a\" Length=\"4\"/><entry/></Anything>");
    GridRows table = makeVariableTable();
    EXPECT_TRUE(loadVariableTable(path, table).xml.ok());
    for (int r : {0, 1}) {
        SCOPED_TRACE(r);
        EXPECT_EQ(table.text(r, Var_Enable), u"Y"_qs);
        EXPECT_EQ(table.text(r, Var_ReadOnly), u"N"_qs);
        EXPECT_EQ(table.text(r, Var_Swap), u"N"_qs);
        EXPECT_EQ(table.text(r, Var_SwapWord), u"N"_qs);
        EXPECT_TRUE(table.text(r, Var_Type).isEmpty());
        EXPECT_TRUE(table.text(r, Var_Mnemonic).isEmpty());
    }
    EXPECT_EQ(table.text(0, Var_Name), u"a"_qs);
    EXPECT_EQ(table.text(0, Var_Length), u"4"_qs);
    // Rows below the file's records keep the reset values.
    EXPECT_EQ(table.text(2, Var_ReadOnly), QString());
}

TEST(VariableFile, AwkwardTextsComeBackExactly)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"v.xml"_qs);
    const QString awkward[] = {
        u"line 1\nline 2\r\nline 3\rend"_qs,
        u"\ttab and  two blanks "_qs,
        u"quotes \" and ' & <tag> &amp;"_qs,
        u"Temperatur \u00b0C \u00e4\u00f6\u00fc \u20ac \U0001F600"_qs,
    };
    GridRows table = makeVariableTable();
    for (int r = 0; r < 4; ++r) {
        table.setText(r, Var_Name, awkward[r]);
        table.setText(r, Var_Mnemonic, awkward[3 - r]);
    }
    ASSERT_TRUE(saveVariableTable(table, path, nullptr));
    GridRows again = makeVariableTable();
    ASSERT_TRUE(loadVariableTable(path, again).xml.ok());
    for (int r = 0; r < 4; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(again.text(r, Var_Name), awkward[r]);
        EXPECT_EQ(again.text(r, Var_Mnemonic), awkward[3 - r]);
    }
}

TEST(VariableFile, ReportsRowsBeyondTheTableAndMalformedFiles)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"v.xml"_qs);
    QByteArray data("<IEC61850_Variables>");
    for (int i = 0; i < Variable_Rows + 3; ++i)
        data += "<row Name=\"v" + QByteArray::number(i) + "\"/>";
    data += "</IEC61850_Variables>";
    writeAll(path, data);
    GridRows table = makeVariableTable();
    TableLoadResult result = loadVariableTable(path, table);
    EXPECT_TRUE(result.xml.ok());
    EXPECT_EQ(result.droppedRows, 3);
    EXPECT_EQ(table.text(Variable_Rows - 1, Var_Name), u"v49"_qs);

    writeAll(path, "<IEC61850_Variables><row Name=\"a\"></IEC61850_Variables>");
    result = loadVariableTable(path, table);
    EXPECT_EQ(result.xml.status, XmlLoadResult::Malformed);
    EXPECT_FALSE(result.xml.describe().isEmpty());
    // The table is the one of a missing file.
    EXPECT_TRUE(table.text(0, Var_Name).isEmpty());
    EXPECT_EQ(table.text(0, Var_Enable), u"Y"_qs);
}

} // namespace
