#include "core/app/app_context.h"
#include "core/lang/text_ids.h"
#include "core/params/par_gen.h"
#include "gui/fake_prompter.h"
#include "gui/params/category_panel.h"
#include "gui/params/tf_par_gen.h"

#include <QApplication>
#include <QClipboard>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include "test_files.h"
#include "test_pki.h"

using namespace mirandel;
using mirandel::test::readAll;

namespace {

QString name(const char *text)
{
    return QString::fromLatin1(text);
}

const char *const kIecAddressFields[] = {
    "E_IEC61850_Server_IP1", "E_IEC61850_Server_IP2", "E_IEC61850_Server_IP3", "E_IEC61850_Server_IP4",
    "E_IEC61850_Server_SM1", "E_IEC61850_Server_SM2", "E_IEC61850_Server_SM3", "E_IEC61850_Server_SM4",
    "E_IEC61850_Server_GAT1", "E_IEC61850_Server_GAT2", "E_IEC61850_Server_GAT3", "E_IEC61850_Server_GAT4",
};

const char *const kTlsControls[] = {
    "L_TLS_Server_Key", "E_TLS_Server_Key", "L_TLS_Server_Key_Pass", "E_TLS_Server_Key_Pass",
    "L_TLS_Server_Server_Cert", "E_TLS_Server_Server_Cert", "L_TLS_Server_Root_Cert", "E_TLS_Server_Root_Cert",
    "CB_TLS_Server_En_Known_Cert",
};

class ParGenDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        context.Project_Dir = dir.path();
        context.ParGen_File = dir.filePath(QStringLiteral("ParGen.xml"));
        dialog = std::make_unique<TFParGen>(context, prompter);
    }

    void TearDown() override { dialog.reset(); }

    // Shows the dialog (its show step runs) and makes it the active window so
    // that focus moves like on a desktop.
    void open()
    {
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        QCoreApplication::processEvents();
    }

    template <typename T = QWidget>
    T *get(const char *objectName)
    {
        T *widget = dialog->findChild<T *>(name(objectName));
        EXPECT_NE(widget, nullptr) << objectName;
        return widget;
    }

    QLineEdit *edit(const char *objectName) { return get<QLineEdit>(objectName); }
    CategoryPanel *panel(const char *objectName) { return get<CategoryPanel>(objectName); }

    // A click on the box's indicator.
    void click(const char *objectName)
    {
        QCheckBox *box = get<QCheckBox>(objectName);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    }

    void writeFile(const QByteArray &data)
    {
        QFile file(context.ParGen_File);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
    }

    QTemporaryDir dir;
    AppContext context;
    test::FakePrompter prompter;
    std::unique_ptr<TFParGen> dialog;
};

