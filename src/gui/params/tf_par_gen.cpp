#include "gui/params/tf_par_gen.h"

#include "core/app/app_context.h"
#include "core/common/text_rules.h"
#include "core/lang/text_ids.h"
#include "core/params/par_gen_check.h"
#include "gui/common/look.h"
#include "gui/common/prompter.h"
#include "gui/common/text_input_guard.h"
#include "gui/params/category_panel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QShowEvent>
#include <QWheelEvent>

namespace mirandel {

namespace {

// Grid shared by every panel: one row every 28 pixels.
constexpr int kLabelX = 14;
constexpr int kFieldX = 191;
constexpr int kFieldWidth = 238;
constexpr int kOctetWidth = 55;
constexpr int kOctetX[4] = {191, 252, 313, 374};
constexpr int kDotX[3] = {247, 308, 369};
constexpr int kCheckBoxWidth = 415;
constexpr int kGatewayBoxWidth = 175;
constexpr int kClientWidth = 460;
constexpr int kClientHeight = 700;
constexpr int kBottomMargin = 12;

constexpr int labelY(int row) { return 12 + 28 * row; }
constexpr int fieldY(int row) { return 9 + 28 * row; }

// A status row sits under its field: 20 pixels high, 2 below it.
constexpr int kStatusGap = 2;
constexpr int kStatusHeight = 20;
constexpr int kStatusRowShift = kStatusGap + kStatusHeight + 2; // 24

TlsStatusTexts parGenStatusTexts()
{
    TlsStatusTexts t;
    t.expires = Text_Tls_Expires;
    t.keyPlain = Text_Tls_Key;
    t.keyEncrypted = Text_Tls_Key_Encrypted;
    t.issuer = Text_Tls_Issuer;
    t.validity = Text_Tls_Validity;
    t.fingerprint = Text_Tls_Fingerprint;
    // In the order of CertProblem; a duplicate concerns the list only.
    t.problems = {Text_Tls_Not_Pem,          Text_Tls_Expired,        Text_Tls_Not_Yet_Valid, Text_Tls_Expires_Soon,
                  Text_Tls_Key_Mismatch,     Text_Tls_Wrong_Password, Text_Tls_Weak_Key,      Text_Tls_Weak_Signature,
                  Text_Tls_Not_Issued_By_Root, -1,                    Text_Tls_Missing};
    return t;
}

// Character limits restrict typing only: a longer text from the file is
// shown and saved unchanged. QLineEdit::maxLength would cut such a text, so
// the edit's maximum follows its text and never drops below the limit.
const char *const kTypingLimit = "typingLimit";

void setTypingLimit(QLineEdit *edit, int limit)
{
    edit->setProperty(kTypingLimit, limit);
    edit->setMaxLength(limit);
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, limit](const QString &text) {
        edit->setMaxLength(qMax(limit, int(text.size())));
    });
}

void setLimitedText(QLineEdit *edit, const QString &text)
{
    const QVariant limit = edit->property(kTypingLimit);
    if (limit.isValid())
        edit->setMaxLength(qMax(limit.toInt(), int(text.size())));
    edit->setText(text);
}

QString panelCaption(int number, const QString &text)
{
    return QString::number(number) + QStringLiteral(". ") + text;
}

} // namespace

TFParGen::TFParGen(AppContext &context, Prompter &prompter, QWidget *parent)
    : BaseDialog(context, prompter, parent)
{
    setObjectName(QStringLiteral("FParGen"));
    FormCreate();
}

