#include "core/common/workspace_layout.h"

#include <QCoreApplication>
#include <QDir>

namespace mirandel {

QString resolveWorkspaceRoot(const QString &named)
{
    if (named.isEmpty())
        return QCoreApplication::applicationDirPath();
    return QDir(named).absolutePath();
}

Workspace::Workspace(QString root)
    : m_root(std::move(root))
{
}

QString Workspace::masterDir() const
{
    return QDir(m_root).filePath(Master_Folder);
}

QString Workspace::projectsDir() const
{
    return QDir(m_root).filePath(Projects_Folder);
}

QString Workspace::languageDir() const
{
    return QDir(m_root).filePath(Language_Folder);
}

QString Workspace::settingsFile() const
{
    return QDir(m_root).filePath(Settings_File_Name);
}

QString Workspace::updateDescriptorFile() const
{
    return QDir(m_root).filePath(QStringLiteral("Ethernet_Update.xml"));
}

QString Workspace::updaterProgram() const
{
#ifdef Q_OS_WIN
    return QDir(m_root).filePath(QStringLiteral("Ethernet_Update.exe"));
#else
    return QDir(m_root).filePath(QStringLiteral("Ethernet_Update"));
#endif
}

QString firmwareImageFile(const QString &masterDir)
{
    return QDir(masterDir).filePath(QStringLiteral("Sim51830.sim"));
}

ProjectFolder::ProjectFolder(QString dir)
    : m_dir(std::move(dir))
{
}

QString ProjectFolder::binDir() const
{
    return QDir(m_dir).filePath(Bin_Folder);
}

QString ProjectFolder::parGenFile() const
{
    return QDir(m_dir).filePath(ParGen_File_Name);
}

QString ProjectFolder::variablesFile() const
{
    return QDir(m_dir).filePath(Variables_File_Name);
}

QString ProjectFolder::knownCertFile() const
{
    return QDir(m_dir).filePath(Known_Cert_File_Name);
}

QString ProjectFolder::bank1File() const
{
    return QDir(binDir()).filePath(Bank1_File_Name);
}

QString ProjectFolder::bank2File() const
{
    return QDir(binDir()).filePath(Bank2_File_Name);
}

} // namespace mirandel
