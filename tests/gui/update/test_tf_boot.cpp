#include "core/app/app_context.h"
#include "core/common/xml_file.h"
#include "core/lang/text_ids.h"
#include "core/update/fake_icmp_echo.h"
#include "core/update/fake_updater.h"
#include "gui/fake_prompter.h"
#include "gui/update/tf_boot.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace mirandel::test {
namespace {

using Outcome = IcmpEcho::Outcome;

// Counts timer ticks and paint events while the dialog waits, to show that
// the event loop keeps running and the window keeps painting.
class Liveness : public QObject {
public:
    explicit Liveness(QWidget *window)
        : m_window(window)
    {
        window->installEventFilter(this);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            ++ticks;
            m_window->update();
        });
        m_timer.start(50);
    }
    int ticks = 0;
    int paints = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Paint)
            ++paints;
        return false;
    }

private:
    QWidget *m_window;
    QTimer m_timer;
};

class RecordingLauncher : public UpdaterLauncher {
public:
    void Start_Program(const QString &) override
    {
        ++starts;
        QTimer::singleShot(0, this, [this] { emit finished(Outcome::Ended, {}); });
    }
    bool running() const override { return false; }
    int starts = 0;
};

// A short reachability check for the tests: 300 ms in all, 30 ms per echo.
constexpr PingTiming Short_Timing{300, 30};

class TFBootTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(workspace.isValid());
        context.Exe_Dir = workspace.path();
        context.Master_Dir = workspace.filePath(QStringLiteral("MASTER"));
        context.Project_Dir = workspace.filePath(QStringLiteral("PROJECTS/P1"));
        QDir().mkpath(context.Master_Dir);
        QDir().mkpath(context.Project_Dir + QStringLiteral("/bin"));
        dialog = std::make_unique<TFBoot>(context, prompter);
    }

    template <typename T>
    T *control(const char *name) const
    {
        T *widget = dialog->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit *field(int n) const { return control<QLineEdit>(QStringLiteral("E_IP%1").arg(n).toLatin1().constData()); }
    QPushButton *updateButton() const { return control<QPushButton>("Btn_Update"); }
    QComboBox *options() const { return control<QComboBox>("CB_Update_Options"); }
    QCheckBox *readBack() const { return control<QCheckBox>("CB_Update_Option_Read_Back"); }
    QString status() const { return control<QLabel>("L_Status")->text(); }

    FakeIcmpEcho *useEcho(FakeIcmpEcho::Script script)
    {
        auto echo = std::make_unique<FakeIcmpEcho>(std::move(script));
        FakeIcmpEcho *raw = echo.get();
        dialog->setIcmpEcho(std::move(echo));
        return raw;
    }
    void useWaitLimit(int ms)
    {
        auto launcher = std::make_unique<ProcessUpdaterLauncher>();
        launcher->setWaitLimit(ms);
        dialog->setUpdaterLauncher(std::move(launcher));
    }
    // Counts the updater starts instead of starting anything.
    int *useRecordingLauncher()
    {
        auto launcher = std::make_unique<RecordingLauncher>();
        int *starts = &launcher->starts;
        dialog->setUpdaterLauncher(std::move(launcher));
        return starts;
    }

    void showDialog()
    {
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }
    void typeAddress(const QString &a, const QString &b, const QString &c, const QString &d)
    {
        field(1)->setText(a);
        field(2)->setText(b);
        field(3)->setText(c);
        field(4)->setText(d);
    }
    // Clicks Btn_Update and waits until the click's work is over.
    bool clickAndWait(int timeoutMs = 10000)
    {
        QSignalSpy done(dialog.get(), &TFBoot::updateFinished);
        updateButton()->click();
        return done.wait(timeoutMs) || !done.isEmpty();
    }
    QString descriptorPath() const { return workspace.filePath(QStringLiteral("Ethernet_Update.xml")); }
    QString text(int index) const { return context.text(index); }

    QTemporaryDir workspace;
    AppContext context;
    FakePrompter prompter;
    std::unique_ptr<TFBoot> dialog;
};

