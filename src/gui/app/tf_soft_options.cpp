#include "gui/app/tf_soft_options.h"

#include "core/app/app_context.h"
#include "core/app/version_check.h"
#include "core/lang/language_file.h"
#include "core/lang/text_ids.h"
#include "gui/app/version_query.h"
#include "gui/common/prompter.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace mirandel {

namespace {

constexpr QSize kFlagSize{40, 27};
constexpr int kContentWidth = 580;

// A flat button as wide as its caption needs, at least 110 pixels.
FlatButton *growingButton(const QString &objectName, QWidget *parent)
{
    auto *button = new FlatButton(objectName, parent);
    button->setMinimumWidth(110);
    button->setMaximumWidth(QWIDGETSIZE_MAX);
    button->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    return button;
}

void keepPlaceWhenHidden(QWidget *widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

// The flag of `language`: <name>.bmp, else DefaultFlag.bmp, else none.
QPixmap flagPicture(const QString &languageDir, const QString &language)
{
    const QDir dir(languageDir);
    for (const QString &file : {language + QStringLiteral(".bmp"), QStringLiteral("DefaultFlag.bmp")}) {
        const QString path = dir.filePath(file);
        if (!QFileInfo(path).isFile())
            continue;
        QPixmap picture(path);
        if (!picture.isNull())
            return picture.scaled(kFlagSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    return {};
}

} // namespace

TFSoftOptions::TFSoftOptions(AppContext &context, Prompter &prompter, QWidget *parent)
    : BaseDialog(context, prompter, parent)
    , m_versionQuery(new VersionQuery(context, this))
{
    setObjectName(QStringLiteral("TFSoftOptions"));

    auto *content = new QWidget(this);
    content->setMinimumWidth(kContentWidth);
    auto *contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(10, 8, 10, 8);
    PC_Options = new QTabWidget(content);
    PC_Options->setObjectName(QStringLiteral("PC_Options"));
    contentLayout->addWidget(PC_Options);
    setContent(content);

    // Language page: the selected language, two columns of three slots, the
    // paging row.
    TS_Language = new QWidget;
    TS_Language->setObjectName(QStringLiteral("TS_Language"));
    auto *languageLayout = new QVBoxLayout(TS_Language);
    languageLayout->setContentsMargins(16, 12, 16, 10);
    languageLayout->setSpacing(10);
    L_Sel_Lang = new QLabel(TS_Language);
    L_Sel_Lang->setObjectName(QStringLiteral("L_Sel_Lang"));
    L_Sel_Lang->setTextFormat(Qt::PlainText);
    languageLayout->addWidget(L_Sel_Lang);
    auto *slotGrid = new QGridLayout;
    slotGrid->setHorizontalSpacing(10);
    slotGrid->setVerticalSpacing(8);
    for (int k = 0; k < Slots_Per_Page; ++k) {
        Slot &slot = m_slots[size_t(k)];
        slot.image = new QLabel(TS_Language);
        slot.image->setObjectName(QStringLiteral("I_L%1").arg(k + 1));
        slot.image->setFixedSize(kFlagSize);
        slot.image->setAlignment(Qt::AlignCenter);
        slot.name = new QLabel(TS_Language);
        slot.name->setObjectName(QStringLiteral("L_L%1").arg(k + 1));
        slot.name->setTextFormat(Qt::PlainText);
        slot.name->setMinimumWidth(180);
        for (QLabel *control : {slot.image, slot.name}) {
            control->setCursor(Qt::PointingHandCursor);
            control->installEventFilter(this);
            keepPlaceWhenHidden(control);
        }
        const int row = k % 3;
        const int column = (k / 3) * 2;
        slotGrid->addWidget(slot.image, row, column);
        slotGrid->addWidget(slot.name, row, column + 1);
    }
    slotGrid->setColumnStretch(1, 1);
    slotGrid->setColumnStretch(3, 1);
    languageLayout->addLayout(slotGrid);
    languageLayout->addStretch(1);
    auto *pagingRow = new QHBoxLayout;
    Btn_Prev = growingButton(QStringLiteral("Btn_Prev"), TS_Language);
    Btn_Next = growingButton(QStringLiteral("Btn_Next"), TS_Language);
    keepPlaceWhenHidden(Btn_Prev);
    keepPlaceWhenHidden(Btn_Next);
    L_Page_Lang = new QLabel(TS_Language);
    L_Page_Lang->setObjectName(QStringLiteral("L_Page_Lang"));
    L_Page_Lang->setTextFormat(Qt::PlainText);
    L_Page_Lang->setAlignment(Qt::AlignCenter);
    pagingRow->addWidget(Btn_Prev);
    pagingRow->addWidget(L_Page_Lang, 1);
    pagingRow->addWidget(Btn_Next);
    languageLayout->addLayout(pagingRow);
    connect(Btn_Prev, &QPushButton::clicked, this, [this] { Btn_NextClick(Btn_Prev); });
    connect(Btn_Next, &QPushButton::clicked, this, [this] { Btn_NextClick(Btn_Next); });

    // Connection page.
    TS_Con_Options = new QWidget;
    TS_Con_Options->setObjectName(QStringLiteral("TS_Con_Options"));
    auto *connectionLayout = new QVBoxLayout(TS_Con_Options);
    connectionLayout->setContentsMargins(16, 12, 16, 10);
    connectionLayout->setSpacing(10);
    CB_En_Con = new QCheckBox(TS_Con_Options);
    CB_En_Con->setObjectName(QStringLiteral("CB_En_Con"));
    CB_Update = new QCheckBox(TS_Con_Options);
    CB_Update->setObjectName(QStringLiteral("CB_Update"));
    connectionLayout->addWidget(CB_En_Con);
    connectionLayout->addWidget(CB_Update);
    auto *checkRow = new QHBoxLayout;
    Btn_Check_Update = growingButton(QStringLiteral("Btn_Check_Update"), TS_Con_Options);
    checkRow->addWidget(Btn_Check_Update);
    checkRow->addStretch(1);
    connectionLayout->addSpacing(6);
    connectionLayout->addLayout(checkRow);
    LL_Check_Update = new QLabel(TS_Con_Options);
    LL_Check_Update->setObjectName(QStringLiteral("LL_Check_Update"));
    LL_Check_Update->setOpenExternalLinks(false);
    LL_Check_Update->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    keepPlaceWhenHidden(LL_Check_Update);
    connectionLayout->addWidget(LL_Check_Update);
    connectionLayout->addStretch(1);
    connect(Btn_Check_Update, &QPushButton::clicked, this, &TFSoftOptions::Btn_Check_UpdateClick);
    connect(LL_Check_Update, &QLabel::linkActivated, this, &TFSoftOptions::LL_Check_UpdateLinkClick);
    connect(m_versionQuery, &VersionQuery::versionChecked, this, &TFSoftOptions::showCheckResult);

    // Table editor settings page.
    TS_Soft_Settings = new QWidget;
    TS_Soft_Settings->setObjectName(QStringLiteral("TS_Soft_Settings"));
    auto *settingsLayout = new QVBoxLayout(TS_Soft_Settings);
    settingsLayout->setContentsMargins(16, 12, 16, 10);
    settingsLayout->setSpacing(10);
    CB_Soft_Set_Jump_Table = new QCheckBox(TS_Soft_Settings);
    CB_Soft_Set_Jump_Table->setObjectName(QStringLiteral("CB_Soft_Set_Jump_Table"));
    CB_DoubleClick_Auto_Size = new QCheckBox(TS_Soft_Settings);
    CB_DoubleClick_Auto_Size->setObjectName(QStringLiteral("CB_DoubleClick_Auto_Size"));
    settingsLayout->addWidget(CB_Soft_Set_Jump_Table);
    settingsLayout->addWidget(CB_DoubleClick_Auto_Size);
    settingsLayout->addStretch(1);

    PC_Options->addTab(TS_Language, QString());
    PC_Options->addTab(TS_Con_Options, QString());
    PC_Options->addTab(TS_Soft_Settings, QString());

    for (QCheckBox *box : {CB_En_Con, CB_Update, CB_Soft_Set_Jump_Table, CB_DoubleClick_Auto_Size})
        connect(box, &QCheckBox::toggled, this, &TFSoftOptions::CB_En_ConClick);

    Btn_OK = buttonBand()->addRightButton(QStringLiteral("Btn_OK"), 126);
    Btn_Cancel = buttonBand()->addRightButton(QStringLiteral("Btn_Cancel"), 8);
    connect(Btn_OK, &QPushButton::clicked, this, &TFSoftOptions::Btn_OKClick);
    connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    // Enter confirms the dialog; the paging and check buttons act only when
    // clicked (or pressed while they have the focus).
    for (FlatButton *button : {Btn_Prev, Btn_Next, Btn_Check_Update})
        button->setAutoDefault(false);
    Btn_OK->setDefault(true);

    // The dialog is as large as its translated texts need, and not resizable.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    FormCreate();
}

void TFSoftOptions::FormCreate()
{
    SL_Languages.clear();
    Language_In_Use = m_context.Language_Name;
    titleBand()->codeLabel()->setText(SW_Code);
    PC_Options->setCurrentWidget(TS_Con_Options);
    LL_Check_Update->hide();
    Update_Lang_Page(Show_Page);
    Set_Lang();
}

void TFSoftOptions::Set_Lang()
{
    const TextTable &t = m_context.texts;
    setWindowTitle(t[300]);
    titleBand()->descLabel()->setText(t[301]);
    titleBand()->descLabel()->adjustSize();
    PC_Options->setTabText(PC_Options->indexOf(TS_Language), t[302]);
    PC_Options->setTabText(PC_Options->indexOf(TS_Con_Options), t[303]);
    PC_Options->setTabText(PC_Options->indexOf(TS_Soft_Settings), t[319]);
    // The selected language and the page label keep what they show, in the
    // new language.
    updateSelectedLanguageLabel();
    updatePageLabel();
    Btn_Prev->setText(t[307]);
    Btn_Next->setText(t[308]);
    CB_En_Con->setText(t[309]);
    CB_Update->setText(t[310]);
    Btn_Check_Update->setText(t[311]);
    Btn_OK->setText(t[312]);
    Btn_Cancel->setText(t[313]);
    CB_Soft_Set_Jump_Table->setText(t[320]);
    CB_DoubleClick_Auto_Size->setText(t[321]);
}

void TFSoftOptions::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        FormShow();
    BaseDialog::showEvent(event);
}

void TFSoftOptions::FormShow()
{
    m_versionQuery->cancel();
    Language_In_Use = m_context.Language_Name;
    Create_Lang_List();
    Update_CheckBox();
    LL_Check_Update->hide();
    PC_Options->setCurrentWidget(TS_Language);
    CB_En_Con->setChecked(m_context.Enable_Internet);
    CB_Update->setChecked(m_context.Enable_Update);
    CB_Soft_Set_Jump_Table->setChecked(m_context.Enable_Jump_Field_Tables);
    CB_DoubleClick_Auto_Size->setChecked(m_context.Double_Click_Auto_Size);
    // Setting a box that already had the state emits nothing.
    Update_CheckBox();
}

void TFSoftOptions::Create_Lang_List()
{
    SL_Languages = languageFileList(m_context.Language_Dir);
    Show_Page = 1;
    Update_Lang_Page(1);
}

int TFSoftOptions::pageCount() const
{
    return int((SL_Languages.size() + Slots_Per_Page - 1) / Slots_Per_Page);
}

void TFSoftOptions::updateSelectedLanguageLabel()
{
    L_Sel_Lang->setText(m_context.text(Text_Selected_Language) + Language_In_Use);
}

void TFSoftOptions::updatePageLabel()
{
    L_Page_Lang->setText(m_context.text(Text_Page) + QString::number(Show_Page) + m_context.text(Text_Page_Of)
                         + QString::number(pageCount()));
}

void TFSoftOptions::Update_Lang_Page(int Num_Page)
{
    Show_Page = Num_Page;
    const int pages = pageCount();
    updateSelectedLanguageLabel();
    updatePageLabel();
    Btn_Prev->setVisible(Num_Page != 1);
    Btn_Next->setVisible(Num_Page < pages);
    const int first = Slots_Per_Page * (Num_Page - 1);
    const int shown = qBound(0, int(SL_Languages.size()) - first, Slots_Per_Page);
    for (int k = 0; k < Slots_Per_Page; ++k) {
        Slot &slot = m_slots[size_t(k)];
        if (k >= shown) {
            slot.image->hide();
            slot.name->hide();
            continue;
        }
        const QString name = SL_Languages.at(first + k).chopped(4);
        slot.name->setText(name);
        slot.name->show();
        const QPixmap flag = flagPicture(m_context.Language_Dir, name);
        slot.image->setPixmap(flag);
        slot.image->setVisible(!flag.isNull());
    }
}

void TFSoftOptions::Btn_NextClick(QObject *sender)
{
    if (sender == Btn_Next && pageCount() >= Show_Page + 1)
        ++Show_Page;
    else if (sender == Btn_Prev && Show_Page >= 2)
        --Show_Page;
    Update_Lang_Page(Show_Page);
}

bool TFSoftOptions::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        const QPoint at = static_cast<QMouseEvent *>(event)->position().toPoint();
        for (int k = 0; k < Slots_Per_Page; ++k) {
            const Slot &slot = m_slots[size_t(k)];
            if (watched == slot.image || watched == slot.name) {
                // A press moved off the slot before its release is no click.
                if (static_cast<QWidget *>(watched)->rect().contains(at))
                    LangClick(k + 1);
                return true;
            }
        }
    }
    return BaseDialog::eventFilter(watched, event);
}

