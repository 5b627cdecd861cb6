#pragma once
// Communication parameters dialog (placeholder).

#include "gui/common/dialog_chrome.h"

namespace mirandel {

class TFParGen : public BaseDialog {
    Q_OBJECT
public:
    TFParGen(AppContext &context, Prompter &prompter, QWidget *parent = nullptr);
    void Set_Lang() override;
};

} // namespace mirandel
