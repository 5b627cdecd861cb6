#include "main_window_fixture.h"

#include "core/lang/language_file.h"
#include "core/update/fake_icmp_echo.h"
#include "core/update/fake_updater.h"
#include "gui/app/tf_about.h"
#include "gui/app/tf_new_project.h"
#include "gui/app/tf_open_conf.h"
#include "gui/app/tf_soft_options.h"
#include "gui/iec61850/tf_iec61850_variables.h"
#include "gui/params/tf_par_gen.h"
#include "gui/tls/tf_tls_server_known_cert.h"
#include "gui/update/tf_boot.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

namespace mirandel::test {
namespace {

const QByteArray kDefaultSettings =
    "<Conf_Settings><lastproj><projectname></projectname></lastproj>"
    "<lastipadd><ipaddress>192.168.2.205</ipaddress></lastipadd>"
    "<lastlang><language>English</language></lastlang>"
    "<lastinternet><enable_internet>0</enable_internet><enable_update>0</enable_update>"
    "<enable_jump_field_tables>0</enable_jump_field_tables>"
    "<Double_Click_Auto_Size>0</Double_Click_Auto_Size></lastinternet></Conf_Settings>";

QByteArray settingsWith(const char *project, const char *internet, const char *update)
{
    return QByteArray("<Conf_Settings><lastproj><projectname>") + project
           + "</projectname></lastproj><lastinternet><enable_internet>" + internet
           + "</enable_internet><enable_update>" + update + "</enable_update></lastinternet></Conf_Settings>";
}

TEST_F(MainWindowTest, FirstStartInAnEmptyWorkspace)
{
    TFMirandeleFirmWare &main = startWindow();
    for (const char *folder : {"MASTER", "PROJECTS", "LANGUAGE"})
        EXPECT_TRUE(QFileInfo(path(QString::fromLatin1(folder))).isDir()) << folder;
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("Mirandel.xml"))));
    EXPECT_EQ(context.Language_Name, QStringLiteral("English"));
    EXPECT_EQ(context.Last_IP_Address, QStringLiteral("192.168.2.205"));
    EXPECT_FALSE(context.projectOpen());
    EXPECT_FALSE(main.timerUpdate()->isActive());
    EXPECT_EQ(main.timerUpdate()->interval(), 60000);
    EXPECT_EQ(main.timerUpdate()->objectName(), QStringLiteral("Timer_Update"));
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Tarvik - Configurator CF51830 - IEC61850 Server / DeviceNet Slave "));
    EXPECT_EQ(control<QLabel>(QStringLiteral("L_Name_Conf"))->text(), QStringLiteral("None Configuration Opened "));
    EXPECT_EQ(control<QLabel>(QStringLiteral("L_Name_Conf_L2"))->text(),
              QStringLiteral("Use Step1 to open or create new configuration"));

    for (const char *button : {"Btn_Prm_Gen", "Btn_IEC61850_Access", "Btn_TLS_List_Certificates", "Btn_CreateBin"}) {
        SCOPED_TRACE(button);
        prompter.clear();
        EXPECT_EQ(clickAndHandle(QString::fromLatin1(button)), nullptr) << "no dialog may open";
        EXPECT_EQ(prompter.texts(), QStringList{QStringLiteral("Error! Project not Valid")});
        EXPECT_EQ(prompter.messages().first().kind, FakePrompter::Error);
    }
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("PROJECTS/bin"))));

    prompter.clear();
    QTest::mouseClick(control(QStringLiteral("Btn_Close")), Qt::LeftButton);
    EXPECT_FALSE(main.isVisible());
    EXPECT_TRUE(prompter.messages().isEmpty());
    EXPECT_EQ(readFile(QStringLiteral("Mirandel.xml")), kDefaultSettings);
}

