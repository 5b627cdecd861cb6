#pragma once
// Device update dialog (placeholder).

#include "gui/common/dialog_chrome.h"

namespace mirandel {

class TFBoot : public BaseDialog {
    Q_OBJECT
public:
    TFBoot(AppContext &context, Prompter &prompter, QWidget *parent = nullptr);
    void Set_Lang() override;

    // 0 serial, 1 Ethernet (UDP), 2 USB; this model always uses 1.
    int Form_Type = 1;
};

} // namespace mirandel
