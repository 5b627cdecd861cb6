#include "cli/certs_command.h"

#include "cli/project_reports.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>

namespace mirandel::cli {

namespace {

struct ProjectArgs {
    QString projectDir;
    bool json = false;
    int warnDays = -1; // -1: not given
};

// PROJECT_DIR, --json and, when `warnDays` is allowed, --warn-days N.
bool parseProjectArgs(const QStringList &args, bool warnDays, ProjectArgs &parsed)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == QStringLiteral("--json") && !parsed.json) {
            parsed.json = true;
        } else if (warnDays && arg == QStringLiteral("--warn-days") && parsed.warnDays < 0 && i + 1 < args.size()) {
            bool ok = false;
            parsed.warnDays = args[++i].toInt(&ok);
            if (!ok || parsed.warnDays < 0)
                return false;
        } else if (!arg.startsWith(QLatin1Char('-')) && parsed.projectDir.isEmpty()) {
            parsed.projectDir = arg;
        } else {
            return false;
        }
    }
    return !parsed.projectDir.isEmpty();
}

bool isProjectDir(const QString &dir, QTextStream &err)
{
    if (QFileInfo(dir).isDir())
        return true;
    err << "No project folder " << QDir::toNativeSeparators(dir) << "\n";
    return false;
}

} // namespace

int CertsCommand::execute(const QStringList &args, QTextStream &out, QTextStream &err)
{
    ProjectArgs parsed;
    if (!parseProjectArgs(args, true, parsed)) {
        err << "Usage: mirandel-cli " << usage() << "\n";
        return ExitUsage;
    }
    if (!isProjectDir(parsed.projectDir, err))
        return ExitFailure;
    TlsInspectionOptions options;
    if (parsed.warnDays >= 0)
        options.warnDays = parsed.warnDays;
    const ProjectTlsReport report = inspectProjectTls(parsed.projectDir, options);
    if (!report.error.isEmpty()) {
        err << report.error << "\n";
        return ExitFailure;
    }
    if (parsed.json)
        out << QString::fromUtf8(QJsonDocument(tlsJson(report.entries)).toJson(QJsonDocument::Indented));
    else
        out << tlsText(report.entries);
    return report.hasProblems() ? ExitFailure : ExitOk;
}

int MapCommand::execute(const QStringList &args, QTextStream &out, QTextStream &err)
{
    ProjectArgs parsed;
    if (!parseProjectArgs(args, false, parsed)) {
        err << "Usage: mirandel-cli " << usage() << "\n";
        return ExitUsage;
    }
    if (!isProjectDir(parsed.projectDir, err))
        return ExitFailure;
    const ProjectMapReport report = mapProject(parsed.projectDir);
    if (!report.error.isEmpty()) {
        err << report.error << "\n";
        return ExitFailure;
    }
    if (parsed.json)
        out << QString::fromUtf8(QJsonDocument(mapJson(report.map)).toJson(QJsonDocument::Indented));
    else
        out << mapText(report.map);
    return report.map.problems.isEmpty() ? ExitOk : ExitFailure;
}

} // namespace mirandel::cli
