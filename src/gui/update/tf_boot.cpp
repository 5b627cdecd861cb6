#include "gui/update/tf_boot.h"

#include "core/app/app_context.h"
#include "core/common/ip_address.h"
#include "core/lang/text_ids.h"
#include "gui/common/prompter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <array>

namespace mirandel {

namespace {

// Texts of the dialog's block.
constexpr int kCaption = 1002;
constexpr int kTitle = 1003;
constexpr int kIpAddressLabel = 1006;
constexpr int kSerialFirst = 1009;
constexpr int kSerialLast = 1013;
constexpr int kOptionLabel = 1014;
constexpr int kOptionFirst = 1015; // three items
constexpr int kReadBack = 1018;
constexpr int kCancel = 1019;
constexpr int kUpdate = 1020;
constexpr int kOctetHintFirst = 1021; // four hints
constexpr int kEthSearchFirst = 1029;
constexpr int kEthSearchLast = 1031;
constexpr int kOptionsHint = 1032;
constexpr int kReadBackHint = 1033;
constexpr int kCancelHint = 1034;
constexpr int kUpdateHint = 1035;

constexpr int kClientWidth = 449;

QLineEdit *octetField(const QString &name, int x, QWidget *parent)
{
    auto *field = new QLineEdit(QStringLiteral("0"), parent);
    field->setObjectName(name);
    field->setGeometry(x, 22, 36, 21);
    return field;
}

void dotLabel(int x, QWidget *parent)
{
    auto *dot = new QLabel(QStringLiteral("."), parent);
    dot->setGeometry(x, 22, 8, 21);
    dot->setAlignment(Qt::AlignCenter);
}

QWidget *panel(const QString &name, int height, QWidget *parent)
{
    auto *p = new QWidget(parent);
    p->setObjectName(name);
    p->setFixedHeight(height);
    return p;
}

} // namespace

TFBoot::TFBoot(AppContext &context, Prompter &prompter, QWidget *parent)
    : BaseDialog(context, prompter, parent)
{
    setObjectName(QStringLiteral("TFBoot"));
    buildControls();
    setIcmpEcho(createSystemIcmpEcho());
    setUpdaterLauncher(std::make_unique<ProcessUpdaterLauncher>());
    Set_Lang();
}

TFBoot::~TFBoot()
{
    // The check refers to the echo: it goes first.
    m_ping.reset();
}

void TFBoot::buildControls()
{
    P_IP_Address = panel(QStringLiteral("P_IP_Address"), 49, content());
    L_IP_Address = new QLabel(P_IP_Address);
    L_IP_Address->setObjectName(QStringLiteral("L_IP_Address"));
    L_IP_Address->setGeometry(16, 4, 420, 16);
    E_IP1 = octetField(QStringLiteral("E_IP1"), 16, P_IP_Address);
    dotLabel(52, P_IP_Address);
    E_IP2 = octetField(QStringLiteral("E_IP2"), 60, P_IP_Address);
    dotLabel(96, P_IP_Address);
    E_IP3 = octetField(QStringLiteral("E_IP3"), 104, P_IP_Address);
    dotLabel(140, P_IP_Address);
    E_IP4 = octetField(QStringLiteral("E_IP4"), 148, P_IP_Address);
    for (QLineEdit *field : {E_IP1, E_IP2, E_IP3, E_IP4})
        field->installEventFilter(this);

    // The device-search and serial panels serve other modes of the dialog;
    // this model keeps them hidden but still gives them their texts.
    P_Eth_Search = panel(QStringLiteral("P_Eth_Search"), 60, content());
    for (int i = kEthSearchFirst; i <= kEthSearchLast; ++i) {
        auto *label = new QLabel(P_Eth_Search);
        label->setObjectName(QStringLiteral("L_Eth_Search_%1").arg(i - kEthSearchFirst + 1));
        m_ethSearchTexts.append(label);
    }

    P_Options = panel(QStringLiteral("P_Options"), 72, content());
    L_Update_Option = new QLabel(P_Options);
    L_Update_Option->setObjectName(QStringLiteral("L_Update_Option"));
    L_Update_Option->setGeometry(16, 4, 420, 16);
    CB_Update_Options = new QComboBox(P_Options);
    CB_Update_Options->setObjectName(QStringLiteral("CB_Update_Options"));
    CB_Update_Options->setEditable(false);
    CB_Update_Options->setGeometry(16, 22, 220, 22);
    CB_Update_Option_Read_Back = new QCheckBox(P_Options);
    CB_Update_Option_Read_Back->setObjectName(QStringLiteral("CB_Update_Option_Read_Back"));
    CB_Update_Option_Read_Back->setGeometry(252, 22, 180, 22);
    CB_Update_Option_Read_Back->setChecked(true);
    L_Status = new QLabel(P_Options);
    L_Status->setObjectName(QStringLiteral("L_Status"));
    L_Status->setGeometry(16, 50, 420, 18);

    P_Serial = panel(QStringLiteral("P_Serial"), 60, content());
    for (int i = kSerialFirst; i <= kSerialLast; ++i) {
        auto *label = new QLabel(P_Serial);
        label->setObjectName(QStringLiteral("L_Serial_%1").arg(i - kSerialFirst + 1));
        m_serialTexts.append(label);
    }

    auto *layout = new QVBoxLayout(content());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QWidget *p : {P_IP_Address, P_Eth_Search, P_Options, P_Serial})
        layout->addWidget(p);
    layout->addStretch(1);
    P_Eth_Search->hide();
    P_Serial->hide();