void TFParGen::FormCreate()
{
    setMinimumWidth(kClientWidth);
    setMaximumWidth(kClientWidth);
    resize(kClientWidth, kClientHeight);

    CPG = new CategoryPanelGroup(QStringLiteral("CPG"), this);
    CPG->setFocusPolicy(Qt::NoFocus);
    setContent(CPG);

    Btn_OK = buttonBand()->addRightButton(QStringLiteral("Btn_OK"), kClientWidth - 219 - 110);
    Btn_Cancel = buttonBand()->addRightButton(QStringLiteral("Btn_Cancel"), kClientWidth - 335 - 110);
    for (FlatButton *button : {Btn_OK, Btn_Cancel})
        button->setAutoDefault(false);
    connect(Btn_OK, &QPushButton::clicked, this, &TFParGen::Btn_OKClick);
    connect(Btn_Cancel, &QPushButton::clicked, this, &TFParGen::Btn_CancelClick);

    // 1. Ethernet connection.
    CategoryPanel *panel = addPanel(QStringLiteral("CP_Ethernet_Connection"), 1932);
    addLabel(panel, QStringLiteral("L_EthConn_Device_Name"), 0, 1933);
    addEdit(panel, Par_Eth_Conn_Device_Name, 0, 1934, 31);
    addCheckBox(panel, Par_Eth_Conn_DHCP_Cable, 1, kCheckBoxWidth, 1935, 1936);
    addCheckBox(panel, Par_Eth_Conn_DHCP_WiFi, 2, kCheckBoxWidth, 1937, 1938);
    addCheckBox(panel, Par_Eth_Conn_Enable_DNS, 3, kCheckBoxWidth, 1939, 1940);
    addLabel(panel, QStringLiteral("L_EthConn_Primary_DNS"), 4, 1941);
    addOctets(panel, Par_Eth_Conn_Primary_DNS1, 4, 1942);
    addLabel(panel, QStringLiteral("L_EthConn_Secondary_DNS"), 5, 1946);
    addOctets(panel, Par_Eth_Conn_Secondary_DNS1, 5, 1947);

    // 2. IEC 61850 server.
    panel = addPanel(QStringLiteral("CP_IEC61850_Server"), 406);
    addLabel(panel, QStringLiteral("L_IEC61850_Server_IP"), 0, 591);
    addOctets(panel, Par_IEC61850_Server_IP1, 0, 592);
    addLabel(panel, QStringLiteral("L_IEC61850_Server_SM"), 1, 596);
    addOctets(panel, Par_IEC61850_Server_SM1, 1, 597);
    addCheckBox(panel, Par_IEC61850_Server_EN_GAT, 2, kGatewayBoxWidth, 601, 602);
    addOctets(panel, Par_IEC61850_Server_GAT1, 2, 603);
    addLabel(panel, QStringLiteral("L_IEC61850_Server_Port"), 3, 407);
    addEdit(panel, Par_IEC61850_Server_Port, 3, 408);
    addLabel(panel, QStringLiteral("L_IEC61850_Server_Password"), 4, 409);
    addEdit(panel, Par_IEC61850_Server_Password, 4, 410);
    addLabel(panel, QStringLiteral("L_IEC61850_Name_of_Server"), 5, 1959);
    addEdit(panel, Par_IEC61850_Server_Name_Of_Server, 5, 1960, 15);

    // 3. TLS server. Under the key and each certificate: its status line
    // and a button that loads the field from a file.
    panel = addPanel(QStringLiteral("CP_TLS_Server"), 411);
    addCheckBox(panel, Par_TLS_Server_Enable, 0, kCheckBoxWidth, 412, 413);
    m_tlsControls << addLabel(panel, QStringLiteral("L_TLS_Server_Key"), 1, 414)
                  << addTextBlock(panel, Par_TLS_Server_Key, 1, 415);
    addTlsStatusRow(panel, Par_TLS_Server_Key, 1);
    m_tlsControls << addLabel(panel, QStringLiteral("L_TLS_Server_Key_Pass"), 2, 416)
                  << addEdit(panel, Par_TLS_Server_Key_Password, 2, 417)
                  << addLabel(panel, QStringLiteral("L_TLS_Server_Server_Cert"), 3, 418)
                  << addTextBlock(panel, Par_TLS_Server_Server_Certificate, 3, 419);
    addTlsStatusRow(panel, Par_TLS_Server_Server_Certificate, 3);
    m_tlsControls << addLabel(panel, QStringLiteral("L_TLS_Server_Root_Cert"), 4, 420)
                  << addTextBlock(panel, Par_TLS_Server_Root_Certificate, 4, 421);
    addTlsStatusRow(panel, Par_TLS_Server_Root_Certificate, 4);
    m_tlsControls << addCheckBox(panel, Par_TLS_Server_Enable_Known_Cert, 5, kCheckBoxWidth, 422, 423);
    m_rowShift = 0;

    // The status lines follow every change of the texts they read.
    m_tlsStatusTimer.setSingleShot(true);
    m_tlsStatusTimer.setInterval(0);
    connect(&m_tlsStatusTimer, &QTimer::timeout, this, &TFParGen::updateTlsStatus);
    for (int row : {Par_TLS_Server_Key, Par_TLS_Server_Server_Certificate, Par_TLS_Server_Root_Certificate})
        connect(static_cast<QPlainTextEdit *>(m_fields[size_t(row)]), &QPlainTextEdit::textChanged, &m_tlsStatusTimer,
                qOverload<>(&QTimer::start));
    connect(static_cast<QLineEdit *>(m_fields[Par_TLS_Server_Key_Password]), &QLineEdit::textChanged,
            &m_tlsStatusTimer, qOverload<>(&QTimer::start));
    connect(static_cast<QCheckBox *>(m_fields[Par_TLS_Server_Enable]), &QCheckBox::toggled, &m_tlsStatusTimer,
            qOverload<>(&QTimer::start));

    // 4. DeviceNet slave.
    panel = addPanel(QStringLiteral("CP_DeviceNet_Slave"), 1600);
    addLabel(panel, QStringLiteral("L_DeviceNet_Slave_IDDevice"), 0, 1601);
    addEdit(panel, Par_DNETS_ID_DEV, 0, 1602);
    addLabel(panel, QStringLiteral("L_DeviceNet_Slave_Baudrate"), 1, 1603);
    addComboBox(panel, Par_DNETS_BAUDRATE, 1, 1604);
    addLabel(panel, QStringLiteral("L_DeviceNet_Slave_NumByteIn"), 2, 1605);
    addEdit(panel, Par_DNETS_NB_IN, 2, 1606);
    addLabel(panel, QStringLiteral("L_DeviceNet_Slave_NumByteOut"), 3, 1607);
    addEdit(panel, Par_DNETS_NB_OUT, 3, 1608);

    // 5. NTP client.
    panel = addPanel(QStringLiteral("CP_NTP"), 1916);
    addLabel(panel, QStringLiteral("L_NTP_Server_URL"), 0, 1917);
    addEdit(panel, Par_NTP_Server_URL, 0, 1918);
    addLabel(panel, QStringLiteral("L_NTP_Poll_Time"), 1, 1919);
    addEdit(panel, Par_NTP_Poll_Time, 1, 1920);

    // Boxes that change which controls are usable relayout at once.
    for (int row : {Par_TLS_Server_Enable, Par_Eth_Conn_DHCP_Cable, Par_Eth_Conn_DHCP_WiFi})
        connect(static_cast<QCheckBox *>(m_fields[size_t(row)]), &QCheckBox::toggled, this, &TFParGen::Move_GroupBoxs);

    Order_TAB_Panels();

    // Wheel turns anywhere in the dialog go through FormMouseWheel.
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);

    Move_GroupBoxs();
    Set_Lang();
}