TEST_F(ParGenDialog, NewProjectShowsTheDefaultsInTheirPlaces)
{
    open();
    const struct {
        const char *field;
        const char *text;
    } texts[] = {
        {"E_IEC61850_Server_IP1", "192"}, {"E_IEC61850_Server_IP4", "10"}, {"E_IEC61850_Server_SM4", "0"},
        {"E_IEC61850_Server_GAT4", "1"}, {"E_IEC61850_Server_Port", "102"}, {"E_IEC61850_Name_of_Server", "Gateway"},
        {"E_EthConn_Pri_DNS_IP1", "8"}, {"E_EthConn_Sec_DNS_IP4", "8"}, {"E_DeviceNet_Slave_IDDevice", "10"},
        {"E_DeviceNet_Slave_NumByteIn", "455"}, {"E_DeviceNet_Slave_NumByteOut", "455"}, {"E_NTP_Poll_Time", ""},
        {"E_IEC61850_Server_Password", ""}, {"E_EthConn_Device_Name", ""},
    };
    for (const auto &t : texts)
        EXPECT_EQ(edit(t.field)->text(), name(t.text)) << t.field;
    for (const char *box : {"CB_IEC61850_Server_En_GAT", "CB_EthConn_Enable_DNS", "CB_EthConn_En_DHCP_Cable",
                            "CB_EthConn_En_DHCP_WiFi", "CB_TLS_Server_Enable"})
        EXPECT_FALSE(get<QCheckBox>(box)->isChecked()) << box;
    EXPECT_EQ(get<QComboBox>("CB_DeviceNet_Slave_Baudrate")->currentText(), QStringLiteral("500K"));
    EXPECT_FALSE(get("CB_EthConn_En_DHCP_WiFi")->isEnabled());
    EXPECT_TRUE(get<QPlainTextEdit>("E_TLS_Server_Key")->toPlainText().isEmpty());

    // Window, bands and panels.
    EXPECT_EQ(dialog->width(), 460);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Set Communication"));
    EXPECT_EQ(get<QLabel>("L_SW_Desc")->text(), QStringLiteral("Set Communication Setting"));
    EXPECT_EQ(get("Btn_OK")->geometry(), QRect(219, 6, 110, 28));
    EXPECT_EQ(get("Btn_Cancel")->geometry(), QRect(335, 6, 110, 28));
    const struct {
        const char *panel;
        const char *caption;
        int height;
    } panels[] = {
        {"CP_Ethernet_Connection", "1. Ethernet Connection", 206},
        {"CP_IEC61850_Server", "2. IEC61850 Server", 206},
        {"CP_TLS_Server", "3. TLS (Transport Layer Security) Server", 65},
        {"CP_DeviceNet_Slave", "4. DeviceNet Slave", 150},
        {"CP_NTP", "5. NTP (Network Time Protocol)", 94},
    };
    int top = 0;
    for (const auto &p : panels) {
        SCOPED_TRACE(p.panel);
        EXPECT_EQ(panel(p.panel)->caption(), name(p.caption));
        EXPECT_EQ(panel(p.panel)->height(), p.height);
        EXPECT_EQ(panel(p.panel)->y(), top);
        top += p.height;
    }

    // Controls on the grid, relative to the panel's surface.
    EXPECT_EQ(get("E_IEC61850_Server_IP1")->geometry(), QRect(191, 9, 55, 21));
    EXPECT_EQ(get("E_IEC61850_Server_GAT4")->geometry(), QRect(374, 65, 55, 21));
    EXPECT_EQ(get("CB_IEC61850_Server_En_GAT")->geometry(), QRect(14, 68, 175, 17));
    EXPECT_EQ(get("E_EthConn_Sec_DNS_IP4")->geometry(), QRect(374, 149, 55, 21));
    EXPECT_EQ(get("E_TLS_Server_Key")->geometry(), QRect(191, 37, 238, 23));
    EXPECT_EQ(get("CB_DeviceNet_Slave_Baudrate")->geometry(), QRect(191, 37, 238, 22));
    EXPECT_EQ(get("L_NTP_Poll_Time")->pos(), QPoint(14, 40));
    EXPECT_EQ(get("E_IEC61850_Server_Port")->toolTip(),
              QStringLiteral("Insert the Communication Port to use for IEC61850, from 0 to 65535 but different from 10000"));
}

TEST_F(ParGenDialog, TabOrderFollowsThePanels)
{
    const char *const order[] = {
        "E_EthConn_Device_Name", "CB_EthConn_En_DHCP_Cable", "CB_EthConn_En_DHCP_WiFi", "CB_EthConn_Enable_DNS",
        "E_EthConn_Pri_DNS_IP1", "E_EthConn_Pri_DNS_IP2", "E_EthConn_Pri_DNS_IP3", "E_EthConn_Pri_DNS_IP4",
        "E_EthConn_Sec_DNS_IP1", "E_EthConn_Sec_DNS_IP2", "E_EthConn_Sec_DNS_IP3", "E_EthConn_Sec_DNS_IP4",
        "E_IEC61850_Server_IP1", "E_IEC61850_Server_IP2", "E_IEC61850_Server_IP3", "E_IEC61850_Server_IP4",
        "E_IEC61850_Server_SM1", "E_IEC61850_Server_SM2", "E_IEC61850_Server_SM3", "E_IEC61850_Server_SM4",
        "CB_IEC61850_Server_En_GAT", "E_IEC61850_Server_GAT1", "E_IEC61850_Server_GAT2", "E_IEC61850_Server_GAT3",
        "E_IEC61850_Server_GAT4", "E_IEC61850_Server_Port", "E_IEC61850_Server_Password", "E_IEC61850_Name_of_Server",
        "CB_TLS_Server_Enable", "E_TLS_Server_Key", "E_TLS_Server_Key_Pass", "E_TLS_Server_Server_Cert",
        "E_TLS_Server_Root_Cert", "CB_TLS_Server_En_Known_Cert", "E_DeviceNet_Slave_IDDevice",
        "CB_DeviceNet_Slave_Baudrate", "E_DeviceNet_Slave_NumByteIn", "E_DeviceNet_Slave_NumByteOut",
        "E_NTP_Server_URL", "E_NTP_Poll_Time", "Btn_OK", "Btn_Cancel",
    };
    QStringList chain;
    QWidget *widget = get(order[0]);
    for (int guard = 0; guard < 1000 && chain.size() < qsizetype(std::size(order)); ++guard) {
        if ((widget->focusPolicy() & Qt::TabFocus) && !widget->objectName().isEmpty()
            && !chain.contains(widget->objectName()))
            chain.append(widget->objectName());
        widget = widget->nextInFocusChain();
    }
    QStringList expected;
    for (const char *n : order)
        expected.append(name(n));
    EXPECT_EQ(chain, expected);
}

