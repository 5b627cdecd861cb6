#include "gui/app/tf_about.h"

#include "core/app/app_context.h"
#include "core/app/home_page.h"
#include "gui/common/look.h"

#include <QMouseEvent>
#include <QPixmap>

namespace mirandel {

namespace {

constexpr QSize kClientSize{425, 148};

QLabel *fixedLabel(QWidget *parent, const QString &objectName, int x, int y, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->move(x, y);
    label->adjustSize();
    return label;
}

} // namespace

ClickableLabel::ClickableLabel(const QString &objectName, QWidget *parent)
    : QLabel(parent)
{
    setObjectName(objectName);
    setCursor(Qt::PointingHandCursor);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

TFAbout::TFAbout(AppContext &context, Prompter &prompter, QWidget *parent)
    : BaseDialog(context, prompter, parent)
{
    setObjectName(QStringLiteral("TFAbout"));
    setWindowTitle(QStringLiteral("About..."));
    // The box has its own layout over the whole client area.
    titleBand()->hide();
    buttonBand()->hide();
    QWidget *area = content();

    auto *image = new ClickableLabel(QStringLiteral("Image2"), area);
    image->setGeometry(32, 24, 81, 81);
    image->setScaledContents(true);
    image->setPixmap(QPixmap(QStringLiteral(":/icons/logo.png"))); // drawn at twice its size
    connect(image, &ClickableLabel::clicked, this, &TFAbout::homePageRequested);

    QLabel *name = fixedLabel(area, QStringLiteral("Label1"), 128, 24, QStringLiteral("Software Mirandel "));
    name->setFont(programFont(13, true));
    name->adjustSize();
    m_label2 = fixedLabel(area, QStringLiteral("Label2"), 128, 39, QString());
    fixedLabel(area, QStringLiteral("Label6"), 128, 62, QStringLiteral("Software Code : "));
    m_label9 = fixedLabel(area, QStringLiteral("Label9"), 240, 62, QString());
    fixedLabel(area, QStringLiteral("Label3"), 128, 77, QStringLiteral("Version :"));
    m_label10 = fixedLabel(area, QStringLiteral("Label10"), 240, 77, QString());
    fixedLabel(area, QStringLiteral("Label8"), 128, 93, QStringLiteral("Document Code :"));
    m_label12 = fixedLabel(area, QStringLiteral("Label12"), 240, 93, QString());

    auto *ok = new FlatButton(QStringLiteral("LbButton1"), area);
    ok->setGeometry(32, 115, 81, 22);
    ok->setText(QStringLiteral("OK"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *web = new ClickableLabel(QStringLiteral("Label4"), area);
    web->setText(Maker_Home_Host);
    web->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline;"));
    web->move(316, 131);
    web->adjustSize();
    connect(web, &ClickableLabel::clicked, this, &TFAbout::homePageRequested);

    setFixedSize(kClientSize);
}

void TFAbout::showEvent(QShowEvent *event)
{
    m_label2->setText(SW_Desc);
    m_label9->setText(SW_Code);
    m_label10->setText(Program_Version);
    m_label12->setText(QStringLiteral("UM51830"));
    for (QLabel *label : {m_label2, m_label9, m_label10, m_label12})
        label->adjustSize();
    setFixedSize(kClientSize);
    BaseDialog::showEvent(event);
}

} // namespace mirandel