void TFSoftOptions::LangClick(int slot)
{
    const int entry = Slots_Per_Page * (Show_Page - 1) + slot - 1;
    if (slot < 1 || slot > Slots_Per_Page || entry < 0 || entry >= SL_Languages.size())
        return;
    const QString picked = SL_Languages.at(entry).chopped(4);
    const QString question = m_context.text(Text_Change_Language_From) + Language_In_Use
                             + m_context.text(Text_Change_Language_To) + picked
                             + m_context.text(Text_Change_Language_End);
    if (!m_prompter.question(this, question))
        return;

    // Load the picked language without making it the stored one: Language_Name
    // changes only when the dialog ends with OK.
    const QString stored = m_context.Language_Name;
    QString loaded = picked;
    Load_Language(m_context.texts, loaded, m_context.Language_Dir);
    m_context.Language_Name = stored;
    // A file removed since the list was made falls back to English; the
    // dialog then holds the language that is really shown.
    Language_In_Use = loaded;
    emit languageChanged();
    updateSelectedLanguageLabel();
}

void TFSoftOptions::CB_En_ConClick()
{
    Update_CheckBox();
}

void TFSoftOptions::Update_CheckBox()
{
    CB_Update->setEnabled(CB_En_Con->isChecked());
    Btn_Check_Update->setEnabled(CB_Update->isEnabled() && CB_Update->isChecked());
}

