#include "library/encodings.h"

#include <gtest/gtest.h>

namespace qv5 {
namespace {

TEST(PathKey, Examples) {
    struct Case {
        std::string text, key;
    } cases[] = {
        {"ROOT", "e2977170"},
        {"abc", "a75d6850"},
        {"\x82\xA0", "20d3a867"},
        {"", "d202ef8d"},
    };
    for (const auto& c : cases) EXPECT_EQ(PathKey(c.text), c.key) << c.text;
    EXPECT_EQ(PathKey("ROOT"), kRootKey);
    EXPECT_NE(PathKey("Z:\\music\\"), PathKey("Z:\\music"));
}

TEST(LibraryTime, Formula) {
    struct Case {
        FileTime t;
        std::int32_t value;
    } cases[] = {
        {{2010, 2, 1, 0, 0, 0}, 1264943795},
        {{1970, 1, 1, 0, 0, 0}, 0},
        {{1970, 1, 1, 0, 0, 59}, 59},
        {{2012, 2, 29, 12, 0, 0}, LibraryTime({2012, 2, 28, 12, 0, 0})},
        {{1969, 12, 31, 23, 59, 59}, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LibraryTime(c.t), c.value) << c.t.year << "-" << c.t.month << "-" << c.t.day;
    // Drifts below Unix seconds, but stays monotonic across a day.
    EXPECT_LT(LibraryTime({2010, 2, 1, 0, 0, 0}), 1264982400);
    EXPECT_LT(LibraryTime({2024, 5, 1, 0, 0, 0}), LibraryTime({2024, 5, 2, 0, 0, 0}));
}

}  // namespace
}  // namespace qv5
