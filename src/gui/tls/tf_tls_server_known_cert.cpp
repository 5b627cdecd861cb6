#include "gui/tls/tf_tls_server_known_cert.h"

#include "core/app/app_context.h"
#include "core/common/text_rules.h"
#include "core/tls/known_cert_list.h"
#include "gui/common/text_input_guard.h"

#include <QHeaderView>
#include <QPlainTextEdit>

namespace mirandel {

namespace {

QList<GridColumn> certColumns()
{
    using E = GridColumn::Editor;
    return {
        {E::CheckBox, 50, Qt::AlignHCenter, QColor(255, 216, 176), {}},
        {E::MultiLine, 500, Qt::AlignLeft, QColor(224, 250, 254), {}},
        {E::Text, 160, Qt::AlignLeft, Qt::white, {}},
    };
}

TableDialog::Texts certTexts()
{
    TableDialog::Texts t;
    t.caption = 800;
    t.description = 801;
    t.firstButton = 802;
    t.firstButtonHint = 808;
    t.allHintsShown = true;
    t.titles = {814, 815, 816, 817};
    t.hints = {818, 819, 820};
    t.deleteQuestion = 821;
    t.readError = 822;
    t.extraRows = 823;
    t.writeError = 824;
    t.keepError = 825;
    return t;
}

} // namespace

TFTLS_Server_Known_Cert::TFTLS_Server_Known_Cert(AppContext &context, Prompter &prompter, QWidget *parent)
    : TableDialog(context, prompter, parent, makeKnownCertList(), certColumns(), Variant::CheckBox, certTexts(),
                  QStringLiteral("ASG"), QSize(800, 337))
{
    setObjectName(QStringLiteral("TFTLS_Server_Known_Cert"));
    grid()->verticalHeader()->setMinimumSectionSize(20);
    grid()->verticalHeader()->setDefaultSectionSize(60);
    grid()->verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // A pasted certificate runs over many lines: the user may make its row
    // taller.
    grid()->setRowSizing(true);
    dropNonXmlCharactersInEditors(grid()->viewport());
    keepLineBreaksOfEdits();
    Set_Lang();
}

// The certificate editor gives its text back with LF line breaks only. A
// certificate that used CR LF keeps CR LF, so the bytes of its unchanged
// lines in bank2 stay as they were; a new text takes the platform's style.
void TFTLS_Server_Known_Cert::keepLineBreaksOfEdits()
{
    onEditorShown(grid()->viewport(), [this](QWidget *editor) {
        if (!qobject_cast<QPlainTextEdit *>(editor))
            return;
        QModelIndex cell = grid()->indexAt(editor->geometry().center());
        if (!cell.isValid())
            cell = grid()->currentIndex();
        m_editedCell = cell;
        m_editedBefore = cell.data(Qt::EditRole).toString();
    });
    connect(model(), &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &topLeft, const QModelIndex &bottomRight) {
        if (!m_editedCell.isValid() || topLeft != m_editedCell || bottomRight != m_editedCell)
            return;
        const int row = topLeft.row();
        const int column = topLeft.column() - 1;
        m_editedCell = QPersistentModelIndex();
        const QString edited = m_rows.text(row, column);
        const QString kept = keepLineBreakStyle(m_editedBefore, edited, platformLineBreak());
        if (kept != edited)
            m_rows.setText(row, column, kept);
    });
    // The editor's text has been committed by then (or not at all).
    connect(grid()->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
            [this] { m_editedCell = QPersistentModelIndex(); });
}

QString TFTLS_Server_Known_Cert::filePath() const
{
    return m_context.TLS_Known_Cert_File;
}

TableLoadResult TFTLS_Server_Known_Cert::loadRows()
{
    return loadKnownCertList(filePath(), m_rows);
}

bool TFTLS_Server_Known_Cert::saveRows(QString *error)
{
    return saveKnownCertList(m_rows, filePath(), error);
}

} // namespace mirandel