CategoryPanel *TFParGen::addPanel(const QString &name, int captionIndex)
{
    auto *panel = new CategoryPanel(name);
    panel->setProperty("captionIndex", captionIndex);
    panel->hide();
    m_panels.append(panel);
    return panel;
}

void TFParGen::Order_TAB_Panels()
{
    // Captions are numbered once, in the creation language.
    int number = 0;
    for (CategoryPanel *panel : m_panels) {
        ++number;
        panel->setCaption(panelCaption(number, m_context.text(panel->property("captionIndex").toInt())));
        CPG->addPanel(panel);
        panel->show();
        CPG->restack();
    }
    QWidget *previous = nullptr;
    for (QWidget *widget : m_tabOrder + QList<QWidget *>{Btn_OK, Btn_Cancel}) {
        if (previous)
            setTabOrder(previous, widget);
        previous = widget;
    }
}

QLabel *TFParGen::addLabel(CategoryPanel *panel, const QString &name, int row, int textIndex)
{
    auto *label = new QLabel(panel->surface());
    label->setObjectName(name);
    label->setGeometry(kLabelX, labelY(row) + m_rowShift, kFieldX - kLabelX - 4, 13);
    m_texts.append({label, textIndex, false});
    return label;
}

void TFParGen::addHint(QWidget *widget, int hintIndex)
{
    m_texts.append({widget, hintIndex, true});
    m_tabOrder.append(widget);
}