TEST_F(ParGenDialog, DhcpDisablesTheOwnAddressFields)
{
    open();
    click("CB_EthConn_En_DHCP_Cable");
    for (const char *field : kIecAddressFields)
        EXPECT_FALSE(get(field)->isEnabled()) << field;
    for (const char *usable : {"CB_IEC61850_Server_En_GAT", "E_IEC61850_Server_Port", "E_IEC61850_Name_of_Server",
                               "E_EthConn_Pri_DNS_IP1"})
        EXPECT_TRUE(get(usable)->isEnabled()) << usable;
    click("CB_EthConn_En_DHCP_Cable");
    for (const char *field : kIecAddressFields)
        EXPECT_TRUE(get(field)->isEnabled()) << field;
}

TEST_F(ParGenDialog, TlsSwitchHidesItsControlsAndKeepsTheirValues)
{
    open();
    edit("E_NTP_Poll_Time")->setText(QStringLiteral("60"));
    click("CB_TLS_Server_Enable");
    EXPECT_EQ(panel("CP_TLS_Server")->height(), 277);
    EXPECT_EQ(panel("CP_DeviceNet_Slave")->y(), 206 + 206 + 277);
    for (const char *control : kTlsControls)
        EXPECT_FALSE(get(control)->isHidden()) << control;

    auto *key = get<QPlainTextEdit>("E_TLS_Server_Key");
    QTest::keyClicks(key, QStringLiteral("KEY"));
    QTest::keyClick(key, Qt::Key_Return);
    QTest::keyClicks(key, QStringLiteral("DATA"));
    edit("E_TLS_Server_Key_Pass")->setText(QStringLiteral("secret"));

    click("CB_TLS_Server_Enable");
    EXPECT_EQ(panel("CP_TLS_Server")->height(), 65);
    for (const char *control : kTlsControls)
        EXPECT_TRUE(get(control)->isHidden()) << control;

    QTest::mouseClick(get<QWidget>("Btn_OK"), Qt::LeftButton);
    ASSERT_EQ(dialog->result(), QDialog::Accepted) << prompter.lastText().toStdString();
    ParGen saved;
    ASSERT_TRUE(loadParGen(context.ParGen_File, saved).ok());
    EXPECT_FALSE(saved.flag(Par_TLS_Server_Enable));
    EXPECT_EQ(saved.text(Par_TLS_Server_Key), QStringLiteral("KEY\nDATA"));
    EXPECT_EQ(saved.text(Par_TLS_Server_Key_Password), QStringLiteral("secret"));
}

