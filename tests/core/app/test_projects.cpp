#include "core/app/app_context.h"
#include "core/app/projects.h"
#include "core/app/workspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace mirandel;

namespace {

class ProjectsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        context.Exe_Dir = dir.path();
        setUpWorkspace(context);
    }

    QDir projects() const { return QDir(context.Projects_Dir); }

    void makeFile(const QString &relative)
    {
        QFile file(projects().filePath(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    QStringList entriesOf(const QString &folder) const
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    QTemporaryDir dir;
    AppContext context;
};

TEST_F(ProjectsTest, CreatedProjectIsAnEmptyFolderWithAnEmptyBinAndBecomesActive)
{
#ifdef Q_OS_WIN
    const QString name = QStringLiteral("  Plant 7"); // Windows drops blanks at the end of a folder name
#else
    const QString name = QStringLiteral("  Plant 7  ");
#endif
    ASSERT_EQ(createProject(context, name), 0);
    const QString folder = projects().filePath(name);
    EXPECT_EQ(context.Project_Name, name) << "the name is taken as typed, blanks included";
    EXPECT_EQ(context.Project_Dir, folder);
    EXPECT_EQ(entriesOf(folder), QStringList{QStringLiteral("bin")});
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/bin")).isDir());
    EXPECT_TRUE(entriesOf(folder + QStringLiteral("/bin")).isEmpty());
    EXPECT_EQ(context.ParGen_File, folder + QStringLiteral("/ParGen.xml"));
    EXPECT_EQ(context.TLS_Known_Cert_File, folder + QStringLiteral("/TLS_Known_Cert.xml"));
    EXPECT_EQ(context.IEC61850_Variables_File, folder + QStringLiteral("/IEC61850_Variables.xml"));
}

struct RefusalCase {
    const char16_t *name;
    int expected;
};

TEST_F(ProjectsTest, RefusalsCreateNothingAndKeepTheActiveProject)
{
    ASSERT_TRUE(projects().mkdir(QStringLiteral("Existing")));
    makeFile(QStringLiteral("plain file"));
    ASSERT_EQ(createProject(context, QStringLiteral("Active")), 0);

    const RefusalCase cases[] = {
        {u"", Text_Project_Name_Empty},
        {u"Existing", Text_Project_Exists},
        {u"plain file", Text_Project_Not_Creatable}, // a file is no folder, but the folder cannot be made
        {u"a/b", Text_Project_Not_Creatable},
        {u"Existing/inner", Text_Project_Not_Creatable},
        {u"..\\escape", Text_Project_Not_Creatable},
        {u"../escape", Text_Project_Not_Creatable},
        {u".", Text_Project_Not_Creatable},
        {u"..", Text_Project_Not_Creatable},
#ifdef Q_OS_WIN
        // Names Windows would store as another name, or not as a folder.
        {u"Plant ", Text_Project_Not_Creatable},
        {u"Plant.", Text_Project_Not_Creatable},
        {u"a:b", Text_Project_Not_Creatable},
        {u"what?", Text_Project_Not_Creatable},
        {u"CON", Text_Project_Not_Creatable},
        {u"nul.txt", Text_Project_Not_Creatable},
        {u"COM3", Text_Project_Not_Creatable},
#endif
    };
    const QStringList before = entriesOf(context.Projects_Dir);
    const QStringList outside = entriesOf(dir.path());
    for (const RefusalCase &c : cases) {
        const QString name = QString::fromUtf16(c.name);
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(createProject(context, name), c.expected);
        EXPECT_EQ(context.Project_Name, QStringLiteral("Active"));
        EXPECT_EQ(context.Project_Dir, projects().filePath(QStringLiteral("Active")));
        EXPECT_EQ(entriesOf(context.Projects_Dir), before);
        EXPECT_EQ(entriesOf(dir.path()), outside);
        EXPECT_TRUE(entriesOf(projects().filePath(QStringLiteral("Existing"))).isEmpty());
    }
}

TEST_F(ProjectsTest, LetterCaseFollowsTheFileSystem)
{
    ASSERT_TRUE(projects().mkdir(QStringLiteral("Alpha")));
    const bool caseSensitive = !QFileInfo::exists(projects().filePath(QStringLiteral("ALPHA")));
    const int result = createProject(context, QStringLiteral("ALPHA"));
    if (caseSensitive) {
        EXPECT_EQ(result, 0);
        EXPECT_TRUE(QFileInfo(projects().filePath(QStringLiteral("ALPHA/bin"))).isDir());
    } else {
        EXPECT_EQ(result, Text_Project_Exists);
    }
}

TEST_F(ProjectsTest, ListingKeepsOnlyVisibleFirstLevelFolders)
{
    for (const char *name : {"One", "Two", ".hidden", "Two/sub", "Three"})
        ASSERT_TRUE(projects().mkpath(QString::fromLatin1(name)));
    makeFile(QStringLiteral("file.xml"));
    makeFile(QStringLiteral(".hidden_file"));
    QStringList listed = listProjects(context.Projects_Dir);
    EXPECT_EQ(listed.size(), 3);
    listed.sort();
    EXPECT_EQ(listed, (QStringList{QStringLiteral("One"), QStringLiteral("Three"), QStringLiteral("Two")}));
    EXPECT_TRUE(listProjects(dir.path() + QStringLiteral("/missing")).isEmpty());
}

TEST_F(ProjectsTest, Preselection)
{
    const QStringList three{QStringLiteral("First"), QStringLiteral("Second"), QStringLiteral("Third")};
    EXPECT_EQ(preselectedProject(three, QStringLiteral("Second")), 1);
    EXPECT_EQ(preselectedProject(three, QStringLiteral("sECOND")), 1);
    EXPECT_EQ(preselectedProject(three, QString()), 0);
    EXPECT_EQ(preselectedProject(three, QStringLiteral("Gone")), 0);
    EXPECT_EQ(preselectedProject({}, QStringLiteral("First")), -1);

    EXPECT_EQ(activeProjectFolder(context), QString());
    openProject(context, QStringLiteral("Second"));
    EXPECT_EQ(activeProjectFolder(context), QStringLiteral("Second"));
    EXPECT_EQ(context.ParGen_File, projects().filePath(QStringLiteral("Second/ParGen.xml")));
}

TEST_F(ProjectsTest, RestoringTheLastProject)
{
    ASSERT_TRUE(projects().mkdir(QStringLiteral("Kept")));
    struct Case {
        const char *stored;
        bool opens;
    } cases[] = {{"Kept", true}, {"Deleted", false}, {"", false}, {".", false}, {"..", false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.stored);
        context.Project_Name = QString::fromLatin1(c.stored);
        context.Project_Dir = QStringLiteral("stale");
        restoreLastProject(context);
        EXPECT_EQ(context.projectOpen(), c.opens);
        if (c.opens) {
            EXPECT_EQ(context.Project_Dir, projects().filePath(context.Project_Name));
        }
        EXPECT_EQ(context.Project_Name, QString::fromLatin1(c.stored)) << "the stored name is kept";
    }
}

} // namespace
