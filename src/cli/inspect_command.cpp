#include "cli/inspect_command.h"

#include "core/common/file_read.h"
#include "core/image/image_decoder.h"

#include <QDir>
#include <QJsonDocument>

namespace mirandel::cli {

namespace {

// No bank comes near this size (the data block holds at most 524288 bytes);
// a larger file is not read at all, nor is anything but a regular file (a
// FIFO would block, a device file never end).
constexpr qint64 Max_Bank_File = 16 * image::Bank2_Capacity;

bool readFile(const QString &path, QByteArray &data, QTextStream &err)
{
    const FileReadResult read = readRegularFile(path, data, Max_Bank_File);
    switch (read.status) {
    case FileReadResult::Ok:
        return true;
    case FileReadResult::Missing:
        err << "Cannot read " << QDir::toNativeSeparators(path) << ": no such file\n";
        return false;
    case FileReadResult::TooLarge:
        err << QDir::toNativeSeparators(path) << " is larger than " << Max_Bank_File
            << " bytes: not a configuration image bank\n";
        return false;
    default:
        err << "Cannot read " << QDir::toNativeSeparators(path) << ": " << read.message << "\n";
        return false;
    }
}

} // namespace

int InspectCommand::execute(const QStringList &args, QTextStream &out, QTextStream &err)
{
    QStringList files;
    bool json = false;
    for (const QString &arg : args) {
        if (arg == QStringLiteral("--json") && !json) {
            json = true;
        } else if (!arg.startsWith(QLatin1Char('-')) && files.size() < 2) {
            files.append(arg);
        } else {
            err << "Usage: mirandel-cli " << usage() << "\n";
            return ExitUsage;
        }
    }
    if (files.isEmpty()) {
        err << "Usage: mirandel-cli " << usage() << "\n";
        return ExitUsage;
    }

    QByteArray bank1;
    if (!readFile(files[0], bank1, err))
        return ExitFailure;
    std::optional<QByteArray> bank2;
    if (files.size() == 2) {
        bank2.emplace();
        if (!readFile(files[1], *bank2, err))
            return ExitFailure;
    }

    const DecodedImage image = decodeImage(bank1, bank2);
    if (json)
        out << QString::fromUtf8(QJsonDocument(imageToJson(image)).toJson(QJsonDocument::Indented));
    else
        out << imageReport(image);
    return image.consistent() ? ExitOk : ExitFailure;
}

} // namespace mirandel::cli
