#include "cli/inspect_command.h"

#include "cli/image_report.h"
#include "core/common/file_read.h"

#include <QDir>
#include <QJsonDocument>

namespace mirandel::cli {

namespace {

// No bank comes near this size (the data block holds at most 524288 bytes);
// a larger file is not read at all, nor is anything but a regular file (a
// FIFO would block, a device file never end).
constexpr qint64 Max_Bank_File = 16 * image::Bank2_Capacity;

// Reads a bank file into `data`; false with the reason in *error.
bool readFile(const QString &path, QByteArray &data, QString *error)
{
    const QString shown = QDir::toNativeSeparators(path);
    const FileReadResult read = readRegularFile(path, data, Max_Bank_File);
    switch (read.status) {
    case FileReadResult::Ok:
        return true;
    case FileReadResult::Missing:
        *error = QStringLiteral("Cannot read %1: no such file").arg(shown);
        return false;
    case FileReadResult::TooLarge:
        *error =
            QStringLiteral("%1 is larger than %2 bytes: not a configuration image bank").arg(shown).arg(Max_Bank_File);
        return false;
    default:
        *error = QStringLiteral("Cannot read %1: %2").arg(shown, read.message);
        return false;
    }
}

const QCommandLineOption jsonOption(QStringLiteral("json"), QStringLiteral("Print the fields as JSON."));

} // namespace

void InspectCommand::defineArguments(QList<QCommandLineOption> &options, QList<Positional> &positionals)
{
    options.append(jsonOption);
    positionals.append({QStringLiteral("BANK1"), QStringLiteral("The parameter block, bank1.bin.")});
    positionals.append({QStringLiteral("BANK2"), QStringLiteral("The data block, bank2.bin."), false});
}

int InspectCommand::execute(const QCommandLineParser &parser, const QStringList &positionals, QTextStream &out,
                            QTextStream &err)
{
    QString error;
    QByteArray bank1;
    if (!readFile(positionals.at(0), bank1, &error))
        return failure(err, error);
    std::optional<QByteArray> bank2;
    if (positionals.size() == 2) {
        bank2.emplace();
        if (!readFile(positionals.at(1), *bank2, &error))
            return failure(err, error);
    }

    const DecodedImage image = decodeImage(bank1, bank2);
    if (parser.isSet(jsonOption))
        out << QString::fromUtf8(QJsonDocument(imageToJson(image)).toJson(QJsonDocument::Indented));
    else
        out << imageReport(image);
    return image.consistent() ? ExitOk : ExitFailure;
}

} // namespace mirandel::cli