TEST_F(MainWindowTest, ControlsSitWhereTheyBelong)
{
    TFMirandeleFirmWare &main = startWindow();
    EXPECT_EQ(main.size(), QSize(694, 440));
    EXPECT_EQ(main.minimumSize(), main.maximumSize()) << "the window has a fixed size";
    EXPECT_FALSE(main.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(main.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(main.windowFlags() & Qt::WindowCloseButtonHint);

    struct Place {
        const char *name;
        int x, y, w, h; // w, h 0: sized by its text
        const char16_t *text;
        const char16_t *hint;
    };
    const Place places[] = {
        {"L_SW_Code", 16, 8, 0, 0, u"CF51830", nullptr},
        {"L_SW_Desc", 16, 42, 0, 0, u"IEC61850 Server / DeviceNet Slave - Converter", nullptr},
        {"LL_Update", 208, 19, 294, 17, nullptr, nullptr},
        {"Btn_Info", 516, 8, 50, 50, nullptr, u"Information"},
        {"Btn_Opz", 574, 8, 50, 50, nullptr, u"Options"},
        {"Btn_Close", 632, 8, 50, 50, nullptr, u"Close Configurator"},
        {"Shape2", 80, 70, 348, 36, nullptr, nullptr},
        {"L_Name_Conf", 87, 75, 0, 0, nullptr, nullptr},
        {"L_Name_Conf_L2", 87, 88, 0, 0, nullptr, nullptr},
        {"L_Begin", 16, 84, 0, 0, u"Begin", nullptr},
        {"L_Step_1", 16, 128, 0, 0, u"Step 1", nullptr},
        {"Btn_New", 80, 112, 170, 36, u"New Configuration", u"Create a new configuration for the device"},
        {"Btn_Open", 258, 112, 170, 36, u"Open Configuration", u"Open an exists configuration"},
        {"L_Step_2", 16, 172, 0, 0, u"Step 2", nullptr},
        {"Btn_Prm_Gen", 80, 156, 170, 36, u"Set Communication", u"Set the main parameters of Protocols"},
        {"L_Step_3", 16, 216, 0, 0, u"Step 3", nullptr},
        {"Btn_IEC61850_Access", 80, 200, 170, 36, u"IEC61850 Access", u"Set the List of Variables for IEC61850"},
        {"L_Step_4", 16, 260, 0, 0, u"Step 4", nullptr},
        {"Btn_TLS_List_Certificates", 80, 244, 170, 36, u"TLS Known Certificates",
         u"Set the List of TLS Certificate accepted from IEC61850 Server"},
        {"L_Step_5", 16, 304, 0, 0, u"Step 5", nullptr},
        {"Btn_CreateBin", 80, 288, 170, 36, u"Update Device UDP",
         u"Update the actual Firmware and/or Configuration in the device"},
        {"L_Tarvik", 565, 304, 0, 0, u"www.tarvik.com", nullptr},
        {"Shape1", 10, 339, 674, 1, nullptr, nullptr},
    };
    for (const Place &p : places) {
        SCOPED_TRACE(p.name);
        QWidget *widget = control(QString::fromLatin1(p.name));
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->pos(), QPoint(p.x, p.y));
        if (p.w) {
            EXPECT_EQ(widget->size(), QSize(p.w, p.h));
        } else {
            EXPECT_LE(widget->geometry().right(), 694) << "an auto-sized text stays inside the window";
        }
        EXPECT_EQ(widget->isVisible(), std::string(p.name) != "LL_Update");
        if (p.text) {
            const auto *label = qobject_cast<QLabel *>(widget);
            const auto *button = qobject_cast<QAbstractButton *>(widget);
            EXPECT_EQ(label ? label->text() : button->text(), QString::fromUtf16(p.text));
        }
        if (p.hint) {
            EXPECT_EQ(widget->toolTip(), QString::fromUtf16(p.hint));
        }
        if (auto *button = qobject_cast<QPushButton *>(widget)) {
            EXPECT_TRUE(button->isFlat());
            EXPECT_FALSE(button->icon().isNull());
        }
    }
}

TEST_F(MainWindowTest, DialogsAreCreatedOnceInOrderAndOwnedByTheWindow)
{
    TFMirandeleFirmWare &main = startWindow();
    QStringList classes;
    for (QDialog *dialog : main.findChildren<QDialog *>(QString(), Qt::FindDirectChildrenOnly))
        classes.append(QString::fromLatin1(dialog->metaObject()->className()));
    EXPECT_EQ(classes, (QStringList{QStringLiteral("mirandel::TFNew_Project"), QStringLiteral("mirandel::TFOpenConf"),
                                    QStringLiteral("mirandel::TFAbout"), QStringLiteral("mirandel::TFSoftOptions"),
                                    QStringLiteral("mirandel::TFParGen"),
                                    QStringLiteral("mirandel::TFTLS_Server_Known_Cert"),
                                    QStringLiteral("mirandel::TFIEC61850_Variables"),
                                    QStringLiteral("mirandel::TFBoot")}));
    EXPECT_EQ(main.newProjectDialog()->parent(), &main);
    EXPECT_EQ(main.bootDialog()->parent(), &main);
}

TEST_F(MainWindowTest, StoredSettingsRestoreProjectAndTimer)
{
    struct Case {
        const char *name;
        const char *project;
        const char *internet, *update;
        bool projectOpen, timerOn;
    } cases[] = {
        {"both flags on, project folder present", "Plant", "1", "1", true, true},
        {"update off", "Plant", "1", "0", true, false},
        {"internet off", "Plant", "0", "1", true, false},
        {"flag text true", "Plant", "1", "true", true, false},
        {"project folder deleted", "Gone", "1", "1", false, true},
    };
    ASSERT_TRUE(QDir(workspace.path()).mkpath(QStringLiteral("PROJECTS/Plant")));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(QStringLiteral("Mirandel.xml"), settingsWith(c.project, c.internet, c.update));
        TFMirandeleFirmWare &main = startWindow();
        EXPECT_EQ(main.timerUpdate()->isActive(), c.timerOn);
        EXPECT_EQ(context.projectOpen(), c.projectOpen);
        const QString label = control<QLabel>(QStringLiteral("L_Name_Conf"))->text();
        const QString label2 = control<QLabel>(QStringLiteral("L_Name_Conf_L2"))->text();
        if (c.projectOpen) {
            EXPECT_EQ(label, QStringLiteral("Opened Configuration of the Converter : "));
            EXPECT_EQ(label2, QString::fromLatin1(c.project));
            EXPECT_EQ(context.ParGen_File, path(QStringLiteral("PROJECTS/Plant/ParGen.xml")));
        } else {
            EXPECT_EQ(label, QStringLiteral("None Configuration Opened "));
            EXPECT_EQ(label2, QStringLiteral("Use Step1 to open or create new configuration"));
        }
        main.close();
        EXPECT_TRUE(readFile(QStringLiteral("Mirandel.xml"))
                        .startsWith(QByteArray("<Conf_Settings><lastproj><projectname>") + c.project + "</projectname>"))
            << "the stored name is written back even when its folder is gone";
    }
}

