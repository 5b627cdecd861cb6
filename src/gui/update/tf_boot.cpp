#include "gui/update/tf_boot.h"

#include "core/app/app_context.h"

namespace mirandel {

TFBoot::TFBoot(AppContext &context, Prompter &prompter, QWidget *parent)
    : BaseDialog(context, prompter, parent)
{
    setObjectName(QStringLiteral("TFBoot"));
    Set_Lang();
}

void TFBoot::Set_Lang()
{
}

} // namespace mirandel
