#include "gui/common/table_dialog.h"

#include "core/app/app_context.h"
#include "core/common/atomic_file.h"
#include "gui/common/look.h"
#include "gui/common/prompter.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTimer>

namespace mirandel {

namespace {

using Editor = GridColumn::Editor;

// Texts of the row commands, common to every table dialog.
constexpr int Text_Row_In_Use = 1100;
constexpr int Text_Bad_Copy = 1101;
constexpr int Text_No_Copy = 1102;

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

// ---------------------------------------------------------------- model

GridTableModel::GridTableModel(GridRows &rows, QList<GridColumn> columns, QObject *parent)
    : QAbstractTableModel(parent)
    , m_rows(rows)
    , m_columns(std::move(columns))
{
}

int GridTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.rowCount();
}

int GridTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size()) + 1;
}

QVariant GridTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    Q_ASSERT(checkIndex(index));
    if (extraData) {
        if (QVariant extra = extraData(index, role); extra.isValid())
            return extra;
    }
    const int row = index.row();
    if (index.column() == 0) {
        switch (role) {
        case Qt::DisplayRole:
            return QString::number(row + 1);
        case Qt::TextAlignmentRole:
            return int(Qt::AlignCenter);
        case Qt::BackgroundRole:
            return QApplication::palette().brush(QPalette::Button);
        default:
            return {};
        }
    }
    const int c = index.column() - 1;
    const GridColumn &col = m_columns.at(c);
    const bool isCheck = col.editor == Editor::DataCheck || col.editor == Editor::CheckBox;
    switch (role) {
    case Qt::DisplayRole:
        return isCheck ? QVariant() : QVariant(m_rows.text(row, c));
    case Qt::EditRole:
        return m_rows.text(row, c);
    case Qt::CheckStateRole:
        if (col.editor == Editor::DataCheck)
            return int(m_rows.text(row, c) == QStringLiteral("Y") ? Qt::Checked : Qt::Unchecked);
        if (col.editor == Editor::CheckBox)
            return int(m_rows.isChecked(row, c) ? Qt::Checked : Qt::Unchecked);
        return {};
    case Qt::TextAlignmentRole:
        return int(col.alignment | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        return QBrush(col.colour);
    case Qt::ForegroundRole:
        return QBrush(Qt::black);
    default:
        return {};
    }
}

bool GridTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.column() == 0)
        return false;
    Q_ASSERT(checkIndex(index));
    const int row = index.row();
    const int c = index.column() - 1;
    const GridColumn &col = m_columns.at(c);
    if (role == Qt::CheckStateRole) {
        const bool checked = value.toInt() == Qt::Checked;
        if (col.editor == Editor::DataCheck)
            m_rows.setText(row, c, checked ? QStringLiteral("Y") : QStringLiteral("N"));
        else if (col.editor == Editor::CheckBox)
            m_rows.setChecked(row, c, checked);
        else
            return false;
    } else if (role == Qt::EditRole) {
        if (col.editor == Editor::CheckBox)
            return false;
        m_rows.setText(row, c, value.toString());
    } else {
        return false;
    }
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags GridTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Q_ASSERT(checkIndex(index));
    const Qt::ItemFlags base = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0)
        return base;
    switch (column(index.column()).editor) {
    case Editor::DataCheck:
    case Editor::CheckBox:
        return base | Qt::ItemIsUserCheckable;
    default:
        return base | Qt::ItemIsEditable;
    }
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole && section >= 0 && section < rowCount())
            return QString::number(section + 1);
        return {};
    }
    if (section < 0 || section >= columnCount())
        return {};
    if (role == Qt::DisplayRole)
        return m_titles.value(section);
    // The hint of a title cell; the row-number column has none.
    if (role == Qt::ToolTipRole && section > 0) {
        const QString hint = m_hints.value(section - 1);
        return hint.isEmpty() ? QVariant() : QVariant(hint);
    }
    return {};
}