    Btn_Update = buttonBand()->addRightButton(QStringLiteral("Btn_Update"), 8);
    Btn_Cancel = buttonBand()->addRightButton(QStringLiteral("Btn_Cancel"), 126);
    connect(Btn_Update, &QPushButton::clicked, this, &TFBoot::Btn_UpdateClick);
    connect(Btn_Cancel, &QPushButton::clicked, this, &TFBoot::reject);
    Btn_Update->setAutoDefault(false);
    Btn_Cancel->setAutoDefault(false);

    setTabOrder(E_IP1, E_IP2);
    setTabOrder(E_IP2, E_IP3);
    setTabOrder(E_IP3, E_IP4);
    setTabOrder(E_IP4, CB_Update_Options);
    setTabOrder(CB_Update_Options, CB_Update_Option_Read_Back);
    setTabOrder(CB_Update_Option_Read_Back, Btn_Cancel);
    setTabOrder(Btn_Cancel, Btn_Update);
}

void TFBoot::setIcmpEcho(std::unique_ptr<IcmpEcho> echo)
{
    if (m_phase != Phase::Idle || !echo)
        return;
    m_ping.reset();
    m_echo = std::move(echo);
    m_ping = std::make_unique<DevicePing>(*m_echo);
    m_ping->setTiming(m_pingTiming);
    connect(m_ping.get(), &DevicePing::finished, this, &TFBoot::pingFinished);
}

void TFBoot::setPingTiming(const PingTiming &timing)
{
    m_pingTiming = timing;
    m_ping->setTiming(timing);
}

void TFBoot::setUpdaterLauncher(std::unique_ptr<UpdaterLauncher> launcher)
{
    if (m_phase != Phase::Idle || !launcher)
        return;
    m_launcher = std::move(launcher);
    connect(m_launcher.get(), &UpdaterLauncher::finished, this, &TFBoot::updaterFinished);
}

