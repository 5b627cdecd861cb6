#include "cli/export_language_command.h"

#include "core/common/atomic_file.h"
#include "core/lang/language_file.h"

namespace mirandel::cli {

int ExportLanguageCommand::execute(const QStringList &args, QTextStream &out, QTextStream &err)
{
    if (args.size() != 1) {
        err << "Usage: mirandel-cli " << usage() << "\n";
        return ExitUsage;
    }
    TextTable table;
    const QByteArray data = writeLanguageFile(table, QStringLiteral("English"));
    QString error;
    if (!writeFileAtomically(args.first(), data, &error)) {
        err << "Cannot write " << args.first() << ": " << error << "\n";
        return ExitFailure;
    }
    out << "Wrote " << TextTable::Text_Count << " texts to " << args.first() << "\n";
    return ExitOk;
}

} // namespace mirandel::cli