TEST_F(TFBootTest, EthernetModeLayoutAndTexts)
{
    context.texts.setText(1020, QStringLiteral("Go"));
    showDialog();
    EXPECT_EQ(dialog->Form_Type, 1);
    EXPECT_EQ(dialog->size(), QSize(449, 230));
    EXPECT_TRUE(control<QWidget>("P_IP_Address")->isVisible());
    EXPECT_TRUE(control<QWidget>("P_Options")->isVisible());
    EXPECT_FALSE(control<QWidget>("P_Eth_Search")->isVisible());
    EXPECT_FALSE(control<QWidget>("P_Serial")->isVisible());
    // Title band, IP address, options and buttons from top to bottom.
    EXPECT_LT(control<QWidget>("P_Title")->y(), control<QWidget>("P_IP_Address")->mapTo(dialog.get(), QPoint()).y());
    EXPECT_LT(control<QWidget>("P_IP_Address")->mapTo(dialog.get(), QPoint()).y(),
              control<QWidget>("P_Options")->mapTo(dialog.get(), QPoint()).y());
    EXPECT_EQ(control<QWidget>("P_Button")->y(), 230 - 40);

    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Update Device by Ethernet (UDP)"));
    EXPECT_EQ(control<QLabel>("L_SW_Code")->text(), QStringLiteral("CF51830"));
    EXPECT_EQ(control<QLabel>("L_SW_Desc")->text(), QStringLiteral("Update Device Using the Ethernet Port"));
    EXPECT_EQ(control<QLabel>("L_IP_Address")->text(), QStringLiteral("Insert the IP Address of Device"));
    EXPECT_EQ(control<QLabel>("L_Update_Option")->text(), QStringLiteral("Select Update Options"));
    ASSERT_EQ(options()->count(), 3);
    EXPECT_EQ(options()->itemText(0), QStringLiteral("Firmware + Configuration"));
    EXPECT_EQ(options()->itemText(1), QStringLiteral("Firmware"));
    EXPECT_EQ(options()->itemText(2), QStringLiteral("Configuration"));
    EXPECT_FALSE(options()->isEditable());
    EXPECT_EQ(readBack()->text(), QStringLiteral("Read Back"));
    EXPECT_EQ(control<QPushButton>("Btn_Cancel")->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(updateButton()->text(), QStringLiteral("Go")); // read from the table when shown
    EXPECT_EQ(field(4)->toolTip(), QStringLiteral("Insert fourth byte of IP Address"));
    EXPECT_EQ(updateButton()->toolTip(), QStringLiteral("Start the update of Device"));
    // The hidden panels get their texts too.
    EXPECT_EQ(control<QLabel>("L_Serial_1")->text(), text(1009));
    EXPECT_EQ(control<QLabel>("L_Serial_5")->text(), text(1013));
    EXPECT_EQ(control<QLabel>("L_Eth_Search_3")->text(), text(1031));
}

TEST_F(TFBootTest, ShowingSplitsTheLastAddressOrKeepsTheFields)
{
    context.Last_IP_Address = QStringLiteral("10.0.0.7");
    showDialog();
    EXPECT_EQ(field(1)->text(), QStringLiteral("10"));
    EXPECT_EQ(field(2)->text(), QStringLiteral("0"));
    EXPECT_EQ(field(3)->text(), QStringLiteral("0"));
    EXPECT_EQ(field(4)->text(), QStringLiteral("7"));
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    EXPECT_EQ(QApplication::focusWidget(), field(1));
    dialog->hide();

    for (const char *stored : {"10.0.0.256", "192.168.2", "", "1.2.3.4.5"}) {
        SCOPED_TRACE(stored);
        typeAddress(QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"));
        context.Last_IP_Address = QString::fromLatin1(stored);
        showDialog();
        EXPECT_EQ(joinIpOctets({field(1)->text(), field(2)->text(), field(3)->text(), field(4)->text()}),
                  QStringLiteral("1.2.3.4"));
        dialog->hide();
    }
}

TEST_F(TFBootTest, TypingAnAddressMovesOnAtEachFullStop)
{
    showDialog();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    typeAddress({}, {}, {}, {});
    field(1)->setFocus();
    for (const QChar c : QStringLiteral("192.168.2.205.")) {
        QWidget *focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        QTest::keyClick(focused, c.toLatin1());
    }
    EXPECT_EQ(field(1)->text(), QStringLiteral("192"));
    EXPECT_EQ(field(2)->text(), QStringLiteral("168"));
    EXPECT_EQ(field(3)->text(), QStringLiteral("2"));
    EXPECT_EQ(field(4)->text(), QStringLiteral("205")); // the last "." is dropped as well
    EXPECT_EQ(QApplication::focusWidget(), field(4));
}

TEST_F(TFBootTest, AnsweringDeviceGetsTheDescriptorAndTheUpdaterStartedWithoutArguments)
{
    const FakeUpdater updater = writeFakeUpdater(workspace.path());
    FakeIcmpEcho *echo = useEcho(FakeIcmpEcho::answering());
    showDialog();
    typeAddress(QStringLiteral("192"), QStringLiteral("168"), QStringLiteral("2"), QStringLiteral("205"));
    options()->setCurrentIndex(2);
    readBack()->setChecked(false);

    ASSERT_TRUE(clickAndWait());
    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.lastText().toStdString();
    EXPECT_EQ(echo->hosts, QStringList(2, QStringLiteral("192.168.2.205")));
    EXPECT_EQ(readAll(updater.argsFile), QByteArray("argc=0\n"));
    // The updater found the descriptor of this click beside itself.
    const QByteArray seen = readAll(updater.seenFile);
    EXPECT_EQ(seen, readAll(descriptorPath()));
    pugi::xml_document doc;
    ASSERT_TRUE(parseXml(seen, doc).ok());
    const pugi::xml_node root = doc.first_child();
    EXPECT_STREQ(root.child("IP_Address_Dev").text().get(), "192.168.2.205");
    const pugi::xml_node first = root.child("Operations").first_child();
    EXPECT_TRUE(QString::fromUtf8(first.child("Ope_FileName").text().get())
                    .endsWith(QDir::toNativeSeparators(QStringLiteral("/bin/bank1.bin"))));
    EXPECT_STREQ(first.child("Ope_Read_Back").text().get(), "0");

    EXPECT_EQ(context.Last_IP_Address, QStringLiteral("192.168.2.205"));
    EXPECT_EQ(context.Update_Option_Index, 2);
    EXPECT_FALSE(context.Update_Read_Back);
    EXPECT_TRUE(updateButton()->isEnabled());
    EXPECT_TRUE(dialog->isVisible()); // the dialog stays open

    // The next showing preselects the choices of the successful update.
    dialog->hide();
    showDialog();
    EXPECT_EQ(options()->currentIndex(), 2);
    EXPECT_FALSE(readBack()->isChecked());
}

TEST_F(TFBootTest, SilentDeviceWarnsOnceTheCheckTimeHasPassedWhileTheWindowKeepsWorking)
{
    const FakeUpdater updater = writeFakeUpdater(workspace.path());
    // By default the check tries for about 5 s, 400 ms per echo.
    EXPECT_EQ(dialog->pingTiming().totalMs, 5000);
    EXPECT_EQ(dialog->pingTiming().attemptMs, 400);
    FakeIcmpEcho *echo = useEcho(FakeIcmpEcho::silent());
    dialog->setPingTiming(Short_Timing);
    context.Last_IP_Address = QStringLiteral("10.0.0.7");
    showDialog();
    typeAddress(QStringLiteral("192"), QStringLiteral("168"), QStringLiteral("2"), QStringLiteral("205"));
    options()->setCurrentIndex(1);
    readBack()->setChecked(false);

    Liveness liveness(dialog.get());
    QSignalSpy done(dialog.get(), &TFBoot::updateFinished);
    QElapsedTimer clock;
    clock.start();
    updateButton()->click();
    EXPECT_EQ(dialog->phase(), TFBoot::Phase::Pinging);
    EXPECT_FALSE(updateButton()->isEnabled());
    EXPECT_EQ(status(), text(Text_Status_Pinging));
    ASSERT_TRUE(done.wait(9000));
    const qint64 elapsed = clock.elapsed();

    EXPECT_GE(elapsed, Short_Timing.totalMs);
    EXPECT_EQ(echo->lastTimeoutMs, Short_Timing.attemptMs);
    EXPECT_GE(echo->hosts.size(), 2);
    // The event loop ran and the window painted while the check went on.
    EXPECT_GE(liveness.ticks, 2);
    EXPECT_GE(liveness.paints, 1);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages().first().kind, FakePrompter::Warning);
    EXPECT_EQ(prompter.lastText(), QStringLiteral("Device Not Found!"));
    EXPECT_EQ(dialog->ping_res(), 2);
    EXPECT_TRUE(updateButton()->isEnabled());
    EXPECT_TRUE(status().isEmpty());

    // Nothing written, nothing started, nothing remembered.
    EXPECT_FALSE(QFile::exists(descriptorPath()));
    EXPECT_FALSE(QFile::exists(updater.argsFile));
    EXPECT_EQ(context.Last_IP_Address, QStringLiteral("10.0.0.7"));
    EXPECT_EQ(context.Update_Option_Index, 0);
    EXPECT_TRUE(context.Update_Read_Back);
    dialog->hide();
    showDialog();
    EXPECT_EQ(options()->currentIndex(), 0);
    EXPECT_TRUE(readBack()->isChecked());
}

TEST_F(TFBootTest, EchoFailuresShowTheirMessages)
{
    const FakeUpdater updater = writeFakeUpdater(workspace.path());
    const struct {
        Outcome outcome;
        int index;
    } cases[] = {{Outcome::BadHost, Text_Check_Ip_Address}, {Outcome::SendFailed, Text_Check_Ip_Address},
                 {Outcome::NoSocket, Text_Echo_Not_Allowed}};
    showDialog();
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.outcome));
        prompter.clear();
        useEcho(FakeIcmpEcho::failing(c.outcome));
        ASSERT_TRUE(clickAndWait());
        ASSERT_EQ(prompter.messages().size(), 1);
        EXPECT_EQ(prompter.messages().first().kind, FakePrompter::Error);
        EXPECT_TRUE(prompter.lastText().startsWith(text(c.index))) << prompter.lastText().toStdString();
    }
    // The refusal of the system names the settings that allow the echo.
    EXPECT_TRUE(prompter.lastText().contains(QStringLiteral("net.ipv4.ping_group_range")));
    EXPECT_TRUE(prompter.lastText().contains(QStringLiteral("CAP_NET_RAW")));
    EXPECT_FALSE(QFile::exists(descriptorPath()));
    EXPECT_FALSE(QFile::exists(updater.argsFile));
}

