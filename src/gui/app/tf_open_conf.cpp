#include "gui/app/tf_open_conf.h"

#include "core/app/app_context.h"
#include "core/app/projects.h"

#include <QEvent>
#include <QLabel>
#include <QListWidget>

namespace mirandel {

namespace {

constexpr int kListLeft = 16;
constexpr int kListTop = 94 - 69; // below the title band
constexpr int kListRightGap = 16;
constexpr int kListBottomGap = 8;

} // namespace

TFOpenConf::TFOpenConf(AppContext &context, Prompter &prompter, QWidget *parent)
    : BaseDialog(context, prompter, parent)
{
    setObjectName(QStringLiteral("TFOpenConf"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    titleBand()->codeLabel()->setText(SW_Code);

    m_label1 = new QLabel(content());
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->move(16, 70 - 69);
    m_list = new QListWidget(content());
    m_list->setObjectName(QStringLiteral("ListBox1"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &TFOpenConf::ListBox1Click);
    // The list follows every edge of the window.
    content()->installEventFilter(this);

    m_cancel = buttonBand()->addRightButton(QStringLiteral("Btn_Cancel"), 16);
    m_ok = buttonBand()->addRightButton(QStringLiteral("Btn_OK"), 16 + 110 + 8);
    connect(m_ok, &QPushButton::clicked, this, &TFOpenConf::Btn_OKClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    // Enter in the list opens the selected project; the keyboard walks list,
    // OK, Cancel.
    m_ok->setDefault(true);
    setTabOrder(m_list, m_ok);
    setTabOrder(m_ok, m_cancel);

    setMinimumSize(300, 200);
    resize(377, 351);
    placeList();
    Set_Lang();
}

void TFOpenConf::Set_Lang()
{
    setWindowTitle(m_context.text(200));
    titleBand()->descLabel()->setText(m_context.text(201));
    m_label1->setText(m_context.text(202));
    m_label1->adjustSize();
    m_ok->setText(m_context.text(203));
    m_cancel->setText(m_context.text(204));
    m_list->setToolTip(m_context.text(205));
    m_ok->setToolTip(m_context.text(206));
    m_cancel->setToolTip(m_context.text(207));
}

void TFOpenConf::showEvent(QShowEvent *event)
{
    const QSignalBlocker blocker(m_list);
    m_list->clear();
    const QStringList projects = listProjects(m_context.Projects_Dir);
    m_list->addItems(projects);
    const int preselected = preselectedProject(projects, activeProjectFolder(m_context));
    if (preselected >= 0) {
        m_list->setCurrentRow(preselected);
        Name_Conf = projects.at(preselected);
    }
    BaseDialog::showEvent(event);
}

bool TFOpenConf::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == content() && event->type() == QEvent::Resize)
        placeList();
    return BaseDialog::eventFilter(watched, event);
}

void TFOpenConf::placeList()
{
    const QSize area = content()->size();
    m_list->setGeometry(kListLeft, kListTop, qMax(0, area.width() - kListLeft - kListRightGap),
                        qMax(0, area.height() - kListTop - kListBottomGap));
}

void TFOpenConf::ListBox1Click()
{
    const QList<QListWidgetItem *> selected = m_list->selectedItems();
    if (!selected.isEmpty())
        Name_Conf = selected.first()->text();
}

void TFOpenConf::Btn_OKClick()
{
    if (m_list->selectedItems().isEmpty()) {
        reject();
        return;
    }
    accept();
}

} // namespace mirandel
