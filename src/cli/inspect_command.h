#pragma once

#include "cli/command.h"

namespace mirandel::cli {

// inspect BANK1 [BANK2] [--json]: decodes a configuration image and prints
// its fields, tables and texts; exits with 1 when it is inconsistent.
class InspectCommand : public Command {
public:
    QString name() const override { return QStringLiteral("inspect"); }
    QString usage() const override { return QStringLiteral("inspect BANK1 [BANK2] [--json]"); }
    QString description() const override
    {
        return QStringLiteral("Decode bank1.bin (and bank2.bin) and report every inconsistency.");
    }
    int execute(const QStringList &args, QTextStream &out, QTextStream &err) override;
};

} // namespace mirandel::cli
