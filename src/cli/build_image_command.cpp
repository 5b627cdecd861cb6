#include "cli/build_image_command.h"

#include "core/common/workspace_layout.h"
#include "core/image/build_image.h"

#include <QDir>
#include <QFileInfo>

namespace mirandel::cli {

namespace {

const QCommandLineOption outOption(QStringLiteral("out"),
                                   QStringLiteral("Write the banks into DIR instead of PROJECT_DIR/bin."),
                                   QStringLiteral("DIR"));

} // namespace

void BuildImageCommand::defineArguments(QList<QCommandLineOption> &options, QList<Positional> &positionals)
{
    options.append(outOption);
    positionals.append({QStringLiteral("PROJECT_DIR"), QStringLiteral("The project folder.")});
}

int BuildImageCommand::execute(const QCommandLineParser &parser, const QStringList &positionals, QTextStream &out,
                               QTextStream &err)
{
    const QString projectDir = positionals.at(0);
    QString outDir = parser.value(outOption);
    // A mistyped folder would otherwise build an image of defaults.
    if (!QFileInfo(projectDir).isDir())
        return failure(err, QStringLiteral("No project folder %1").arg(QDir::toNativeSeparators(projectDir)));
    if (outDir.isEmpty())
        outDir = ProjectFolder(projectDir).binDir();

    const ImageBuildResult result = Build_Image(ImageSources::inProject(projectDir));
    if (!result.ok())
        return failure(err, QStringLiteral("Cannot build the image: %1").arg(result.error.describe()));
    const ImageError saved = Save_Image_Files(result.image, outDir);
    if (saved.failed())
        return failure(err, QStringLiteral("Cannot write %1").arg(saved.describe()));
    const QDir dir(outDir);
    out << QDir::toNativeSeparators(dir.filePath(ProjectFolder::Bank1_File_Name)) << ": " << result.image.bank1.size()
        << " bytes\n"
        << QDir::toNativeSeparators(dir.filePath(ProjectFolder::Bank2_File_Name)) << ": " << result.image.bank2.size()
        << " bytes\n";
    return ExitOk;
}

} // namespace mirandel::cli
