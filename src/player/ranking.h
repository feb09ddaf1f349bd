// QV5IR ranking pages, opened in the user's browser.
#pragma once

#include <string>

#include "player/notice.h"

namespace qv5 {

// The directory under which the ranking scripts live: the first line of
// QV5files/Config/irserver.txt when present, the built-in default otherwise.
std::string RankingBaseAddress();
inline constexpr const char* kRankingAddressFile = "QV5files\\Config\\irserver.txt";
inline constexpr const char* kDefaultRankingAddress = "http://localhost/qv5ir/";

// my_page set: "mode=mypage&login=1..." (the MAIN page's kMyPage button);
// clear: the top page (kTopPage).
// 1 when the browser was asked to open it, 0 after telling why not.
int OpenRankingPage(const std::string& id, const std::string& password, bool my_page,
                    const Tell& tell);
// The ranking of one chart file (internal path). 0 when it cannot be hashed.
int OpenChartRankingPage(const std::string& chart_path);

}  // namespace qv5