TEST_F(MainWindowTest, ProjectCommandsOpenTheirDialogsOnceAProjectIsOpen)
{
    ASSERT_TRUE(QDir(workspace.path()).mkpath(QStringLiteral("PROJECTS/Plant/bin")));
    writeFile(QStringLiteral("Mirandel.xml"), settingsWith("Plant", "0", "0"));
    TFMirandeleFirmWare &main = startWindow();
    EXPECT_EQ(clickAndHandle(QStringLiteral("Btn_Prm_Gen")), main.parGenDialog());
    EXPECT_EQ(clickAndHandle(QStringLiteral("Btn_IEC61850_Access")), main.iec61850VariablesDialog());
    EXPECT_EQ(clickAndHandle(QStringLiteral("Btn_TLS_List_Certificates")), main.tlsKnownCertDialog());

    main.bootDialog()->Form_Type = 0;
    EXPECT_EQ(clickAndHandle(QStringLiteral("Btn_CreateBin")), main.bootDialog());
    EXPECT_EQ(main.bootDialog()->Form_Type, 1) << "the update dialog opens in its Ethernet mode";
}

TEST_F(MainWindowTest, UpdatedDeviceAddressReachesTheSettingsAtTheNextWrite)
{
    ASSERT_TRUE(QDir(workspace.path()).mkpath(QStringLiteral("PROJECTS/Plant/bin")));
    writeFile(QStringLiteral("Mirandel.xml"), settingsWith("Plant", "0", "0"));
    writeFakeUpdater(workspace.path());
    TFMirandeleFirmWare &main = startWindow();
    main.bootDialog()->setIcmpEcho(std::make_unique<FakeIcmpEcho>(FakeIcmpEcho::answering()));

    clickAndHandle(QStringLiteral("Btn_CreateBin"), [](QDialog *dialog) {
        const char *octets[] = {"10", "1", "2", "3"};
        for (int i = 0; i < 4; ++i)
            dialog->findChild<QLineEdit *>(QStringLiteral("E_IP%1").arg(i + 1))
                ->setText(QString::fromLatin1(octets[i]));
        QSignalSpy done(static_cast<TFBoot *>(dialog), &TFBoot::updateFinished);
        dialog->findChild<QPushButton *>(QStringLiteral("Btn_Update"))->click();
        EXPECT_TRUE(done.wait(5000));
        dialog->reject();
    });
    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.lastText().toStdString();
    EXPECT_EQ(context.Last_IP_Address, QStringLiteral("10.1.2.3"));
    EXPECT_FALSE(readFile(QStringLiteral("Mirandel.xml")).contains("10.1.2.3")) << "only a settings write stores it";

    main.close();
    EXPECT_TRUE(readFile(QStringLiteral("Mirandel.xml")).contains("<ipaddress>10.1.2.3</ipaddress>"));
}

