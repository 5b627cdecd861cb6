#pragma once
// Collapsible category panels stacked in a scrolling group.
//
// A CategoryPanel is a 24-pixel header (caption, a state image on the left,
// a chevron on the right) above a content surface on which the owner places
// its controls at fixed positions. The owner decides the panel's expanded
// height with setPanelHeight(); clicking the header collapses the panel to
// its header and expands it again. CategoryPanelGroup stacks its panels from
// the top in the order they were added, follows their height changes, and
// scrolls vertically when they do not fit.

#include <QScrollArea>
#include <QWidget>

namespace mirandel {

class CategoryPanelHeader;

class CategoryPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int Header_Height = 24;

    explicit CategoryPanel(const QString &objectName, QWidget *parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);

    // The surface below the header; child controls are placed on it.
    QWidget *surface() const { return m_surface; }

    // Expanded height, header included.
    int panelHeight() const { return m_panelHeight; }
    void setPanelHeight(int height);

    bool isCollapsed() const { return m_collapsed; }
    void setCollapsed(bool collapsed);

signals:
    // The panel's height changed (new expanded height, collapse or expand).
    void heightChanged();

private:
    friend class CategoryPanelHeader;
    void applyHeight();

    QString m_caption;
    CategoryPanelHeader *m_header;
    QWidget *m_surface;
    int m_panelHeight = Header_Height;
    bool m_collapsed = false;
};

class CategoryPanelGroup : public QScrollArea {
    Q_OBJECT
public:
    explicit CategoryPanelGroup(const QString &objectName, QWidget *parent = nullptr);

    // Appends `panel` below the panels already added.
    void addPanel(CategoryPanel *panel);
    QList<CategoryPanel *> panels() const { return m_panels; }

    // Places the shown panels one below the other from the top.
    void restack();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *m_stack;
    QList<CategoryPanel *> m_panels;
};

} // namespace mirandel
