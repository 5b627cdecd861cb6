#pragma once
// New-configuration dialog: asks for the name of a new project, creates its
// folder (with "bin") below PROJECTS and makes it the active project. Ends
// with Accepted only when a project was created; a refused name is reported
// and the dialog stays open with the typed text.

#include "gui/common/dialog_chrome.h"

class QLabel;
class QLineEdit;

namespace mirandel {

class TFNew_Project : public BaseDialog {
    Q_OBJECT
public:
    TFNew_Project(AppContext &context, Prompter &prompter, QWidget *parent = nullptr);
    void Set_Lang() override;

public slots:
    // Creates the project named in E_New_Proj; also run by Enter in the field.
    void Btn_OKClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *m_label1;
    QLineEdit *m_name;
    FlatButton *m_ok;
    FlatButton *m_cancel;
};

} // namespace mirandel
