// The conventions every command shares, one table for all: help, usage
// errors, failures on a missing input, and their exit codes and streams.

#include "cli/cli_test_support.h"
#include "core/app/app_context.h"

#include <QDir>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace mirandel;

namespace {

using test::CliRun;

struct CommandCases {
    QString command;
    QList<QStringList> usageErrors; // each exits 2
    QStringList missingInput;       // exits 1
};

class CliConventions : public ::testing::Test {
protected:
    QString missing(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }

    QList<CommandCases> cases() const
    {
        const QString ip = QStringLiteral("--ip");
        const QString address = QStringLiteral("1.2.3.4");
        const QString project = dir.path();
        return {
            {QStringLiteral("export-language"),
             {{},
              {QStringLiteral("a.lng"), QStringLiteral("b.lng")},
              {QStringLiteral("--force"), QStringLiteral("a.lng")}},
             {missing("no/such/folder/English.lng")}},
            {QStringLiteral("build-image"),
             {{},
              {QStringLiteral("a"), QStringLiteral("b")},
              {QStringLiteral("a"), QStringLiteral("--out")},
              {QStringLiteral("a"), QStringLiteral("--out"), QStringLiteral("x"), QStringLiteral("--out"),
               QStringLiteral("y")}},
             {missing("no-project")}},
            {QStringLiteral("inspect"),
             {{},
              {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")},
              {QStringLiteral("a"), QStringLiteral("--xml")},
              {QStringLiteral("a"), QStringLiteral("--json"), QStringLiteral("--json")}},
             {missing("bank1.bin")}},
            {QStringLiteral("descriptor"),
             {{ip, address},
              {project},
              {project, ip, address, QStringLiteral("--option"), QStringLiteral("3")},
              {project, ip, QStringLiteral("1.2.3")},
              {project, project, ip, address}},
             {missing("no-project"), ip, address, QStringLiteral("--workspace"), dir.path()}},
            {QStringLiteral("check"),
             {{}, {project, project}, {QStringLiteral("-x"), project}},
             {missing("no-project")}},
            {QStringLiteral("certs"),
             {{},
              {project, project},
              {project, QStringLiteral("--warn-days")},
              {project, QStringLiteral("--warn-days"), QStringLiteral("-3")},
              {project, QStringLiteral("--warn-days"), QStringLiteral("x")}},
             {missing("no-project")}},
            {QStringLiteral("map"),
             {{}, {project, project}, {project, QStringLiteral("--warn-days"), QStringLiteral("3")}},
             {missing("no-project")}},
        };
    }

    static QString prefix(const QString &command) { return QStringLiteral("mirandel-cli %1: ").arg(command); }
    static QString usage(const QString &command) { return QStringLiteral("Usage: mirandel-cli %1 ").arg(command); }

    QTemporaryDir dir;
};

TEST_F(CliConventions, EveryCommandIsInTheTable)
{
    QSet<QString> listed;
    for (const CommandCases &c : cases())
        listed.insert(c.command);
    QSet<QString> commands;
    for (const auto &command : cli::allCommands())
        commands.insert(command->name());
    EXPECT_EQ(listed, commands);
}

TEST_F(CliConventions, HelpGoesToStandardOutputWithExitZero)
{
    for (const CommandCases &c : cases()) {
        for (const QString &flag : {QStringLiteral("--help"), QStringLiteral("-h")}) {
            SCOPED_TRACE((c.command + QLatin1Char(' ') + flag).toStdString());
            const CliRun r = test::runCli({c.command, flag});
            EXPECT_EQ(r.code, 0);
            EXPECT_TRUE(r.out.startsWith(usage(c.command))) << r.out.toStdString();
            EXPECT_TRUE(r.out.contains(QStringLiteral("--help"))) << r.out.toStdString();
            EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        }
    }
}

TEST_F(CliConventions, UsageErrorsGiveTheReasonAndTheUsageWithExitTwo)
{
    for (const CommandCases &c : cases()) {
        for (const QStringList &args : c.usageErrors) {
            SCOPED_TRACE((c.command + QLatin1Char(' ') + args.join(QLatin1Char(' '))).toStdString());
            const CliRun r = test::runCli(QStringList{c.command} + args);
            EXPECT_EQ(r.code, 2);
            EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
            EXPECT_TRUE(r.err.startsWith(prefix(c.command))) << r.err.toStdString();
            // A reason, then the usage on the lines after it.
            EXPECT_GT(r.err.indexOf(QLatin1Char('\n')), prefix(c.command).size()) << r.err.toStdString();
            EXPECT_TRUE(r.err.contains(QLatin1Char('\n') + usage(c.command))) << r.err.toStdString();
        }
    }
}

TEST_F(CliConventions, AMissingInputExitsWithOneAndNamesIt)
{
    for (const CommandCases &c : cases()) {
        SCOPED_TRACE(c.command.toStdString());
        const CliRun r = test::runCli(QStringList{c.command} + c.missingInput);
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        EXPECT_TRUE(r.err.startsWith(prefix(c.command))) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QDir::toNativeSeparators(c.missingInput.first()))) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains(QStringLiteral("Usage:"))) << r.err.toStdString();
    }
}

TEST(CliProgram, VersionHelpAndUnknownCommands)
{
    const CliRun version = test::runCli({QStringLiteral("--version")});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, QStringLiteral("mirandel-cli ") + Program_Version + QLatin1Char('\n'));

    const CliRun help = test::runCli({QStringLiteral("--help")});
    EXPECT_EQ(help.code, 0);
    for (const auto &command : cli::allCommands())
        EXPECT_TRUE(help.out.contains(QStringLiteral("  ") + command->synopsis() + QLatin1Char('\n')))
            << command->name().toStdString();

    for (const QStringList &args : {QStringList{}, QStringList{QStringLiteral("no-such-command")}}) {
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        const CliRun r = test::runCli(args);
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.contains(QStringLiteral("Usage: mirandel-cli COMMAND"))) << r.err.toStdString();
    }
}

} // namespace
