// Every place in the workspace and in a project folder, from one root.

#include "core/common/workspace_layout.h"

#include <QCoreApplication>
#include <QDir>
#include <functional>
#include <gtest/gtest.h>

using namespace mirandel;

namespace {

TEST(WorkspaceLayout, EveryPathBelowTheRoot)
{
    const QString root = QStringLiteral("/srv/ws");
    const Workspace workspace(root);
    const ProjectFolder project(workspace.projectsDir() + QStringLiteral("/Plant 1 "));
#ifdef Q_OS_WIN
    const QString updater = QStringLiteral("Ethernet_Update.exe");
#else
    const QString updater = QStringLiteral("Ethernet_Update");
#endif
    const struct {
        const char *what;
        QString path;
        QString expected;
    } cases[] = {
        {"master", workspace.masterDir(), QStringLiteral("MASTER")},
        {"projects", workspace.projectsDir(), QStringLiteral("PROJECTS")},
        {"language", workspace.languageDir(), QStringLiteral("LANGUAGE")},
        {"settings", workspace.settingsFile(), QStringLiteral("Mirandel.xml")},
        {"descriptor", workspace.updateDescriptorFile(), QStringLiteral("Ethernet_Update.xml")},
        {"updater", workspace.updaterProgram(), updater},
        {"firmware", firmwareImageFile(workspace.masterDir()), QStringLiteral("MASTER/Sim51830.sim")},
        {"bin", project.binDir(), QStringLiteral("PROJECTS/Plant 1 /bin")},
        {"ParGen", project.parGenFile(), QStringLiteral("PROJECTS/Plant 1 /ParGen.xml")},
        {"variables", project.variablesFile(), QStringLiteral("PROJECTS/Plant 1 /IEC61850_Variables.xml")},
        {"certificates", project.knownCertFile(), QStringLiteral("PROJECTS/Plant 1 /TLS_Known_Cert.xml")},
        {"bank 1", project.bank1File(), QStringLiteral("PROJECTS/Plant 1 /bin/bank1.bin")},
        {"bank 2", project.bank2File(), QStringLiteral("PROJECTS/Plant 1 /bin/bank2.bin")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.path, root + QLatin1Char('/') + c.expected);
    }
}

TEST(WorkspaceLayout, RootIsTheNamedFolderMadeAbsoluteElseTheProgramsFolder)
{
    EXPECT_EQ(resolveWorkspaceRoot(QString()), QCoreApplication::applicationDirPath());
    const QString base = QDir::tempPath();
    EXPECT_EQ(resolveWorkspaceRoot(base + QStringLiteral("/a/../ws/")), base + QStringLiteral("/ws"));
    EXPECT_EQ(resolveWorkspaceRoot(QStringLiteral("ws")), QDir::current().filePath(QStringLiteral("ws")));
}

} // namespace
