#include "cli/certs_command.h"

#include "cli/project_reports.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>

namespace mirandel::cli {

namespace {

const QCommandLineOption jsonOption(QStringLiteral("json"), QStringLiteral("Print the report as JSON."));
const QCommandLineOption warnDaysOption(QStringLiteral("warn-days"),
                                        QStringLiteral("Warn about certificates that end within N days (30)."),
                                        QStringLiteral("N"));

Positional projectArgument()
{
    return {QStringLiteral("PROJECT_DIR"), QStringLiteral("The project folder.")};
}

QString notAFolder(const QString &dir)
{
    return QStringLiteral("No project folder %1").arg(QDir::toNativeSeparators(dir));
}

} // namespace

void CertsCommand::defineArguments(QList<QCommandLineOption> &options, QList<Positional> &positionals)
{
    options << jsonOption << warnDaysOption;
    positionals.append(projectArgument());
}

int CertsCommand::execute(const QCommandLineParser &parser, const QStringList &positionals, QTextStream &out,
                          QTextStream &err)
{
    TlsInspectionOptions options;
    if (parser.isSet(warnDaysOption)) {
        bool ok = false;
        options.warnDays = parser.value(warnDaysOption).toInt(&ok);
        if (!ok || options.warnDays < 0)
            return usageError(err, QStringLiteral("--warn-days takes a number of days, 0 or more"));
    }
    const QString projectDir = positionals.at(0);
    if (!QFileInfo(projectDir).isDir())
        return failure(err, notAFolder(projectDir));
    const ProjectTlsReport report = inspectProjectTls(projectDir, options);
    if (!report.error.isEmpty())
        return failure(err, report.error);
    if (parser.isSet(jsonOption))
        out << QString::fromUtf8(QJsonDocument(tlsJson(report.entries)).toJson(QJsonDocument::Indented));
    else
        out << tlsText(report.entries);
    return report.hasProblems() ? ExitFailure : ExitOk;
}

void MapCommand::defineArguments(QList<QCommandLineOption> &options, QList<Positional> &positionals)
{
    options << jsonOption;
    positionals.append(projectArgument());
}

int MapCommand::execute(const QCommandLineParser &parser, const QStringList &positionals, QTextStream &out,
                        QTextStream &err)
{
    const QString projectDir = positionals.at(0);
    if (!QFileInfo(projectDir).isDir())
        return failure(err, notAFolder(projectDir));
    const ProjectMapReport report = mapProject(projectDir);
    if (!report.error.isEmpty())
        return failure(err, report.error);
    if (parser.isSet(jsonOption))
        out << QString::fromUtf8(QJsonDocument(mapJson(report.map)).toJson(QJsonDocument::Indented));
    else
        out << mapText(report.map);
    return report.map.problems.isEmpty() ? ExitOk : ExitFailure;
}

} // namespace mirandel::cli
