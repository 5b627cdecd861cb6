#include "gui/app/tf_new_project.h"

#include "core/app/app_context.h"
#include "core/app/projects.h"
#include "gui/common/prompter.h"

#include <QLabel>
#include <QLineEdit>

namespace mirandel {

TFNew_Project::TFNew_Project(AppContext &context, Prompter &prompter, QWidget *parent)
    : BaseDialog(context, prompter, parent)
{
    setObjectName(QStringLiteral("TFNew_Project"));
    titleBand()->codeLabel()->setText(SW_Code);

    // Content starts below the 69-pixel title band.
    m_label1 = new QLabel(content());
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->move(16, 70 - 69);
    m_name = new QLineEdit(content());
    m_name->setObjectName(QStringLiteral("E_New_Proj"));
    m_name->setGeometry(16, 94 - 69, 297, 21);
    connect(m_name, &QLineEdit::returnPressed, this, &TFNew_Project::Btn_OKClick);

    m_ok = buttonBand()->addButton(QStringLiteral("Btn_OK"), 85);
    m_cancel = buttonBand()->addButton(QStringLiteral("Btn_Cancel"), 203);
    // Enter is handled by the name field itself; a default button would run
    // the creation a second time.
    for (FlatButton *button : {m_ok, m_cancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(m_ok, &QPushButton::clicked, this, &TFNew_Project::Btn_OKClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(331, 162);
    Set_Lang();
}

void TFNew_Project::Set_Lang()
{
    setWindowTitle(m_context.text(100));
    titleBand()->descLabel()->setText(m_context.text(101));
    m_label1->setText(m_context.text(102));
    m_label1->adjustSize();
    m_ok->setText(m_context.text(103));
    m_cancel->setText(m_context.text(104));
    m_name->setToolTip(m_context.text(108));
    m_ok->setToolTip(m_context.text(109));
    m_cancel->setToolTip(m_context.text(110));
}

void TFNew_Project::showEvent(QShowEvent *event)
{
    m_name->clear();
    m_name->setFocus();
    BaseDialog::showEvent(event);
}

void TFNew_Project::Btn_OKClick()
{
    const int refusal = createProject(m_context, m_name->text());
    if (refusal != 0) {
        m_prompter.error(this, m_context.text(refusal));
        return;
    }
    accept();
}

} // namespace mirandel
