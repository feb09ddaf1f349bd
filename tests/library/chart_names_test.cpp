#include "library/chart_names.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/text.h"

namespace qv5 {
namespace {

TEST(ChartNames, ChartsByTheirLastFourBytesInAnyCase) {
    const struct {
        std::string name;
        bool chart;
        bool exact_case;  // as the folder tree's double click tells it
    } cases[] = {
        {"a.bms", true, true},           {"a.bme", true, true},        {"a.bml", true, true},
        {"a.pms", true, true},           {"A.BMS", true, false},       {"a.Bme", true, false},
        {"songs\\x\\a.pms", true, true}, {Sj(u8"表.bms"), true, true}, {".bms", false, true},
        {"bms", false, false},           {"a.bmsx", false, false},     {"a.bmx", false, false},
        {"a.bm_", false, false},         {"a.bms_", false, false},     {"abms", false, false},
        {"a.txt", false, false},         {"", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsChartName(c.name), c.chart) << c.name;
        EXPECT_EQ(IsChartNameExactCase(c.name), c.exact_case) << c.name;
    }
}

TEST(ChartNames, CustomFoldersByTheirExactEnding) {
    const struct {
        std::string name;
        bool custom;
    } cases[] = {
        {"list.qv5folder", true},
        {"songs\\list.qv5folder", true},
        {".qv5folder", false},
        {"list.QV5FOLDER", false},
        {"listqv5folder", false},
        {"list.qv5folder\\", false},
        {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsCustomFolderName(c.name), c.custom) << c.name;
}

}  // namespace
}  // namespace qv5
