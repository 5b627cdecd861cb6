#include "cli/command.h"

#include "cli/build_image_command.h"
#include "cli/certs_command.h"
#include "cli/check_command.h"
#include "cli/descriptor_command.h"
#include "cli/export_language_command.h"
#include "cli/inspect_command.h"

namespace mirandel::cli {

std::vector<std::unique_ptr<Command>> allCommands()
{
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(std::make_unique<ExportLanguageCommand>());
    commands.push_back(std::make_unique<BuildImageCommand>());
    commands.push_back(std::make_unique<InspectCommand>());
    commands.push_back(std::make_unique<DescriptorCommand>());
    commands.push_back(std::make_unique<CheckCommand>());
    commands.push_back(std::make_unique<CertsCommand>());
    commands.push_back(std::make_unique<MapCommand>());
    return commands;
}

namespace {

void printHelp(QTextStream &stream)
{
    stream << "Usage: mirandel-cli COMMAND [ARGUMENTS]\n\nCommands:\n";
    for (const auto &command : allCommands())
        stream << "  " << command->usage() << "\n      " << command->description() << "\n";
}

} // namespace

int runCli(const QStringList &args, QTextStream &out, QTextStream &err)
{
    if (args.isEmpty()) {
        printHelp(err);
        return ExitUsage;
    }
    const QString name = args.first();
    if (name == QStringLiteral("--help") || name == QStringLiteral("-h") || name == QStringLiteral("help")) {
        printHelp(out);
        return ExitOk;
    }
    for (const auto &command : allCommands()) {
        if (command->name() == name)
            return command->execute(args.mid(1), out, err);
    }
    err << "mirandel-cli: unknown command '" << name << "'\n";
    printHelp(err);
    return ExitUsage;
}

} // namespace mirandel::cli
