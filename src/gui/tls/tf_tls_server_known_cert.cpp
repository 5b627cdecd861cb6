#include "gui/tls/tf_tls_server_known_cert.h"

#include "core/app/app_context.h"

namespace mirandel {

TFTLS_Server_Known_Cert::TFTLS_Server_Known_Cert(AppContext &context, Prompter &prompter, QWidget *parent)
    : BaseDialog(context, prompter, parent)
{
    setObjectName(QStringLiteral("TFTLS_Server_Known_Cert"));
    Set_Lang();
}

void TFTLS_Server_Known_Cert::Set_Lang()
{
}

} // namespace mirandel
