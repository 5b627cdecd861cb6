#include "cli/cli_test_support.h"
#include "core/lang/language_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace mirandel;

namespace {

using test::CliRun;

CliRun run(const QStringList &args)
{
    return test::runCli(args);
}

TEST(CliExportLanguage, WritesAFileThatReadsBackAsTheEnglishTable)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("English.lng"));
    const CliRun r = run({QStringLiteral("export-language"), path});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    TextTable table;
    for (int i = 0; i < TextTable::Text_Count; ++i)
        table.setText(i, QStringLiteral("x"));
    const LanguageReadResult result = Read_Language_File(path, table);
    EXPECT_EQ(result.ignored, 0);
    for (int i = 0; i < TextTable::Text_Count; ++i)
        ASSERT_EQ(table.text(i), englishText(i)) << i;
}

TEST(Cli, UsageErrorsExitWithTwo)
{
    EXPECT_EQ(run({}).code, 2);
    EXPECT_EQ(run({QStringLiteral("no-such-command")}).code, 2);
    EXPECT_EQ(run({QStringLiteral("export-language")}).code, 2);
    EXPECT_EQ(run({QStringLiteral("--help")}).code, 0);
}

TEST(CliExportLanguage, UnwritablePathFails)
{
    const CliRun r = run({QStringLiteral("export-language"), QStringLiteral("/nonexistent-dir/x/English.lng")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Cannot write")));
}

} // namespace