QLineEdit *TFParGen::addEdit(CategoryPanel *panel, int parRow, int row, int hintIndex, int maxTyped)
{
    auto *edit = new QLineEdit(panel->surface());
    edit->setObjectName(QString::fromLatin1(parRowInfo(parRow).control));
    edit->setGeometry(kFieldX, fieldY(row) + m_rowShift, kFieldWidth, 21);
    if (maxTyped > 0)
        setTypingLimit(edit, maxTyped);
    connect(edit, &QLineEdit::textChanged, this, &TFParGen::On_Change);
    dropNonXmlCharacters(edit);
    m_fields[size_t(parRow)] = edit;
    addHint(edit, hintIndex);
    return edit;
}

void TFParGen::addOctets(CategoryPanel *panel, int firstParRow, int row, int firstHintIndex)
{
    QList<QLineEdit *> &chain = firstParRow >= Par_Eth_Conn_Primary_DNS1 ? m_octetChain[1] : m_octetChain[0];
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            auto *dot = new QLabel(QStringLiteral("."), panel->surface());
            dot->setGeometry(kDotX[i - 1], labelY(row), kOctetX[i] - kDotX[i - 1], 13);
        }
        QLineEdit *edit = addEdit(panel, firstParRow + i, row, firstHintIndex + i);
        edit->setGeometry(kOctetX[i], fieldY(row), kOctetWidth, 21);
        chain.append(edit);
    }
}

QWidget *TFParGen::addTextBlock(CategoryPanel *panel, int parRow, int row, int hintIndex)
{
    auto *edit = new QPlainTextEdit(panel->surface());
    edit->setObjectName(QString::fromLatin1(parRowInfo(parRow).control));
    edit->setGeometry(kFieldX, fieldY(row) + m_rowShift, kFieldWidth, 23);
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->document()->setDocumentMargin(2);
    edit->setTabChangesFocus(true);
    connect(edit, &QPlainTextEdit::textChanged, this, &TFParGen::On_Change);
    dropNonXmlCharacters(edit);
    m_fields[size_t(parRow)] = edit;
    addHint(edit, hintIndex);
    return edit;
}

void TFParGen::addTlsStatusRow(CategoryPanel *panel, int parRow, int row)
{
    const QString name = QString::fromLatin1(parRowInfo(parRow).control).mid(2); // without "E_"
    const int y = fieldY(row) + m_rowShift + 23 + kStatusGap;

    auto *load = new FlatButton(QStringLiteral("Btn_") + name + QStringLiteral("_Load"), panel->surface());
    load->setGeometry(kLabelX, y, kFieldX - kLabelX - 4, kStatusHeight);
    load->setFixedSize(kFieldX - kLabelX - 4, kStatusHeight);
    // Off the tab chain, which keeps the panel's order of fields.
    load->setFocusPolicy(Qt::NoFocus);
    load->setAutoDefault(false);
    connect(load, &QPushButton::clicked, this, [this, parRow] { loadTlsField(parRow); });
    m_texts.append({load, Text_Tls_Load_File, false});
    m_texts.append({load, Text_Tls_Load_File_Hint, true});

    auto *line = new QLabel(panel->surface());
    line->setObjectName(QStringLiteral("L_") + name + QStringLiteral("_Status"));
    line->setGeometry(kFieldX, y, kFieldWidth, kStatusHeight);
    line->setFont(programFont(11));

    m_tlsControls << load << line;
    m_tlsStatus.append({parRow, line, load});
    m_rowShift += kStatusRowShift;
}