TEST_F(ParGenDialog, FullStopMovesAlongTheOctetChains)
{
    open();
    edit("E_IEC61850_Server_IP2")->setText(QStringLiteral("0"));
    edit("E_IEC61850_Server_IP1")->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(nullptr, QStringLiteral("192.168"));
    EXPECT_EQ(edit("E_IEC61850_Server_IP1")->text(), QStringLiteral("192"));
    EXPECT_EQ(edit("E_IEC61850_Server_IP2")->text(), QStringLiteral("168"));

    // The chain runs on from IP4 into the mask.
    edit("E_IEC61850_Server_IP4")->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(nullptr, QStringLiteral("7.255"));
    EXPECT_EQ(edit("E_IEC61850_Server_IP4")->text(), QStringLiteral("7"));
    EXPECT_EQ(edit("E_IEC61850_Server_SM1")->text(), QStringLiteral("255"));

    // Every link of both chains, each walked by typing "1." field after field.
    const char *const dnsChain[] = {"E_EthConn_Pri_DNS_IP1", "E_EthConn_Pri_DNS_IP2", "E_EthConn_Pri_DNS_IP3",
                                    "E_EthConn_Pri_DNS_IP4", "E_EthConn_Sec_DNS_IP1", "E_EthConn_Sec_DNS_IP2",
                                    "E_EthConn_Sec_DNS_IP3", "E_EthConn_Sec_DNS_IP4"};
    const auto walk = [this](const char *const *chain, size_t size) {
        edit(chain[0])->setFocus(Qt::TabFocusReason);
        for (size_t i = 0; i < size; ++i) {
            SCOPED_TRACE(chain[i]);
            ASSERT_EQ(QApplication::focusWidget(), edit(chain[i]));
            QTest::keyClicks(nullptr, QStringLiteral("1."));
            EXPECT_EQ(edit(chain[i])->text(), QStringLiteral("1"));
        }
        EXPECT_EQ(QApplication::focusWidget(), edit(chain[size - 1]));
    };
    walk(kIecAddressFields, std::size(kIecAddressFields));
    walk(dnsChain, std::size(dnsChain));

    // At the end of a chain a full stop does nothing; letters are typed.
    for (const char *last : {"E_IEC61850_Server_GAT4", "E_EthConn_Sec_DNS_IP4"}) {
        SCOPED_TRACE(last);
        QLineEdit *field = edit(last);
        field->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(nullptr, QStringLiteral("9.x"));
        EXPECT_EQ(field->text(), QStringLiteral("9x"));
        EXPECT_EQ(QApplication::focusWidget(), field);
    }

    // A disabled next field cannot take the focus: the full stop is dropped.
    click("CB_EthConn_En_DHCP_Cable");
    edit("E_EthConn_Sec_DNS_IP3")->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(nullptr, QStringLiteral("4.4"));
    EXPECT_EQ(edit("E_EthConn_Sec_DNS_IP3")->text(), QStringLiteral("4"));
    EXPECT_EQ(edit("E_EthConn_Sec_DNS_IP4")->text(), QStringLiteral("4"));
}

