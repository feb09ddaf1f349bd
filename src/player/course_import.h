// Course lists: XML files of courses that fill the course tables of song.db.
#pragma once

#include <string>
#include <vector>

#include "player/notice.h"

namespace qv5 {

class SongLibrary;

struct CourseImport {
    int count = 0;          // course rows stored
    bool consumed = false;  // the list was read, stored and deleted from disk
    // Why nothing was stored (CP932), empty otherwise: the list is unreadable,
    // or the library refused the rows; the file then stays on disk.
    std::string error;
    // What the window shows, in order: the error, or one box per row the
    // library refused ("コースを追加できません。" captioned with its reason).
    std::vector<Notice> notices;
};

// Reads the course list file (internal path) into the nonstop, expert and
// grade tables of the song library in one transaction; the file is deleted
// once the rows are committed, even when none was valid. The library's busy
// timeout is how long a commit waits while another program holds it.
CourseImport ImportCourseList(SongLibrary& library, const std::string& path);

}  // namespace qv5
