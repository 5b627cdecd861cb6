#pragma once
// IEC 61850 variables dialog (placeholder).

#include "gui/common/dialog_chrome.h"

namespace mirandel {

class TFIEC61850_Variables : public BaseDialog {
    Q_OBJECT
public:
    TFIEC61850_Variables(AppContext &context, Prompter &prompter, QWidget *parent = nullptr);
    void Set_Lang() override;
};

} // namespace mirandel
