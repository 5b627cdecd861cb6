#include "core/app/workspace.h"

#include "core/app/app_context.h"

#include <QDir>

namespace mirandel {

void setUpWorkspace(AppContext &context)
{
    const QDir exe(context.Exe_Dir);
    for (const QString &name : {Workspace::Master_Folder, Workspace::Projects_Folder, Workspace::Language_Folder}) {
        if (!QFileInfo(exe.filePath(name)).isDir())
            exe.mkdir(name);
    }
    const Workspace workspace = context.workspace();
    context.Master_Dir = workspace.masterDir();
    context.Projects_Dir = workspace.projectsDir();
    context.Language_Dir = workspace.languageDir();
}

} // namespace mirandel
