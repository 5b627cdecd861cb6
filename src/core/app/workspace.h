#pragma once
// The workspace beside the executable: MASTER (firmware images delivered
// with the program), PROJECTS (one folder per project) and LANGUAGE
// (language files and flag pictures), all directly below Exe_Dir.

namespace mirandel {

struct AppContext;

// Sets Master_Dir, Projects_Dir and Language_Dir below context.Exe_Dir and
// creates MASTER, PROJECTS and LANGUAGE, in this order, where missing. Each
// folder is made on its own level only; a folder that cannot be created is
// ignored here (whatever needs it later reports its own failure).
void setUpWorkspace(AppContext &context);

} // namespace mirandel
