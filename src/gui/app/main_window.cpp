#include "gui/app/main_window.h"

#include "core/app/app_context.h"

namespace mirandel {

TFMirandeleFirmWare::TFMirandeleFirmWare(AppContext &context, Prompter &prompter, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_prompter(prompter)
{
    setObjectName(QStringLiteral("TFMirandeleFirmWare"));
    setWindowTitle(Window_Caption);
}

} // namespace mirandel