TEST_F(ParGenDialog, ChangeFlagAndCancel)
{
    writeFile("<Par_Gen><TLS_Server_Enable>1</TLS_Server_Enable><Eth_Conn_DHCP_Cable>1</Eth_Conn_DHCP_Cable>"
              "<DNETS_BAUDRATE>1</DNETS_BAUDRATE></Par_Gen>");
    const QByteArray before = readAll(context.ParGen_File);

    // Open and close untouched: no question.
    open();
    EXPECT_FALSE(dialog->isChanged());
    QTest::mouseClick(get<QWidget>("Btn_Cancel"), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(prompter.messages().isEmpty());

    // One click on the Gateway box is a change: Cancel asks, No stays.
    open();
    EXPECT_FALSE(dialog->isChanged());
    click("CB_IEC61850_Server_En_GAT");
    EXPECT_TRUE(dialog->isChanged());
    prompter.setNextAnswer(false);
    QTest::mouseClick(get<QWidget>("Btn_Cancel"), Qt::LeftButton);
    ASSERT_EQ(prompter.texts(), QStringList{QStringLiteral("Do you want to exit without saving changes?")});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(get<QCheckBox>("CB_IEC61850_Server_En_GAT")->isChecked());

    prompter.setNextAnswer(true);
    QTest::mouseClick(get<QWidget>("Btn_Cancel"), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);

    // The title bar's close asks nothing; the file is untouched, and the next
    // opening shows the file again.
    prompter.clear();
    open();
    EXPECT_FALSE(get<QCheckBox>("CB_IEC61850_Server_En_GAT")->isChecked());
    edit("E_IEC61850_Server_Port")->setText(QStringLiteral("1"));
    EXPECT_TRUE(dialog->isChanged());
    dialog->close();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(prompter.messages().isEmpty());
    EXPECT_EQ(readAll(context.ParGen_File), before);
}

TEST_F(ParGenDialog, OkChecksThenSaves)
{
    open();
    QTest::mouseClick(get<QWidget>("Btn_OK"), Qt::LeftButton);
    EXPECT_EQ(prompter.texts(),
              QStringList{QStringLiteral("Error NTP!! Poll Time must be between 0 and 10000000 seconds")});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(QFile::exists(context.ParGen_File));

    prompter.clear();
    edit("E_NTP_Poll_Time")->setText(QStringLiteral(" 0x10"));
    QTest::mouseClick(get<QWidget>("Btn_OK"), Qt::LeftButton);
    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.lastText().toStdString();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    ParGen saved;
    ASSERT_TRUE(loadParGen(context.ParGen_File, saved).ok());
    ParGen expected = ParGen::fileMissing();
    expected.setText(Par_NTP_Poll_Time, QStringLiteral(" 0x10"));
    EXPECT_EQ(saved, expected);
}

TEST_F(ParGenDialog, AFileShowsAndSavesBackUnchanged)
{
    // Fallback elements, Wi-Fi DHCP on, a baud index without an item, a
    // password of blanks and a multi-line key go through the controls and
    // come out as the fixture of a saved file.
    ASSERT_TRUE(QFile::copy(QStringLiteral(MIRANDEL_FIXTURES "/params/legacy_par_gen.xml"), context.ParGen_File));
    open();
    EXPECT_EQ(edit("E_IEC61850_Server_IP1")->text(), QStringLiteral("10"));
    EXPECT_FALSE(edit("E_IEC61850_Server_IP1")->isEnabled());
    EXPECT_EQ(panel("CP_TLS_Server")->height(), 277);
    EXPECT_EQ(get<QComboBox>("CB_DeviceNet_Slave_Baudrate")->currentIndex(), -1);
    EXPECT_FALSE(get<QCheckBox>("CB_EthConn_En_DHCP_WiFi")->isChecked());
    EXPECT_FALSE(dialog->isChanged());

    QTest::mouseClick(get<QWidget>("Btn_OK"), Qt::LeftButton);
    ASSERT_EQ(dialog->result(), QDialog::Accepted) << prompter.lastText().toStdString();
    const QByteArray expected = readAll(QStringLiteral(MIRANDEL_FIXTURES "/params/legacy_par_gen_saved.xml"));
    EXPECT_EQ(readAll(context.ParGen_File).toStdString(), expected.toStdString());
}

TEST_F(ParGenDialog, CharacterLimitsRestrictTypingOnly)
{
    const QString longName = QStringLiteral("A name longer than fifteen");
    writeFile("<Par_Gen><IEC61850_Server_Name_Of_Server>" + longName.toUtf8() + "</IEC61850_Server_Name_Of_Server></Par_Gen>");
    open();
    QLineEdit *name = edit("E_IEC61850_Name_of_Server");
    EXPECT_EQ(name->text(), longName);
    name->setFocus(Qt::OtherFocusReason);
    name->end(false);
    QTest::keyClicks(name, QStringLiteral("x"));
    EXPECT_EQ(name->text(), longName);
    QTest::keyClick(name, Qt::Key_Backspace);
    EXPECT_EQ(name->text().toStdString(), longName.chopped(1).toStdString());

    QLineEdit *host = edit("E_EthConn_Device_Name");
    host->clear();
    QTest::keyClicks(host, QString(40, QLatin1Char('h')));
    EXPECT_EQ(host->text(), QString(31, QLatin1Char('h')));
}

TEST_F(ParGenDialog, UnreadableFileIsReportedAndKeptOnSave)
{
    const QByteArray broken("<Par_Gen><DNETS_ID_DEV>5</Par_Gen>");
    writeFile(broken);
    open();
    QCoreApplication::processEvents();
    ASSERT_EQ(prompter.messages().size(), 1);
    const QString message = prompter.lastText();
    EXPECT_TRUE(message.startsWith(context.text(Text_ParGen_Unreadable)));
    EXPECT_TRUE(message.contains(QStringLiteral("ParGen.xml")));
    EXPECT_TRUE(message.contains(QStringLiteral("line 1, column")));
    EXPECT_EQ(edit("E_DeviceNet_Slave_IDDevice")->text(), QStringLiteral("10"));

    prompter.clear();
    edit("E_NTP_Poll_Time")->setText(QStringLiteral("60"));
    QTest::mouseClick(get<QWidget>("Btn_OK"), Qt::LeftButton);
    ASSERT_EQ(dialog->result(), QDialog::Accepted) << prompter.lastText().toStdString();
    EXPECT_EQ(readAll(context.ParGen_File + QStringLiteral(".bad")), broken);
    ParGen saved;
    EXPECT_TRUE(loadParGen(context.ParGen_File, saved).ok());
}

TEST_F(ParGenDialog, FailedWriteKeepsTheDialogOpen)
{
    context.ParGen_File = dir.filePath(QStringLiteral("gone/ParGen.xml"));
    open();
    edit("E_NTP_Poll_Time")->setText(QStringLiteral("60"));
    QTest::mouseClick(get<QWidget>("Btn_OK"), Qt::LeftButton);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages().first().kind, test::FakePrompter::Error);
    EXPECT_TRUE(prompter.lastText().startsWith(context.text(Text_ParGen_Not_Saved)));
    EXPECT_TRUE(prompter.lastText().contains(QStringLiteral("gone")));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(edit("E_NTP_Poll_Time")->text(), QStringLiteral("60"));
}

