#pragma once

#include "cli/command.h"

namespace mirandel::cli {

// export-language FILE: writes the built-in English texts as a language file.
class ExportLanguageCommand : public Command {
public:
    QString name() const override { return QStringLiteral("export-language"); }
    QString description() const override
    {
        return QStringLiteral("Write the built-in English texts as a language file.");
    }

protected:
    void defineArguments(QList<QCommandLineOption> &options, QList<Positional> &positionals) override;
    int execute(const QCommandLineParser &parser, const QStringList &positionals, QTextStream &out,
                QTextStream &err) override;
};

} // namespace mirandel::cli
