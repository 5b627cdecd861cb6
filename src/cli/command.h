#pragma once
// A command of mirandel-cli: a small class that calls the core and writes to
// the streams it is given, so tests can run it and read what it printed.
//
// Every command follows the same conventions, kept here once: its arguments
// are parsed by QCommandLineParser from what the command declares in
// defineArguments(); "COMMAND --help" prints the usage to `out` and exits 0;
// a usage error prints "mirandel-cli COMMAND: reason" and the usage to `err`
// and exits 2; a missing or unreadable input, or an operation that failed,
// prints "mirandel-cli COMMAND: reason" to `err` and exits 1.

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QStringList>
#include <QTextStream>
#include <memory>
#include <vector>

namespace mirandel::cli {

// Exit codes shared by every command.
enum ExitCode { ExitOk = 0, ExitFailure = 1, ExitUsage = 2 };

inline constexpr char Program_Name[] = "mirandel-cli";

// A positional argument of a command.
struct Positional {
    QString name;        // as the usage shows it, for example "PROJECT_DIR"
    QString description; // one line for the help
    bool required = true;
};

class Command {
public:
    virtual ~Command() = default;
    virtual QString name() const = 0;
    // One sentence for the program's help and the command's usage.
    virtual QString description() const = 0;

    // Parses `args` (the arguments after the command's name) and runs the
    // command; returns its exit code.
    int run(const QStringList &args, QTextStream &out, QTextStream &err);

    // "COMMAND ARG [ARG] [--option VALUE]", for the program's help and the
    // usage; built from the declared arguments unless a command says better.
    virtual QString synopsis();
    // The command's full usage: synopsis, description, options, arguments.
    QString usage();

protected:
    // Declares the command's options and positional arguments, in the order
    // the usage lists them. Called once, before the first parse.
    virtual void defineArguments(QList<QCommandLineOption> &options, QList<Positional> &positionals) = 0;
    // Runs the command on parsed arguments: the option values are in
    // `parser`, the positional arguments (as many as declared, the optional
    // ones when given) in `positionals`.
    virtual int execute(const QCommandLineParser &parser, const QStringList &positionals, QTextStream &out,
                        QTextStream &err) = 0;

    // Prints "mirandel-cli COMMAND: reason" and the usage to `err`; returns
    // ExitUsage.
    int usageError(QTextStream &err, const QString &reason);
    // Prints "mirandel-cli COMMAND: reason" to `err`; returns ExitFailure.
    int failure(QTextStream &err, const QString &reason);

private:
    void define();

    bool m_defined = false;
    QList<QCommandLineOption> m_options;
    QList<Positional> m_positionals;
};

// Every command of the program, in the order the help lists them.
std::vector<std::unique_ptr<Command>> allCommands();

// Runs the program with its arguments (without the program name).
int runCli(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace mirandel::cli
