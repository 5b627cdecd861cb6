#pragma once
// The program settings file Mirandel.xml beside the executable:
//
//   <Conf_Settings>
//     <lastproj><projectname>Project_Name</projectname></lastproj>
//     <lastipadd><ipaddress>Last_IP_Address</ipaddress></lastipadd>
//     <lastlang><language>Language_Name</language></lastlang>
//     <lastinternet><enable_internet>1|0</enable_internet>
//       <enable_update/><enable_jump_field_tables/><Double_Click_Auto_Size/>
//     </lastinternet>
//   </Conf_Settings>
//
// Read once at start-up, written at close and when the options are confirmed.
// Every value is read on its own: a missing element gives that value's
// default and leaves the others alone. A flag is on only for the exact text
// "1". The root is the document's first node, whatever its name.

#include "core/common/workspace_layout.h"
#include "core/common/xml_file.h"

#include <QByteArray>
#include <QString>

namespace mirandel {

struct AppContext;

inline const QString Settings_File_Name = Workspace::Settings_File_Name;

// Exe_Dir/Mirandel.xml.
QString settingsFilePath(const AppContext &context);

// The values of a missing settings file: no project, the default device
// address, English, every flag off.
void applyDefaultSettings(AppContext &context);

// Reads the settings file into `context`. A missing, unreadable or malformed
// file gives the defaults of applyDefaultSettings(); the result says which
// case applied.
XmlLoadResult readSettings(AppContext &context);

// The settings document as written to the file: UTF-8, no declaration, no
// whitespace between elements.
QByteArray settingsXml(const AppContext &context);

// Writes the settings file, replacing any previous one atomically. On
// failure returns false, puts the reason in *error and leaves the previous
// file untouched.
bool saveSettings(const AppContext &context, QString *error);

} // namespace mirandel
