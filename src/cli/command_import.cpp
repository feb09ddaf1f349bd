// The import commands of the command line: course lists and restored scores.
#include <limits.h>
#include <stdlib.h>

#include <cstdio>
#include <optional>

#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/stop_on_interrupt.h"
#include "library/song_library.h"
#include "platform/paths.h"
#include "platform/progress.h"
#include "platform/text.h"
#include "platform/tr.h"
#include "platform/ui_service.h"
#include "player/course_import.h"
#include "player/player_db.h"
#include "player/score_restore.h"

namespace qv5 {
namespace {

// The boxes of the window become lines on stderr; a caption that is more than
// the kind of box (a database's reason) follows the text.
void Print(const Notice& n) {
    std::string line = Cp932ToUtf8(n.text);
    if (n.caption != kAppTitle && n.caption != Tr("CommandImport", "エラー") &&
        n.caption != Tr("CommandImport", "報告"))
        line += " (" + Cp932ToUtf8(n.caption) + ")";
    std::fprintf(stderr, "QV5: %s\n", line.c_str());
}

// The file as the user named it: its folder resolved, its own name kept, so
// that a link is what gets deleted after the import, never the file it names.
std::optional<std::string> NamedFile(const std::string& host) {
    return ResolveFolderOf(host);
}

int ImportCourses(const std::string& host) {
    auto full = NamedFile(host);
    if (!full) {
        std::fprintf(stderr, "QV5: no such file: %s\n", host.c_str());
        return 1;
    }
    auto path = FromHostPath(*full);
    if (!path) {
        std::fprintf(stderr, "QV5: the path cannot be represented in Shift-JIS: %s\n",
                     host.c_str());
        return 1;
    }
    SongLibrary library;
    library.Open("");
    const CourseImport r = ImportCourseList(library, *path);
    for (const Notice& n : r.notices) Print(n);
    std::printf("import-courses: %d courses imported from %s%s\n", r.count, host.c_str(),
                r.consumed ? " (the file was deleted)" : "");
    return r.count > 0 ? 0 : 1;
}

// A step on the terminal. A Ctrl-C caught for the whole command reaches the
// step through its updates, which both steps give often, also while waiting.
class CommandStep final : public Progress {
  public:
    CommandStep(RestoreStep step, const Progress& interrupt)
        : shown_(step == RestoreStep::Download ? "bytes received" : "scores stored"),
          interrupt_(interrupt) {
        if (interrupt_.StopRequested()) RequestStop();
    }
    void Update(long done, long total, const std::string& current) override {
        shown_.Update(done, total, current);
        if (interrupt_.StopRequested()) RequestStop();
    }
    void SetStatus(const std::string& cp932_text) override { shown_.SetStatus(cp932_text); }

  private:
    TerminalProgress shown_;
    const Progress& interrupt_;
};

int RestoreScoresCommand(const std::string& id, const std::string& password,
                         const std::string& irid) {
    // Arguments arrive as UTF-8; the program's texts are Shift-JIS.
    auto cp_id = Utf8ToCp932(id);
    auto cp_password = Utf8ToCp932(password);
    if (!cp_id || !cp_password) {
        std::fprintf(stderr, "QV5: the ID and the password must be Shift-JIS text\n");
        return 1;
    }
    NullProgress interrupt;
    StopOnInterrupt stop(interrupt);
    auto progress = [&interrupt](RestoreStep step) {
        return std::make_unique<CommandStep>(step, interrupt);
    };
    if (RestoreScores(*cp_id, *cp_password, irid, progress, &Print) != 1) {
        if (interrupt.StopRequested())
            std::fprintf(stderr, "QV5: stopped by the user; no player was created\n");
        return 1;
    }
    std::printf("restore-scores: player %s created with %d scores\n", id.c_str(),
                ScoreCount(*cp_id));
    return 0;
}

}  // namespace

int RunImportCourses(const CommandCall& call) {
    return ImportCourses(FromStartDir(call.args[0], call.start_dir));
}

int RunRestoreScores(const CommandCall& call) {
    return RestoreScoresCommand(call.args[0], call.args[1], call.args[2]);
}

}  // namespace qv5
