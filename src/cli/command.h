#pragma once
// A command of mirandel-cli: a small class that calls the core and writes to
// the streams it is given, so tests can run it and read what it printed.

#include <QStringList>
#include <QTextStream>
#include <memory>
#include <vector>

namespace mirandel::cli {

// Exit codes shared by every command.
enum ExitCode { ExitOk = 0, ExitFailure = 1, ExitUsage = 2 };

class Command {
public:
    virtual ~Command() = default;
    virtual QString name() const = 0;
    // One-line usage, for example "check PROJECT_DIR".
    virtual QString usage() const = 0;
    virtual QString description() const = 0;
    // `args` are the arguments after the command's name.
    virtual int execute(const QStringList &args, QTextStream &out, QTextStream &err) = 0;
};

// Every command of the program, in the order the help lists them.
std::vector<std::unique_ptr<Command>> allCommands();

// Runs the program with its arguments (without the program name).
int runCli(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace mirandel::cli
