#include "gui/params/tf_par_gen.h"

#include "core/app/app_context.h"

namespace mirandel {

TFParGen::TFParGen(AppContext &context, Prompter &prompter, QWidget *parent)
    : BaseDialog(context, prompter, parent)
{
    setObjectName(QStringLiteral("TFParGen"));
    Set_Lang();
}

void TFParGen::Set_Lang()
{
}

} // namespace mirandel
