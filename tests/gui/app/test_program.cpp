// The GUI program as a whole process, started the way the start-up benchmark
// and a user start it.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct ProgramRun {
    bool ended = false;
    int exitCode = -1;
    QByteArray output;
    QByteArray errors;
};

// Runs `mirandel ARGS --quit-after-show` on the offscreen platform; a run
// that does not end within 20 s is killed and reported as not ended.
ProgramRun runProgram(const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(MIRANDEL_BIN_DIR "/mirandel"),
                  arguments + QStringList{QStringLiteral("--quit-after-show")});
    ProgramRun run;
    run.ended = process.waitForFinished(20000);
    if (!run.ended) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitCode();
    run.output = process.readAllStandardOutput();
    run.errors = process.readAllStandardError();
    return run;
}

TEST(Program, NamedWorkspaceIsCreatedWhenMissing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString workspace = dir.filePath(QStringLiteral("new/workspace"));
    const ProgramRun run = runProgram({QStringLiteral("--workspace"), workspace});
    ASSERT_TRUE(run.ended) << "the program did not end";
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    for (const char *folder : {"MASTER", "PROJECTS", "LANGUAGE"})
        EXPECT_TRUE(QFileInfo(QDir(workspace).filePath(QString::fromLatin1(folder))).isDir()) << folder;
    QFile settings(QDir(workspace).filePath(QStringLiteral("Mirandel.xml")));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_TRUE(settings.readAll().startsWith("<Conf_Settings><lastproj>"));
}

TEST(Program, VersionIsPrintedWithoutAWindow)
{
    const ProgramRun run = runProgram({QStringLiteral("--version")});
    ASSERT_TRUE(run.ended) << "the program did not end";
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
#ifdef Q_OS_WIN
    EXPECT_EQ(run.output, QByteArray("mirandel 1.000\r\n")); // the console's line end
#else
    EXPECT_EQ(run.output, QByteArray("mirandel 1.000\n"));
#endif
}

TEST(Program, UnusableWorkspaceIsAUsageError)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("plain file"));
    QFile plain(file);
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const ProgramRun run = runProgram({QStringLiteral("--workspace"), file});
    ASSERT_TRUE(run.ended) << "the program did not end";
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.errors.contains("plain file")) << run.errors.toStdString();
}

} // namespace
