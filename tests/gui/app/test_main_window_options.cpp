// The software options dialog inside the main window: the language switch
// reaches every dialog, and the options and the timed version check drive the
// update timer and LL_Update.

#include "core/app/app_context.h"
#include "core/app/settings_file.h"
#include "core/app/version_check.h"
#include "gui/app/local_http_server.h"
#include "gui/app/main_window.h"
#include "gui/app/main_window_fixture.h"
#include "gui/app/tf_new_project.h"
#include "gui/app/tf_soft_options.h"
#include "gui/app/version_query.h"
#include "gui/fake_prompter.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace mirandel;
using mirandel::test::FakePrompter;
using mirandel::test::LocalHttpServer;

namespace {

// The options dialog inside the main window: the language switch reaches
// every dialog, and the timed version check drives LL_Update.
class MainWindowOptionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        context.Exe_Dir = m_root.path();
        context.Version_Server = QStringLiteral("http://127.0.0.1:9"); // never the real server
        window = std::make_unique<TFMirandeleFirmWare>(context, prompter);
        window->setUrlOpener(&opener);
        window->show();
    }
    void TearDown() override { window.reset(); }

    void writeLanguage(const QString &name, const QByteArray &bytes)
    {
        QFile file(QDir(context.Language_Dir).filePath(name + QStringLiteral(".lng")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    template <typename T> T *child(QWidget *parent, const char *name)
    {
        T *widget = parent->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    // Runs `steps` inside the options dialog's modal loop opened by Btn_Opz.
    void runOptions(std::function<void(TFSoftOptions &)> steps)
    {
        TFSoftOptions *dialog = window->softOptionsDialog();
        QTimer::singleShot(0, dialog, [dialog, steps] { steps(*dialog); });
        window->Btn_Click(child<QPushButton>(window.get(), "Btn_Opz"));
    }
    QString storedLanguage()
    {
        AppContext stored;
        stored.Exe_Dir = context.Exe_Dir;
        readSettings(stored);
        return stored.Language_Name;
    }

    AppContext context;
    FakePrompter prompter;
    test::RecordingUrlOpener opener;
    std::unique_ptr<TFMirandeleFirmWare> window;

private:
    QTemporaryDir m_root;
};

TEST_F(MainWindowOptionsTest, LanguageSwitchReachesEveryDialogAndOnlyOkStoresIt)
{
    writeLanguage(QStringLiteral("English"), "");
    writeLanguage(QStringLiteral("Deutsch"), "STR0001 = Schritt 1\r\n"
                                             "STR0100 = Neue Konfiguration\r\n"
                                             "STR0300 = Software-Optionen\r\n");
    QString error;
    ASSERT_TRUE(saveSettings(context, &error)) << error.toStdString(); // English stored

    // Pick German, then Cancel.
    prompter.setNextAnswer(true);
    runOptions([this](TFSoftOptions &dialog) {
        QTest::mouseClick(child<QLabel>(&dialog, "L_L1"), Qt::LeftButton);
        child<QPushButton>(&dialog, "Btn_Cancel")->click();
    });
    EXPECT_EQ(child<QLabel>(window.get(), "L_Step_1")->text(), QStringLiteral("Schritt 1"));
    EXPECT_EQ(window->newProjectDialog()->windowTitle(), QStringLiteral("Neue Konfiguration"));
    EXPECT_EQ(window->softOptionsDialog()->windowTitle(), QStringLiteral("Software-Optionen"));
    EXPECT_EQ(context.Language_Name, QStringLiteral("English"));
    EXPECT_EQ(storedLanguage(), QStringLiteral("English"));

    // Pick German again, then OK: stored at once.
    prompter.setNextAnswer(true);
    runOptions([this](TFSoftOptions &dialog) {
        QTest::mouseClick(child<QLabel>(&dialog, "L_L1"), Qt::LeftButton);
        child<QPushButton>(&dialog, "Btn_OK")->click();
    });
    EXPECT_EQ(context.Language_Name, QStringLiteral("Deutsch"));
    EXPECT_EQ(storedLanguage(), QStringLiteral("Deutsch"));
    EXPECT_EQ(child<QLabel>(window.get(), "L_Step_1")->text(), QStringLiteral("Schritt 1"));
}

TEST_F(MainWindowOptionsTest, OkSwitchesTheUpdateTimer)
{
    QTimer *timer = window->timerUpdate();
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(timer->interval(), 60000);
    const struct {
        bool internet, update, active;
    } cases[] = {{true, true, true}, {false, true, false}, {true, false, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.internet) + std::to_string(c.update));
        runOptions([this, c](TFSoftOptions &dialog) {
            child<QCheckBox>(&dialog, "CB_En_Con")->setChecked(c.internet);
            child<QCheckBox>(&dialog, "CB_Update")->setChecked(c.update);
            child<QPushButton>(&dialog, "Btn_OK")->click();
        });
        EXPECT_EQ(timer->isActive(), c.active);
    }
    // Cancel leaves the timer as it was.
    runOptions([this](TFSoftOptions &dialog) {
        child<QCheckBox>(&dialog, "CB_En_Con")->setChecked(true);
        child<QCheckBox>(&dialog, "CB_Update")->setChecked(true);
        child<QPushButton>(&dialog, "Btn_Cancel")->click();
    });
    EXPECT_FALSE(timer->isActive());

    // Confirming the options again while the timer runs keeps its countdown.
    timer->setTimerType(Qt::PreciseTimer);
    runOptions([this](TFSoftOptions &dialog) {
        child<QCheckBox>(&dialog, "CB_En_Con")->setChecked(true);
        child<QCheckBox>(&dialog, "CB_Update")->setChecked(true);
        child<QPushButton>(&dialog, "Btn_OK")->click();
    });
    ASSERT_TRUE(timer->isActive());
    QTest::qWait(60);
    runOptions([this](TFSoftOptions &dialog) { child<QPushButton>(&dialog, "Btn_OK")->click(); });
    EXPECT_TRUE(timer->isActive());
    EXPECT_LE(timer->remainingTime(), 60000 - 50);
}

TEST_F(MainWindowOptionsTest, TimedCheckShowsOrHidesTheLink)
{
    LocalHttpServer server;
    ASSERT_TRUE(server.start());
    context.Version_Server = server.baseUrl();
    context.Enable_Internet = true;
    context.Enable_Update = true;
    QTimer *timer = window->timerUpdate();
    auto *link = child<QLabel>(window.get(), "LL_Update");
    EXPECT_TRUE(link->isHidden());

    const struct {
        QByteArray answer;
        bool shown;
    } cases[] = {{"VER. 1.001", true}, {"VER. 1.000", false}, {"VER. 2.000", true}, {"", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.answer.toStdString());
        server.answer(200, c.answer);
        const qsizetype requests = server.requestLines().size();
        timer->start(1);
        QTest::qWait(20);
        EXPECT_FALSE(timer->isActive() && timer->interval() == 1) << "the timer is off while the query runs";
        for (int i = 0; i < 500 && (server.requestLines().size() == requests || !timer->isActive()); ++i)
            QTest::qWait(10);
        EXPECT_EQ(server.requestLines().size(), requests + 1);
        EXPECT_TRUE(timer->isActive());
        EXPECT_EQ(timer->interval(), 7200000);
        EXPECT_EQ(!link->isHidden(), c.shown);
        if (c.shown) {
            EXPECT_EQ(link->text(), QStringLiteral("New Version Available. Click Here for more Details"));
        }
    }

    // The link opens the download page on the same server.
    QTest::mouseClick(link, Qt::LeftButton);
    ASSERT_EQ(opener.urls.size(), 1);
    EXPECT_EQ(opener.urls.first(), downloadPageUrl(server.baseUrl()));
}

TEST_F(MainWindowOptionsTest, CheckForbiddenWhileTheQueryRanLeavesTheTimerOff)
{
    LocalHttpServer server;
    ASSERT_TRUE(server.start());
    server.stayQuiet();
    context.Version_Server = server.baseUrl();
    context.Version_Query_Timeout_Ms = 200;
    context.Enable_Internet = true;
    context.Enable_Update = true;
    QTimer *timer = window->timerUpdate();
    timer->start(1);
    for (int i = 0; i < 250 && server.requestLines().isEmpty(); ++i)
        QTest::qWait(10);
    ASSERT_EQ(server.requestLines().size(), 1);
    runOptions([this](TFSoftOptions &dialog) {
        child<QCheckBox>(&dialog, "CB_En_Con")->setChecked(false);
        child<QPushButton>(&dialog, "Btn_OK")->click();
    });
    // Until the query has ended, past its time-out.
    auto *query = window->findChild<VersionQuery *>();
    ASSERT_NE(query, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([query] { return !query->isRunning(); }, 5000));
    QCoreApplication::processEvents();
    EXPECT_FALSE(timer->isActive());
    EXPECT_TRUE(child<QLabel>(window.get(), "LL_Update")->isHidden());
}

} // namespace
