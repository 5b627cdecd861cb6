#include "gui/tls/tf_tls_server_known_cert.h"

#include "core/app/app_context.h"
#include "core/lang/text_ids.h"
#include "core/tls/known_cert_list.h"

#include <QHeaderView>

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
    Set_Lang();
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
