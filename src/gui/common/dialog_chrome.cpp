#include "gui/common/dialog_chrome.h"

#include "core/app/app_context.h"
#include "gui/common/look.h"

#include <QGuiApplication>
#include <QLabel>
#include <QResizeEvent>
#include <QScreen>
#include <QShowEvent>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QVBoxLayout>

namespace mirandel {

namespace {

constexpr int kButtonPadding = 6;
constexpr int kIconGap = 6;

} // namespace

FlatButton::FlatButton(const QString &objectName, QWidget *parent)
    : QPushButton(parent)
{
    setObjectName(objectName);
    setFlat(true);
    setFixedSize(110, 28);
    setFocusPolicy(Qt::StrongFocus);
}

void FlatButton::setAlignLeft(bool left)
{
    m_alignLeft = left;
    update();
}

QRect FlatButton::textArea(const QRect &rect) const
{
    QRect area = rect.adjusted(kButtonPadding, 2, -kButtonPadding, -2);
    if (!icon().isNull())
        area.setLeft(area.left() + iconSize().width() + kIconGap);
    return area;
}

QSize FlatButton::sizeHint() const
{
    const QSize oneLine = QPushButton::sizeHint();
    if (!hasFixedWidth() || text().isEmpty() || oneLine.width() <= width())
        return oneLine;
    // The caption wraps: what it needs is its widest wrapped line and the
    // height of all its lines.
    const QRect area = textArea(rect());
    const QRect wrapped =
        fontMetrics().boundingRect(QRect(0, 0, area.width(), 10000), Qt::AlignCenter | Qt::TextWordWrap, text());
    const int iconWidth = icon().isNull() ? 0 : iconSize().width() + kIconGap;
    return {wrapped.width() + iconWidth + 2 * kButtonPadding, qMax(wrapped.height() + 2, iconSize().height())};
}

void FlatButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    const QIcon buttonIcon = option.icon;
    option.text.clear();
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButton, option);

    QRect area = rect().adjusted(kButtonPadding, 2, -kButtonPadding, -2);
    const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
    int flags = Qt::AlignVCenter | Qt::TextWordWrap | (m_alignLeft ? Qt::AlignLeft : Qt::AlignHCenter);
    if (!buttonIcon.isNull()) {
        // The icon sits before the caption; centred buttons centre both.
        const QSize size = iconSize();
        const int textWidth =
            caption.isEmpty() ? 0 : kIconGap + fontMetrics().boundingRect(textArea(rect()), flags, caption).width();
        const int contentWidth = size.width() + textWidth;
        const int left = m_alignLeft ? area.left() : area.left() + qMax(0, (area.width() - contentWidth) / 2);
        const QRect iconRect(left, area.top() + (area.height() - size.height()) / 2, size.width(), size.height());
        buttonIcon.paint(&painter, iconRect, Qt::AlignCenter, mode);
        area.setLeft(iconRect.right() + 1 + kIconGap);
        flags = (flags & ~Qt::AlignHCenter) | Qt::AlignLeft;
    }
    if (caption.isEmpty())
        return;
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(area, flags, caption);
}

TitleBand::TitleBand(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("P_Title"));
    setFixedHeight(69);
    m_code = new QLabel(this);
    m_code->setObjectName(QStringLiteral("L_SW_Code"));
    m_code->setFont(programFont(32));
    m_code->setStyleSheet(QStringLiteral("color: rgb(128,128,128);"));
    m_code->move(16, 8);
    m_code->setText(SW_Code);
    m_code->adjustSize();
    m_desc = new QLabel(this);
    m_desc->setObjectName(QStringLiteral("L_SW_Desc"));
    m_desc->setFont(programFont(11, true));
    m_desc->setStyleSheet(QStringLiteral("color: rgb(128,128,128);"));
    m_desc->move(16, 42);
    m_desc->setMinimumWidth(400);
}

ButtonBand::ButtonBand(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("P_Button"));
    setFixedHeight(40);
}

FlatButton *ButtonBand::addButton(const QString &objectName, int x)
{
    auto *button = new FlatButton(objectName, this);
    button->move(x, 6);
    return button;
}

FlatButton *ButtonBand::addRightButton(const QString &objectName, int rightGap)
{
    auto *button = new FlatButton(objectName, this);
    m_rightButtons.append({button, rightGap});
    button->move(width() - rightGap - button->width(), 6);
    return button;
}

void ButtonBand::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    for (const auto &[button, gap] : m_rightButtons)
        button->move(width() - gap - button->width(), 6);
}

BaseDialog::BaseDialog(AppContext &context, Prompter &prompter, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
    , m_prompter(prompter)
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kBackground);
    setPalette(pal);
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_title = new TitleBand(this);
    m_content = new QWidget(this);
    m_content->setObjectName(QStringLiteral("content"));
    m_buttons = new ButtonBand(this);
    m_layout->addWidget(m_title);
    m_layout->addWidget(m_content, 1);
    m_layout->addWidget(m_buttons);
}

void BaseDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Restoring a minimised dialog is not a new opening: it stays put.
    if (event->spontaneous())
        return;
    QScreen *target = parentWidget() ? parentWidget()->screen() : screen();
    if (!target)
        target = QGuiApplication::primaryScreen();
    if (!target)
        return;
    const QRect area = target->availableGeometry();
    QRect frame = frameGeometry();
    frame.moveCenter(area.center());
    move(frame.topLeft());
}

void BaseDialog::setContent(QWidget *widget)
{
    m_layout->replaceWidget(m_content, widget);
    m_content->deleteLater();
    m_content = widget;
    m_layout->setStretchFactor(widget, 1);
}

} // namespace mirandel
