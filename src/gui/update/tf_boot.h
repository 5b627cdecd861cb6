#pragma once
// TFBoot: the device update dialog. The user enters the device's IPv4
// address in four octet fields, picks what to update and whether the updater
// reads it back, and presses Btn_Update: the dialog checks with ICMP echoes
// that the address answers, remembers the choices in the AppContext, writes
// Ethernet_Update.xml into the workspace root and starts the external
// updater, waiting until it ends or the wait limit passes.
//
// Nothing here blocks the event loop: the echo and the wait for the updater
// report through signals. While either runs the dialog says so in L_Status,
// Btn_Update and the input fields are disabled (no second check or updater
// can start), and while the updater is waited for the dialog cannot be
// closed, so the image files it transfers stay as they are.

#include "core/update/device_ping.h"
#include "core/update/icmp_echo.h"
#include "core/update/update_descriptor.h"
#include "core/update/updater_launcher.h"
#include "gui/common/dialog_chrome.h"

#include <QList>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace mirandel {

class TFBoot : public BaseDialog {
    Q_OBJECT
public:
    TFBoot(AppContext &context, Prompter &prompter, QWidget *parent = nullptr);
    ~TFBoot() override;
    void Set_Lang() override;

    // 0 serial, 1 Ethernet (UDP), 2 USB; this model always uses 1.
    int Form_Type = 1;

    // Services; the constructor installs the system's. Replacing one while
    // a check or an updater runs is refused.
    void setIcmpEcho(std::unique_ptr<IcmpEcho> echo);
    void setUpdaterLauncher(std::unique_ptr<UpdaterLauncher> launcher);
    UpdaterLauncher *updaterLauncher() const { return m_launcher.get(); }
    // How long the reachability check tries (default: about 5 s, 400 ms per
    // echo); applies from the next check on.
    void setPingTiming(const PingTiming &timing);
    PingTiming pingTiming() const { return m_pingTiming; }

    enum class Phase { Idle, Pinging, WaitingForUpdater };
    Phase phase() const { return m_phase; }
    // Result of the last echo: 0 none, 1 a reply with data, 2 without data.
    int ping_res() const { return m_ping->ping_res(); }

    // The button's action: starts the check of the address typed.
    void Btn_UpdateClick();
    void reject() override;

signals:
    // The current click's work is over: refused, failed, or the updater
    // ended or is no longer waited for.
    void updateFinished();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void FormShow();
    bool KeyPress(QLineEdit *field, const QString &typed);
    void pingFinished(bool answered);
    void updaterFinished(UpdaterLauncher::Outcome outcome, const QString &detail);
    void setPhase(Phase phase);
    QString typedAddress() const;

    QWidget *P_IP_Address = nullptr;
    QLabel *L_IP_Address = nullptr;
    QLineEdit *E_IP1 = nullptr;
    QLineEdit *E_IP2 = nullptr;
    QLineEdit *E_IP3 = nullptr;
    QLineEdit *E_IP4 = nullptr;
    QWidget *P_Eth_Search = nullptr;
    QList<QLabel *> m_ethSearchTexts;
    QWidget *P_Options = nullptr;
    QLabel *L_Update_Option = nullptr;
    QComboBox *CB_Update_Options = nullptr;
    QCheckBox *CB_Update_Option_Read_Back = nullptr;
    QLabel *L_Status = nullptr;
    QWidget *P_Serial = nullptr;
    QList<QLabel *> m_serialTexts;
    FlatButton *Btn_Cancel = nullptr;
    FlatButton *Btn_Update = nullptr;

    std::unique_ptr<IcmpEcho> m_echo;
    PingTiming m_pingTiming;
    std::unique_ptr<DevicePing> m_ping;
    std::unique_ptr<UpdaterLauncher> m_launcher;
    Phase m_phase = Phase::Idle;
    int m_statusIndex = -1;  // text shown in L_Status, -1 for none
    UpdateRequest m_request; // what the current click will write
};

} // namespace mirandel