void GridTableModel::setHeaderTexts(const QStringList &titles, const QStringList &hints)
{
    m_titles = titles;
    m_hints = hints;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void GridTableModel::rowsChanged(int first, int last)
{
    first = qBound(0, first, rowCount() - 1);
    last = qBound(first, last, rowCount() - 1);
    emit dataChanged(index(first, 0), index(last, columnCount() - 1));
}

void GridTableModel::reload()
{
    beginResetModel();
    endResetModel();
}

// ---------------------------------------------------------------- delegate

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

QWidget *GridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                    const QModelIndex &index) const
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

// ---------------------------------------------------------------- grid

TableGrid::TableGrid(QWidget *parent)
    : QTableView(parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setShowGrid(true);
    setWordWrap(false);
    verticalHeader()->hide();
    horizontalHeader()->setFixedHeight(22);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    // The view fits a column on a double click on a section border by itself;
    // fitting is the flag's decision here, on the title as on its border.
    disconnect(horizontalHeader(), &QHeaderView::sectionHandleDoubleClicked, this, nullptr);
    connect(horizontalHeader(), &QHeaderView::sectionDoubleClicked, this, &TableGrid::Grid_Auto_Size);
    connect(horizontalHeader(), &QHeaderView::sectionHandleDoubleClicked, this, &TableGrid::Grid_Auto_Size);
}

void TableGrid::Grid_Enter_Key()
{
    const QModelIndex current = currentIndex();
    if (!model() || !current.isValid() || current.column() < 1)
        return;
    const int lastColumn = model()->columnCount() - 1;
    QModelIndex next;
    if (current.column() < lastColumn)
        next = model()->index(current.row(), current.column() + 1);
    else
        next = model()->index(current.row() + 1 < model()->rowCount() ? current.row() + 1 : 0, 1);
    selectionModel()->setCurrentIndex(next, QItemSelectionModel::ClearAndSelect);
    scrollTo(next);
}

void TableGrid::Grid_Auto_Size(int column)
{
    if (autoSizeEnabled && autoSizeEnabled())
        resizeColumnToContents(column);
}

void TableGrid::finishEditing()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    if (QWidget *editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void TableGrid::setRowSizing(bool enabled)
{
    m_rowSizing = enabled;
    setMouseTracking(enabled);
}

int TableGrid::rowBorderAt(const QPoint &pos) const
{
    constexpr int grip = 3; // pixels either side of the border line
    const int left = columnViewportPosition(0);
    if (!model() || pos.x() < left || pos.x() >= left + columnWidth(0))
        return -1;
    const int row = rowAt(pos.y());
    if (row < 0)
        return -1;
    const int top = rowViewportPosition(row);
    if (top + rowHeight(row) - pos.y() <= grip)
        return row;
    if (row > 0 && pos.y() - top < grip)
        return row - 1;
    return -1;
}

void TableGrid::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const int row = m_rowSizing && event->button() == Qt::LeftButton ? rowBorderAt(pos) : -1;
    if (row < 0) {
        QTableView::mousePressEvent(event);
        return;
    }
    m_sizingRow = row;
    m_sizingStartY = pos.y();
    m_sizingStartHeight = rowHeight(row);
    event->accept();
}

void TableGrid::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (m_sizingRow >= 0) {
        const int height = m_sizingStartHeight + pos.y() - m_sizingStartY;
        setRowHeight(m_sizingRow, qMax(verticalHeader()->minimumSectionSize(), height));
        event->accept();
        return;
    }
    if (m_rowSizing) {
        if (rowBorderAt(pos) >= 0)
            viewport()->setCursor(Qt::SplitVCursor);
        else
            viewport()->unsetCursor();
    }
    QTableView::mouseMoveEvent(event);
}

void TableGrid::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_sizingRow >= 0 && event->button() == Qt::LeftButton) {
        m_sizingRow = -1;
        event->accept();
        return;
    }
    QTableView::mouseReleaseEvent(event);
}

