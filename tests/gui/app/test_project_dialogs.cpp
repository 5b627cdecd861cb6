#include "main_window_fixture.h"

#include "core/app/projects.h"
#include "gui/app/tf_new_project.h"
#include "gui/app/tf_open_conf.h"
#include "gui/params/tf_par_gen.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace mirandel::test {
namespace {

class ProjectDialogsTest : public MainWindowTest {
protected:
    QString nameLabel() const { return window->findChild<QLabel *>(QStringLiteral("L_Name_Conf_L2"))->text(); }

    void makeProjects(const QStringList &names)
    {
        for (const QString &name : names)
            ASSERT_TRUE(QDir(workspace.path()).mkpath(QStringLiteral("PROJECTS/") + name));
    }

    // Opens the open-configuration dialog and reports what it lists and selects.
    struct Listing {
        QStringList items;
        QString selected;
    };
    Listing openDialogListing()
    {
        Listing listing;
        clickAndHandle(QStringLiteral("Btn_Open"), [&listing](QDialog *dialog) {
            auto *list = dialog->findChild<QListWidget *>(QStringLiteral("ListBox1"));
            for (int i = 0; i < list->count(); ++i)
                listing.items.append(list->item(i)->text());
            if (!list->selectedItems().isEmpty())
                listing.selected = list->selectedItems().first()->text();
            dialog->reject();
        });
        return listing;
    }
};

TEST_F(ProjectDialogsTest, NewConfigurationRefusesBadNamesAndKeepsTheTypedText)
{
    makeProjects({QStringLiteral("Existing")});
    TFMirandeleFirmWare &main = startWindow();
    QDialog *seen = clickAndHandle(QStringLiteral("Btn_New"), [this](QDialog *dialog) {
        EXPECT_EQ(dialog->size(), QSize(331, 162));
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Create New Configuration"));
        auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("E_New_Proj"));
        auto *ok = dialog->findChild<QPushButton *>(QStringLiteral("Btn_OK"));
        EXPECT_EQ(edit->geometry(), QRect(16, 94 - 69, 297, 21));
        EXPECT_EQ(ok->pos(), QPoint(85, 6));
        const struct {
            const char16_t *name;
            const char16_t *message;
        } refusals[] = {
            {u"", u"Error! Name Project is not valid"},
            {u"Existing", u"Error! Name project is not valid because directory already exists"},
            {u"sub/folder", u"Error! Name project is not valid"},
            {u"..\\up", u"Error! Name project is not valid"},
            {u"..", u"Error! Name project is not valid"},
        };
        for (const auto &r : refusals) {
            SCOPED_TRACE(QString::fromUtf16(r.name).toStdString());
            prompter.clear();
            edit->clear();
            QTest::keyClicks(edit, QString::fromUtf16(r.name));
            QTest::mouseClick(ok, Qt::LeftButton);
            EXPECT_EQ(prompter.texts(), QStringList{QString::fromUtf16(r.message)});
            EXPECT_TRUE(dialog->isVisible());
            EXPECT_EQ(edit->text(), QString::fromUtf16(r.name)) << "the typed text stays";
        }
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("Btn_Cancel")), Qt::LeftButton);
    });
    EXPECT_EQ(seen, main.newProjectDialog());
    EXPECT_FALSE(context.projectOpen());
    EXPECT_EQ(nameLabel(), QStringLiteral("Use Step1 to open or create new configuration"));
    EXPECT_EQ(QDir(context.Projects_Dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("Existing")});
}

TEST_F(ProjectDialogsTest, EnterCreatesTheProjectAsTypedBlanksIncluded)
{
    TFMirandeleFirmWare &main = startWindow();
#ifdef Q_OS_WIN
    const QString name = QStringLiteral("  Line 4"); // Windows drops blanks at the end of a folder name
#else
    const QString name = QStringLiteral("  Line 4 ");
#endif
    clickAndHandle(QStringLiteral("Btn_New"), [&name](QDialog *dialog) {
        auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("E_New_Proj"));
        EXPECT_TRUE(edit->text().isEmpty()) << "the field starts empty";
        QTest::keyClicks(edit, name);
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
    });
    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.lastText().toStdString();
    EXPECT_EQ(context.Project_Name, name);
    EXPECT_EQ(context.Project_Dir, QDir(context.Projects_Dir).filePath(name));
    EXPECT_TRUE(QFileInfo(context.Project_Dir + QStringLiteral("/bin")).isDir());
    EXPECT_EQ(window->findChild<QLabel *>(QStringLiteral("L_Name_Conf"))->text(),
              QStringLiteral("Opened Configuration of the Converter : "));
    EXPECT_EQ(nameLabel(), name);

    // Shown again, the field is empty; a project command now opens its dialog.
    clickAndHandle(QStringLiteral("Btn_New"), [](QDialog *dialog) {
        EXPECT_TRUE(dialog->findChild<QLineEdit *>(QStringLiteral("E_New_Proj"))->text().isEmpty());
    });
    EXPECT_EQ(context.Project_Name, name) << "Cancel keeps the active project";
    EXPECT_EQ(clickAndHandle(QStringLiteral("Btn_Prm_Gen")), static_cast<QDialog *>(main.parGenDialog()));

    main.close();
    EXPECT_TRUE(readFile(QStringLiteral("Mirandel.xml")).contains("<projectname>" + name.toUtf8() + "</projectname>"));
}