void TFBoot::Set_Lang()
{
    const AppContext &c = m_context;
    setWindowTitle(c.text(kCaption));
    titleBand()->codeLabel()->setText(SW_Code);
    titleBand()->descLabel()->setText(c.text(kTitle));
    L_IP_Address->setText(c.text(kIpAddressLabel));
    L_Update_Option->setText(c.text(kOptionLabel));
    CB_Update_Options->clear();
    for (int i = 0; i < Update_Option_Count; ++i)
        CB_Update_Options->addItem(c.text(kOptionFirst + i));
    CB_Update_Options->setCurrentIndex(0);
    CB_Update_Option_Read_Back->setText(c.text(kReadBack));
    Btn_Cancel->setText(c.text(kCancel));
    Btn_Update->setText(c.text(kUpdate));
    QLineEdit *const fields[] = {E_IP1, E_IP2, E_IP3, E_IP4};
    for (int i = 0; i < 4; ++i)
        fields[i]->setToolTip(c.text(kOctetHintFirst + i));
    CB_Update_Options->setToolTip(c.text(kOptionsHint));
    CB_Update_Option_Read_Back->setToolTip(c.text(kReadBackHint));
    Btn_Cancel->setToolTip(c.text(kCancelHint));
    Btn_Update->setToolTip(c.text(kUpdateHint));
    for (int i = 0; i < m_ethSearchTexts.size(); ++i)
        m_ethSearchTexts[i]->setText(c.text(kEthSearchFirst + i));
    for (int i = 0; i < m_serialTexts.size(); ++i)
        m_serialTexts[i]->setText(c.text(kSerialFirst + i));
    L_Status->setText(m_statusIndex < 0 ? QString() : c.text(m_statusIndex));
}

void TFBoot::showEvent(QShowEvent *event)
{
    BaseDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFBoot::FormShow()
{
    Set_Lang();
    P_IP_Address->hide();
    P_Eth_Search->hide();
    P_Options->hide();
    P_Serial->hide();
    int clientHeight = titleBand()->height() + buttonBand()->height();
    if (Form_Type == 1) {
        P_IP_Address->show();
        P_Options->show();
        clientHeight += P_IP_Address->height() + P_Options->height();
    }
    setFixedSize(kClientWidth, clientHeight);

    std::array<QString, 4> octets;
    if (!m_context.Last_IP_Address.isEmpty() && Split_IP_Address(m_context.Last_IP_Address, octets)) {
        E_IP1->setText(octets[0]);
        E_IP2->setText(octets[1]);
        E_IP3->setText(octets[2]);
        E_IP4->setText(octets[3]);
    }
    if (m_phase == Phase::Idle) {
        CB_Update_Options->setCurrentIndex(qBound(0, m_context.Update_Option_Index, Update_Option_Count - 1));
        CB_Update_Option_Read_Back->setChecked(m_context.Update_Read_Back);
    } else {
        // Still waiting for the updater started before: show what it was given.
        CB_Update_Options->setCurrentIndex(m_request.updateOption);
        CB_Update_Option_Read_Back->setChecked(m_request.readBack);
    }
    if (E_IP1->isEnabled())
        E_IP1->setFocus();
}

bool TFBoot::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *field = qobject_cast<QLineEdit *>(watched);
        if (field && (field == E_IP1 || field == E_IP2 || field == E_IP3 || field == E_IP4))
            return KeyPress(field, static_cast<QKeyEvent *>(event)->text());
    }
    return BaseDialog::eventFilter(watched, event);
}

// A "." moves on to the next octet field and is never inserted, not even in
// the last one; every other key reaches the field unchanged.
bool TFBoot::KeyPress(QLineEdit *field, const QString &typed)
{
    if (typed != QStringLiteral("."))
        return false;
    QLineEdit *next = field == E_IP1 ? E_IP2 : field == E_IP2 ? E_IP3 : field == E_IP3 ? E_IP4 : nullptr;
    if (next && next->isEnabled() && next->isVisible())
        next->setFocus(Qt::TabFocusReason);
    return true;
}

QString TFBoot::typedAddress() const
{
    return joinIpOctets({E_IP1->text(), E_IP2->text(), E_IP3->text(), E_IP4->text()});
}