void TFParGen::updateTlsStatus()
{
    m_tlsStatusTimer.stop();
    const ParGen current = values();
    TlsTexts texts;
    texts.tlsEnabled = current.flag(Par_TLS_Server_Enable);
    texts.key = current.text(Par_TLS_Server_Key);
    texts.keyPassword = current.text(Par_TLS_Server_Key_Password);
    texts.serverCertificate = current.text(Par_TLS_Server_Server_Certificate);
    texts.rootCertificate = current.text(Par_TLS_Server_Root_Certificate);
    const QList<TlsSlotReport> reports = inspectTls(texts);
    const TlsStatusTexts statusTexts = parGenStatusTexts();
    const QStringList slotNames = {QStringLiteral("key"), QStringLiteral("server"), QStringLiteral("root")};
    for (qsizetype i = 0; i < m_tlsStatus.size(); ++i) {
        const TlsFieldStatus &field = m_tlsStatus[i];
        TlsStatus status;
        for (const TlsSlotReport &report : reports) {
            if (report.slot == slotNames.value(i))
                status = tlsStatus(report, m_context.texts, statusTexts);
        }
        field.line->setProperty("statusLine", status.line);
        field.line->setProperty("statusLevel", int(status.level));
        field.line->setText(field.line->fontMetrics().elidedText(status.line, Qt::ElideRight, field.line->width()));
        field.line->setToolTip(status.tooltip);
        field.line->setStyleSheet(QStringLiteral("color: %1").arg(statusColour(status.level).name()));
    }
}

void TFParGen::loadTlsField(int parRow)
{
    const QString filter = m_context.text(Text_Tls_Files)
                           + QStringLiteral(" (*.pem *.crt *.cer *.der *.key);;* (*)");
    const QString path = chooseFile(this, filter);
    if (path.isEmpty())
        return;
    if (const auto text = readTlsFile(this, m_prompter, m_context.texts, Text_Tls_File_Unusable, path))
        static_cast<QPlainTextEdit *>(m_fields[size_t(parRow)])->setPlainText(*text);
}

QCheckBox *TFParGen::addCheckBox(CategoryPanel *panel, int parRow, int row, int width, int textIndex, int hintIndex)
{
    auto *box = new QCheckBox(panel->surface());
    box->setObjectName(QString::fromLatin1(parRowInfo(parRow).control));
    box->setGeometry(kLabelX, labelY(row) + m_rowShift, width, 17);
    connect(box, &QCheckBox::toggled, this, &TFParGen::On_Change);
    m_fields[size_t(parRow)] = box;
    m_texts.append({box, textIndex, false});
    addHint(box, hintIndex);
    return box;
}

QComboBox *TFParGen::addComboBox(CategoryPanel *panel, int parRow, int row, int hintIndex)
{
    auto *combo = new QComboBox(panel->surface());
    combo->setObjectName(QString::fromLatin1(parRowInfo(parRow).control));
    combo->setGeometry(kFieldX, fieldY(row), kFieldWidth, 22);
    combo->addItems({QStringLiteral("125K"), QStringLiteral("250K"), QStringLiteral("500K")});
    connect(combo, &QComboBox::currentIndexChanged, this, &TFParGen::On_Change);
    m_fields[size_t(parRow)] = combo;
    addHint(combo, hintIndex);
    return combo;
}

