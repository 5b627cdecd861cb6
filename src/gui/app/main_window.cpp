#include "gui/app/main_window.h"

#include "core/app/app_context.h"
#include "core/app/home_page.h"
#include "core/app/projects.h"
#include "core/app/settings_file.h"
#include "core/app/version_check.h"
#include "core/app/workspace.h"
#include "core/lang/language_file.h"
#include "core/lang/text_ids.h"
#include "gui/app/tf_about.h"
#include "gui/app/tf_new_project.h"
#include "gui/app/tf_open_conf.h"
#include "gui/app/tf_soft_options.h"
#include "gui/app/update_device.h"
#include "gui/app/version_query.h"
#include "gui/common/dialog_chrome.h"
#include "gui/common/look.h"
#include "gui/common/prompter.h"
#include "gui/common/url_opener.h"
#include "gui/iec61850/tf_iec61850_variables.h"
#include "gui/params/tf_par_gen.h"
#include "gui/tls/tf_tls_server_known_cert.h"
#include "gui/update/tf_boot.h"

#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSvgRenderer>
#include <QTimer>

// Resources of a static library must be registered by name, outside any
// namespace.
static void registerIcons()
{
    Q_INIT_RESOURCE(icons);
}

namespace mirandel {

namespace {

constexpr int kClientWidth = 694;
constexpr int kUpdateButtonTop = 288;     // the fifth row
constexpr int kRowStep = 44;
constexpr int kStepLabelOffset = 16;      // step labels sit this far below their buttons' top
constexpr int kLineOffset = 51;           // Shape1 lies this far below the update button
constexpr int kHeightBelowUpdate = 152;   // client height = update button top + this
constexpr int kUpdateCheckInterval = 60000;
constexpr int kUpdateCheckRepeat = 7200000;  // two hours between later checks

// An icon drawn from an SVG resource, sharp at twice the logical size.
QIcon svgIcon(const QString &resource, int size)
{
    QPixmap picture(size * 2, size * 2);
    picture.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    QPainter painter(&picture);
    renderer.render(&painter);
    painter.end();
    return QIcon(picture);
}

const QString kGreyStyle = QStringLiteral("color: rgb(128,128,128);");

} // namespace

TFMirandeleFirmWare::TFMirandeleFirmWare(AppContext &context, Prompter &prompter, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_prompter(prompter)
    , m_desktopUrlOpener(std::make_unique<DesktopUrlOpener>())
{
    registerIcons();
    setObjectName(QStringLiteral("TFMirandeleFirmWare"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kBackground);
    setPalette(pal);
    setFont(programFont(11));

    Timer_Update = new QTimer(this);
    Timer_Update->setObjectName(QStringLiteral("Timer_Update"));
    Timer_Update->setInterval(kUpdateCheckInterval);
    connect(Timer_Update, &QTimer::timeout, this, &TFMirandeleFirmWare::Timer_UpdateTimer);

    // The window and its controls.
    createControls();

    // Workspace folders below Exe_Dir.
    setUpWorkspace(m_context);

    // The settings of the last run (defaults when there are none).
    m_context.Project_Name.clear();
    m_context.Update_Read_Back = true;
    readSettings(m_context);

    // The version check runs only when both options allow it.
    switchUpdateTimer();

    // Caption, software code and description (never translated).
    setWindowTitle(Window_Caption);
    L_SW_Code->setText(SW_Code);
    L_SW_Code->adjustSize();
    L_SW_Desc->setText(SW_Desc);
    L_SW_Desc->adjustSize();

    // English, overlaid by the stored language.
    Load_Language(m_context.texts, m_context.Language_Name, m_context.Language_Dir);

    // The last project, when its folder still exists.
    restoreLastProject(m_context);

    // Texts, project file paths, an empty row copy buffer.
    Set_Lang();
    Set_Files(m_context);
    m_context.Copy_Buffer.clear();
    m_context.Copy_Is_Check.clear();

    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    createDialogs();
}

TFMirandeleFirmWare::~TFMirandeleFirmWare() = default;

QLabel *TFMirandeleFirmWare::greyLabel(const QString &objectName, int x, int y, bool bold)
{
    auto *label = new QLabel(this);
    label->setObjectName(objectName);
    label->setFont(programFont(11, bold));
    label->setStyleSheet(kGreyStyle);
    label->move(x, y);
    return label;
}

QPushButton *TFMirandeleFirmWare::stepButton(const QString &objectName, int x, int y, const QString &icon)
{
    auto *button = new FlatButton(objectName, this);
    button->setFixedSize(170, 36);
    button->move(x, y);
    button->setAlignLeft(true);
    button->setIcon(svgIcon(icon, 24));
    button->setIconSize(QSize(24, 24));
    button->setCursor(Qt::PointingHandCursor);
    connect(button, &QPushButton::clicked, this, [this, button] { Btn_Click(button); });
    return button;
}

QPushButton *TFMirandeleFirmWare::iconButton(const QString &objectName, int x, const QString &icon)
{
    auto *button = new QPushButton(this);
    button->setObjectName(objectName);
    button->setFlat(true);
    button->setGeometry(x, 8, 50, 50);
    button->setIcon(svgIcon(icon, 40));
    button->setIconSize(QSize(40, 40));
    connect(button, &QPushButton::clicked, this, [this, button] { Btn_Click(button); });
    return button;
}

void TFMirandeleFirmWare::createControls()
{
    L_SW_Code = greyLabel(QStringLiteral("L_SW_Code"), 16, 8, false);
    L_SW_Code->setFont(programFont(32));
    L_SW_Desc = greyLabel(QStringLiteral("L_SW_Desc"), 16, 42, true);

    LL_Update = new ClickableLabel(QStringLiteral("LL_Update"), this);
    LL_Update->setGeometry(208, 19, 294, 17);
    LL_Update->hide();
    connect(LL_Update, &ClickableLabel::clicked, this, &TFMirandeleFirmWare::LL_UpdateLinkClick);

    Btn_Info = iconButton(QStringLiteral("Btn_Info"), 516, QStringLiteral(":/icons/info.svg"));
    Btn_Opz = iconButton(QStringLiteral("Btn_Opz"), 574, QStringLiteral(":/icons/options.svg"));
    Btn_Close = iconButton(QStringLiteral("Btn_Close"), 632, QStringLiteral(":/icons/close.svg"));

    Shape2 = new QFrame(this);
    Shape2->setObjectName(QStringLiteral("Shape2"));
    Shape2->setGeometry(80, 70, 348, 36);
    Shape2->setStyleSheet(QStringLiteral("#Shape2 { border: 1px solid silver; background: transparent; }"));
    L_Name_Conf = greyLabel(QStringLiteral("L_Name_Conf"), 87, 75, false);
    L_Name_Conf_L2 = greyLabel(QStringLiteral("L_Name_Conf_L2"), 87, 88, false);
    L_Begin = greyLabel(QStringLiteral("L_Begin"), 16, 84, true);

    // Five rows, 44 pixels apart; the update button is on the fifth.
    const int row1 = 112;
    L_Step_1 = greyLabel(QStringLiteral("L_Step_1"), 16, row1 + kStepLabelOffset, true);
    Btn_New = stepButton(QStringLiteral("Btn_New"), 80, row1, QStringLiteral(":/icons/step_new.svg"));
    Btn_Open = stepButton(QStringLiteral("Btn_Open"), 258, row1, QStringLiteral(":/icons/step_open.svg"));
    const int row2 = row1 + kRowStep;
    L_Step_2 = greyLabel(QStringLiteral("L_Step_2"), 16, row2 + kStepLabelOffset, true);
    Btn_Prm_Gen = stepButton(QStringLiteral("Btn_Prm_Gen"), 80, row2, QStringLiteral(":/icons/step_params.svg"));
    const int row3 = row2 + kRowStep;
    L_Step_3 = greyLabel(QStringLiteral("L_Step_3"), 16, row3 + kStepLabelOffset, true);
    Btn_IEC61850_Access =
        stepButton(QStringLiteral("Btn_IEC61850_Access"), 80, row3, QStringLiteral(":/icons/step_variables.svg"));
    const int row4 = row3 + kRowStep;
    L_Step_4 = greyLabel(QStringLiteral("L_Step_4"), 16, row4 + kStepLabelOffset, true);
    Btn_TLS_List_Certificates = stepButton(QStringLiteral("Btn_TLS_List_Certificates"), 80, row4,
                                           QStringLiteral(":/icons/step_certificates.svg"));
    const int row5 = kUpdateButtonTop;
    L_Step_5 = greyLabel(QStringLiteral("L_Step_5"), 16, row5 + kStepLabelOffset, true);
    Btn_CreateBin = stepButton(QStringLiteral("Btn_CreateBin"), 80, row5, QStringLiteral(":/icons/step_update.svg"));

    L_Tarvik = new ClickableLabel(QStringLiteral("L_Tarvik"), this);
    L_Tarvik->setFont(programFont(11, true));
    L_Tarvik->setStyleSheet(kGreyStyle);
    L_Tarvik->setText(Maker_Home_Host);
    L_Tarvik->move(565, L_Step_5->y());
    L_Tarvik->adjustSize();
    connect(L_Tarvik, &ClickableLabel::clicked, this, &TFMirandeleFirmWare::openHomePage);

    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setGeometry(10, kUpdateButtonTop + kLineOffset, 674, 1);
    Shape1->setStyleSheet(QStringLiteral("#Shape1 { background: silver; }"));

    setFixedSize(kClientWidth, kUpdateButtonTop + kHeightBelowUpdate);
}

void TFMirandeleFirmWare::createDialogs()
{
    m_newProject = new TFNew_Project(m_context, m_prompter, this);
    m_openConf = new TFOpenConf(m_context, m_prompter, this);
    m_about = new TFAbout(m_context, m_prompter, this);
    connect(m_about, &TFAbout::homePageRequested, this, &TFMirandeleFirmWare::openHomePage);
    m_softOptions = new TFSoftOptions(m_context, m_prompter, this);
    connect(m_softOptions, &TFSoftOptions::languageChanged, this, &TFMirandeleFirmWare::Change_Language);
    m_parGen = new TFParGen(m_context, m_prompter, this);
    m_tlsKnownCert = new TFTLS_Server_Known_Cert(m_context, m_prompter, this);
    m_iec61850Variables = new TFIEC61850_Variables(m_context, m_prompter, this);
    m_boot = new TFBoot(m_context, m_prompter, this);
}

void TFMirandeleFirmWare::Set_Lang()
{
    const struct {
        QLabel *label;
        int index;
    } labels[] = {{L_Begin, 0}, {L_Step_1, 1}, {L_Step_2, 2}, {L_Step_3, 3}, {L_Step_4, 4}, {L_Step_5, 5}};
    for (const auto &[label, index] : labels) {
        label->setText(m_context.text(index));
        label->adjustSize();
    }
    Btn_Info->setToolTip(m_context.text(12));
    Btn_Opz->setToolTip(m_context.text(13));
    Btn_Close->setToolTip(m_context.text(14));

    const struct {
        QPushButton *button;
        int caption;
        int hint;
    } steps[] = {{Btn_New, 15, 22},          {Btn_Open, 16, 23},
                 {Btn_Prm_Gen, 20, 24},      {Btn_IEC61850_Access, 21, 25},
                 {Btn_CreateBin, 17, 26},    {Btn_TLS_List_Certificates, 27, 28}};
    for (const auto &[button, caption, hint] : steps) {
        button->setText(m_context.text(caption));
        button->setToolTip(m_context.text(hint));
    }
    showProjectLabels();
}

void TFMirandeleFirmWare::showProjectLabels()
{
    if (m_context.projectOpen()) {
        L_Name_Conf->setText(m_context.text(Text_Opened_Configuration));
        L_Name_Conf_L2->setText(m_context.Project_Name);
    } else {
        L_Name_Conf->setText(m_context.text(Text_No_Configuration));
        L_Name_Conf_L2->setText(m_context.text(Text_Use_Step_1));
    }
    L_Name_Conf->adjustSize();
    L_Name_Conf_L2->adjustSize();
}

void TFMirandeleFirmWare::switchUpdateTimer()
{
    // A running timer keeps its countdown: confirming the options again must
    // not put the next check off.
    if (!(m_context.Enable_Internet && m_context.Enable_Update))
        Timer_Update->stop();
    else if (!Timer_Update->isActive())
        Timer_Update->start();
}

void TFMirandeleFirmWare::Btn_Click(QAbstractButton *sender)
{
    if (sender == Btn_New) {
        Create_New_Project();
    } else if (sender == Btn_Open) {
        Open_Project();
    } else if (sender == Btn_Close) {
        close();
    } else if (sender == Btn_Info) {
        m_about->exec();
    } else if (sender == Btn_Opz) {
        if (m_softOptions->exec() == QDialog::Accepted) {
            Save_Setting();
            switchUpdateTimer();
        }
    } else if (!m_context.projectOpen()) {
        m_prompter.error(this, m_context.text(Text_Project_Not_Valid));
    } else if (sender == Btn_Prm_Gen) {
        m_parGen->exec();
    } else if (sender == Btn_TLS_List_Certificates) {
        m_tlsKnownCert->exec();
    } else if (sender == Btn_IEC61850_Access) {
        m_iec61850Variables->exec();
    } else if (sender == Btn_CreateBin) {
        Update_Device();
    }
}

void TFMirandeleFirmWare::Create_New_Project()
{
    // The dialog creates the project, makes it active and runs Set_Files.
    if (m_newProject->exec() == QDialog::Accepted)
        showProjectLabels();
}

void TFMirandeleFirmWare::Open_Project()
{
    if (m_openConf->exec() != QDialog::Accepted)
        return;
    openProject(m_context, m_openConf->Name_Conf);
    showProjectLabels();
}

void TFMirandeleFirmWare::Update_Device()
{
    if (!buildAndSaveImage(m_context, m_prompter, this))
        return;
    m_boot->Form_Type = 1;
    m_boot->exec();
}

void TFMirandeleFirmWare::Change_Language()
{
    Set_Lang();
    m_newProject->Set_Lang();
    m_openConf->Set_Lang();
    m_softOptions->Set_Lang();
    m_boot->Set_Lang();
    m_parGen->Set_Lang();
    m_tlsKnownCert->Set_Lang();
    m_iec61850Variables->Set_Lang();
}

bool TFMirandeleFirmWare::Save_Setting()
{
    QString error;
    if (saveSettings(m_context, &error))
        return true;
    m_prompter.error(this, m_context.text(Text_Settings_Not_Saved)
                               + QDir::toNativeSeparators(settingsFilePath(m_context)) + QStringLiteral("\n")
                               + error);
    return false;
}

void TFMirandeleFirmWare::closeEvent(QCloseEvent *event)
{
    // The program ends even when the settings could not be written.
    Save_Setting();
    event->accept();
}

void TFMirandeleFirmWare::setUrlOpener(UrlOpener *opener)
{
    m_urlOpener = opener;
}

UrlOpener &TFMirandeleFirmWare::urlOpener() const
{
    return m_urlOpener ? *m_urlOpener : *m_desktopUrlOpener;
}

void TFMirandeleFirmWare::openHomePage()
{
    urlOpener().openUrl(makerHomePageUrl());
}

void TFMirandeleFirmWare::Timer_UpdateTimer()
{
    // The timer stays off while the query runs; the answer arrives on the
    // event loop, so the window keeps responding meanwhile.
    Timer_Update->stop();
    if (!m_versionQuery) {
        m_versionQuery = new VersionQuery(m_context, this);
        connect(m_versionQuery, &VersionQuery::versionChecked, this, [this](bool newer) {
            if (newer) {
                // A link to the download page: LL_UpdateLinkClick opens it.
                LL_Update->setTextFormat(Qt::PlainText);
                LL_Update->setText(m_context.text(Text_New_Version_Available));
                LL_Update->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline;"));
                LL_Update->setToolTip(downloadPageUrl(m_context.Version_Server).toString());
                LL_Update->show();
            } else {
                LL_Update->hide();
            }
            Timer_Update->setInterval(kUpdateCheckRepeat);
            // The options may have forbidden the check while the query ran.
            if (m_context.Enable_Internet && m_context.Enable_Update)
                Timer_Update->start();
        });
    }
    m_versionQuery->Check_Version();
}

void TFMirandeleFirmWare::LL_UpdateLinkClick()
{
    urlOpener().openUrl(downloadPageUrl(m_context.Version_Server));
}

} // namespace mirandel
