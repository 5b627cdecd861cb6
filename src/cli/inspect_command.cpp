#include "cli/inspect_command.h"

#include "cli/image_report.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>

namespace mirandel::cli {

namespace {

// No bank comes near this size (the data block holds at most 524288 bytes);
// a larger file, or a device file that never ends, is not read at all.
constexpr qint64 Max_Bank_File = 16 * image::Bank2_Capacity;

// Reads a bank file into `data`; false with the reason in *error.
bool readFile(const QString &path, QByteArray &data, QString *error)
{
    QFile file(path);
    const QString shown = QDir::toNativeSeparators(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot read %1: %2").arg(shown, file.errorString());
        return false;
    }
    data = file.read(Max_Bank_File + 1);
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("Cannot read %1: %2").arg(shown, file.errorString());
        return false;
    }
    if (data.size() > Max_Bank_File) {
        *error =
            QStringLiteral("%1 is larger than %2 bytes: not a configuration image bank").arg(shown).arg(Max_Bank_File);
        return false;
    }
    return true;
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
