#include "core/app/workspace.h"

#include "core/app/app_context.h"

#include <QDir>

namespace mirandel {

void setUpWorkspace(AppContext &context)
{
    const QDir exe(context.Exe_Dir);
    for (const QString &name : {QStringLiteral("MASTER"), QStringLiteral("PROJECTS"), QStringLiteral("LANGUAGE")}) {
        if (!QFileInfo(exe.filePath(name)).isDir())
            exe.mkdir(name);
    }
    context.Master_Dir = exe.filePath(QStringLiteral("MASTER"));
    context.Projects_Dir = exe.filePath(QStringLiteral("PROJECTS"));
    context.Language_Dir = exe.filePath(QStringLiteral("LANGUAGE"));
}

} // namespace mirandel
