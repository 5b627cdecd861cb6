#include "cli/cli_test_support.h"
#include "core/common/xml_file.h"
#include "core/update/update_descriptor.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace mirandel;

namespace {

using test::CliRun;

class CliDescriptor : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(project()));
    }
    QString workspace() const { return dir.path(); }
    QString project() const { return dir.filePath(QStringLiteral("PROJECTS/P1")); }
    QString descriptor() const { return dir.filePath(QStringLiteral("Ethernet_Update.xml")); }
    CliRun run(QStringList extra) const
    {
        QStringList args{QStringLiteral("descriptor"), project(), QStringLiteral("--workspace"), workspace()};
        return test::runCli(args + extra);
    }
    QByteArray written() const
    {
        QFile file(descriptor());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
};

TEST_F(CliDescriptor, WritesWhatTheDialogWrites)
{
    const struct {
        QStringList args;
        UpdateRequest request;
    } cases[] = {
        {{QStringLiteral("--ip"), QStringLiteral("192.168.2.205")}, {QStringLiteral("192.168.2.205"), 0, true}},
        {{QStringLiteral("--ip"), QStringLiteral("10.0.0.7"), QStringLiteral("--option"), QStringLiteral("1"),
          QStringLiteral("--no-read-back")},
         {QStringLiteral("10.0.0.7"), 1, false}},
        {{QStringLiteral("--option"), QStringLiteral("2"), QStringLiteral("--ip"), QStringLiteral("1.2.3.4")},
         {QStringLiteral("1.2.3.4"), 2, true}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const CliRun r = run(c.args);
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(QDir::toNativeSeparators(descriptor())));
        pugi::xml_document expected;
        buildUpdateDescriptor(expected, c.request, workspace() + QStringLiteral("/MASTER"), project());
        EXPECT_EQ(written().toStdString(), serializeXml(expected).toStdString());
    }
}

TEST_F(CliDescriptor, UsageErrorsExitWithTwoAndWriteNothing)
{
    const QList<QStringList> cases = {
        {QStringLiteral("--ip"), QStringLiteral("1.2.3.4"), QStringLiteral("--option"), QStringLiteral("3")},
        {QStringLiteral("--ip"), QStringLiteral("1.2.3.4"), QStringLiteral("--option"), QStringLiteral("x")},
        {QStringLiteral("--ip"), QStringLiteral("1.2.3.4"), QStringLiteral("--option")},
        {QStringLiteral("--ip"), QStringLiteral("1.2.3")},
        {QStringLiteral("--ip"), QStringLiteral("192.168.2.256")},
        {QStringLiteral("--ip"), QStringLiteral("a.b.c.d")},
        {},
        {QStringLiteral("--ip"), QStringLiteral("1.2.3.4"), QStringLiteral("--verbose")},
    };
    for (const QStringList &args : cases) {
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        const CliRun r = run(args);
        EXPECT_EQ(r.code, 2);
        EXPECT_FALSE(r.err.isEmpty());
    }
    EXPECT_EQ(test::runCli({QStringLiteral("descriptor"), QStringLiteral("--ip"), QStringLiteral("1.2.3.4")}).code, 2);
    EXPECT_FALSE(QFile::exists(descriptor()));
}

TEST_F(CliDescriptor, MissingFoldersAreErrors)
{
    const CliRun noProject = test::runCli({QStringLiteral("descriptor"), dir.filePath(QStringLiteral("nope")),
                                           QStringLiteral("--ip"), QStringLiteral("1.2.3.4"),
                                           QStringLiteral("--workspace"), workspace()});
    EXPECT_EQ(noProject.code, 1);
    EXPECT_TRUE(noProject.err.contains(QStringLiteral("nope")));

    const CliRun noWorkspace = test::runCli({QStringLiteral("descriptor"), project(), QStringLiteral("--ip"),
                                             QStringLiteral("1.2.3.4"), QStringLiteral("--workspace"),
                                             dir.filePath(QStringLiteral("missing"))});
    EXPECT_EQ(noWorkspace.code, 1);
    EXPECT_TRUE(noWorkspace.err.contains(QStringLiteral("Ethernet_Update.xml")));
    EXPECT_FALSE(QFile::exists(descriptor()));
}

} // namespace
