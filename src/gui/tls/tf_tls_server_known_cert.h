#pragma once
// TFTLS_Server_Known_Cert: the list of up to 10 client certificates the
// gateway's TLS server accepts, kept in TLS_Known_Cert.xml. The grid ASG has
// real check boxes in its Enable column and a multi-line editor for the
// certificate, so a pasted PEM block keeps its line breaks. The row commands
// are the check-box variant.
//
// Every row's certificate is inspected whenever the list changes: the row's
// tooltip shows its subject, expiry, fingerprint and problems, and its number
// cell carries a red or amber marker when it has a problem. "Load from file…"
// reads a PEM or DER certificate into the selected row.

#include "gui/common/table_dialog.h"
#include "gui/tls/tls_status.h"

#include <QPersistentModelIndex>

namespace mirandel {

class TFTLS_Server_Known_Cert : public TableDialog {
    Q_OBJECT
public:
    TFTLS_Server_Known_Cert(AppContext &context, Prompter &prompter, QWidget *parent = nullptr);

    // The list has no rule to check: always true.
    bool Controllo_dati() override { return true; }

    void Set_Lang() override;

    // The status of data row `row` (0-based) as its tooltip and marker show it.
    TlsStatus rowStatus(int row) const;

    // Asks for a file and loads it into the selected row's certificate.
    void Btn_LoadFileClick();

    // Asks for the file "Load from file…" reads; tests replace it.
    FileChooser chooseFile = platformFileChooser();

protected:
    QString filePath() const override;

private:
    // Keeps the line-break style of a certificate through an edit.
    void keepLineBreaksOfEdits();

    QPersistentModelIndex m_editedCell; // the cell whose editor is open
    QString m_editedBefore;             // its text when the editor opened

protected:
    TableLoadResult loadRows() override;
    bool saveRows(QString *error) override;

private:
    // Inspects every row again and repaints the grid.
    void inspectRows();
    QVariant extraData(const QModelIndex &index, int role) const;

    QList<TlsStatus> m_status; // one per row
    FlatButton *Btn_LoadFile = nullptr;
};

} // namespace mirandel
