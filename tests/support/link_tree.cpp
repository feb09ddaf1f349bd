#include "support/link_tree.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <utility>
#include <vector>

namespace qv5::test {

void MakeTreeWithLinksBack(const TempGame& game) {
    game.WriteFile("songs/A/c.bms", "#TITLE C\r\n#00111:01\r\n");
    game.WriteFile("songs/B/d.bms", "#TITLE D\r\n#00111:01\r\n");
    game.WriteFile("songs/X/Y/e.bms", "#TITLE E\r\n#00111:01\r\n");
    game.MakeDir("songs/P");
    game.MakeDir("songs/Q");
    const std::vector<std::pair<const char*, const char*>> links = {
        {"..", "songs/A/up"},
        {"../..", "songs/A/top"},
        {".", "songs/A/self"},
        {"/", "songs/A/fsroot"},
        {"../../X", "songs/X/Y/loop"},
        {"../B", "songs/A/toB"},  // a sibling, whichever is listed first
        {"../Q", "songs/P/q"},    // two siblings naming each other
        {"../P", "songs/Q/p"},
    };
    for (const auto& [target, link] : links)
        ASSERT_EQ(symlink(target, game.HostPath(link).c_str()), 0) << link;
}

std::set<std::string> FoldersOfTreeWithLinksBack() {
    return {"songs\\",       "songs\\A\\", "songs\\B\\", "songs\\X\\",
            "songs\\X\\Y\\", "songs\\P\\", "songs\\Q\\"};
}

}  // namespace qv5::test
