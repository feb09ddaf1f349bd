#include "support/players.h"

#include <gtest/gtest.h>

#include "config/config_file.h"
#include "platform/database.h"
#include "player/player_db.h"

namespace qv5::test {

void MakePlayer(const std::string& id, const std::string& password, int irid) {
    Database db;
    ASSERT_TRUE(db.Open(PlayerDbPath(id)));
    db.Exec(kCreatePlayerTable);
    ASSERT_TRUE(
        db.Exec(SqlFormat("INSERT INTO player (id,hash,name,systemversion,irid) "
                          "VALUES('%q','%q','%q','1',%s)",
                          id.c_str(), PasswordDigest(password).c_str(), id.c_str(),
                          irid > 0 ? std::to_string(irid).c_str() : "NULL")));
}

void SavePlayerConfig(const std::vector<std::string>& roots) {
    MakePlayer("abc", "pass");
    ConfigRecord c;
    c.id = "abc";
    for (const std::string& r : roots) c.path[c.path_count++] = r;
    ASSERT_EQ(SaveConfig(c), 1);
}

ConfigRecord NewPlayerRecord(const std::vector<std::string>& roots) {
    TheConfig() = ConfigRecord{};
    MakePlayer("player", "pass");
    ConfigRecord c;
    c.id = "player";
    c.pass = "pass";
    for (const std::string& r : roots) c.path[c.path_count++] = r;
    return c;
}

}  // namespace qv5::test
