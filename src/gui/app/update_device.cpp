#include "gui/app/update_device.h"

#include "core/app/app_context.h"
#include "core/image/build_image.h"
#include "gui/common/prompter.h"

#include <QDir>

namespace mirandel {

namespace {

// The error box text for a failed build or save, from the UI text table.
QString imageErrorText(const AppContext &context, const ImageError &error)
{
    const QString newline = QStringLiteral("\n");
    switch (error.kind) {
    case ImageError::Capacity:
        return context.text(32) + QString::number(error.needed) + newline + context.text(33)
               + QString::number(error.limit);
    case ImageError::Write:
        return context.text(31) + QDir::toNativeSeparators(error.file) + newline + context.text(34)
               + error.message;
    default:
        return context.text(30) + QDir::toNativeSeparators(error.file) + newline + context.text(34)
               + error.message;
    }
}

} // namespace

bool buildAndSaveImage(AppContext &context, Prompter &prompter, QWidget *parent)
{
    const ImageSources sources{context.ParGen_File, context.IEC61850_Variables_File,
                               context.TLS_Known_Cert_File};
    const ImageBuildResult built = Build_Image(sources);
    if (!built.ok()) {
        prompter.error(parent, imageErrorText(context, built.error));
        return false;
    }
    const ImageError saved =
        Save_Image_Files(built.image, context.project().binDir());
    if (saved.failed()) {
        prompter.error(parent, imageErrorText(context, saved));
        return false;
    }
    return true;
}

} // namespace mirandel
