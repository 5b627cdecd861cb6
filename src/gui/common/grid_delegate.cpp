#include "gui/common/grid_delegate.h"

#include "gui/common/grid_table_model.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>

namespace mirandel {

namespace {

using Editor = GridColumn::Editor;

// Property of an editor holding the value it was opened with, so that an
// editor closed without a change writes nothing back (a multi-line editor
// would otherwise turn "\r\n" into "\n").
constexpr char kInitialValue[] = "mirandelInitialValue";

const GridTableModel *gridModel(const QModelIndex &index)
{
    return qobject_cast<const GridTableModel *>(index.model());
}

QString editorValue(QWidget *editor)
{
    if (auto *combo = qobject_cast<QComboBox *>(editor))
        return combo->isEditable() || combo->currentIndex() >= 0 ? combo->currentText() : QString();
    if (auto *plain = qobject_cast<QPlainTextEdit *>(editor))
        return plain->toPlainText();
    if (auto *line = qobject_cast<QLineEdit *>(editor))
        return line->text();
    return QString();
}

} // namespace

GridDelegate::GridDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

bool GridDelegate::isCheckColumn(const QModelIndex &index)
{
    const GridTableModel *model = gridModel(index);
    if (!model || index.column() == 0)
        return false;
    const Editor editor = model->column(index.column()).editor;
    return editor == Editor::DataCheck || editor == Editor::CheckBox;
}

QRect GridDelegate::checkRect(const QStyleOptionViewItem &option)
{
    const QStyle *style = option.widget ? option.widget->style() : QApplication::style();
    const int w = style->pixelMetric(QStyle::PM_IndicatorWidth, &option, option.widget);
    const int h = style->pixelMetric(QStyle::PM_IndicatorHeight, &option, option.widget);
    return QStyle::alignedRect(option.direction, Qt::AlignCenter, QSize(w, h), option.rect);
}

QWidget *GridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const GridTableModel *model = gridModel(index);
    if (!model || index.column() == 0 || isCheckColumn(index))
        return nullptr;
    const GridColumn &col = model->column(index.column());
    switch (col.editor) {
    case Editor::List:
    case Editor::EditableList: {
        auto *combo = new QComboBox(parent);
        combo->setEditable(col.editor == Editor::EditableList);
        combo->addItems(col.items);
        combo->setMaxVisibleItems(8);
        return combo;
    }
    case Editor::MultiLine: {
        auto *edit = new QPlainTextEdit(parent);
        edit->setTabChangesFocus(true);
        edit->setFrameShape(QFrame::NoFrame);
        return edit;
    }
    default:
        return QStyledItemDelegate::createEditor(parent, option, index);
    }
}

void GridDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    const QString text = index.data(Qt::EditRole).toString();
    if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        combo->setCurrentIndex(combo->findText(text, Qt::MatchExactly));
        if (combo->isEditable())
            combo->setEditText(text);
    } else if (auto *plain = qobject_cast<QPlainTextEdit *>(editor)) {
        plain->setPlainText(text);
    } else {
        QStyledItemDelegate::setEditorData(editor, index);
    }
    editor->setProperty(kInitialValue, editorValue(editor));
}

void GridDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    const QString value = editorValue(editor);
    if (value == editor->property(kInitialValue).toString())
        return;
    // A fixed list with nothing chosen keeps the cell as it was.
    if (auto *combo = qobject_cast<QComboBox *>(editor); combo && !combo->isEditable() && combo->currentIndex() < 0)
        return;
    model->setData(index, value, Qt::EditRole);
}

void GridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!isCheckColumn(index)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const bool checked = opt.checkState == Qt::Checked;
    opt.features &= ~QStyleOptionViewItem::HasCheckIndicator;
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    QStyleOptionViewItem box = opt;
    box.rect = checkRect(option);
    box.state = (box.state & ~QStyle::State_HasFocus) | (checked ? QStyle::State_On : QStyle::State_Off);
    style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, widget);
}

bool GridDelegate::editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                               const QModelIndex &index)
{
    if (!isCheckColumn(index))
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    bool toggle = false;
    switch (event->type()) {
    case QEvent::MouseButtonDblClick: {
        // The release before it toggled already; the second click must not.
        auto *mouse = static_cast<QMouseEvent *>(event);
        return mouse->button() == Qt::LeftButton && checkRect(option).contains(mouse->position().toPoint());
    }
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        toggle = mouse->button() == Qt::LeftButton && checkRect(option).contains(mouse->position().toPoint());
        break;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent *>(event)->key();
        toggle = key == Qt::Key_Space || key == Qt::Key_Select;
        break;
    }
    default:
        break;
    }
    if (!toggle)
        return false;
    const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    return model->setData(index, int(checked ? Qt::Unchecked : Qt::Checked), Qt::CheckStateRole);
}

bool GridDelegate::eventFilter(QObject *object, QEvent *event)
{
    auto *editor = qobject_cast<QWidget *>(object);
    if (editor && event->type() == QEvent::KeyPress && enterWalks && enterWalks()) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        // In a multi-line editor Shift+Enter always starts a new line.
        const bool newLine = qobject_cast<QPlainTextEdit *>(editor) && (key->modifiers() & Qt::ShiftModifier);
        if (enter && !newLine) {
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::NoHint);
            emit enterPressed();
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

} // namespace mirandel
