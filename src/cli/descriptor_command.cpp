#include "cli/descriptor_command.h"

#include "core/app/app_context.h"
#include "core/update/icmp_echo.h"
#include "core/update/update_descriptor.h"

#include <QDir>
#include <QFileInfo>

namespace mirandel::cli {

namespace {

const QCommandLineOption ipOption(QStringLiteral("ip"), QStringLiteral("The device's IPv4 address (required)."),
                                  QStringLiteral("A.B.C.D"));
const QCommandLineOption updateOption(QStringLiteral("option"),
                                      QStringLiteral("0 firmware + configuration (default), 1 firmware, "
                                                     "2 configuration."),
                                      QStringLiteral("0|1|2"));
const QCommandLineOption noReadBackOption(QStringLiteral("no-read-back"),
                                          QStringLiteral("Do not read the memory back after writing it."));
const QCommandLineOption workspaceOption(QStringLiteral("workspace"),
                                         QStringLiteral("The workspace root (default: the folder of this program)."),
                                         QStringLiteral("DIR"));

} // namespace

void DescriptorCommand::defineArguments(QList<QCommandLineOption> &options, QList<Positional> &positionals)
{
    options << ipOption << updateOption << noReadBackOption << workspaceOption;
    positionals.append({QStringLiteral("PROJECT_DIR"), QStringLiteral("The project folder.")});
}

int DescriptorCommand::execute(const QCommandLineParser &parser, const QStringList &positionals, QTextStream &out,
                               QTextStream &err)
{
    const QString projectDir = positionals.at(0);
    UpdateRequest request;
    if (parser.isSet(updateOption)) {
        const QString value = parser.value(updateOption);
        if (value != QStringLiteral("0") && value != QStringLiteral("1") && value != QStringLiteral("2"))
            return usageError(err, QStringLiteral("--option must be 0, 1 or 2, not '%1'").arg(value));
        request.updateOption = value.toInt();
    }
    request.readBack = !parser.isSet(noReadBackOption);
    const QString ip = parser.value(ipOption);
    if (ip.isEmpty())
        return usageError(err, QStringLiteral("no device address given (--ip)"));
    if (!parseIpv4Address(ip))
        return usageError(err, QStringLiteral("'%1' is not an IPv4 address A.B.C.D").arg(ip));
    request.ipAddress = ip;

    if (!QFileInfo(projectDir).isDir())
        return failure(err, QStringLiteral("Project folder not found: %1").arg(QDir::toNativeSeparators(projectDir)));
    const QString workspace = parser.value(workspaceOption);
    AppContext context;
    context.Exe_Dir = resolveWorkspaceRoot(workspace);
    context.Master_Dir = context.workspace().masterDir();
    context.Project_Dir = QDir(projectDir).absolutePath();

    const QString path = QDir::toNativeSeparators(context.workspace().updateDescriptorFile());
    QString error;
    if (!Compile_XML_Parameter_New_Boot(context, request, &error))
        return failure(err, QStringLiteral("Cannot write %1: %2").arg(path, error));
    out << "Wrote " << path << "\n";
    return ExitOk;
}

} // namespace mirandel::cli