TEST_F(MainWindowTest, OptionsWriteTheSettingsOnlyWhenConfirmed)
{
    TFMirandeleFirmWare &main = startWindow();
    QDialog *seen = clickAndHandle(QStringLiteral("Btn_Opz"), [this](QDialog *dialog) {
        context.Enable_Internet = true;
        context.Enable_Update = true;
        dialog->reject();
    });
    EXPECT_EQ(seen, main.softOptionsDialog());
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("Mirandel.xml")))) << "Cancel writes nothing";
    EXPECT_FALSE(main.timerUpdate()->isActive()) << "Cancel leaves the timer as it was";

    clickAndHandle(QStringLiteral("Btn_Opz"), [](QDialog *dialog) { dialog->done(QDialog::Accepted); });
    EXPECT_TRUE(main.timerUpdate()->isActive());
    EXPECT_TRUE(readFile(QStringLiteral("Mirandel.xml")).contains("<enable_internet>1</enable_internet><enable_update>1"));

    clickAndHandle(QStringLiteral("Btn_Opz"), [this](QDialog *dialog) {
        context.Enable_Update = false;
        dialog->done(QDialog::Accepted);
    });
    EXPECT_FALSE(main.timerUpdate()->isActive());
    EXPECT_TRUE(readFile(QStringLiteral("Mirandel.xml")).contains("<enable_update>0</enable_update>"));
}

TEST_F(MainWindowTest, UnwritableSettingsAreReportedAndTheWindowStillCloses)
{
    TFMirandeleFirmWare &main = startWindow();
    // A folder in place of the settings file: the write must fail.
    ASSERT_TRUE(QDir(workspace.path()).mkdir(QStringLiteral("Mirandel.xml")));
    main.close();
    EXPECT_FALSE(main.isVisible());
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages().first().kind, FakePrompter::Error);
    EXPECT_TRUE(prompter.lastText().startsWith(QStringLiteral("Error! The settings could not be saved in the file ")));
    EXPECT_TRUE(prompter.lastText().contains(QDir::toNativeSeparators(path(QStringLiteral("Mirandel.xml")))));
}