TEST_F(TFBootTest, UnusableHostTextGivesCheckTheAddressWithTheRealEcho)
{
    showDialog();
    for (const auto &octets : {std::array<const char *, 4>{"192", "168", "2", ""},
                               std::array<const char *, 4>{"192", "168", "2", "256"},
                               std::array<const char *, 4>{"a", "b", "c", "d"}}) {
        SCOPED_TRACE(octets[3]);
        prompter.clear();
        typeAddress(QString::fromLatin1(octets[0]), QString::fromLatin1(octets[1]), QString::fromLatin1(octets[2]),
                    QString::fromLatin1(octets[3]));
        ASSERT_TRUE(clickAndWait(2000));
        ASSERT_EQ(prompter.messages().size(), 1);
        EXPECT_EQ(prompter.messages().first().kind, FakePrompter::Error);
        EXPECT_EQ(prompter.lastText(), QStringLiteral("Error!!! Check the Ip Address"));
        EXPECT_EQ(dialog->ping_res(), 0);
    }
}

TEST_F(TFBootTest, LoopbackAnswersTheRealEcho)
{
    const FakeUpdater updater = writeFakeUpdater(workspace.path());
    showDialog();
    typeAddress(QStringLiteral("127"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("1"));
    ASSERT_TRUE(clickAndWait(8000));
    if (!prompter.messages().isEmpty() && prompter.lastText().startsWith(text(Text_Echo_Not_Allowed)))
        GTEST_SKIP() << "This machine allows no ICMP socket: " << prompter.lastText().toStdString();
    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.lastText().toStdString();
    EXPECT_EQ(readAll(updater.argsFile), QByteArray("argc=0\n"));
}

TEST_F(TFBootTest, SlowUpdaterKeepsTheWindowWorkingAndTheButtonDisabledUntilItEnds)
{
    const FakeUpdater updater = writeFakeUpdater(workspace.path(), QStringLiteral("0.4"));
    FakeIcmpEcho *echo = useEcho(FakeIcmpEcho::answering());
    useWaitLimit(10000);
    showDialog();
    Liveness liveness(dialog.get());
    QSignalSpy done(dialog.get(), &TFBoot::updateFinished);
    updateButton()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(updater.argsFile); }, 3000));

    EXPECT_EQ(dialog->phase(), TFBoot::Phase::WaitingForUpdater);
    EXPECT_FALSE(updateButton()->isEnabled());
    EXPECT_EQ(status(), text(Text_Status_Waiting));
    // A second click starts nothing; the dialog cannot be closed meanwhile.
    const auto pings = echo->hosts.size();
    dialog->Btn_UpdateClick();
    EXPECT_EQ(echo->hosts.size(), pings);
    dialog->reject();
    EXPECT_TRUE(dialog->isVisible());

    ASSERT_TRUE(done.wait(5000));
    EXPECT_TRUE(QFile::exists(updater.doneFile));
    EXPECT_GE(liveness.ticks, 2);
    EXPECT_TRUE(updateButton()->isEnabled());
    EXPECT_TRUE(status().isEmpty());
    EXPECT_TRUE(prompter.messages().isEmpty());
}