void TFParGen::Set_Lang()
{
    setWindowTitle(m_context.text(400));
    titleBand()->descLabel()->setText(m_context.text(401));
    Btn_OK->setText(m_context.text(402));
    Btn_Cancel->setText(m_context.text(403));
    Btn_OK->setToolTip(m_context.text(404));
    Btn_Cancel->setToolTip(m_context.text(405));
    for (const TextUse &use : m_texts) {
        if (use.hint)
            use.widget->setToolTip(m_context.text(use.textIndex));
        else if (auto *label = qobject_cast<QLabel *>(use.widget))
            label->setText(m_context.text(use.textIndex));
        else if (auto *box = qobject_cast<QCheckBox *>(use.widget))
            box->setText(m_context.text(use.textIndex));
        else if (auto *button = qobject_cast<QPushButton *>(use.widget))
            button->setText(m_context.text(use.textIndex));
    }
    updateTlsStatus();
}

ParGen TFParGen::values() const
{
    ParGen values;
    for (int row = 0; row < Par_Count; ++row) {
        QWidget *field = m_fields[size_t(row)];
        switch (parRowInfo(row).kind) {
        case ParKind::Text:
            if (auto *edit = qobject_cast<QLineEdit *>(field))
                values.setText(row, edit->text());
            else // the editor gives LF only; keep the breaks the loaded text had
                values.setText(row, keepLineBreakStyle(m_loaded.text(row),
                                                       static_cast<QPlainTextEdit *>(field)->toPlainText(),
                                                       platformLineBreak()));
            break;
        case ParKind::Flag:
            values.setFlag(row, static_cast<QCheckBox *>(field)->isChecked());
            break;
        case ParKind::ItemIndex:
            values.setItemIndex(row, static_cast<QComboBox *>(field)->currentIndex());
            break;
        }
    }
    return values;
}

void TFParGen::setValues(const ParGen &values)
{
    for (int row = 0; row < Par_Count; ++row) {
        QWidget *field = m_fields[size_t(row)];
        switch (parRowInfo(row).kind) {
        case ParKind::Text:
            if (auto *edit = qobject_cast<QLineEdit *>(field))
                setLimitedText(edit, values.text(row));
            else
                static_cast<QPlainTextEdit *>(field)->setPlainText(values.text(row));
            break;
        case ParKind::Flag:
            static_cast<QCheckBox *>(field)->setChecked(values.flag(row));
            break;
        case ParKind::ItemIndex: {
            auto *combo = static_cast<QComboBox *>(field);
            const int index = values.itemIndex(row);
            combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
            break;
        }
        }
    }
}

void TFParGen::Move_GroupBoxs()
{
    // This model has no Wi-Fi DHCP setting: the box is never usable.
    m_fields[Par_Eth_Conn_DHCP_WiFi]->setEnabled(false);

    // DHCP on the cable gives the address: the own address fields are not
    // used. The Gateway box and the other fields stay usable.
    const bool dhcp = static_cast<QCheckBox *>(m_fields[Par_Eth_Conn_DHCP_Cable])->isChecked();
    for (int row = Par_IEC61850_Server_IP1; row <= Par_IEC61850_Server_GAT4; ++row)
        m_fields[size_t(row)]->setEnabled(!dhcp);

    // TLS off hides its settings; they keep their values and are saved.
    const bool tls = static_cast<QCheckBox *>(m_fields[Par_TLS_Server_Enable])->isChecked();
    for (QWidget *control : m_tlsControls)
        control->setHidden(!tls);

    // Each panel ends 12 pixels below its lowest shown control.
    for (CategoryPanel *panel : m_panels) {
        int bottom = 0;
        for (QWidget *control : panel->surface()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (!control->isHidden())
                bottom = qMax(bottom, control->geometry().bottom() + 1);
        }
        panel->setPanelHeight(bottom + CategoryPanel::Header_Height + kBottomMargin);
    }
}

void TFParGen::showEvent(QShowEvent *event)
{
    BaseDialog::showEvent(event);
    // Restoring a minimised window is not a new opening.
    if (!event->spontaneous())
        FormShow();
}

