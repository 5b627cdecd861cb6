#pragma once
// Where things lie in the workspace and in a project folder: the one place
// that knows the folder and file names. Every path is joined with QDir (so
// it uses '/'); whoever shows a path converts it with
// QDir::toNativeSeparators.
//
//   <root>/MASTER/Sim51830.sim          firmware image delivered with the program
//   <root>/PROJECTS/<name>/             one folder per project
//   <root>/LANGUAGE/                    language files and flag pictures
//   <root>/Mirandel.xml                 program settings
//   <root>/Ethernet_Update.xml          update descriptor
//   <root>/Ethernet_Update[.exe]        the external updater
//
//   <project>/ParGen.xml, IEC61850_Variables.xml, TLS_Known_Cert.xml
//   <project>/bin/bank1.bin, bank2.bin  the configuration image

#include <QString>

namespace mirandel {

// The workspace root of both programs: `named` (a --workspace value) made
// absolute and clean when given, else the folder of the running executable.
QString resolveWorkspaceRoot(const QString &named);

class Workspace {
public:
    // `root` is a folder path without a trailing separator.
    explicit Workspace(QString root);

    const QString &root() const { return m_root; }
    QString masterDir() const;
    QString projectsDir() const;
    QString languageDir() const;
    QString settingsFile() const;
    QString updateDescriptorFile() const;
    // Ethernet_Update plus the platform's executable suffix.
    QString updaterProgram() const;

    // The workspace folders, in the order they are created at start.
    static inline const QString Master_Folder = QStringLiteral("MASTER");
    static inline const QString Projects_Folder = QStringLiteral("PROJECTS");
    static inline const QString Language_Folder = QStringLiteral("LANGUAGE");
    static inline const QString Settings_File_Name = QStringLiteral("Mirandel.xml");

private:
    QString m_root;
};

// MASTER/Sim51830.sim below `masterDir`.
QString firmwareImageFile(const QString &masterDir);

class ProjectFolder {
public:
    // `dir` is the project's folder, without a trailing separator.
    explicit ProjectFolder(QString dir);

    const QString &dir() const { return m_dir; }
    QString binDir() const;
    QString parGenFile() const;
    QString variablesFile() const;
    QString knownCertFile() const;
    QString bank1File() const;
    QString bank2File() const;

    static inline const QString Bin_Folder = QStringLiteral("bin");
    static inline const QString ParGen_File_Name = QStringLiteral("ParGen.xml");
    static inline const QString Variables_File_Name = QStringLiteral("IEC61850_Variables.xml");
    static inline const QString Known_Cert_File_Name = QStringLiteral("TLS_Known_Cert.xml");
    // The names of the two banks inside a folder of banks (bin, or any
    // folder the image is written to).
    static inline const QString Bank1_File_Name = QStringLiteral("bank1.bin");
    static inline const QString Bank2_File_Name = QStringLiteral("bank2.bin");

private:
    QString m_dir;
};

} // namespace mirandel
