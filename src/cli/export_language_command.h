#pragma once

#include "cli/command.h"

namespace mirandel::cli {

// export-language FILE: writes the built-in English texts as a language file.
class ExportLanguageCommand : public Command {
public:
    QString name() const override { return QStringLiteral("export-language"); }
    QString usage() const override { return QStringLiteral("export-language FILE"); }
    QString description() const override
    {
        return QStringLiteral("Write the built-in English texts as a language file.");
    }
    int execute(const QStringList &args, QTextStream &out, QTextStream &err) override;
};

} // namespace mirandel::cli