void TFParGen::FormShow()
{
    ParGen loaded;
    const XmlLoadResult result = loadParGen(m_context.ParGen_File, loaded);
    m_keepUnreadable = result.status == XmlLoadResult::Malformed || result.status == XmlLoadResult::Unreadable;
    setValues(loaded);
    m_loaded = loaded;
    updateTlsStatus();
    Is_Change = false;
    Move_GroupBoxs();
    // The first field that can take it gets the focus, not a button.
    for (QWidget *field : std::as_const(m_tabOrder)) {
        if (field->isEnabled() && field->isVisibleTo(this) && (field->focusPolicy() & Qt::TabFocus)) {
            field->setFocus(Qt::TabFocusReason);
            break;
        }
    }

    if (m_keepUnreadable) {
        // Told once the dialog is on screen; the defaults are shown meanwhile.
        const QString message = m_context.text(Text_ParGen_Unreadable) + QStringLiteral("\n\n")
            + QDir::toNativeSeparators(m_context.ParGen_File) + QLatin1Char('\n') + result.describe();
        QMetaObject::invokeMethod(
            this, [this, message] { m_prompter.error(this, message); }, Qt::QueuedConnection);
    }
}

void TFParGen::On_Change()
{
    Is_Change = true;
}

bool TFParGen::Controllo_Dati()
{
    const std::optional<ParCheckFailure> failure = mirandel::Controllo_Dati(values(), m_context.texts);
    if (!failure)
        return true;
    m_prompter.error(this, failure->message);
    return false;
}

void TFParGen::Btn_OKClick()
{
    if (!Controllo_Dati())
        return;
    QString error;
    if (!saveParGen(values(), m_context.ParGen_File, &error, m_keepUnreadable)) {
        m_prompter.error(this, m_context.text(Text_ParGen_Not_Saved) + QStringLiteral("\n\n")
                                   + QDir::toNativeSeparators(m_context.ParGen_File) + QLatin1Char('\n') + error);
        return;
    }
    m_keepUnreadable = false;
    accept();
}

void TFParGen::Btn_CancelClick()
{
    if (Is_Change && !m_prompter.question(this, m_context.text(Text_Exit_Without_Saving)))
        return;
    reject();
}

void TFParGen::keyPressEvent(QKeyEvent *event)
{
    // Escape is the Cancel button, question included, so a slip of the
    // finger cannot throw away the user's edits.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Btn_CancelClick();
        return;
    }
    BaseDialog::keyPressEvent(event);
}

bool TFParGen::KeyPress(QLineEdit *field, QKeyEvent *event)
{
    if (event->text() != QStringLiteral("."))
        return false;
    // A full stop jumps to the next octet field that can take the focus and
    // is never typed into the field.
    for (const QList<QLineEdit *> &chain : m_octetChain) {
        const qsizetype at = chain.indexOf(field);
        if (at < 0 || at + 1 >= chain.size())
            continue;
        QLineEdit *next = chain.at(at + 1);
        if (next->isEnabled() && !next->isHidden()) {
            next->setFocus(Qt::TabFocusReason);
            next->selectAll();
        }
    }
    return true;
}

bool TFParGen::FormMouseWheel(QWheelEvent *event)
{
    const QPoint position = CPG->mapFromGlobal(event->globalPosition().toPoint());
    if (!CPG->rect().contains(position))
        return false;
    const int lines = QApplication::wheelScrollLines();
    QScrollBar *bar = CPG->verticalScrollBar();
    for (int i = 0; i < lines; ++i) {
        bar->triggerAction(event->angleDelta().y() > 0 ? QAbstractSlider::SliderSingleStepSub
                                                       : QAbstractSlider::SliderSingleStepAdd);
    }
    return true;
}

bool TFParGen::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Wheel:
        // Turned over the panel group: scrolls the group, whatever control
        // is under the pointer (a combo box must not change its value).
        if (FormMouseWheel(static_cast<QWheelEvent *>(event)))
            return true;
        break;
    case QEvent::KeyPress:
        if (auto *field = qobject_cast<QLineEdit *>(watched);
            field && (m_octetChain[0].contains(field) || m_octetChain[1].contains(field)))
            return KeyPress(field, static_cast<QKeyEvent *>(event));
        break;
    default:
        break;
    }
    return BaseDialog::eventFilter(watched, event);
}

} // namespace mirandel
