// Screenshots of the main window and the options dialog in German, saved as
// PNG files under build/test-output/ for a reviewer, and a check that every
// visible text fits its control (no cut or elided label, button, check box
// or tab).

#include "core/app/app_context.h"
#include "core/app/settings_file.h"
#include "core/app/version_check.h"
#include "gui/app/local_http_server.h"
#include "gui/app/main_window.h"
#include "gui/app/tf_soft_options.h"
#include "gui/app/version_query.h"
#include "gui/fake_prompter.h"
#include "gui/iec61850/tf_iec61850_variables.h"
#include "gui/params/tf_par_gen.h"
#include "gui/tls/tf_tls_server_known_cert.h"
#include "gui/update/tf_boot.h"
#include "gui/app/tf_new_project.h"
#include "gui/app/tf_open_conf.h"
#include "gui/iec61850/data_array_view.h"
#include "gui/params/category_panel.h"
#include "test_pki.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace mirandel;
using mirandel::test::FakePrompter;
using mirandel::test::LocalHttpServer;

namespace {

const QString kLanguageSource = QStringLiteral(MIRANDEL_SOURCE_DIR "/resources/LANGUAGE");

// build/test-output, or the folder MIRANDEL_TEST_OUTPUT names (the Windows
// check on the real platform keeps its pictures apart).
QString outputDir()
{
    const QString chosen = qEnvironmentVariable("MIRANDEL_TEST_OUTPUT");
    const QString dir = chosen.isEmpty() ? QDir::cleanPath(QStringLiteral(MIRANDEL_BIN_DIR "/../test-output")) : chosen;
    QDir().mkpath(dir);
    return dir;
}

void saveShot(QWidget *widget, const QString &name)
{
    const QString path = QDir(outputDir()).filePath(name);
    EXPECT_TRUE(widget->grab().save(path, "PNG")) << path.toStdString();
}

// Every visible text of `root` that needs more room than its control has.
QStringList textsThatDoNotFit(QWidget *root)
{
    QStringList problems;
    auto describe = [](QWidget *w, const QString &text, QSize need, QSize have) {
        return QStringLiteral("%1 \"%2\": needs %3x%4, has %5x%6")
            .arg(w->objectName(), text)
            .arg(need.width()).arg(need.height()).arg(have.width()).arg(have.height());
    };
    for (QLabel *label : root->findChildren<QLabel *>()) {
        if (!label->isVisibleTo(root) || label->text().isEmpty() || label->wordWrap())
            continue;
        const QSize need = label->sizeHint();
        if (need.width() > label->width() || label->fontMetrics().height() > label->contentsRect().height())
            problems.append(describe(label, label->text(), need, label->size()));
    }
    for (QAbstractButton *button : root->findChildren<QAbstractButton *>()) {
        if (!button->isVisibleTo(root) || button->text().isEmpty())
            continue;
        const QSize need = button->sizeHint();
        const bool tooLow = qobject_cast<QPushButton *>(button) && need.height() > button->height();
        if (need.width() > button->width() || tooLow)
            problems.append(describe(button, button->text(), need, button->size()));
    }
    for (QHeaderView *header : root->findChildren<QHeaderView *>()) {
        if (!header->isVisibleTo(root) || !header->model())
            continue;
        for (int i = 0; i < header->count(); ++i) {
            const QString text = header->model()->headerData(i, header->orientation()).toString();
            if (text.isEmpty() || header->isSectionHidden(i))
                continue;
            const int need = header->fontMetrics().horizontalAdvance(text) + 8;
            const int have = header->orientation() == Qt::Horizontal ? header->sectionSize(i) : header->width();
            if (need > have)
                problems.append(describe(header, text, QSize(need, header->height()), QSize(have, header->height())));
        }
    }
    for (QTabBar *bar : root->findChildren<QTabBar *>()) {
        for (int i = 0; i < bar->count(); ++i) {
            const QRect tab = bar->tabRect(i);
            const int need = bar->fontMetrics().horizontalAdvance(bar->tabText(i));
            if (need > tab.width())
                problems.append(describe(bar, bar->tabText(i), QSize(need, tab.height()), tab.size()));
        }
    }
    return problems;
}

// Puts every shipped language file and flag into `workspace`/LANGUAGE.
void copyShippedLanguages(const QString &workspace)
{
    const QString languageDir = QDir(workspace).filePath(QStringLiteral("LANGUAGE"));
    ASSERT_TRUE(QDir().mkpath(languageDir));
    const QStringList names = QDir(kLanguageSource).entryList(QDir::Files);
    ASSERT_TRUE(names.contains(QStringLiteral("Deutsch.lng")));
    for (const QString &name : names)
        ASSERT_TRUE(QFile::copy(QDir(kLanguageSource).filePath(name), QDir(languageDir).filePath(name)));
}

TEST(Screenshots, GermanMainWindowAndOptions)
{
    // A workspace whose stored language is German, with every language file
    // and flag the program ships.
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    ASSERT_NO_FATAL_FAILURE(copyShippedLanguages(root.path()));
    AppContext context;
    context.Exe_Dir = root.path();
    context.Language_Name = QStringLiteral("Deutsch");
    QString error;
    ASSERT_TRUE(saveSettings(context, &error)) << error.toStdString();

    LocalHttpServer server;
    ASSERT_TRUE(server.start());
    server.answer(200, "VER. 9.999");
    context.Version_Server = server.baseUrl();

    FakePrompter prompter;
    TFMirandeleFirmWare window(context, prompter);
    ASSERT_EQ(context.Language_Name, QStringLiteral("Deutsch"));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    // The new-version link as the timed check shows it.
    context.Enable_Internet = true;
    context.Enable_Update = true;
    window.timerUpdate()->start(1);
    auto *updateLink = window.findChild<QLabel *>(QStringLiteral("LL_Update"));
    ASSERT_NE(updateLink, nullptr);
    for (int i = 0; i < 500 && updateLink->isHidden(); ++i)
        QTest::qWait(10);
    ASSERT_FALSE(updateLink->isHidden());
    window.timerUpdate()->stop();

    saveShot(&window, QStringLiteral("main_window_de.png"));
    const QStringList windowProblems = textsThatDoNotFit(&window);
    EXPECT_TRUE(windowProblems.isEmpty()) << windowProblems.join(u'\n').toStdString();

    TFSoftOptions *options = window.softOptionsDialog();
    options->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(options));
    EXPECT_EQ(options->windowTitle(), context.text(300));
    auto *pages = options->findChild<QTabWidget *>(QStringLiteral("PC_Options"));
    ASSERT_NE(pages, nullptr);

