#include "cli/export_language_command.h"

#include "core/common/atomic_file.h"
#include "core/lang/language_file.h"

#include <QDir>

namespace mirandel::cli {

void ExportLanguageCommand::defineArguments(QList<QCommandLineOption> &, QList<Positional> &positionals)
{
    positionals.append({QStringLiteral("FILE"), QStringLiteral("The language file to write.")});
}

int ExportLanguageCommand::execute(const QCommandLineParser &, const QStringList &positionals, QTextStream &out,
                                   QTextStream &err)
{
    const QString &path = positionals.at(0);
    TextTable table;
    const QByteArray data = writeLanguageFile(table, QStringLiteral("English"));
    QString error;
    if (!writeFileAtomically(path, data, &error))
        return failure(err, QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), error));
    out << "Wrote " << TextTable::Text_Count << " texts to " << path << "\n";
    return ExitOk;
}

} // namespace mirandel::cli