TEST_F(ParGenDialog, HeaderClickCollapsesAndRelayoutKeepsItCollapsed)
{
    open();
    QWidget *header = get("CP_Ethernet_Connection_Header");
    QTest::mouseClick(header, Qt::LeftButton);
    EXPECT_EQ(panel("CP_Ethernet_Connection")->height(), 24);
    EXPECT_EQ(panel("CP_IEC61850_Server")->y(), 24);

    click("CB_TLS_Server_Enable");
    EXPECT_EQ(panel("CP_Ethernet_Connection")->height(), 24);
    EXPECT_EQ(panel("CP_DeviceNet_Slave")->y(), 24 + 206 + 277);

    QTest::mouseClick(header, Qt::LeftButton);
    EXPECT_EQ(panel("CP_Ethernet_Connection")->height(), 206);
    EXPECT_EQ(panel("CP_IEC61850_Server")->y(), 206);
}

TEST_F(ParGenDialog, ResizingChangesTheHeightOnly)
{
    open();
    dialog->resize(800, 520);
    EXPECT_EQ(dialog->width(), 460);
    EXPECT_EQ(dialog->height(), 520);
}

TEST_F(ParGenDialog, WheelScrollsThePanelGroupOnlyOverIt)
{
    open();
    QScrollBar *bar = get<QScrollArea>("CPG")->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    auto turn = [](QWidget *target, int delta) {
        const QPoint local = target->rect().center();
        QWheelEvent event(local, target->mapToGlobal(local), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    };

    turn(get("P_Title"), -120);
    turn(get("P_Button"), -120);
    EXPECT_EQ(bar->value(), 0);

    // Over the baud-rate combo box the group scrolls and the value stays.
    auto *combo = get<QComboBox>("CB_DeviceNet_Slave_Baudrate");
    turn(combo, -120);
    EXPECT_EQ(bar->value(), qMin(bar->maximum(), QApplication::wheelScrollLines() * bar->singleStep()));
    EXPECT_EQ(combo->currentIndex(), 2);
    turn(get("CPG")->findChild<QWidget *>(QStringLiteral("qt_scrollarea_viewport")), 120);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_FALSE(dialog->isChanged());
}

TEST_F(ParGenDialog, LanguageChangeKeepsThePanelCaptions)
{
    context.texts.setText(591, QStringLiteral("Indirizzo IP"));
    context.texts.setText(406, QStringLiteral("Server"));
    dialog->Set_Lang();
    EXPECT_EQ(get<QLabel>("L_IEC61850_Server_IP")->text(), QStringLiteral("Indirizzo IP"));
    EXPECT_EQ(panel("CP_IEC61850_Server")->caption(), QStringLiteral("2. IEC61850 Server"));
}

// ---------------------------------------------------------------- TLS status lines

class ParGenTlsStatus : public ParGenDialog {
protected:
    static const test::TestIdentity &root()
    {
        static const test::TestIdentity id = test::makeIdentity({.commonName = QStringLiteral("Root"), .ca = true});
        return id;
    }
    static const test::TestIdentity &server()
    {
        static const test::TestIdentity id =
            test::makeIdentity({.commonName = QStringLiteral("gateway"), .serial = 2, .issuer = &root()});
        return id;
    }
    static const test::TestIdentity &other()
    {
        static const test::TestIdentity id = test::makeIdentity({.commonName = QStringLiteral("other"), .serial = 3});
        return id;
    }

    QPlainTextEdit *text(const char *objectName) { return get<QPlainTextEdit>(objectName); }
    QString line(const char *objectName) { return get<QLabel>(objectName)->property("statusLine").toString(); }
    int level(const char *objectName) { return get<QLabel>(objectName)->property("statusLevel").toInt(); }
    // Lets the coalesced status update run.
    void settle() { QCoreApplication::processEvents(); }
};

TEST_F(ParGenTlsStatus, LinesShowSubjectAndExpiryOrTheProblemAsTheUserTypes)
{
    open();
    click("CB_TLS_Server_Enable");
    settle();
    EXPECT_EQ(line("L_TLS_Server_Key_Status"), QStringLiteral("Missing: TLS is on and the field is empty"));
    EXPECT_EQ(level("L_TLS_Server_Key_Status"), int(StatusLevel::Warning));
    EXPECT_TRUE(line("L_TLS_Server_Root_Cert_Status").isEmpty());

    text("E_TLS_Server_Server_Cert")->setPlainText(server().certPem);
    text("E_TLS_Server_Root_Cert")->setPlainText(root().certPem);
    text("E_TLS_Server_Key")->setPlainText(other().keyPem);
    settle();
    const QString expiry = QDateTime::currentDateTimeUtc().addDays(365).toString(QStringLiteral("yyyy-MM-dd"));
    EXPECT_EQ(line("L_TLS_Server_Server_Cert_Status"), QStringLiteral("gateway - expires ") + expiry);
    EXPECT_EQ(line("L_TLS_Server_Key_Status"), QStringLiteral("The key does not belong to the server certificate"));
    EXPECT_EQ(level("L_TLS_Server_Key_Status"), int(StatusLevel::Severe));
    EXPECT_TRUE(get<QLabel>("L_TLS_Server_Server_Cert_Status")->toolTip().contains(QStringLiteral("SHA-256: ")));

    // The right key: not a key until its last line is typed.
    const QString endLine = QStringLiteral("-----END PRIVATE KEY-----");
    QString start = server().keyPem;
    start.chop(endLine.size() + 1);
    text("E_TLS_Server_Key")->setPlainText(start);
    settle();
    EXPECT_EQ(line("L_TLS_Server_Key_Status"), QStringLiteral("Not a PEM block of the right kind"));
    text("E_TLS_Server_Key")->setFocus();
    text("E_TLS_Server_Key")->moveCursor(QTextCursor::End);
    QTest::keyClicks(text("E_TLS_Server_Key"), endLine);
    settle();
    EXPECT_EQ(line("L_TLS_Server_Key_Status"), QStringLiteral("EC key, 256 bits"));
    EXPECT_EQ(level("L_TLS_Server_Key_Status"), int(StatusLevel::Plain));

    // An encrypted key follows the password field.
    text("E_TLS_Server_Key")->setPlainText(test::encryptedKeyPem(server(), "secret"));
    edit("E_TLS_Server_Key_Pass")->setText(QStringLiteral("secre"));
    settle();
    EXPECT_EQ(line("L_TLS_Server_Key_Status"), QStringLiteral("The password does not open the key"));
    QTest::keyClicks(edit("E_TLS_Server_Key_Pass"), QStringLiteral("t"));
    settle();
    EXPECT_EQ(line("L_TLS_Server_Key_Status"), QStringLiteral("EC key, 256 bits, encrypted"));

    // Warnings never block OK.
    edit("E_NTP_Poll_Time")->setText(QStringLiteral("60"));
    text("E_TLS_Server_Root_Cert")->setPlainText(QStringLiteral("pasted nonsense"));
    settle();
    EXPECT_EQ(line("L_TLS_Server_Root_Cert_Status"), QStringLiteral("Not a PEM block of the right kind"));
    QTest::mouseClick(get<QWidget>("Btn_OK"), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted) << prompter.lastText().toStdString();
}

TEST_F(ParGenTlsStatus, ShowingTheDialogInspectsTheSavedTexts)
{
    ParGen values = ParGen::fileMissing();
    values.setFlag(Par_TLS_Server_Enable, true);
    values.setText(Par_TLS_Server_Key, other().keyPem);
    values.setText(Par_TLS_Server_Server_Certificate, server().certPem);
    QString error;
    ASSERT_TRUE(saveParGen(values, context.ParGen_File, &error)) << error.toStdString();
    open();
    EXPECT_EQ(line("L_TLS_Server_Key_Status"), QStringLiteral("The key does not belong to the server certificate"));
    EXPECT_FALSE(dialog->isChanged());
}

TEST_F(ParGenTlsStatus, LoadFromFileReadsPemAndDerAndRefusesOtherFiles)
{
    const QString pem = dir.filePath(QStringLiteral("server.pem"));
    const QString der = dir.filePath(QStringLiteral("server.der"));
    const QString keyDer = dir.filePath(QStringLiteral("server.key"));
    const QString junk = dir.filePath(QStringLiteral("notes.txt"));
    test::writeAll(pem, server().certPem.toUtf8());
    test::writeAll(der, server().certDer);
    test::writeAll(keyDer, server().keyDer);
    test::writeAll(junk, "hello");
    QString chosen;
    QString filter;
    dialog->chooseFile = [&](QWidget *, const QString &f) {
        filter = f;
        return chosen;
    };
    open();
    click("CB_TLS_Server_Enable");

    const struct {
        const char *button;
        const char *field;
        QString file;
        QString expected;
    } loads[] = {
        {"Btn_TLS_Server_Server_Cert_Load", "E_TLS_Server_Server_Cert", pem, server().certPem},
        {"Btn_TLS_Server_Root_Cert_Load", "E_TLS_Server_Root_Cert", der, server().certPem},
        {"Btn_TLS_Server_Key_Load", "E_TLS_Server_Key", keyDer, server().keyPem},
    };
    for (const auto &l : loads) {
        SCOPED_TRACE(l.button);
        chosen = l.file;
        QTest::mouseClick(get<QWidget>(l.button), Qt::LeftButton);
        EXPECT_EQ(text(l.field)->toPlainText(), l.expected);
    }
    EXPECT_TRUE(filter.contains(QStringLiteral("*.pem *.crt *.cer *.der *.key"))) << filter.toStdString();
    EXPECT_TRUE(dialog->isChanged());
    EXPECT_TRUE(prompter.messages().isEmpty());
    settle();
    EXPECT_EQ(line("L_TLS_Server_Key_Status"), QStringLiteral("EC key, 256 bits"));

    // A file that is neither, or a cancelled choice, leaves the field as it was.
    chosen = junk;
    QTest::mouseClick(get<QWidget>("Btn_TLS_Server_Key_Load"), Qt::LeftButton);
    EXPECT_EQ(text("E_TLS_Server_Key")->toPlainText(), server().keyPem);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.lastText().startsWith(QStringLiteral("The file ") + QDir::toNativeSeparators(junk)
                                               + QStringLiteral(" holds no certificate or key")))
        << prompter.lastText().toStdString();
    chosen = dir.path();
    QTest::mouseClick(get<QWidget>("Btn_TLS_Server_Key_Load"), Qt::LeftButton);
    EXPECT_TRUE(prompter.lastText().endsWith(QStringLiteral("(not a regular file).")))
        << prompter.lastText().toStdString();
    chosen.clear();
    QTest::mouseClick(get<QWidget>("Btn_TLS_Server_Key_Load"), Qt::LeftButton);
    EXPECT_EQ(text("E_TLS_Server_Key")->toPlainText(), server().keyPem);
    EXPECT_EQ(prompter.messages().size(), 2);
}

} // namespace

