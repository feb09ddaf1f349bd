// The handler of every command of the table, each defined in the file of its
// command and linked into the one program its table row names.
#pragma once

#include "cli/command_table.h"

namespace qv5 {

// The quick program's (no Qt).
int RunAddRoot(const CommandCall& call);
int RunRefresh(const CommandCall& call);
int RunRescan(const CommandCall& call);
int RunRemoveRoot(const CommandCall& call);
int RunInstall(const CommandCall& call);
int RunInit(const CommandCall& call);

// The full program's.
int RunImportCourses(const CommandCall& call);
int RunRestoreScores(const CommandCall& call);
int RunHiddenSearch(const CommandCall& call);
int RunInfo(const CommandCall& call);
int RunCheck(const CommandCall& call);
int RunSongs(const CommandCall& call);
int RunPlay(const CommandCall& call);
int RunAutoplay(const CommandCall& call);
int RunConvert(const CommandCall& call);
int RunAddTable(const CommandCall& call);
int RunUpdateTables(const CommandCall& call);
int RunRemoveTable(const CommandCall& call);
int RunTables(const CommandCall& call);

}  // namespace qv5
