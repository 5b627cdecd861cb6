#pragma once
// AppContext: the program-wide values, owned by the main window and passed by
// reference to every dialog and core routine that needs them. Nothing else in
// the program holds global mutable state.

#include "core/app/version_check.h"
#include "core/common/workspace_layout.h"
#include "core/lang/text_table.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace mirandel {

// Compile-time constants of this gateway model.
inline const QString SW_Code = QStringLiteral("CF51830");
inline const QString SW_Desc = QStringLiteral("IEC61850 Server / DeviceNet Slave - Converter");
inline const QString Window_Caption =
    QStringLiteral("Tarvik - Configurator CF51830 - IEC61850 Server / DeviceNet Slave ");
inline const QString Program_Version = QStringLiteral("1.000");
inline const QString Default_IP_Address = QStringLiteral("192.168.2.205");

struct AppContext {
    // Workspace folders (no trailing separator).
    QString Exe_Dir;
    QString Master_Dir;
    QString Projects_Dir;
    QString Language_Dir;

    // Active project; Project_Dir empty means no project is open.
    QString Project_Name;
    QString Project_Dir;
    QString ParGen_File;
    QString TLS_Known_Cert_File;
    QString IEC61850_Variables_File;

    // Settings kept in Mirandel.xml.
    QString Last_IP_Address = Default_IP_Address;
    QString Language_Name = QStringLiteral("English");
    bool Enable_Internet = false;
    bool Enable_Update = false;
    bool Enable_Jump_Field_Tables = false;
    bool Double_Click_Auto_Size = false;

    // Update dialog choices, kept for one run only.
    int Update_Option_Index = 0;
    bool Update_Read_Back = true;

    // The maker's web server asked by the version check, and the time-out of
    // one query in milliseconds.
    QString Version_Server = Default_Version_Server;
    int Version_Query_Timeout_Ms = Default_Version_Query_Timeout_Ms;

    // Row copy buffer shared by the table editors.
    QStringList Copy_Buffer;
    QList<bool> Copy_Is_Check;

    // The UI text table.
    TextTable texts;

    bool projectOpen() const { return !Project_Dir.isEmpty(); }
    // The layout below Exe_Dir, and the active project's folder.
    Workspace workspace() const { return Workspace(Exe_Dir); }
    ProjectFolder project() const { return ProjectFolder(Project_Dir); }
    QString text(int index) const { return texts.text(index); }
};

} // namespace mirandel
