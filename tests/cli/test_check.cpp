#include "cli/cli_test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace mirandel;

namespace {

using test::CliRun;

class CliCheck : public ::testing::Test {
protected:
    CliRun check() { return test::runCli({QStringLiteral("check"), dir.path()}); }

    void writeParGen(const QByteArray &data)
    {
        QFile file(dir.filePath(QStringLiteral("ParGen.xml")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
    }

    QTemporaryDir dir;
};

TEST_F(CliCheck, PassingFilePrintsOk)
{
    writeParGen("<Par_Gen><NTP_Poll_Time>60</NTP_Poll_Time></Par_Gen><!--SW_VERSION = 1.000-->");
    const CliRun r = check();
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("ParGen.xml: OK\n"))) << r.out.toStdString();
}

TEST_F(CliCheck, FirstFailingStepIsPrinted)
{
    // A new project has no poll time yet.
    CliRun r = check();
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(
        r.out.contains(QStringLiteral("ParGen.xml: Error NTP!! Poll Time must be between 0 and 10000000 seconds\n")))
        << r.out.toStdString();

    // Only the earliest step: the DNS error hides the address error.
    writeParGen(
        "<Par_Gen><Eth_Conn_Enable_DNS>1</Eth_Conn_Enable_DNS><Eth_Conn_Primary_DNS1>abc</Eth_Conn_Primary_DNS1>"
        "<IEC61850_Server_IP1>300</IEC61850_Server_IP1></Par_Gen>");
    r = check();
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.contains(QStringLiteral("ParGen.xml: Error Primary DNS!! DNS 1 must be between 0 and 255\n")))
        << r.out.toStdString();
    EXPECT_FALSE(r.out.contains(QStringLiteral("IP Address")));
}

TEST_F(CliCheck, UnreadableFileNamesTheFileAndTheReason)
{
    writeParGen("<Par_Gen><NTP_Poll_Time>60</Par_Gen>");
    const CliRun r = check();
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.contains(QStringLiteral("ParGen.xml: cannot read "))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QDir::toNativeSeparators(dir.filePath(QStringLiteral("ParGen.xml")))));
    EXPECT_TRUE(r.out.contains(QStringLiteral("line 1, column")));
}

TEST_F(CliCheck, UsageErrorsAndAMissingFolder)
{
    EXPECT_EQ(test::runCli({QStringLiteral("check")}).code, 2);
    EXPECT_EQ(test::runCli({QStringLiteral("check"), dir.path(), dir.path()}).code, 2);
    // A missing input, as for every command.
    const CliRun r = test::runCli({QStringLiteral("check"), dir.filePath(QStringLiteral("missing"))});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("is not a folder")));
}

} // namespace