void TFSoftOptions::Btn_Check_UpdateClick()
{
    LL_Check_Update->hide();
    m_versionQuery->Check_Version();
}

void TFSoftOptions::showCheckResult(bool newer)
{
    if (newer) {
        const QString target = downloadPageUrl(m_context.Version_Server).toString(QUrl::FullyEncoded);
        LL_Check_Update->setTextFormat(Qt::RichText);
        const QString caption = m_context.text(Text_Update_Available);
        LL_Check_Update->setText(
            QStringLiteral("<a href=\"%1\">%2</a>").arg(target.toHtmlEscaped(), caption.toHtmlEscaped()));
        LL_Check_Update->setCursor(Qt::PointingHandCursor);
    } else {
        // "No Update Available" only when the server answered; a server
        // that could not be reached is said so, with the reason.
        const QString error = m_versionQuery->lastError();
        LL_Check_Update->setTextFormat(Qt::PlainText);
        LL_Check_Update->setText(error.isEmpty() ? m_context.text(Text_No_Update_Available)
                                                 : m_context.text(Text_Server_Unreachable) + error);
        LL_Check_Update->unsetCursor();
    }
    LL_Check_Update->show();
}

void TFSoftOptions::LL_Check_UpdateLinkClick(const QString &link)
{
    m_urlOpener->openUrl(QUrl(link));
}

void TFSoftOptions::Btn_OKClick()
{
    m_context.Language_Name = Language_In_Use;
    m_context.Enable_Internet = CB_En_Con->isChecked();
    m_context.Enable_Update = CB_Update->isChecked();
    m_context.Enable_Jump_Field_Tables = CB_Soft_Set_Jump_Table->isChecked();
    m_context.Double_Click_Auto_Size = CB_DoubleClick_Auto_Size->isChecked();
    accept();
}

void TFSoftOptions::done(int result)
{
    m_versionQuery->cancel();
    BaseDialog::done(result);
}

} // namespace mirandel