void TableGrid::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && jumpEnabled && jumpEnabled()) {
        Grid_Enter_Key();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

// ---------------------------------------------------------------- dialog

TableDialog::TableDialog(AppContext &context, Prompter &prompter, QWidget *parent, GridRows rows,
                         QList<GridColumn> columns, Variant variant, Texts texts, const QString &gridName,
                         QSize clientSize)
    : BaseDialog(context, prompter, parent)
    , m_rows(std::move(rows))
    , m_variant(variant)
    , m_texts(std::move(texts))
{
    setModal(true);
    QList<int> widths = {40};
    for (const GridColumn &col : columns)
        widths.append(col.width);
    m_model = new GridTableModel(m_rows, std::move(columns), this);

    m_grid = new TableGrid(this);
    m_grid->setObjectName(gridName);
    m_grid->setFont(programFont(11));
    m_grid->setModel(m_model);
    auto *delegate = new GridDelegate(m_grid);
    m_grid->setItemDelegate(delegate);
    for (int c = 0; c < widths.size(); ++c)
        m_grid->setColumnWidth(c, widths.at(c));
    m_grid->jumpEnabled = [this] { return m_context.Enable_Jump_Field_Tables; };
    m_grid->autoSizeEnabled = [this] { return m_context.Double_Click_Auto_Size; };
    delegate->enterWalks = m_grid->jumpEnabled;
    connect(delegate, &GridDelegate::enterPressed, m_grid, &TableGrid::Grid_Enter_Key);
    connect(m_grid, &QAbstractItemView::clicked, this, &TableDialog::ClickCell);
    setContent(m_grid);

    const QStringList names = {QStringLiteral("Btn_OK"),     QStringLiteral("Btn_Cancel"),
                               QStringLiteral("Btn_DelRow"), QStringLiteral("Btn_InsRow"),
                               QStringLiteral("Btn_CopyRow"), QStringLiteral("Btn_PasteRow")};
    for (int i = 0; i < names.size(); ++i) {
        FlatButton *button = buttonBand()->addButton(names.at(i), 16 + 118 * i);
        // Enter belongs to the grid: no button may take it as the default.
        button->setAutoDefault(false);
        button->setDefault(false);
        m_buttons.append(button);
    }
    connect(m_buttons[0], &QPushButton::clicked, this, &TableDialog::Btn_OKClick);
    connect(m_buttons[1], &QPushButton::clicked, this, &QDialog::reject);
    connect(m_buttons[2], &QPushButton::clicked, this, &TableDialog::Btn_DelRowClick);
    connect(m_buttons[3], &QPushButton::clicked, this, &TableDialog::Btn_InsRowClick);
    connect(m_buttons[4], &QPushButton::clicked, this, &TableDialog::Btn_CopyRowClick);
    connect(m_buttons[5], &QPushButton::clicked, this, &TableDialog::Btn_PasteRowClick);

    resize(clientSize);
}

void TableDialog::Set_Lang()
{
    const auto text = [this](int index) { return m_context.text(index); };
    setWindowTitle(text(m_texts.caption));
    titleBand()->descLabel()->setText(text(m_texts.description));
    titleBand()->descLabel()->adjustSize();
    for (int i = 0; i < m_buttons.size(); ++i) {
        m_buttons[i]->setText(text(m_texts.firstButton + i));
        const bool shown = m_texts.allHintsShown || i >= 4;
        m_buttons[i]->setToolTip(shown ? text(m_texts.firstButtonHint + i) : QString());
    }
    QStringList titles;
    for (int index : m_texts.titles)
        titles.append(text(index));
    Hint_List.clear();
    for (int index : m_texts.hints)
        Hint_List.append(text(index));
    m_model->setHeaderTexts(titles, Hint_List);
}

void TableDialog::FormShow()
{
    const TableLoadResult result = loadRows();
    m_model->reload();
    Do_Copy = false;
    m_keepUnreadable = result.xml.status == XmlLoadResult::Malformed
                       || result.xml.status == XmlLoadResult::Unreadable;
    m_grid->setCurrentIndex(m_model->index(0, 1));
    m_grid->scrollToTop();
    // The notices come once the dialog is on screen.
    if (m_keepUnreadable || result.droppedRows > 0)
        QTimer::singleShot(0, this, [this, result] { showLoadNotices(result); });
}

void TableDialog::showLoadNotices(const TableLoadResult &result)
{
    const QString file = QDir::toNativeSeparators(filePath());
    if (m_keepUnreadable)
        m_prompter.error(this, m_context.text(m_texts.readError).arg(file, result.xml.describe()));
    if (result.droppedRows > 0)
        m_prompter.warning(this, m_context.text(m_texts.extraRows).arg(file, QString::number(result.droppedRows)));
}

void TableDialog::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        FormShow();
    BaseDialog::showEvent(event);
}

