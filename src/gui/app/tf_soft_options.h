#pragma once
// Software options dialog (placeholder).

#include "gui/common/dialog_chrome.h"

namespace mirandel {

class TFSoftOptions : public BaseDialog {
    Q_OBJECT
public:
    TFSoftOptions(AppContext &context, Prompter &prompter, QWidget *parent = nullptr);
    void Set_Lang() override;
};

} // namespace mirandel