    // The connection page with the result of an update check.
    pages->setCurrentWidget(options->findChild<QWidget *>(QStringLiteral("TS_Con_Options")));
    QSignalSpy checked(options->versionQuery(), &VersionQuery::versionChecked);
    options->findChild<QPushButton *>(QStringLiteral("Btn_Check_Update"))->click();
    ASSERT_TRUE(checked.wait(10000));

    const struct {
        const char *page;
        const char *file;
    } shots[] = {{"TS_Language", "soft_options_language_de.png"},
                 {"TS_Con_Options", "soft_options_connection_de.png"},
                 {"TS_Soft_Settings", "soft_options_settings_de.png"}};
    for (const auto &shot : shots) {
        SCOPED_TRACE(shot.page);
        pages->setCurrentWidget(options->findChild<QWidget *>(QString::fromLatin1(shot.page)));
        QTest::qWait(20);
        saveShot(options, QString::fromLatin1(shot.file));
        const QStringList problems = textsThatDoNotFit(options);
        EXPECT_TRUE(problems.isEmpty()) << problems.join(u'\n').toStdString();
    }
    options->reject();
}

// Every shipped language: the texts of every dialog fit their controls; a
// picture of each dialog in each language is kept for review.
TEST(Screenshots, EveryLanguageFitsEveryDialog)
{
    const QStringList files = QDir(kLanguageSource).entryList({QStringLiteral("*.lng")}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    ASSERT_NO_FATAL_FAILURE(copyShippedLanguages(root.path()));
    ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("PROJECTS/Plant/bin")));

    for (const QString &file : files) {
        const QString language = file.chopped(4);
        SCOPED_TRACE(language.toStdString());
        AppContext context;
        context.Exe_Dir = root.path();
        context.Language_Name = language;
        context.Project_Name = QStringLiteral("Plant");
        QString error;
        ASSERT_TRUE(saveSettings(context, &error)) << error.toStdString();
        FakePrompter prompter;
        TFMirandeleFirmWare window(context, prompter);
        ASSERT_EQ(context.Language_Name, language);
        window.show();
        const QList<QWidget *> dialogs = {&window,
                                          window.newProjectDialog(),
                                          window.openConfDialog(),
                                          window.softOptionsDialog(),
                                          window.parGenDialog(),
                                          window.tlsKnownCertDialog(),
                                          window.iec61850VariablesDialog(),
                                          window.bootDialog()};
        for (QWidget *dialog : dialogs) {
            SCOPED_TRACE(dialog->metaObject()->className());
            if (dialog != &window)
                dialog->show();
            QTest::qWait(10);
            saveShot(dialog, QStringLiteral("%1_%2.png")
                                 .arg(QString::fromLatin1(dialog->metaObject()->className()).section(u':', -1),
                                      language));
            const QStringList problems = textsThatDoNotFit(dialog);
            EXPECT_TRUE(problems.isEmpty()) << problems.join(u'\n').toStdString();
            if (dialog != &window)
                dialog->hide();
        }
        window.hide();
    }
}