int TableDialog::currentRow() const
{
    const QModelIndex current = m_grid->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void TableDialog::ClickCell(const QModelIndex &index)
{
    if (index.isValid() && index.column() == 0)
        m_grid->selectRow(index.row());
}

void TableDialog::Btn_OKClick()
{
    m_grid->finishEditing();
    if (!Controllo_dati())
        return;
    const QString path = filePath();
    const QString file = QDir::toNativeSeparators(path);
    QString error;
    if (m_keepUnreadable && QFile::exists(path)) {
        if (!keepUnreadableFile(path, &error)) {
            m_prompter.error(this, m_context.text(m_texts.keepError).arg(file, error));
            return;
        }
        m_keepUnreadable = false;
    }
    if (!saveRows(&error)) {
        m_prompter.error(this, m_context.text(m_texts.writeError).arg(file, error));
        return;
    }
    accept();
}

void TableDialog::Btn_DelRowClick()
{
    m_grid->finishEditing();
    const int row = currentRow();
    if (row < 0)
        return;
    if (!m_prompter.question(this, m_context.text(m_texts.deleteQuestion) + QString::number(row + 1)))
        return;
    if (m_variant == Variant::CheckBox)
        Grid_Delete_Row_Check(m_rows, row, true);
    else
        Grid_Delete_Row(m_rows, row);
    m_model->rowsChanged(row, m_rows.rowCount() - 1);
}

void TableDialog::Btn_InsRowClick()
{
    m_grid->finishEditing();
    const int row = currentRow();
    if (row < 0)
        return;
    if (m_variant == Variant::CheckBox)
        Grid_Insert_Row_Check(m_rows, row, true);
    else
        Grid_Insert_Row(m_rows, row, true);
    m_model->rowsChanged(row, m_rows.rowCount() - 1);
}

void TableDialog::Btn_CopyRowClick()
{
    m_grid->finishEditing();
    const int row = currentRow();
    if (row < 0)
        return;
    if (m_variant == Variant::CheckBox)
        Grid_Copy_Row_Check(m_rows, row, m_context.Copy_Buffer, m_context.Copy_Is_Check);
    else
        Grid_Copy_Row(m_rows, row, m_context.Copy_Buffer);
    Do_Copy = true;
}

void TableDialog::Btn_PasteRowClick()
{
    m_grid->finishEditing();
    const int row = currentRow();
    if (row < 0)
        return;
    const ConfirmOverwrite confirm = [this] { return m_prompter.question(this, m_context.text(Text_Row_In_Use)); };
    const PasteResult result =
        m_variant == Variant::CheckBox
            ? Grid_Paste_Row_Check(m_rows, row, m_context.Copy_Buffer, m_context.Copy_Is_Check, Do_Copy, confirm)
            : Grid_Paste_Row(m_rows, row, m_context.Copy_Buffer, Do_Copy, confirm);
    switch (result) {
    case PasteResult::NoCopy:
        m_prompter.error(this, m_context.text(Text_No_Copy));
        break;
    case PasteResult::WrongWidth:
        m_prompter.error(this, m_context.text(Text_Bad_Copy));
        break;
    case PasteResult::Pasted:
        m_model->rowsChanged(row, row);
        break;
    case PasteResult::Declined:
        break;
    }
}

} // namespace mirandel
