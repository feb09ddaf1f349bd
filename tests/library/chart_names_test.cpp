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
    } cases[] = {
        {"a.bms", true},  {"a.bme", true},   {"a.bml", true},           {"a.pms", true},
        {"A.BMS", true},  {"a.Bme", true},   {"songs\\x\\a.pms", true}, {Sj(u8"表.bms"), true},
        {".bms", false},  {"bms", false},    {"a.bmsx", false},         {"a.bmx", false},
        {"a.bm_", false}, {"a.bms_", false}, {"abms", false},           {"a.txt", false},
        {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsChartName(c.name), c.chart) << c.name;
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
