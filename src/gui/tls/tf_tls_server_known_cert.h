#pragma once
// TLS known-certificate list dialog (placeholder).

#include "gui/common/dialog_chrome.h"

namespace mirandel {

class TFTLS_Server_Known_Cert : public BaseDialog {
    Q_OBJECT
public:
    TFTLS_Server_Known_Cert(AppContext &context, Prompter &prompter, QWidget *parent = nullptr);
    void Set_Lang() override;
};

} // namespace mirandel
