#include "cli/descriptor_command.h"

#include "core/app/app_context.h"
#include "core/update/icmp_echo.h"
#include "core/update/update_descriptor.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace mirandel::cli {

namespace {

QString absoluteFolder(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

int DescriptorCommand::execute(const QStringList &args, QTextStream &out, QTextStream &err)
{
    auto usageError = [&](const QString &message) {
        err << "mirandel-cli descriptor: " << message << "\nUsage: mirandel-cli " << usage() << "\n";
        return int(ExitUsage);
    };

    QString projectDir;
    QString ip;
    QString workspace;
    UpdateRequest request;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        const bool takesValue = arg == QStringLiteral("--ip") || arg == QStringLiteral("--option")
                                || arg == QStringLiteral("--workspace");
        if (takesValue && i + 1 >= args.size())
            return usageError(QStringLiteral("%1 needs a value").arg(arg));
        if (arg == QStringLiteral("--ip")) {
            ip = args[++i];
        } else if (arg == QStringLiteral("--option")) {
            const QString value = args[++i];
            if (value != QStringLiteral("0") && value != QStringLiteral("1") && value != QStringLiteral("2"))
                return usageError(QStringLiteral("--option must be 0, 1 or 2, not '%1'").arg(value));
            request.updateOption = value.toInt();
        } else if (arg == QStringLiteral("--workspace")) {
            workspace = args[++i];
        } else if (arg == QStringLiteral("--no-read-back")) {
            request.readBack = false;
        } else if (arg.startsWith(QLatin1Char('-'))) {
            return usageError(QStringLiteral("unknown option '%1'").arg(arg));
        } else if (projectDir.isEmpty()) {
            projectDir = arg;
        } else {
            return usageError(QStringLiteral("more than one project folder"));
        }
    }
    if (projectDir.isEmpty())
        return usageError(QStringLiteral("no project folder given"));
    if (ip.isEmpty())
        return usageError(QStringLiteral("no device address given (--ip)"));
    if (!parseIpv4Address(ip))
        return usageError(QStringLiteral("'%1' is not an IPv4 address A.B.C.D").arg(ip));
    request.ipAddress = ip;

    if (!QFileInfo(projectDir).isDir()) {
        err << "Project folder not found: " << projectDir << "\n";
        return ExitFailure;
    }
    AppContext context;
    context.Exe_Dir = absoluteFolder(workspace.isEmpty() ? QCoreApplication::applicationDirPath() : workspace);
    context.Master_Dir = context.Exe_Dir + QStringLiteral("/MASTER");
    context.Project_Dir = absoluteFolder(projectDir);

    const QString path = QDir::toNativeSeparators(updateDescriptorPath(context.Exe_Dir));
    QString error;
    if (!Compile_XML_Parameter_New_Boot(context, request, &error)) {
        err << "Cannot write " << path << ": " << error << "\n";
        return ExitFailure;
    }
    out << "Wrote " << path << "\n";
    return ExitOk;
}

} // namespace mirandel::cli
