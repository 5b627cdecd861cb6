#include "gui/app/update_device.h"

#include "core/app/app_context.h"
#include "core/image/build_image.h"
#include "core/lang/text_ids.h"
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
        return context.text(Text_Image_Too_Large) + QString::number(error.needed) + newline
               + context.text(Text_Image_Bytes_Available) + QString::number(error.limit);
    case ImageError::Write:
        return context.text(Text_Image_Not_Written) + QDir::toNativeSeparators(error.file) + newline
               + context.text(Text_Image_Reason) + error.message;
    default:
        return context.text(Text_Image_Not_Built) + QDir::toNativeSeparators(error.file) + newline
               + context.text(Text_Image_Reason) + error.message;
    }
}

} // namespace

bool buildAndSaveImage(AppContext &context, Prompter &prompter, QWidget *parent)
{
    const ImageSources sources{context.ParGen_File, context.IEC61850_Variables_File, context.TLS_Known_Cert_File};
    const ImageBuildResult built = Build_Image(sources);
    if (!built.ok()) {
        prompter.error(parent, imageErrorText(context, built.error));
        return false;
    }
    const ImageError saved = Save_Image_Files(built.image, context.project().binDir());
    if (saved.failed()) {
        prompter.error(parent, imageErrorText(context, saved));
        return false;
    }
    return true;
}

} // namespace mirandel
