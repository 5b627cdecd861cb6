#include "cli/inspect_command.h"

#include "core/image/image_decoder.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>

namespace mirandel::cli {

namespace {

bool readFile(const QString &path, QByteArray &data, QTextStream &err)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        err << "Cannot read " << QDir::toNativeSeparators(path) << ": " << file.errorString() << "\n";
        return false;
    }
    data = file.readAll();
    return true;
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
