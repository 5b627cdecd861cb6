#include "gui/iec61850/tf_iec61850_variables.h"

#include "core/app/app_context.h"

namespace mirandel {

TFIEC61850_Variables::TFIEC61850_Variables(AppContext &context, Prompter &prompter, QWidget *parent)
    : BaseDialog(context, prompter, parent)
{
    setObjectName(QStringLiteral("TFIEC61850_Variables"));
    Set_Lang();
}

void TFIEC61850_Variables::Set_Lang()
{
}

} // namespace mirandel
