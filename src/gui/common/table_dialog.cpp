#include "gui/common/table_dialog.h"

#include "core/app/app_context.h"
#include "core/common/atomic_file.h"
#include "core/lang/text_ids.h"
#include "gui/common/look.h"
#include "gui/common/prompter.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QShowEvent>
#include <QTimer>

namespace mirandel {

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

    const QStringList names = {QStringLiteral("Btn_OK"),      QStringLiteral("Btn_Cancel"),
                               QStringLiteral("Btn_DelRow"),  QStringLiteral("Btn_InsRow"),
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
    m_keepUnreadable = result.xml.status == XmlLoadResult::Malformed || result.xml.status == XmlLoadResult::Unreadable;
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
