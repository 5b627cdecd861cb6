#include "cli/check_command.h"

#include "cli/project_reports.h"

#include "core/common/decimal.h"
#include "core/common/workspace_layout.h"
#include "core/iec61850/variable_table.h"
#include "core/lang/text_table.h"
#include "core/params/par_gen.h"
#include "core/params/par_gen_check.h"

#include <QDir>
#include <QFileInfo>

namespace mirandel::cli {

namespace {

QString unreadable(const QString &path, const XmlLoadResult &result)
{
    return QStringLiteral("cannot read %1: %2").arg(QDir::toNativeSeparators(path), result.describe());
}

} // namespace

FileCheckResult checkParGenFile(const QString &projectDir, const TextTable &texts)
{
    const QString path = ProjectFolder(projectDir).parGenFile();
    ParGen values;
    const XmlLoadResult loaded = loadParGen(path, values);
    if (loaded.status == XmlLoadResult::Malformed || loaded.status == XmlLoadResult::Unreadable)
        return {false, unreadable(path, loaded)};
    if (const auto failure = Controllo_Dati(values, texts))
        return {false, failure->message};
    return {};
}

FileCheckResult checkVariablesFile(const QString &projectDir, const TextTable &texts)
{
    const QString path = ProjectFolder(projectDir).variablesFile();
    GridRows table = makeVariableTable();
    const TableLoadResult loaded = loadVariableTable(path, table);
    if (loaded.xml.status == XmlLoadResult::Malformed || loaded.xml.status == XmlLoadResult::Unreadable)
        return {false, unreadable(path, loaded.xml)};
    if (const auto failure = Controllo_dati(table, texts, Get_Decimal_Separator()))
        return {false, failure->message};
    return {};
}

std::vector<ProjectFileCheck> projectFileChecks()
{
    return {
        {ProjectFolder::ParGen_File_Name, &checkParGenFile},
        {ProjectFolder::Variables_File_Name, &checkVariablesFile},
    };
}

void CheckCommand::defineArguments(QList<QCommandLineOption> &, QList<Positional> &positionals)
{
    positionals.append({QStringLiteral("PROJECT_DIR"), QStringLiteral("The project folder.")});
}

int CheckCommand::execute(const QCommandLineParser &, const QStringList &positionals, QTextStream &out,
                          QTextStream &err)
{
    const QString projectDir = positionals.at(0);
    if (!QFileInfo(projectDir).isDir())
        return failure(err, QStringLiteral("%1 is not a folder").arg(QDir::toNativeSeparators(projectDir)));
    const TextTable texts;
    int code = ExitOk;
    for (const ProjectFileCheck &check : projectFileChecks()) {
        const FileCheckResult result = check.run(projectDir, texts);
        out << check.fileName << ": " << (result.passed ? QStringLiteral("OK") : result.message) << "\n";
        if (!result.passed)
            code = ExitFailure;
    }
    // Warnings follow the checks' own lines and never change the exit code.
    for (const QString &line : projectWarnings(projectDir))
        out << line << "\n";
    return code;
}

} // namespace mirandel::cli