// The parameters dialog with a key that does not belong to its certificate,
// and the map of a table whose variables overlap, in every shipped language;
// every text of both fits its control.
TEST(Screenshots, CertificateStatusAndDataArrayMap)
{
    const test::TestIdentity root = test::makeIdentity({.commonName = QStringLiteral("Plant Root CA"), .ca = true});
    const test::TestIdentity server =
        test::makeIdentity({.commonName = QStringLiteral("gateway.plant.local"), .serial = 2, .issuer = &root});
    const test::TestIdentity other = test::makeIdentity({.commonName = QStringLiteral("other"), .serial = 3});

    const QStringList files = QDir(kLanguageSource).entryList({QStringLiteral("*.lng")}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    QTemporaryDir root_;
    ASSERT_TRUE(root_.isValid());
    ASSERT_NO_FATAL_FAILURE(copyShippedLanguages(root_.path()));
    const QString project = QDir(root_.path()).filePath(QStringLiteral("PROJECTS/Plant"));
    ASSERT_TRUE(QDir().mkpath(project + QStringLiteral("/bin")));
    QFile variables(QDir(project).filePath(QStringLiteral("IEC61850_Variables.xml")));
    ASSERT_TRUE(variables.open(QIODevice::WriteOnly));
    QByteArray rows;
    const char *const names[] = {"Speed", "Torque", "Temperature", "Pressure", "Level", "Flow"};
    for (int i = 0; i < 6; ++i)
        rows += QStringLiteral("<row Enable=\"Y\" Name=\"%1\" Type=\"Int\" Length=\"4\" Position=\"%2\"/>")
                    .arg(QString::fromLatin1(names[i]))
                    .arg(i == 3 ? 10 : i * 4)
                    .toUtf8();
    rows += "<row Enable=\"Y\" Name=\"Run\" Type=\"Digital (Bit)\" Length=\"1\" Position=\"64\" StartBit=\"0\"/>"
            "<row Enable=\"Y\" Name=\"Alarm\" Type=\"Digital (Bit)\" Length=\"1\" Position=\"64\" StartBit=\"5\"/>";
    variables.write("<IEC61850_Variables>" + rows + "</IEC61850_Variables>");
    variables.close();

    for (const QString &file : files) {
        const QString language = file.chopped(4);
        SCOPED_TRACE(language.toStdString());
        AppContext context;
        context.Exe_Dir = root_.path();
        context.Language_Name = language;
        context.Project_Name = QStringLiteral("Plant");
        QString error;
        ASSERT_TRUE(saveSettings(context, &error)) << error.toStdString();
        FakePrompter prompter;
        TFMirandeleFirmWare window(context, prompter);

        TFParGen *parGen = window.parGenDialog();
        parGen->show();
        for (const char *panel : {"CP_Ethernet_Connection_Header", "CP_IEC61850_Server_Header"})
            QTest::mouseClick(parGen->findChild<QWidget *>(QString::fromLatin1(panel)), Qt::LeftButton);
        auto *tls = parGen->findChild<QCheckBox *>(QStringLiteral("CB_TLS_Server_Enable"));
        tls->setChecked(true);
        parGen->findChild<QPlainTextEdit *>(QStringLiteral("E_TLS_Server_Key"))->setPlainText(other.keyPem);
        parGen->findChild<QPlainTextEdit *>(QStringLiteral("E_TLS_Server_Server_Cert"))->setPlainText(server.certPem);
        parGen->findChild<QPlainTextEdit *>(QStringLiteral("E_TLS_Server_Root_Cert"))->setPlainText(root.certPem);
        QTest::qWait(10);
        EXPECT_EQ(parGen->findChild<QLabel *>(QStringLiteral("L_TLS_Server_Key_Status"))->property("statusLevel").toInt(),
                  int(StatusLevel::Severe));
        saveShot(parGen, QStringLiteral("TFParGen_key_mismatch_%1.png").arg(language));
        QStringList problems = textsThatDoNotFit(parGen);
        EXPECT_TRUE(problems.isEmpty()) << problems.join(u'\n').toStdString();
        parGen->reject();

        TFIEC61850_Variables *editor = window.iec61850VariablesDialog();
        editor->show();
        QTest::mouseClick(editor->findChild<QWidget *>(QStringLiteral("Btn_Map")), Qt::LeftButton);
        DataArrayView *map = editor->mapView();
        ASSERT_TRUE(map->isVisible());
        QTest::qWait(10);
        EXPECT_TRUE(map->grid()->isOverlap(10));
        saveShot(map, QStringLiteral("DataArrayMap_overlap_%1.png").arg(language));
        problems = textsThatDoNotFit(map) + textsThatDoNotFit(editor);
        EXPECT_TRUE(problems.isEmpty()) << problems.join(u'\n').toStdString();
        editor->hide();
    }
}

} // namespace