namespace {

// A control character pasted into a field is dropped where it is entered,
// so the saved file is one the next reader accepts.
TEST_F(ParGenDialog, PastedControlCharactersAreDroppedFromEveryField)
{
    open();
    QApplication::clipboard()->setText(u"Gate\u0001way\u001F"_qs);
    auto *name = edit("E_IEC61850_Name_of_Server");
    name->selectAll();
    name->paste();
    EXPECT_EQ(name->text(), u"Gateway"_qs);
    EXPECT_EQ(name->cursorPosition(), 7);

    click("CB_TLS_Server_Enable");
    auto *key = get<QPlainTextEdit>("E_TLS_Server_Key");
    key->insertPlainText(u"KEY\u0002\nDA\u0007TA"_qs);
    EXPECT_EQ(key->toPlainText(), u"KEY\nDATA"_qs);
    click("CB_TLS_Server_Enable"); // off again: the key needs no certificate then
    edit("E_NTP_Poll_Time")->setText(QStringLiteral("60"));

    QTest::mouseClick(get<QWidget>("Btn_OK"), Qt::LeftButton);
    ASSERT_EQ(dialog->result(), QDialog::Accepted) << prompter.lastText().toStdString();
    ParGen saved;
    ASSERT_TRUE(loadParGen(context.ParGen_File, saved).ok()) << readAll(context.ParGen_File).constData();
    EXPECT_EQ(saved.text(Par_IEC61850_Server_Name_Of_Server), u"Gateway"_qs);
    EXPECT_EQ(saved.text(Par_TLS_Server_Key), u"KEY\nDATA"_qs);
}

} // namespace

namespace {

TEST_F(ParGenDialog, OpensWithTheFocusInTheFirstField)
{
    // The first field of the first panel (Ethernet connection), not OK.
    open();
    EXPECT_EQ(dialog->focusWidget(), edit("E_EthConn_Device_Name"));
    edit("E_IEC61850_Server_Port")->setFocus();
    dialog->hide();
    open();
    EXPECT_EQ(dialog->focusWidget(), edit("E_EthConn_Device_Name"));
}

} // namespace
