#include "core/app/projects.h"

#include "core/app/app_context.h"

#include <QDir>
#include <QFileInfo>

namespace mirandel {

void Set_Files(AppContext &context)
{
    const ProjectFolder project = context.project();
    context.ParGen_File = project.parGenFile();
    context.TLS_Known_Cert_File = project.knownCertFile();
    context.IEC61850_Variables_File = project.variablesFile();
}

bool isSingleFolderName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    return !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QChar(u'\0'));
}

int createProject(AppContext &context, const QString &name)
{
    if (name.isEmpty())
        return Text_Project_Name_Empty;
    // A separator or a dot name would put the project somewhere other than
    // directly below PROJECTS (or on PROJECTS itself).
    if (!isSingleFolderName(name))
        return Text_Project_Not_Creatable;
    const QDir projects(context.Projects_Dir);
    const QString folder = projects.filePath(name);
    if (QFileInfo(folder).isDir())
        return Text_Project_Exists;
    if (!projects.mkdir(name))
        return Text_Project_Not_Creatable;
    QDir().mkpath(ProjectFolder(folder).binDir());
    openProject(context, name);
    return 0;
}

void openProject(AppContext &context, const QString &name)
{
    context.Project_Name = name;
    context.Project_Dir = QDir(context.Projects_Dir).filePath(name);
    Set_Files(context);
}

void restoreLastProject(AppContext &context)
{
    const QString folder = QDir(context.Projects_Dir).filePath(context.Project_Name);
    if (isSingleFolderName(context.Project_Name) && QFileInfo(folder).isDir())
        context.Project_Dir = folder;
    else
        context.Project_Dir.clear();
}

QStringList listProjects(const QString &projectsDir)
{
    if (projectsDir.isEmpty())
        return {};
    return QDir(projectsDir).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
}

QString activeProjectFolder(const AppContext &context)
{
    if (context.Project_Dir.isEmpty())
        return QString();
    const QFileInfo folder(context.Project_Dir);
    if (folder.path() == context.Projects_Dir)
        return folder.fileName();
    return context.Project_Name;
}

int preselectedProject(const QStringList &projects, const QString &activeName)
{
    for (qsizetype i = 0; i < projects.size(); ++i) {
        if (projects.at(i).compare(activeName, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return projects.isEmpty() ? -1 : 0;
}

} // namespace mirandel
