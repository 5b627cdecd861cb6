#include "cli/command.h"

#include "cli/build_image_command.h"
#include "cli/certs_command.h"
#include "cli/check_command.h"
#include "cli/descriptor_command.h"
#include "cli/export_language_command.h"
#include "cli/inspect_command.h"
#include "core/app/app_context.h"

#include <QHash>
#include <algorithm>

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

const QString programName = QString::fromLatin1(Program_Name);

const QCommandLineOption &helpOption()
{
    static const QCommandLineOption option({QStringLiteral("h"), QStringLiteral("help")},
                                           QStringLiteral("Show this help."));
    return option;
}

// "-h, --help" or "--out DIR".
QString optionSyntax(const QCommandLineOption &option)
{
    QStringList names;
    for (const QString &name : option.names())
        names.append((name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name);
    QString syntax = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty())
        syntax += QLatin1Char(' ') + option.valueName();
    return syntax;
}

// Rows of "  left  right" with the right column aligned.
QString table(const QList<QPair<QString, QString>> &rows)
{
    qsizetype width = 0;
    for (const auto &row : rows)
        width = std::max(width, row.first.size());
    QString text;
    for (const auto &row : rows)
        text += QStringLiteral("  ") + row.first.leftJustified(width + 2) + row.second + QLatin1Char('\n');
    return text;
}

void printProgramHelp(QTextStream &stream)
{
    stream << "Usage: " << programName << " COMMAND [ARGUMENTS]\n"
           << "       " << programName << " COMMAND --help\n"
           << "       " << programName << " --version\n\nCommands:\n";
    for (const auto &command : allCommands())
        stream << "  " << command->synopsis() << "\n      " << command->description() << "\n";
}

} // namespace

void Command::define()
{
    if (m_defined)
        return;
    m_defined = true;
    m_options.append(helpOption());
    defineArguments(m_options, m_positionals);
}

QString Command::synopsis()
{
    define();
    QString text = name();
    for (const Positional &positional : m_positionals)
        text +=
            QLatin1Char(' ') + (positional.required ? positional.name : QStringLiteral("[%1]").arg(positional.name));
    for (const QCommandLineOption &option : m_options) {
        if (option.names() != helpOption().names())
            text += QStringLiteral(" [--%1%2]")
                        .arg(option.names().constLast(),
                             option.valueName().isEmpty() ? QString() : QLatin1Char(' ') + option.valueName());
    }
    return text;
}

QString Command::usage()
{
    define();
    QString text = QStringLiteral("Usage: %1 %2\n%3\n").arg(programName, synopsis(), description());
    QList<QPair<QString, QString>> rows;
    for (const QCommandLineOption &option : m_options)
        rows.append({optionSyntax(option), option.description()});
    text += QStringLiteral("\nOptions:\n") + table(rows);
    if (!m_positionals.isEmpty()) {
        rows.clear();
        for (const Positional &positional : m_positionals)
            rows.append({positional.name, positional.description});
        text += QStringLiteral("\nArguments:\n") + table(rows);
    }
    return text;
}

int Command::usageError(QTextStream &err, const QString &reason)
{
    err << programName << ' ' << name() << ": " << reason << "\n" << usage();
    return ExitUsage;
}

int Command::failure(QTextStream &err, const QString &reason)
{
    err << programName << ' ' << name() << ": " << reason << "\n";
    return ExitFailure;
}

int Command::run(const QStringList &args, QTextStream &out, QTextStream &err)
{
    define();
    QCommandLineParser parser;
    parser.addOptions(m_options);
    if (!parser.parse(QStringList{programName} + args))
        return usageError(err, parser.errorText());
    if (parser.isSet(helpOption())) {
        out << usage();
        return ExitOk;
    }
    // An option given twice is a mistake, not a choice of the last one.
    QHash<QString, int> seen;
    for (const QString &found : parser.optionNames()) {
        for (const QCommandLineOption &option : m_options) {
            if (option.names().contains(found) && ++seen[option.names().constLast()] == 2)
                return usageError(err,
                                  QStringLiteral("option '--%1' given more than once").arg(option.names().constLast()));
        }
    }
    const QStringList positionals = parser.positionalArguments();
    const auto required =
        std::count_if(m_positionals.cbegin(), m_positionals.cend(), [](const Positional &p) { return p.required; });
    if (positionals.size() < required)
        return usageError(err, QStringLiteral("missing %1").arg(m_positionals.at(positionals.size()).name));
    if (positionals.size() > m_positionals.size())
        return usageError(err, QStringLiteral("unexpected argument '%1'").arg(positionals.at(m_positionals.size())));
    return execute(parser, positionals, out, err);
}

int runCli(const QStringList &args, QTextStream &out, QTextStream &err)
{
    if (args.isEmpty()) {
        printProgramHelp(err);
        return ExitUsage;
    }
    const QString name = args.first();
    if (name == QStringLiteral("--help") || name == QStringLiteral("-h") || name == QStringLiteral("help")) {
        printProgramHelp(out);
        return ExitOk;
    }
    if (name == QStringLiteral("--version")) {
        out << programName << ' ' << Program_Version << "\n";
        return ExitOk;
    }
    for (const auto &command : allCommands()) {
        if (command->name() == name)
            return command->run(args.mid(1), out, err);
    }
    err << programName << ": unknown command '" << name << "'\n";
    printProgramHelp(err);
    return ExitUsage;
}

} // namespace mirandel::cli
