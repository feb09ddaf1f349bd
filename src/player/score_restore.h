// Linking an existing QV5IR account: its score list is downloaded from the
// ranking service into QV5files/Config/temp.xml and a new player database is
// created from it.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/http.h"
#include "platform/progress.h"
#include "player/notice.h"

namespace qv5 {

inline constexpr const char* kScoreListPath = "QV5files\\Config\\temp.xml";

// Makes what shows the download while it runs (a progress window, a line on
// the terminal); it is dropped when the download ends, before the next message.
using MakeProgress = std::function<std::unique_ptr<Progress>()>;

enum class DownloadEnd {
    Saved,         // temp.xml holds the whole response
    ServerError,   // an "ERROR" line
    BadPassword,   // a "PASS" line
    NetworkError,  // no connection, timeout, cut connection, HTTP error
    Stopped,       // the progress asked to stop
    NotWritten,    // temp.xml cannot be written
};

struct ScoreDownload {
    DownloadEnd end = DownloadEnd::NetworkError;
    Notice notice;  // what to tell; empty text when nothing (Saved, Stopped)
};

// Requests <ranking address>restorescore.cgi?id=IRID&passmd5=DIGEST and copies
// the response into temp.xml, each line without its line break. The file is
// left as it was when no response arrived.
ScoreDownload DownloadScoreList(int irid, const std::string& password, const HttpOptions& options,
                                Progress& progress);

// Creates the player database of `id` from temp.xml: the player row with the
// account number and one score row per entry. 1 after the count report,
// 0 after an error message (nothing is created then).
int CreatePlayerFromScoreList(const std::string& id, const std::string& password, int irid,
                              const Tell& tell);

// The whole linked-account creation with its messages in order: the account
// number check, the download notice, the download, the reading notice, the
// creation. 1 when the player was created.
int RestoreScores(const std::string& id, const std::string& password, const std::string& irid_text,
                  const MakeProgress& make_progress, const Tell& tell,
                  const HttpOptions& options = {});

}  // namespace qv5
