#pragma once
// TFParGen: the dialog in which the user edits the communication parameters
// of the open project (ParGen.xml).
//
// Created once, shown modally many times. Every show reloads the file into
// the controls; the controls are the only copy of the values while the dialog
// is open. OK runs Controllo_Dati on the values of the controls and rewrites
// the file only when every check passes; Cancel writes nothing and asks first
// when something was changed. The rules themselves (reading, checking,
// writing) live in core/params; this class moves values between the controls
// and a ParGen and arranges the five category panels.

#include "core/common/xml_file.h"
#include "core/params/par_gen.h"
#include "gui/common/dialog_chrome.h"
#include "gui/tls/tls_status.h"

#include <QList>
#include <QTimer>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace mirandel {

class CategoryPanel;
class CategoryPanelGroup;

class TFParGen : public BaseDialog {
    Q_OBJECT
public:
    TFParGen(AppContext &context, Prompter &prompter, QWidget *parent = nullptr);

    void Set_Lang() override;

    // True once the user has changed a value since the dialog was shown.
    bool isChanged() const { return Is_Change; }

    // The values of the controls, and back.
    ParGen values() const;
    void setValues(const ParGen &values);

    // Recomputes the panels' heights and which controls are hidden or
    // disabled.
    void Move_GroupBoxs();

    // Checks the values of the controls; on the first failure shows its
    // message and returns false.
    bool Controllo_Dati();

    // Re-reads the key and the two certificates and updates the status line
    // under each of their fields. Runs on every change of those fields
    // (coalesced: once per pass of the event loop) and when the dialog is
    // shown.
    void updateTlsStatus();
    // Asks for a file and loads it into the TLS text field of `parRow`.
    void loadTlsField(int parRow);

    // Asks for the file "Load from file…" reads; tests replace it.
    FileChooser chooseFile = platformFileChooser();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void Order_TAB_Panels();
    void FormShow();
    void Btn_OKClick();
    void Btn_CancelClick();
    void On_Change();
    bool KeyPress(QLineEdit *field, QKeyEvent *event);
    bool FormMouseWheel(QWheelEvent *event);

    // Control builders; each registers its texts for Set_Lang.
    CategoryPanel *addPanel(const QString &name, int captionIndex);
    QLabel *addLabel(CategoryPanel *panel, const QString &name, int row, int textIndex);
    QLineEdit *addEdit(CategoryPanel *panel, int parRow, int row, int hintIndex, int maxTyped = 0);
    void addOctets(CategoryPanel *panel, int firstParRow, int row, int firstHintIndex);
    QWidget *addTextBlock(CategoryPanel *panel, int parRow, int row, int hintIndex);
    // The status line and "Load from file…" button under a TLS text field;
    // moves the rows below it down.
    void addTlsStatusRow(CategoryPanel *panel, int parRow, int row);
    QCheckBox *addCheckBox(CategoryPanel *panel, int parRow, int row, int width, int textIndex, int hintIndex);
    QComboBox *addComboBox(CategoryPanel *panel, int parRow, int row, int hintIndex);
    void addHint(QWidget *widget, int hintIndex);

    struct TextUse {
        QWidget *widget;
        int textIndex;
        bool hint;
    };

    CategoryPanelGroup *CPG = nullptr;
    QList<CategoryPanel *> m_panels;
    std::array<QWidget *, Par_Count> m_fields{};
    QList<TextUse> m_texts;
    QList<QWidget *> m_tlsControls; // hidden while TLS is off
    int m_rowShift = 0;             // pixels added to the rows below the status lines
    // The status line and load button of the key, server and root fields.
    struct TlsFieldStatus {
        int parRow;
        QLabel *line;
        FlatButton *load;
    };
    QList<TlsFieldStatus> m_tlsStatus;
    QTimer m_tlsStatusTimer;
    QList<QLineEdit *> m_octetChain[2]; // full-stop chains
    QList<QWidget *> m_tabOrder;

    FlatButton *Btn_OK = nullptr;
    FlatButton *Btn_Cancel = nullptr;

    bool Is_Change = false;
    ParGen m_loaded; // the values the dialog was shown with
    // The file on disk could not be read when the dialog was shown: saving
    // keeps it as ParGen.xml.bad first.
    bool m_keepUnreadable = false;
};

} // namespace mirandel
