#pragma once
// Configuration projects: a project is a folder below Projects_Dir whose name
// is the project's name, with a "bin" sub-folder for the configuration image.
// One project at a time is active (Project_Name, Project_Dir); every editor
// works on the files that Set_Files derives from Project_Dir.

#include "core/lang/text_ids.h"

#include <QString>
#include <QStringList>

namespace mirandel {

struct AppContext;

// Derives ParGen_File, TLS_Known_Cert_File and IEC61850_Variables_File from
// Project_Dir. With no project open the paths are not usable.
void Set_Files(AppContext &context);

// True for a name that stays one folder directly below Projects_Dir: not
// empty, no '/' or '\\', no NUL, and neither "." nor "..". Nothing else is
// filtered: blanks at either end belong to the name.
bool isSingleFolderName(const QString &name);

// Creates the project `name` (taken exactly as typed) and makes it active.
// Returns 0 on success, else the text index of the refusal, checked in this
// order: empty name (107); a name that is not a single folder name (105);
// a folder of that name already exists (106); the folder cannot be created
// (105). A refusal leaves the active project unchanged and creates nothing.
int createProject(AppContext &context, const QString &name);

// Makes `name` the active project and runs Set_Files. The folder's
// existence is not tested again.
void openProject(AppContext &context, const QString &name);

// Start-up: Project_Dir becomes Projects_Dir/Project_Name when the name is a
// single folder name and that folder exists, else empty. Project_Name keeps
// the stored name either way, so that it is written back unchanged.
void restoreLastProject(AppContext &context);

// The projects offered by the open dialog: the folders directly in
// `projectsDir`, without hidden or system ones and without "." and "..", in
// the order the file system enumerates them (not sorted). Files are ignored.
QStringList listProjects(const QString &projectsDir);

// The name of the active project as its folder is named: the part of
// Project_Dir after Projects_Dir and its separator; empty when no project is
// open.
QString activeProjectFolder(const AppContext &context);

// Index of the item to preselect in `projects`: the first one equal to
// `activeName` regardless of letter case, else the first item; -1 when the
// list is empty.
int preselectedProject(const QStringList &projects, const QString &activeName);

} // namespace mirandel
