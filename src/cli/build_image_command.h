#pragma once

#include "cli/command.h"

namespace mirandel::cli {

// build-image PROJECT_DIR [--out DIR]: builds the configuration image of a
// project folder and writes bank1.bin and bank2.bin into PROJECT_DIR/bin, or
// into DIR. Nothing is written when the build fails.
class BuildImageCommand : public Command {
public:
    QString name() const override { return QStringLiteral("build-image"); }
    QString description() const override
    {
        return QStringLiteral("Build bank1.bin and bank2.bin from a project folder.");
    }

protected:
    void defineArguments(QList<QCommandLineOption> &options, QList<Positional> &positionals) override;
    int execute(const QCommandLineParser &parser, const QStringList &positionals, QTextStream &out,
                QTextStream &err) override;
};

} // namespace mirandel::cli
