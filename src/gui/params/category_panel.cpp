#include "gui/params/category_panel.h"

#include "gui/common/look.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QResizeEvent>
#include <QVBoxLayout>

namespace mirandel {

namespace {

constexpr QColor kHeaderColour{231, 216, 216};
constexpr QColor kChevronHot{220, 0, 0};
constexpr int kScrollLine = 20;

} // namespace

// The panel's header: paints the caption and toggles the panel on a click.
class CategoryPanelHeader : public QWidget {
public:
    explicit CategoryPanelHeader(CategoryPanel *panel)
        : QWidget(panel)
        , m_panel(panel)
    {
        setFixedHeight(CategoryPanel::Header_Height);
        setAttribute(Qt::WA_Hover);
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), kHeaderColour);
        const int mid = height() / 2;

        // State image: a filled disc while expanded, a ring while collapsed.
        p.setPen(QPen(kGreyText, 1.5));
        p.setBrush(m_panel->isCollapsed() ? Qt::NoBrush : QBrush(kGreyText));
        p.drawEllipse(QPointF(12, mid), 4, 4);

        p.setPen(kGreyText);
        p.setFont(programFont(15, true));
        const QRect textRect(24, 0, width() - 24 - 28, height());
        p.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft,
                   p.fontMetrics().elidedText(m_panel->caption(), Qt::ElideRight, textRect.width()));

        // Chevron: points up while expanded (a click collapses), down otherwise.
        QPainterPath chevron;
        const qreal cx = width() - 16;
        const qreal dy = m_panel->isCollapsed() ? 3 : -3;
        chevron.moveTo(cx - 5, mid - dy);
        chevron.lineTo(cx, mid + dy);
        chevron.lineTo(cx + 5, mid - dy);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(underMouse() ? kChevronHot : kGreyText, 2));
        p.drawPath(chevron);
    }

    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            m_panel->setCollapsed(!m_panel->isCollapsed());
    }

private:
    CategoryPanel *m_panel;
};

CategoryPanel::CategoryPanel(const QString &objectName, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(objectName);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_header = new CategoryPanelHeader(this);
    m_header->setObjectName(objectName + QStringLiteral("_Header"));
    m_surface = new QWidget(this);
    m_surface->setObjectName(objectName + QStringLiteral("_Surface"));
    layout->addWidget(m_header);
    layout->addWidget(m_surface, 1);
    applyHeight();
}

void CategoryPanel::setCaption(const QString &caption)
{
    m_caption = caption;
    m_header->update();
}

void CategoryPanel::setPanelHeight(int height)
{
    m_panelHeight = qMax(height, Header_Height);
    applyHeight();
}

void CategoryPanel::setCollapsed(bool collapsed)
{
    if (m_collapsed == collapsed)
        return;
    m_collapsed = collapsed;
    m_surface->setVisible(!collapsed);
    applyHeight();
    m_header->update();
}

void CategoryPanel::applyHeight()
{
    setFixedHeight(m_collapsed ? Header_Height : m_panelHeight);
    emit heightChanged();
}

CategoryPanelGroup::CategoryPanelGroup(const QString &objectName, QWidget *parent)
    : QScrollArea(parent)
{
    setObjectName(objectName);
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    verticalScrollBar()->setTracking(true);
    verticalScrollBar()->setSingleStep(kScrollLine);
    m_stack = new QWidget(this);
    m_stack->setObjectName(objectName + QStringLiteral("_Stack"));
    setWidget(m_stack);
}

void CategoryPanelGroup::addPanel(CategoryPanel *panel)
{
    panel->setParent(m_stack);
    m_panels.append(panel);
    connect(panel, &CategoryPanel::heightChanged, this, &CategoryPanelGroup::restack);
    restack();
}

void CategoryPanelGroup::restack()
{
    // Panels sit one below the other from the top, as wide as the view.
    const int width = viewport()->width();
    int top = 0;
    for (CategoryPanel *panel : m_panels) {
        if (panel->isHidden())
            continue;
        const int height = panel->isCollapsed() ? CategoryPanel::Header_Height : panel->panelHeight();
        panel->setGeometry(0, top, width, height);
        top += height;
    }
    m_stack->resize(width, top);
}

void CategoryPanelGroup::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    restack();
}

} // namespace mirandel
