#pragma once

#include "cli/command.h"

namespace mirandel::cli {

// inspect BANK1 [BANK2] [--json]: decodes a configuration image and prints
// its fields, tables and texts; exits with 1 when it is inconsistent.
class InspectCommand : public Command {
public:
    QString name() const override { return QStringLiteral("inspect"); }
    QString description() const override
    {
        return QStringLiteral("Decode bank1.bin (and bank2.bin) and report every inconsistency.");
    }

protected:
    void defineArguments(QList<QCommandLineOption> &options, QList<Positional> &positionals) override;
    int execute(const QCommandLineParser &parser, const QStringList &positionals, QTextStream &out,
                QTextStream &err) override;
};

} // namespace mirandel::cli
