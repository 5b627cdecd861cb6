#pragma once
// Open-configuration dialog: lists the project folders below PROJECTS each
// time it is shown and preselects the active project (or the first one).
// Name_Conf holds the name last selected in the list and survives between
// uses; on Accepted the caller opens Name_Conf. OK with no item selected
// (an empty list) ends the dialog like Cancel, so no project that is not
// listed can be opened. Enter acts like OK.

#include "gui/common/dialog_chrome.h"

class QLabel;
class QListWidget;

namespace mirandel {

class TFOpenConf : public BaseDialog {
    Q_OBJECT
public:
    TFOpenConf(AppContext &context, Prompter &prompter, QWidget *parent = nullptr);
    void Set_Lang() override;

    QString Name_Conf;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ListBox1Click();
    void Btn_OKClick();
    void placeList();

    QLabel *m_label1;
    QListWidget *m_list;
    FlatButton *m_ok;
    FlatButton *m_cancel;
};

} // namespace mirandel