TEST_F(TFBootTest, WaitLimitEndsTheWaitAndLeavesTheUpdaterRunning)
{
    const FakeUpdater updater = writeFakeUpdater(workspace.path(), QStringLiteral("0.5"));
    useEcho(FakeIcmpEcho::answering());
    useWaitLimit(100);
    showDialog();
    ASSERT_TRUE(clickAndWait(3000));
    EXPECT_EQ(dialog->phase(), TFBoot::Phase::Idle);
    EXPECT_TRUE(updateButton()->isEnabled());
    EXPECT_EQ(status(), text(Text_Status_No_Longer_Waiting));
    EXPECT_TRUE(prompter.messages().isEmpty());
    EXPECT_FALSE(QFile::exists(updater.doneFile));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(updater.doneFile); }, 5000));
}

TEST_F(TFBootTest, MissingUpdaterIsNamedInAnError)
{
    useEcho(FakeIcmpEcho::answering());
    showDialog();
    ASSERT_TRUE(clickAndWait());
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages().first().kind, FakePrompter::Error);
    EXPECT_EQ(prompter.lastText(),
              text(Text_Updater_Not_Found) + QDir::toNativeSeparators(updaterProgramPath(context.Exe_Dir)));
    EXPECT_TRUE(QFile::exists(descriptorPath()));
    EXPECT_TRUE(updateButton()->isEnabled());
}

