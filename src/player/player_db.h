// Player databases: QV5files/Database/Score/<id>.db, one per player.
#pragma once

#include <string>
#include <vector>

#include "player/notice.h"

namespace qv5 {

inline constexpr const char* kScoreFolder = "QV5files\\Database\\Score";
extern const char* const kCreatePlayerTable;

// MD5 of the password bytes, 32 lower-case hex digits.
std::string PasswordDigest(const std::string& password);

// The ID becomes a file name: printable ASCII without the characters a file
// name cannot hold, no leading or trailing dot or blank, below 200 bytes.
bool IsSafePlayerId(const std::string& id);
// The database of a player: <id>.db, or the file listed as that player when
// its extension has another case.
std::string PlayerDbPath(const std::string& id);
// The database of an existing player, for the song library to attach; empty
// for an ID without one or one that is no safe file name.
std::string ExistingPlayerDb(const std::string& id);

// Player IDs in file-system order.
std::vector<std::string> ListPlayers();
// The number of score rows of the player's database; 0 when it has none or
// cannot be read.
int ScoreCount(const std::string& id);

// The message of a player file that cannot be made for a reason other than
// its name (CP932 host path, the system's UTF-8 text).
std::string CannotCreatePlayerMessage(const std::string& host_path, const std::string& why);

// Creates the database and its player row; 1 on success (told as a report),
// 0 after telling the error.
int CreatePlayer(const std::string& id, const std::string& password, const Tell& tell);
// 1 when the stored digest matches; 0 for another digest (nothing told: the
// caller names the wrong password), 0 after telling the error otherwise.
int VerifyPlayerPassword(const std::string& id, const std::string& password, const Tell& tell);

}  // namespace qv5
