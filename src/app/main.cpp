// The GUI program `mirandel`.
//   mirandel [--workspace DIR]
// The workspace root is the executable's folder unless --workspace names
// another one.

#include "core/app/app_context.h"
#include "gui/app/main_window.h"
#include "gui/common/look.h"
#include "gui/common/prompter.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    mirandel::applyLook(app);

    QCommandLineParser parser;
    parser.setApplicationDescription(mirandel::Window_Caption.trimmed());
    parser.addHelpOption();
    const QCommandLineOption workspace(QStringLiteral("workspace"),
                                       QStringLiteral("Use DIR as the workspace root."), QStringLiteral("DIR"));
    parser.addOption(workspace);
    parser.process(app);

    QString root = QCoreApplication::applicationDirPath();
    if (parser.isSet(workspace))
        root = QDir(parser.value(workspace)).absolutePath();

    mirandel::AppContext context;
    context.Exe_Dir = root;
    mirandel::MessageBoxPrompter prompter;
    mirandel::TFMirandeleFirmWare window(context, prompter);
    window.show();
    return app.exec();
}