TEST_F(ProjectDialogsTest, OpenListsVisibleFoldersAndPreselectsTheActiveOne)
{
    makeProjects({QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Gamma"),
                  QStringLiteral(".hidden"), QStringLiteral("Beta/inner")});
    writeFile(QStringLiteral("PROJECTS/notes.txt"), "x");
    startWindow();

    Listing listing = openDialogListing();
    QStringList sorted = listing.items;
    sorted.sort();
    EXPECT_EQ(sorted, (QStringList{QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Gamma")}));
    EXPECT_EQ(listing.selected, listing.items.first()) << "no project open: the first item";
    EXPECT_FALSE(context.projectOpen()) << "Cancel opens nothing";

    // Choose one that is not first, by keyboard, and confirm.
    const QString wanted = listing.items.at(1);
    clickAndHandle(QStringLiteral("Btn_Open"), [&wanted](QDialog *dialog) {
        auto *list = dialog->findChild<QListWidget *>(QStringLiteral("ListBox1"));
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        EXPECT_EQ(static_cast<TFOpenConf *>(dialog)->Name_Conf, wanted);
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("Btn_OK")), Qt::LeftButton);
    });
    EXPECT_EQ(context.Project_Name, wanted);
    EXPECT_EQ(context.Project_Dir, QDir(context.Projects_Dir).filePath(wanted));
    EXPECT_EQ(context.TLS_Known_Cert_File, context.Project_Dir + QStringLiteral("/TLS_Known_Cert.xml"));
    EXPECT_EQ(nameLabel(), wanted);
    EXPECT_EQ(openDialogListing().selected, wanted) << "the active project is preselected";

    // A name that differs from its folder only in letter case is still found.
    openProject(context, wanted.toUpper());
    EXPECT_EQ(openDialogListing().selected, wanted);
}

TEST_F(ProjectDialogsTest, KeyboardAloneOpensTheChosenProject)
{
    makeProjects({QStringLiteral("Alpha"), QStringLiteral("Beta")});
    startWindow();
    QString chosen;
    clickAndHandle(QStringLiteral("Btn_Open"), [&chosen](QDialog *dialog) {
        auto *list = dialog->findChild<QListWidget *>(QStringLiteral("ListBox1"));
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Tab);
        ASSERT_EQ(dialog->focusWidget(), dialog->findChild<QWidget *>(QStringLiteral("Btn_OK")));
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(dialog->focusWidget(), dialog->findChild<QWidget *>(QStringLiteral("Btn_Cancel")));

        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        chosen = list->currentItem()->text();
        QTest::keyClick(list, Qt::Key_Return);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
    });
    EXPECT_EQ(context.Project_Name, chosen);
    EXPECT_TRUE(context.projectOpen());
    EXPECT_EQ(nameLabel(), chosen);
}

TEST_F(ProjectDialogsTest, OkOnAnEmptyListOpensNothing)
{
    TFMirandeleFirmWare &main = startWindow();
    main.openConfDialog()->Name_Conf = QStringLiteral("Earlier");
    clickAndHandle(QStringLiteral("Btn_Open"), [](QDialog *dialog) {
        EXPECT_EQ(dialog->findChild<QListWidget *>(QStringLiteral("ListBox1"))->count(), 0);
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("Btn_OK")), Qt::LeftButton);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
    });
    EXPECT_FALSE(context.projectOpen());
    EXPECT_EQ(nameLabel(), QStringLiteral("Use Step1 to open or create new configuration"));
}

TEST_F(ProjectDialogsTest, OpenDialogListFollowsTheWindowSize)
{
    TFMirandeleFirmWare &main = startWindow();
    TFOpenConf *dialog = main.openConfDialog();
    EXPECT_EQ(dialog->size(), QSize(377, 351));
    dialog->show();
    auto *list = dialog->findChild<QListWidget *>(QStringLiteral("ListBox1"));
    const QRect before = list->geometry();
    EXPECT_EQ(before.topLeft(), QPoint(16, 94 - 69));
    dialog->resize(477, 451);
    QCoreApplication::processEvents();
    EXPECT_EQ(list->geometry().topLeft(), before.topLeft());
    EXPECT_EQ(list->size(), before.size() + QSize(100, 100));
    auto *cancel = dialog->findChild<QPushButton *>(QStringLiteral("Btn_Cancel"));
    EXPECT_EQ(cancel->geometry().right() + 1, 477 - 16);
    dialog->hide();
}

} // namespace
} // namespace mirandel::test