void TFBoot::setPhase(Phase phase)
{
    m_phase = phase;
    const bool idle = phase == Phase::Idle;
    Btn_Update->setEnabled(idle);
    Btn_Cancel->setEnabled(phase != Phase::WaitingForUpdater);
    for (QWidget *input :
         std::initializer_list<QWidget *>{E_IP1, E_IP2, E_IP3, E_IP4, CB_Update_Options, CB_Update_Option_Read_Back})
        input->setEnabled(idle);
    if (phase == Phase::Pinging)
        m_statusIndex = Text_Status_Pinging;
    else if (phase == Phase::WaitingForUpdater)
        m_statusIndex = Text_Status_Waiting;
    L_Status->setText(m_statusIndex < 0 ? QString() : m_context.text(m_statusIndex));
}

void TFBoot::Btn_UpdateClick()
{
    if (m_phase != Phase::Idle)
        return;
    // The choices are taken now, so that the address checked is the one
    // written into the descriptor.
    m_request = {typedAddress(), CB_Update_Options->currentIndex(), CB_Update_Option_Read_Back->isChecked()};
    m_statusIndex = -1;
    setPhase(Phase::Pinging);
    m_ping->Send_Ping(m_request.ipAddress);
}

void TFBoot::pingFinished(bool answered)
{
    if (m_phase != Phase::Pinging)
        return;
    if (!answered) {
        m_statusIndex = -1;
        setPhase(Phase::Idle);
        const IcmpEcho::Result failure = m_ping->failure();
        if (m_ping->echoFailed() && failure.outcome == IcmpEcho::Outcome::NoSocket)
            m_prompter.error(this, m_context.text(Text_Echo_Not_Allowed) + QLatin1Char('\n') + failure.detail);
        else if (m_ping->ping_res() == DevicePing::ReplyWithoutData)
            m_prompter.warning(this, m_context.text(Text_Device_Not_Found));
        else
            m_prompter.error(this, m_context.text(Text_Check_Ip_Address));
        emit updateFinished();
        return;
    }

    m_context.Last_IP_Address = m_request.ipAddress;
    m_context.Update_Option_Index = m_request.updateOption;
    m_context.Update_Read_Back = m_request.readBack;

    QString error;
    if (!Compile_XML_Parameter_New_Boot(m_context, m_request, &error)) {
        m_statusIndex = -1;
        setPhase(Phase::Idle);
        m_prompter.error(this, m_context.text(Text_Descriptor_Not_Written)
                                   + QDir::toNativeSeparators(m_context.workspace().updateDescriptorFile())
                                   + QLatin1Char('\n') + error);
        emit updateFinished();
        return;
    }
    setPhase(Phase::WaitingForUpdater);
    m_launcher->Start_Program(m_context.workspace().updaterProgram());
}

void TFBoot::updaterFinished(UpdaterLauncher::Outcome outcome, const QString &detail)
{
    if (m_phase != Phase::WaitingForUpdater)
        return;
    m_statusIndex = outcome == UpdaterLauncher::Outcome::WaitLimitPassed ? Text_Status_No_Longer_Waiting : -1;
    setPhase(Phase::Idle);
    const QString program = QDir::toNativeSeparators(m_context.workspace().updaterProgram());
    if (outcome == UpdaterLauncher::Outcome::NotFound)
        m_prompter.error(this, m_context.text(Text_Updater_Not_Found) + program);
    else if (outcome == UpdaterLauncher::Outcome::FailedToStart)
        m_prompter.error(this, m_context.text(Text_Updater_Not_Started) + program + QLatin1Char('\n') + detail);
    emit updateFinished();
}

void TFBoot::reject()
{
    // While the updater is waited for the dialog stays open (it cannot be
    // closed by Cancel, Esc or the title bar); a running check is dropped.
    if (m_phase == Phase::WaitingForUpdater)
        return;
    if (m_phase == Phase::Pinging) {
        m_ping->cancel();
        m_statusIndex = -1;
        setPhase(Phase::Idle);
        emit updateFinished();
    }
    BaseDialog::reject();
}

} // namespace mirandel
