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

// The two long steps, each shown by a progress of its own.
enum class RestoreStep { Download, Store };

// Makes what shows a step while it runs (a progress window, a line on the
// terminal); it is dropped when the step ends, before the next message. Its
// stop request ends the step, and nothing is created.
using MakeProgress = std::function<std::unique_ptr<Progress>(RestoreStep)>;

enum class DownloadEnd {
    Saved,         // temp.xml holds the whole response
    ServerError,   // an "ERROR" line
    BadPassword,   // a "PASS" line
    NetworkError,  // no connection, timeout, cut connection, HTTP error
    Stopped,       // the progress asked to stop
    NotWritten,    // temp.xml cannot be written
    TooLarge,      // the answer went beyond the limit of HttpOptions
};

struct ScoreDownload {
    DownloadEnd end = DownloadEnd::NetworkError;
    Notice notice;  // what to tell; empty text when nothing (Saved, Stopped)
};

// Requests <ranking address>restorescore.cgi?id=IRID&passmd5=DIGEST and copies
// the response into temp.xml as it arrives, each line without its line break,
// under a fresh name renamed over temp.xml at the end (a link there is
// replaced, not written through). The file is left as it was when no
// response arrived or the response was too large.
ScoreDownload DownloadScoreList(int irid, const std::string& password, const HttpOptions& options,
                                Progress& progress);

// Creates the player database of `id` from temp.xml: the player row with the
// account number and one score row per entry, built under a temporary name
// (not listed as a player) and renamed into place once complete. 1 after the
// count report, 0 after an error message or a stop (nothing is created then).
int CreatePlayerFromScoreList(const std::string& id, const std::string& password, int irid,
                              const Tell& tell, const MakeProgress& make_progress = {});

// The whole linked-account creation with its messages in order: the account
// number check, the download notice, the download, the reading notice, the
// creation. 1 when the player was created.
int RestoreScores(const std::string& id, const std::string& password, const std::string& irid_text,
                  const MakeProgress& make_progress, const Tell& tell,
                  const HttpOptions& options = {});

}  // namespace qv5
