#include "core/app/app_context.h"
#include "core/app/settings_file.h"
#include "core/app/workspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace mirandel;

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        context.Exe_Dir = dir.path();
    }

    void writeSettings(const QByteArray &content)
    {
        QFile file(settingsFilePath(context));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QByteArray readBack()
    {
        QFile file(settingsFilePath(context));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    QTemporaryDir dir;
    AppContext context;
};

TEST_F(SettingsFileTest, WorkspaceFoldersAreCreatedBesideTheExecutable)
{
    QDir(dir.path()).mkdir(QStringLiteral("MASTER"));
    QFile marker(QDir(dir.path()).filePath(QStringLiteral("MASTER/Sim51830.sim")));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();

    setUpWorkspace(context);
    EXPECT_EQ(context.Master_Dir, dir.path() + QStringLiteral("/MASTER"));
    EXPECT_EQ(context.Projects_Dir, dir.path() + QStringLiteral("/PROJECTS"));
    EXPECT_EQ(context.Language_Dir, dir.path() + QStringLiteral("/LANGUAGE"));
    for (const QString &folder : {context.Master_Dir, context.Projects_Dir, context.Language_Dir})
        EXPECT_TRUE(QFileInfo(folder).isDir()) << folder.toStdString();
    EXPECT_TRUE(marker.exists()) << "an existing folder is left as it is";
    EXPECT_FALSE(QFileInfo::exists(settingsFilePath(context))) << "the settings are written only at close";
}

struct ReadCase {
    const char *name;
    const char *xml;           // nullptr: no file at all
    const char16_t *project;
    const char16_t *address;
    const char16_t *language;
    bool internet, update, jump, autoSize;
};

// Every row of the settings file is read on its own; flags are on only for
// exactly "1"; an empty element gives the empty text, not the default.
TEST_F(SettingsFileTest, ReadingRules)
{
    const ReadCase cases[] = {
        {"no file", nullptr, u"", u"192.168.2.205", u"English", false, false, false, false},
        {"complete",
         "<Conf_Settings><lastproj><projectname>Plant A</projectname></lastproj>"
         "<lastipadd><ipaddress>10.0.0.7</ipaddress></lastipadd>"
         "<lastlang><language>Italiano</language></lastlang>"
         "<lastinternet><enable_internet>1</enable_internet><enable_update>1</enable_update>"
         "<enable_jump_field_tables>1</enable_jump_field_tables>"
         "<Double_Click_Auto_Size>1</Double_Click_Auto_Size></lastinternet></Conf_Settings>",
         u"Plant A", u"10.0.0.7", u"Italiano", true, true, true, true},
        {"root of any name, elements in any order, unknown ones ignored",
         "<Whatever><junk/><lastinternet><Double_Click_Auto_Size>1</Double_Click_Auto_Size>"
         "<enable_internet>1</enable_internet></lastinternet>"
         "<lastlang><language>Deutsch</language></lastlang></Whatever>",
         u"", u"192.168.2.205", u"Deutsch", true, false, false, true},
        {"flags other than exactly 1 are off",
         "<Conf_Settings><lastinternet><enable_internet>true</enable_internet>"
         "<enable_update> 1</enable_update><enable_jump_field_tables>01</enable_jump_field_tables>"
         "<Double_Click_Auto_Size></Double_Click_Auto_Size></lastinternet></Conf_Settings>",
         u"", u"192.168.2.205", u"English", false, false, false, false},
        {"without lastinternet the other values still load",
         "<Conf_Settings><lastproj><projectname>P1</projectname></lastproj>"
         "<lastipadd><ipaddress>1.2.3.4</ipaddress></lastipadd>"
         "<lastlang><language>Francais</language></lastlang></Conf_Settings>",
         u"P1", u"1.2.3.4", u"Francais", false, false, false, false},
        {"empty elements give empty texts",
         "<Conf_Settings><lastproj><projectname/></lastproj>"
         "<lastipadd><ipaddress></ipaddress></lastipadd><lastlang><language/></lastlang></Conf_Settings>",
         u"", u"", u"", false, false, false, false},
        {"missing inner element gives the default",
         "<Conf_Settings><lastipadd/><lastlang><Language>X</Language></lastlang></Conf_Settings>",
         u"", u"192.168.2.205", u"English", false, false, false, false},
        {"element names are case-sensitive",
         "<Conf_Settings><LastProj><projectname>P</projectname></LastProj>"
         "<lastinternet><Enable_Internet>1</Enable_Internet><double_click_auto_size>1</double_click_auto_size>"
         "</lastinternet></Conf_Settings>",
         u"", u"192.168.2.205", u"English", false, false, false, false},
        {"a leading comment is the root, so every value is missing",
         "<!-- saved --><Conf_Settings><lastproj><projectname>P</projectname></lastproj></Conf_Settings>",
         u"", u"192.168.2.205", u"English", false, false, false, false},
        {"an XML declaration is skipped",
         "<?xml version=\"1.0\"?><Conf_Settings><lastlang><language>Espanol</language></lastlang></Conf_Settings>",
         u"", u"192.168.2.205", u"Espanol", false, false, false, false},
        {"not well-formed: the values of a missing file",
         "<Conf_Settings><lastproj><projectname>P</projectname></lastproj><lastinternet>"
         "<enable_internet>1</enable_internet>",
         u"", u"192.168.2.205", u"English", false, false, false, false},
        {"empty file: the values of a missing file", "", u"", u"192.168.2.205", u"English", false, false,
         false, false},
        {"non-ASCII texts",
         "<Conf_Settings><lastproj><projectname>Stazione \xC3\xA8 \xE6\x97\xA5</projectname></lastproj>"
         "</Conf_Settings>",
         u"Stazione \u00E8 \u65E5", u"192.168.2.205", u"English", false, false, false, false},
    };
    for (const ReadCase &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(settingsFilePath(context));
        if (c.xml)
            writeSettings(QByteArray(c.xml));
        // Values of an earlier read must not leak into this one.
        context.Project_Name = QStringLiteral("stale");
        context.Project_Dir = QStringLiteral("stale");
        context.Last_IP_Address = QStringLiteral("stale");
        context.Language_Name = QStringLiteral("stale");
        context.Enable_Internet = context.Enable_Update = context.Enable_Jump_Field_Tables =
            context.Double_Click_Auto_Size = true;

        readSettings(context);
        EXPECT_EQ(context.Project_Name, QString::fromUtf16(c.project));
        EXPECT_TRUE(context.Project_Dir.isEmpty());
        EXPECT_EQ(context.Last_IP_Address, QString::fromUtf16(c.address));
        EXPECT_EQ(context.Language_Name, QString::fromUtf16(c.language));
        EXPECT_EQ(context.Enable_Internet, c.internet);
        EXPECT_EQ(context.Enable_Update, c.update);
        EXPECT_EQ(context.Enable_Jump_Field_Tables, c.jump);
        EXPECT_EQ(context.Double_Click_Auto_Size, c.autoSize);
    }
}

TEST_F(SettingsFileTest, SaveWritesEveryElementInOrderWithoutDeclaration)
{
    context.Project_Name = QStringLiteral(" My <Plant> & Co ");
    context.Last_IP_Address = QString();
    context.Language_Name = QStringLiteral("Italiano");
    context.Enable_Internet = true;
    context.Enable_Update = false;
    context.Enable_Jump_Field_Tables = true;
    context.Double_Click_Auto_Size = false;
    writeSettings("<Old>something much longer than the new file, to prove it is replaced whole</Old>");

    QString error;
    ASSERT_TRUE(saveSettings(context, &error)) << error.toStdString();
    EXPECT_EQ(readBack(),
              QByteArray("<Conf_Settings><lastproj><projectname> My &lt;Plant&gt; &amp; Co </projectname></lastproj>"
                         "<lastipadd><ipaddress></ipaddress></lastipadd>"
                         "<lastlang><language>Italiano</language></lastlang>"
                         "<lastinternet><enable_internet>1</enable_internet><enable_update>0</enable_update>"
                         "<enable_jump_field_tables>1</enable_jump_field_tables>"
                         "<Double_Click_Auto_Size>0</Double_Click_Auto_Size></lastinternet></Conf_Settings>"));

    AppContext reread;
    reread.Exe_Dir = context.Exe_Dir;
    readSettings(reread);
    EXPECT_EQ(reread.Project_Name, context.Project_Name);
    EXPECT_EQ(reread.Last_IP_Address, QString());
    EXPECT_EQ(reread.Language_Name, context.Language_Name);
    EXPECT_TRUE(reread.Enable_Internet);
    EXPECT_FALSE(reread.Enable_Update);
    EXPECT_TRUE(reread.Enable_Jump_Field_Tables);
    EXPECT_FALSE(reread.Double_Click_Auto_Size);
}

// Root may write anywhere, so the failures are made with paths that cannot
// hold a file rather than with permissions.
TEST_F(SettingsFileTest, FailedSaveReportsTheReason)
{
    QString error;
    context.Exe_Dir = dir.path() + QStringLiteral("/missing");
    EXPECT_FALSE(saveSettings(context, &error));
    EXPECT_FALSE(error.isEmpty());

    context.Exe_Dir = dir.path();
    ASSERT_TRUE(QDir(dir.path()).mkdir(Settings_File_Name));
    error.clear();
    EXPECT_FALSE(saveSettings(context, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(QFileInfo(settingsFilePath(context)).isDir());
}

} // namespace
