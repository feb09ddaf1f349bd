// Player databases: QV5files/Database/Score/<id>.db, one per player.
#pragma once

#include <string>
#include <vector>

namespace qv5 {

inline constexpr const char* kScoreFolder = "QV5files\\Database\\Score";
extern const char* const kCreatePlayerTable;
extern const char* const kCreateScoreTable;

// MD5 of the password bytes, 32 lower-case hex digits.
std::string PasswordDigest(const std::string& password);

// The ID becomes a file name: printable ASCII without the characters a file
// name cannot hold, no leading or trailing dot or blank, below 200 bytes.
bool IsSafePlayerId(const std::string& id);
std::string PlayerDbPath(const std::string& id);

// Player IDs in file-system order.
std::vector<std::string> ListPlayers();

// Creates the database and its player row; 1 on success, 0 after a message.
int CreatePlayer(const std::string& id, const std::string& password);
// 1 when the stored digest matches, 0 after a message.
int VerifyPlayerPassword(const std::string& id, const std::string& password);

}  // namespace qv5
