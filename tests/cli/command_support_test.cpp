// The summary lines' counts: the noun agrees with the number, and the number
// stays where a script reads it.
#include "cli/command_support.h"

#include <gtest/gtest.h>

namespace qv5 {
namespace {

TEST(CommandSupport, ACountTakesTheFormOfItsNoun) {
    const struct {
        long n;
        const char* noun;
        const char* want;
    } cases[] = {
        {0, "chart", "0 charts"},      {1, "chart", "1 chart"},
        {2, "chart", "2 charts"},      {1, "song folder", "1 song folder"},
        {1000, "song folder", "1000 song folders"}, {1, "entry", "1 entry"},
        {3, "entry", "3 entries"},     {1, "finding", "1 finding"},
        {-1, "file", "-1 files"},
    };
    for (const auto& c : cases) EXPECT_EQ(Counted(c.n, c.noun), c.want);
}

}  // namespace
}  // namespace qv5