TEST_F(MainWindowTest, MakersPageAndAboutBox)
{
    const QUrl home(QStringLiteral("https://www.tarvik.com/HOME/default.asp?frompg=CF51830"));
    TFMirandeleFirmWare &main = startWindow();
    QTest::mouseClick(control(QStringLiteral("L_Tarvik")), Qt::LeftButton);
    EXPECT_EQ(urlOpener.urls, QList<QUrl>{home});

    QDialog *about = clickAndHandle(QStringLiteral("Btn_Info"), [](QDialog *dialog) {
        const auto text = [dialog](const char *name) {
            return dialog->findChild<QLabel *>(QString::fromLatin1(name))->text();
        };
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("About..."));
        EXPECT_EQ(dialog->size(), QSize(425, 148));
        EXPECT_EQ(text("Label1"), QStringLiteral("Software Mirandel "));
        EXPECT_EQ(text("Label2"), QStringLiteral("IEC61850 Server / DeviceNet Slave - Converter"));
        EXPECT_EQ(text("Label9"), QStringLiteral("CF51830"));
        EXPECT_EQ(text("Label10"), QStringLiteral("1.000"));
        EXPECT_EQ(text("Label12"), QStringLiteral("UM51830"));
        EXPECT_EQ(dialog->findChild<QWidget *>(QStringLiteral("Image2"))->geometry(), QRect(32, 24, 81, 81));
        QTest::mouseClick(dialog->findChild<QWidget *>(QStringLiteral("Label4")), Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QWidget *>(QStringLiteral("Image2")), Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QWidget *>(QStringLiteral("LbButton1")), Qt::LeftButton);
        EXPECT_FALSE(dialog->isVisible()) << "OK closes the box";
    });
    EXPECT_EQ(about, main.aboutDialog());
    EXPECT_EQ(urlOpener.urls, (QList<QUrl>{home, home, home}));
}

TEST_F(MainWindowTest, LanguageSwitchRetranslatesButKeepsFixedTexts)
{
    ASSERT_TRUE(QDir(workspace.path()).mkpath(QStringLiteral("LANGUAGE")));
    writeFile(QStringLiteral("LANGUAGE/Test.lng"),
              QStringLiteral("STR0001 = Passo 1\n"
                             "STR0009 = \u00B6Nessuna configurazione \u00B6\n"
                             "STR0010 = Usa il passo 1\n"
                             "STR0012 = Informazioni\n"
                             "STR0015 = Nuova configurazione\n"
                             "STR0022 = Crea una nuova configurazione\n"
                             "STR0100 = Crea configurazione\n"
                             "STR0200 = Apri configurazione\n")
                  .toUtf8());
    TFMirandeleFirmWare &main = startWindow();
    const QString caption = main.windowTitle();

    QString picked = QStringLiteral("Test");
    Load_Language(context.texts, picked, context.Language_Dir);
    emit main.softOptionsDialog()->languageChanged();

    EXPECT_EQ(control<QLabel>(QStringLiteral("L_Step_1"))->text(), QStringLiteral("Passo 1"));
    EXPECT_EQ(control<QLabel>(QStringLiteral("L_Step_2"))->text(), QStringLiteral("Step 2"));
    EXPECT_EQ(control<QLabel>(QStringLiteral("L_Name_Conf"))->text(), QStringLiteral("Nessuna configurazione "));
    EXPECT_EQ(control<QLabel>(QStringLiteral("L_Name_Conf_L2"))->text(), QStringLiteral("Usa il passo 1"));
    EXPECT_EQ(control(QStringLiteral("Btn_Info"))->toolTip(), QStringLiteral("Informazioni"));
    EXPECT_EQ(control<QPushButton>(QStringLiteral("Btn_New"))->text(), QStringLiteral("Nuova configurazione"));
    EXPECT_EQ(control(QStringLiteral("Btn_New"))->toolTip(), QStringLiteral("Crea una nuova configurazione"));
    EXPECT_EQ(main.newProjectDialog()->windowTitle(), QStringLiteral("Crea configurazione"));
    EXPECT_EQ(main.openConfDialog()->windowTitle(), QStringLiteral("Apri configurazione"));

    EXPECT_EQ(main.windowTitle(), caption);
    EXPECT_EQ(control<QLabel>(QStringLiteral("L_SW_Code"))->text(), QStringLiteral("CF51830"));
    EXPECT_EQ(control<QLabel>(QStringLiteral("L_SW_Desc"))->text(),
              QStringLiteral("IEC61850 Server / DeviceNet Slave - Converter"));
    EXPECT_EQ(control<QLabel>(QStringLiteral("L_Tarvik"))->text(), QStringLiteral("www.tarvik.com"));
    EXPECT_EQ(context.Language_Name, QStringLiteral("English")) << "only confirming the options changes it";
}

} // namespace
} // namespace mirandel::test
