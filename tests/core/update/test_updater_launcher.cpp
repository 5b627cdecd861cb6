#include "core/update/fake_updater.h"
#include "core/update/updater_launcher.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace mirandel;
using test::writeFakeUpdater;
using Outcome = UpdaterLauncher::Outcome;

namespace {

Outcome outcomeOf(const QSignalSpy &spy)
{
    return spy.first().first().value<Outcome>();
}

TEST(ProcessUpdaterLauncher, StartsTheProgramWithoutArgumentsAndWaitsForItsEnd)
{
    QTemporaryDir dir;
    const auto updater = writeFakeUpdater(dir.path(), QStringLiteral("0.3"));
    ProcessUpdaterLauncher launcher;
    EXPECT_EQ(launcher.waitLimit(), 150000); // the default: 150 s
    QSignalSpy spy(&launcher, &UpdaterLauncher::finished);
    launcher.Start_Program(updater.program);
    EXPECT_TRUE(spy.isEmpty());
    EXPECT_TRUE(launcher.running());
    ASSERT_TRUE(spy.wait(5000));
    EXPECT_EQ(outcomeOf(spy), Outcome::Ended);
    EXPECT_FALSE(launcher.running());
    EXPECT_EQ(test::readAll(updater.argsFile), QByteArray("argc=0\n"));
    EXPECT_TRUE(QFile::exists(updater.doneFile)); // it had ended when reported
}

TEST(ProcessUpdaterLauncher, StopsWaitingAtTheLimitAndLeavesTheUpdaterRunning)
{
    QTemporaryDir dir;
    const auto updater = writeFakeUpdater(dir.path(), QStringLiteral("0.5"));
    {
        ProcessUpdaterLauncher launcher;
        launcher.setWaitLimit(100);
        QSignalSpy spy(&launcher, &UpdaterLauncher::finished);
        launcher.Start_Program(updater.program);
        ASSERT_TRUE(spy.wait(2000));
        EXPECT_EQ(outcomeOf(spy), Outcome::WaitLimitPassed);
        EXPECT_FALSE(launcher.running());
        EXPECT_FALSE(QFile::exists(updater.doneFile));
        // The launcher goes away (as at program exit) while the updater runs.
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(updater.doneFile); }, 5000));
}

TEST(ProcessUpdaterLauncher, MissingOrUnstartableProgramsAreReported)
{
    QTemporaryDir dir;
    ProcessUpdaterLauncher launcher;
    {
        QSignalSpy spy(&launcher, &UpdaterLauncher::finished);
        launcher.Start_Program(dir.filePath(QStringLiteral("Ethernet_Update")));
        EXPECT_TRUE(spy.isEmpty());
        ASSERT_TRUE(spy.wait(1000));
        EXPECT_EQ(outcomeOf(spy), Outcome::NotFound);
    }
    {
        // A file that is not executable.
        const QString path = dir.filePath(QStringLiteral("not_a_program"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("plain text\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        QSignalSpy spy(&launcher, &UpdaterLauncher::finished);
        launcher.Start_Program(path);
        ASSERT_TRUE(spy.wait(2000));
        EXPECT_EQ(outcomeOf(spy), Outcome::FailedToStart);
        EXPECT_FALSE(spy.first().at(1).toString().isEmpty());
        EXPECT_FALSE(launcher.running());
    }
}

} // namespace
