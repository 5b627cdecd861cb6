#pragma once
// Software options dialog (placeholder).

#include "gui/common/dialog_chrome.h"

namespace mirandel {

class TFSoftOptions : public BaseDialog {
    Q_OBJECT
public:
    TFSoftOptions(AppContext &context, Prompter &prompter, QWidget *parent = nullptr);
    void Set_Lang() override;

signals:
    // Emitted after the user confirmed another language and the UI text table
    // was reloaded: the main window re-applies every dialog's texts.
    void languageChanged();
};

} // namespace mirandel
