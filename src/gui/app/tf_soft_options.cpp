#include "gui/app/tf_soft_options.h"

#include "core/app/app_context.h"

namespace mirandel {

TFSoftOptions::TFSoftOptions(AppContext &context, Prompter &prompter, QWidget *parent)
    : BaseDialog(context, prompter, parent)
{
    setObjectName(QStringLiteral("TFSoftOptions"));
    Set_Lang();
}

void TFSoftOptions::Set_Lang()
{
}

} // namespace mirandel
