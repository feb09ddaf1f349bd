#include "library/path_set.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace qv5 {
namespace {

// Against std::set through inserts, removals and re-inserts across many
// growths, with keys that share long prefixes as library paths do.
TEST(PathSetTest, AgreesWithAnOrderedSet) {
    struct Case {
        const char* name;
        size_t reserve;
        int count;
    };
    for (const Case& c : {Case{"empty", 0, 0}, Case{"grown", 0, 5000}, Case{"reserved", 5000, 5000},
                          Case{"under-reserved", 10, 3000}}) {
        PathSet set;
        std::set<std::string> model;
        set.Reserve(c.reserve);
        auto path = [](int i) {
            return "Z:\\BMS\\pack" + std::to_string(i % 37) + "\\song" + std::to_string(i) +
                   "\\chart.bms";
        };
        for (int i = 0; i < c.count; ++i) {
            EXPECT_EQ(set.Insert(path(i)), model.insert(path(i)).second) << c.name;
            if (i % 3 == 0) {
                EXPECT_EQ(set.Insert(path(i / 2)), model.insert(path(i / 2)).second) << c.name;
            }
            if (i % 5 == 0) {
                set.Erase(path(i / 4));
                model.erase(path(i / 4));
            }
            if (i % 7 == 0) {
                EXPECT_EQ(set.Insert(path(i / 4)), model.insert(path(i / 4)).second) << c.name;
            }
        }
        set.Erase("not there");
        EXPECT_EQ(set.size(), model.size()) << c.name;
        for (int i = 0; i < c.count + 10; ++i)
            EXPECT_EQ(set.Contains(path(i)), model.count(path(i)) == 1) << c.name << " " << i;
        EXPECT_FALSE(set.Contains("")) << c.name;
        EXPECT_TRUE(set.Insert("")) << c.name;
        EXPECT_TRUE(set.Contains("")) << c.name;
    }
}

}  // namespace
}  // namespace qv5
