#pragma once

#include "cli/command.h"

namespace mirandel::cli {

// descriptor PROJECT_DIR --ip A.B.C.D [--option 0|1|2] [--no-read-back]
//            [--workspace DIR]
// Writes Ethernet_Update.xml for the project into the workspace root, as the
// update dialog does just before it starts the updater.
class DescriptorCommand : public Command {
public:
    QString name() const override { return QStringLiteral("descriptor"); }
    QString synopsis() override
    {
        return QStringLiteral(
            "descriptor PROJECT_DIR --ip A.B.C.D [--option 0|1|2] [--no-read-back] [--workspace DIR]");
    }
    QString description() const override
    {
        return QStringLiteral("Write the update descriptor Ethernet_Update.xml into the workspace root "
                              "(default: the folder of this program).");
    }

protected:
    void defineArguments(QList<QCommandLineOption> &options, QList<Positional> &positionals) override;
    int execute(const QCommandLineParser &parser, const QStringList &positionals, QTextStream &out,
                QTextStream &err) override;
};

} // namespace mirandel::cli