TEST_F(TFBootTest, UnwritableDescriptorIsReportedAndTheUpdaterNotStarted)
{
    const FakeUpdater updater = writeFakeUpdater(workspace.path());
    ASSERT_TRUE(QDir().mkdir(descriptorPath())); // a folder where the file should go
    useEcho(FakeIcmpEcho::answering());
    const int *starts = useRecordingLauncher();
    showDialog();
    ASSERT_TRUE(clickAndWait());
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages().first().kind, FakePrompter::Error);
    const QString expectedStart =
        text(Text_Descriptor_Not_Written) + QDir::toNativeSeparators(descriptorPath()) + QLatin1Char('\n');
    EXPECT_TRUE(prompter.lastText().startsWith(expectedStart)) << prompter.lastText().toStdString();
    EXPECT_GT(prompter.lastText().size(), expectedStart.size()); // and the reason
    EXPECT_EQ(*starts, 0);
    EXPECT_FALSE(QFile::exists(updater.argsFile));
}

TEST_F(TFBootTest, CancelDuringTheCheckStartsNothing)
{
    const FakeUpdater updater = writeFakeUpdater(workspace.path());
    FakeIcmpEcho *echo = useEcho(FakeIcmpEcho::silent());
    const int *starts = useRecordingLauncher();
    showDialog();
    updateButton()->click();
    control<QPushButton>("Btn_Cancel")->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(dialog->phase(), TFBoot::Phase::Idle);
    EXPECT_FALSE(echo->answerPending());
    // Even a reply that arrives after the cancel starts nothing.
    echo->deliverNow();
    QCoreApplication::processEvents();
    EXPECT_EQ(*starts, 0);
    EXPECT_TRUE(prompter.messages().isEmpty());
    EXPECT_FALSE(QFile::exists(descriptorPath()));
    EXPECT_FALSE(QFile::exists(updater.argsFile));
}

} // namespace
} // namespace mirandel::test
