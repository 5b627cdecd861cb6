#pragma once
// TFTLS_Server_Known_Cert: the list of up to 10 client certificates the
// gateway's TLS server accepts, kept in TLS_Known_Cert.xml. The grid ASG has
// real check boxes in its Enable column and a multi-line editor for the
// certificate, so a pasted PEM block keeps its line breaks. The row commands
// are the check-box variant.

#include "gui/common/table_dialog.h"

#include <QPersistentModelIndex>

namespace mirandel {

class TFTLS_Server_Known_Cert : public TableDialog {
    Q_OBJECT
public:
    TFTLS_Server_Known_Cert(AppContext &context, Prompter &prompter, QWidget *parent = nullptr);

    // The list has no rule to check: always true.
    bool Controllo_dati() override { return true; }

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
};

} // namespace mirandel
