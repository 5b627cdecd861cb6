#include "cli/cli_test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace mirandel;

namespace {

class CliCheckVariables : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A parameter file that passes, so the exit code is the variables'.
        write("ParGen.xml", "<Par_Gen><NTP_Poll_Time>60</NTP_Poll_Time></Par_Gen>");
    }
    void write(const char *name, const QByteArray &data)
    {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
    }
    test::CliRun check() { return test::runCli({QStringLiteral("check"), dir.path()}); }

    QTemporaryDir dir;
};

TEST_F(CliCheckVariables, MissingOrPassingTablePrintsOk)
{
    test::CliRun r = check();
    EXPECT_EQ(r.code, 0) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("IEC61850_Variables.xml: OK\n"))) << r.out.toStdString();

    write("IEC61850_Variables.xml",
          "<IEC61850_Variables><row Enable=\"Y\" Name=\"T\" Type=\"Int\" Length=\"2\" Position=\"1437\" "
          "Conversion=\"None\" MultiplicationFactor=\"0,5\"/><row Enable=\"N\" Name=\"U\"/></IEC61850_Variables>");
    r = check();
    EXPECT_EQ(r.code, 0) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("IEC61850_Variables.xml: OK\n"))) << r.out.toStdString();
}

TEST_F(CliCheckVariables, PrintsTheFirstFailingRow)
{
    write("IEC61850_Variables.xml",
          "<IEC61850_Variables><row Name=\"ok\" Length=\"4\" Position=\"0\" Conversion=\"None\" "
          "MultiplicationFactor=\"None\"/><row Name=\"bad\" Length=\"1\" Position=\"1438\"/>"
          "<row Name=\"worse\" Length=\"0\"/></IEC61850_Variables>");
    const test::CliRun r = check();
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(
        r.out.contains(QStringLiteral("IEC61850_Variables.xml: Error row 2!! Position must be between 0 and 1437\n")))
        << r.out.toStdString();
    EXPECT_FALSE(r.out.contains(QStringLiteral("row 3")));
}

TEST_F(CliCheckVariables, MalformedFileNamesTheFileAndTheReason)
{
    write("IEC61850_Variables.xml", "<IEC61850_Variables><row Name=\"a\"></IEC61850_Variables>");
    const test::CliRun r = check();
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.contains(QStringLiteral("IEC61850_Variables.xml: cannot read "))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QDir::toNativeSeparators(dir.filePath(QStringLiteral("IEC61850_Variables.xml")))));
}

} // namespace
