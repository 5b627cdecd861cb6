#include "gui/tls/tf_tls_server_known_cert.h"

#include "core/app/app_context.h"
#include "core/common/text_rules.h"
#include "core/lang/text_ids.h"
#include "core/tls/known_cert_list.h"
#include "gui/common/prompter.h"
#include "gui/common/text_input_guard.h"

#include <QHeaderView>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
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
    t.readError = Text_Cert_List_Unreadable;
    t.extraRows = Text_Cert_List_Extra_Rows;
    t.writeError = Text_Cert_List_Not_Saved;
    t.keepError = Text_Cert_List_Not_Kept;
    return t;
}

TlsStatusTexts knownStatusTexts()
{
    TlsStatusTexts t;
    t.expires = Text_Cert_Expires;
    t.fingerprint = Text_Cert_Fingerprint;
    // In the order of CertProblem; key and server problems do not concern the list.
    t.problems = {Text_Cert_Not_Pem,
                  Text_Cert_Expired,
                  Text_Cert_Not_Yet_Valid,
                  Text_Cert_Expires_Soon,
                  -1,
                  -1,
                  Text_Cert_Weak_Key,
                  Text_Cert_Weak_Signature,
                  -1,
                  Text_Cert_Duplicate,
                  -1};
    return t;
}

// The marker of a row with a problem: a dot in the status colour.
QIcon marker(StatusLevel level)
{
    QPixmap pixmap(10, 10);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(statusColour(level));
    painter.drawEllipse(1, 1, 8, 8);
    return QIcon(pixmap);
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

    // Beside the six row commands, narrower than they are so that it fits
    // the list's width.
    Btn_LoadFile = buttonBand()->addButton(QStringLiteral("Btn_LoadFile"), 724);
    Btn_LoadFile->setFixedSize(74, 28);
    Btn_LoadFile->setAutoDefault(false);
    connect(Btn_LoadFile, &QPushButton::clicked, this, &TFTLS_Server_Known_Cert::Btn_LoadFileClick);

    m_status.resize(m_rows.rowCount());
    model()->extraData = [this](const QModelIndex &index, int role) { return extraData(index, role); };
    connect(model(), &QAbstractItemModel::dataChanged, this, &TFTLS_Server_Known_Cert::inspectRows);
    connect(model(), &QAbstractItemModel::modelReset, this, &TFTLS_Server_Known_Cert::inspectRows);
    dropNonXmlCharactersInEditors(grid()->viewport());
    keepLineBreaksOfEdits();
    Set_Lang();
}

void TFTLS_Server_Known_Cert::Set_Lang()
{
    TableDialog::Set_Lang();
    Btn_LoadFile->setText(m_context.text(Text_Cert_Load_File));
    Btn_LoadFile->setToolTip(m_context.text(Text_Cert_Load_File_Hint));
    inspectRows();
}

TlsStatus TFTLS_Server_Known_Cert::rowStatus(int row) const
{
    return m_status.value(row);
}

void TFTLS_Server_Known_Cert::inspectRows()
{
    TlsTexts texts;
    for (int r = 0; r < m_rows.rowCount(); ++r)
        texts.knownCertificates.append(m_rows.text(r, Cert_Certificate));
    m_status.fill(TlsStatus{});
    const TlsStatusTexts statusTexts = knownStatusTexts();
    for (const TlsSlotReport &report : inspectTls(texts)) {
        const int row = report.slot.section(QLatin1Char(':'), 1).toInt() - 1;
        if (row >= 0 && row < m_status.size())
            m_status[row] = tlsStatus(report, m_context.texts, statusTexts);
    }
    // Tooltips and markers are asked for when shown: a repaint is enough.
    grid()->viewport()->update();
}

QVariant TFTLS_Server_Known_Cert::extraData(const QModelIndex &index, int role) const
{
    const TlsStatus status = rowStatus(index.row());
    if (status.line.isEmpty())
        return {};
    if (role == Qt::ToolTipRole)
        return status.tooltip.isEmpty() || status.tooltip == status.line
                   ? status.line
                   : status.line + QLatin1Char('\n') + status.tooltip;
    if (role == Qt::DecorationRole && index.column() == 0 && status.level != StatusLevel::Plain)
        return marker(status.level);
    return {};
}

void TFTLS_Server_Known_Cert::Btn_LoadFileClick()
{
    grid()->finishEditing();
    const QModelIndex current = grid()->currentIndex();
    if (!current.isValid())
        return;
    const QString path =
        chooseFile(this, m_context.text(Text_Cert_Files) + QStringLiteral(" (*.pem *.crt *.cer *.der);;* (*)"));
    if (path.isEmpty())
        return;
    if (const auto text = readTlsFile(this, m_prompter, m_context.texts, Text_Cert_File_Unusable, path)) {
        m_rows.setText(current.row(), Cert_Certificate, *text);
        model()->rowsChanged(current.row(), current.row());
    }
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
