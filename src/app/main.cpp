// The GUI program `mirandel`.
//   mirandel [--workspace DIR] [--quit-after-show] [--version-server URL]
//   mirandel --version | --help
// The workspace root is the executable's folder unless --workspace names
// another one, which is created when missing. --quit-after-show (or
// MIRANDEL_QUIT_AFTER_SHOW=1) closes the main window as soon as it is shown,
// through the normal close path, for timing the start-up. --version-server
// (or MIRANDEL_VERSION_SERVER) names the web server asked by the version
// check.

#include "core/app/app_context.h"
#include "core/app/version_check.h"
#include "gui/app/main_window.h"
#include "gui/common/look.h"
#include "gui/common/prompter.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(mirandel::Program_Version);
    mirandel::applyLook(app);

    QCommandLineParser parser;
    parser.setApplicationDescription(mirandel::Window_Caption.trimmed());
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption workspace(QStringLiteral("workspace"), QStringLiteral("Use DIR as the workspace root."),
                                       QStringLiteral("DIR"));
    const QCommandLineOption quitAfterShow(QStringLiteral("quit-after-show"),
                                           QStringLiteral("Close the main window as soon as it is shown."));
    parser.addOption(workspace);
    parser.addOption(quitAfterShow);
    const QCommandLineOption versionServer(
        QStringLiteral("version-server"),
        QStringLiteral("Ask URL for newer versions (default: $MIRANDEL_VERSION_SERVER, else the maker's site)."),
        QStringLiteral("URL"));
    parser.addOption(versionServer);
    parser.process(app);

    const QString root = mirandel::resolveWorkspaceRoot(parser.value(workspace));
    if (parser.isSet(workspace)) {
        // A workspace named on the command line is made when missing: its
        // MASTER, PROJECTS and LANGUAGE folders and the settings file go
        // directly below it.
        if (!QDir().mkpath(root)) {
            std::fprintf(stderr, "mirandel: cannot use %s as the workspace folder\n",
                         qPrintable(QDir::toNativeSeparators(root)));
            return 2;
        }
    }

    // The program-wide values live as long as the main window that uses them.
    mirandel::AppContext context;
    context.Exe_Dir = root;
    context.Version_Server = mirandel::resolveVersionServer(parser.value(versionServer));
    mirandel::MessageBoxPrompter prompter;
    mirandel::TFMirandeleFirmWare window(context, prompter);
    window.show();
    if (parser.isSet(quitAfterShow) || qEnvironmentVariableIntValue("MIRANDEL_QUIT_AFTER_SHOW") == 1)
        QTimer::singleShot(0, &window, &QWidget::close);
    return app.exec();
}
