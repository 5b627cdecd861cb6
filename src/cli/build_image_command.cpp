#include "cli/build_image_command.h"

#include "core/image/build_image.h"

#include <QDir>
#include <QFileInfo>

namespace mirandel::cli {

int BuildImageCommand::execute(const QStringList &args, QTextStream &out, QTextStream &err)
{
    QString projectDir;
    QString outDir;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == QStringLiteral("--out") && i + 1 < args.size() && outDir.isEmpty()) {
            outDir = args[++i];
        } else if (!arg.startsWith(QLatin1Char('-')) && projectDir.isEmpty()) {
            projectDir = arg;
        } else {
            err << "Usage: mirandel-cli " << usage() << "\n";
            return ExitUsage;
        }
    }
    if (projectDir.isEmpty()) {
        err << "Usage: mirandel-cli " << usage() << "\n";
        return ExitUsage;
    }
    // A mistyped folder would otherwise build an image of defaults.
    if (!QFileInfo(projectDir).isDir()) {
        err << "No project folder " << QDir::toNativeSeparators(projectDir) << "\n";
        return ExitFailure;
    }
    if (outDir.isEmpty())
        outDir = QDir(projectDir).filePath(QStringLiteral("bin"));

    const ImageBuildResult result = Build_Image(ImageSources::inProject(projectDir));
    if (!result.ok()) {
        err << "Cannot build the image: " << result.error.describe() << "\n";
        return ExitFailure;
    }
    const ImageError saved = Save_Image_Files(result.image, outDir);
    if (saved.failed()) {
        err << "Cannot write " << saved.describe() << "\n";
        return ExitFailure;
    }
    const QDir dir(outDir);
    out << QDir::toNativeSeparators(dir.filePath(QStringLiteral("bank1.bin"))) << ": "
        << result.image.bank1.size() << " bytes\n"
        << QDir::toNativeSeparators(dir.filePath(QStringLiteral("bank2.bin"))) << ": "
        << result.image.bank2.size() << " bytes\n";
    return ExitOk;
}

} // namespace mirandel::cli
