#pragma once
// GridDelegate: the editor of each GridTableModel column (text edit,
// multi-line text, fixed or editable drop-down list) and the centred check
// boxes of its check columns.

#include <QStyledItemDelegate>
#include <functional>

namespace mirandel {

// Per-column editors and the drawing of centred check boxes.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit GridDelegate(QObject *parent = nullptr);

    // When it returns true, Enter in an open editor commits and closes the
    // editor and emits enterPressed instead of reaching the editor.
    std::function<bool()> enterWalks;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

signals:
    void enterPressed();

protected:
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    static bool isCheckColumn(const QModelIndex &index);
    static QRect checkRect(const QStyleOptionViewItem &option);
};

} // namespace mirandel
