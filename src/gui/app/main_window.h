#pragma once
// TFMirandeleFirmWare: the program's only top-level window.
//
// Its construction runs the whole start-up: it lays out the five steps,
// creates the workspace folders below Exe_Dir (set by the caller), reads
// Mirandel.xml, switches the version-check timer, loads the language,
// restores the last project, applies its texts, and finally creates every
// other dialog once. The window owns those dialogs for the whole run and
// shows them modally; the AppContext and the Prompter belong to the caller
// and must outlive the window. Closing the window writes Mirandel.xml.

#include <QWidget>

#include <memory>

class QAbstractButton;
class QFrame;
class QLabel;
class QPushButton;
class QTimer;

namespace mirandel {

struct AppContext;
class Prompter;
class UrlOpener;
class ClickableLabel;
class TFNew_Project;
class TFOpenConf;
class TFAbout;
class TFSoftOptions;
class TFParGen;
class TFTLS_Server_Known_Cert;
class TFIEC61850_Variables;
class TFBoot;
class VersionQuery;

class TFMirandeleFirmWare : public QWidget {
    Q_OBJECT
public:
    TFMirandeleFirmWare(AppContext &context, Prompter &prompter, QWidget *parent = nullptr);
    ~TFMirandeleFirmWare() override;

    // The click handler of every command button.
    void Btn_Click(QAbstractButton *sender);

    // Writes Mirandel.xml. On failure tells the user which file and why, and
    // returns false.
    bool Save_Setting();

    // Assigns the window's texts from the UI text table and refreshes the
    // project labels.
    void Set_Lang();

    // Replaces the way web pages are opened (tests record the addresses).
    // The window does not take ownership; nullptr restores the browser.
    void setUrlOpener(UrlOpener *opener);
    UrlOpener &urlOpener() const;

    TFNew_Project *newProjectDialog() const { return m_newProject; }
    TFOpenConf *openConfDialog() const { return m_openConf; }
    TFAbout *aboutDialog() const { return m_about; }
    TFSoftOptions *softOptionsDialog() const { return m_softOptions; }
    TFParGen *parGenDialog() const { return m_parGen; }
    TFTLS_Server_Known_Cert *tlsKnownCertDialog() const { return m_tlsKnownCert; }
    TFIEC61850_Variables *iec61850VariablesDialog() const { return m_iec61850Variables; }
    TFBoot *bootDialog() const { return m_boot; }
    QTimer *timerUpdate() const { return Timer_Update; }

public slots:
    // Runs every dialog's Set_Lang after the UI text table was reloaded.
    void Change_Language();

protected:
    // FormClose: writes the settings whatever the reason for closing.
    void closeEvent(QCloseEvent *event) override;

private slots:
    // Version check (filled in by the version-check code).
    void Timer_UpdateTimer();
    void LL_UpdateLinkClick();

private:
    void createControls();
    void createDialogs();
    QPushButton *stepButton(const QString &objectName, int x, int y, const QString &icon);
    QPushButton *iconButton(const QString &objectName, int x, const QString &icon);
    QLabel *greyLabel(const QString &objectName, int x, int y, bool bold);
    void showProjectLabels();
    void switchUpdateTimer();
    void openHomePage();

    void Create_New_Project();
    void Open_Project();
    void Update_Device();

    AppContext &m_context;
    Prompter &m_prompter;
    UrlOpener *m_urlOpener = nullptr;
    std::unique_ptr<UrlOpener> m_desktopUrlOpener;

    QTimer *Timer_Update;
    VersionQuery *m_versionQuery = nullptr; // made at the first timed check

    QLabel *L_SW_Code;
    QLabel *L_SW_Desc;
    ClickableLabel *LL_Update;
    QPushButton *Btn_Info;
    QPushButton *Btn_Opz;
    QPushButton *Btn_Close;
    QFrame *Shape2;
    QLabel *L_Name_Conf;
    QLabel *L_Name_Conf_L2;
    QLabel *L_Begin;
    QLabel *L_Step_1;
    QLabel *L_Step_2;
    QLabel *L_Step_3;
    QLabel *L_Step_4;
    QLabel *L_Step_5;
    QPushButton *Btn_New;
    QPushButton *Btn_Open;
    QPushButton *Btn_Prm_Gen;
    QPushButton *Btn_IEC61850_Access;
    QPushButton *Btn_TLS_List_Certificates;
    QPushButton *Btn_CreateBin;
    ClickableLabel *L_Tarvik;
    QFrame *Shape1;

    TFNew_Project *m_newProject = nullptr;
    TFOpenConf *m_openConf = nullptr;
    TFAbout *m_about = nullptr;
    TFSoftOptions *m_softOptions = nullptr;
    TFParGen *m_parGen = nullptr;
    TFTLS_Server_Known_Cert *m_tlsKnownCert = nullptr;
    TFIEC61850_Variables *m_iec61850Variables = nullptr;
    TFBoot *m_boot = nullptr;
};

} // namespace mirandel
