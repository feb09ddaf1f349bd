// The rules of reading a table, each as a table of cases: the header, the
// entries, the page's meta, the order of the levels, the change report and
// the folder names of the store.
#include <gtest/gtest.h>

#include <cstdio>

#include "platform/text.h"
#include "tables/table.h"
#include "tables/table_match.h"
#include "tables/table_page.h"
#include "tables/table_store.h"

namespace qv5 {
namespace {

std::string T(const char8_t* s) {
    return reinterpret_cast<const char*>(s);
}

const std::string kMd5 = "0123456789abcdef0123456789abcdef";

TEST(TableRead, Header) {
    const struct {
        std::string json;
        std::string want;  // name|symbol|data_url|levels|courses, or "!" and part of the error
    } cases[] = {
        {R"({"name":"N","symbol":"sl","data_url":"d.json"})", "N|sl|d.json||0"},
        {"\xEF\xBB\xBF{\"name\":\"N\",\"data_url\":\"d\"}", "N||d||0"},
        // Numbers where texts belong, texts where numbers belong, fractions.
        {R"({"name":12,"symbol":7,"data_url":"d","level_order":[1,2,"10",9.5,12.0,"???",null,[]]})",
         "12|7|d|1,2,10,9.5,12,???|0"},
        {R"({"name":"N","data_url":"d","level_order":"1,2"})", "N||d||0"},
        {R"({"name":"N","data_url":"d","course":[{"name":"a","md5":["x","y"]},{"name":"b"}]})",
         "N||d||2"},
        {R"({"name":"N","data_url":"d","course":[[{"name":"a"},{"name":"b"}],[{"name":"c"}]]})",
         "N||d||3"},
        {R"({"name":"N","data_url":"d","mine":{"deep":[1,2]}})", "N||d||0"},
        {"{\"name\":\"N\xFF\",\"data_url\":\"d\"}", T(u8"N\uFFFD||d||0")},
        {R"({"symbol":"sl","data_url":"d"})", "!name"},
        {R"({"name":"  ","data_url":"d"})", "!name"},
        {R"({"name":"N"})", "!data_url"},
        {R"({"name":"N","data_url":5})", "N||5||0"},
        {R"(["name"])", "!JSON"},
        {R"({"name":"N",)", "!JSON"},
        {"", "!JSON"},
        {std::string(300000, '['), "!250000"},
    };
    for (const auto& c : cases) {
        TableHeader h;
        std::string error;
        std::string got;
        if (ReadTableHeader(c.json, h, error)) {
            std::string levels;
            for (const std::string& l : h.level_order) levels += (levels.empty() ? "" : ",") + l;
            got = h.name + "|" + h.symbol + "|" + h.data_url + "|" + levels + "|" +
                  std::to_string(h.courses.size());
            EXPECT_EQ(got, c.want) << c.json.substr(0, 80);
        } else {
            ASSERT_EQ(c.want[0], '!') << c.json.substr(0, 80) << ": " << error;
            EXPECT_NE(Cp932ToUtf8(error).find(c.want.substr(1)), std::string::npos) << error;
        }
    }
}

TEST(TableRead, Entries) {
    const std::string sha(64, 'a');
    const struct {
        std::string item;
        std::string want;  // level|key|md5|title, or "-" when left out
    } cases[] = {
        {R"({"level":"12","md5":")" + kMd5 + R"(","title":"t"})", "12|md5|" + kMd5 + "|t"},
        {R"({"level":12,"md5":"0123456789ABCDEF0123456789ABCDEF"})", "12|md5|" + kMd5 + "|"},
        {R"({"level":" 3 ","md5":" )" + kMd5 + R"( ","title":42})", "3|md5|" + kMd5 + "|42"},
        {R"({"level":9.5,"md5":"#N/A"})", "9.5|none||"},
        {R"({"level":1,"md5":""})", "1|none||"},
        {R"({"level":1,"md5":"00000000000000000000000000000000"})",
         "1|md5|00000000000000000000000000000000|"},
        {R"({"level":1,"md5":"http://example.com/0123456789abcdef0123"})", "1|none||"},
        {R"({"level":1,"md5":"0123456789abcdef0123456789abcdeg"})", "1|none||"},
        {R"({"level":1,"md5":")" + kMd5 + R"(0"})", "1|none||"},
        {R"({"level":1,"md5":["x"]})", "1|none||"},
        {R"({"level":1,"md5":"'; DROP TABLE song; --"})", "1|none||"},
        {R"({"level":1,"md5":"a\"b\nc"})", "1|none||"},
        {R"({"level":1,"sha256":")" + sha + R"("})", "1|sha256||"},
        {R"({"level":1,"sha256":"short"})", "1|none||"},
        {R"({"level":"a\u0000b\nc","md5":")" + kMd5 + R"("})",
         std::string("a\0b\nc", 5) + "|md5|" + kMd5 + "|"},
        {R"({"md5":")" + kMd5 + R"("})", "-"},
        {R"({"level":"","md5":")" + kMd5 + R"("})", "-"},
        {R"({"level":null})", "-"},
        {R"({"level":true})", "-"},
        {R"({"level":{"x":1}})", "-"},
        {R"("just a text")", "-"},
        {R"([[[[[[[[[[1]]]]]]]]]])", "-"},
    };
    for (const auto& c : cases) {
        TableData d;
        std::string error;
        ASSERT_TRUE(ReadTableData("[" + c.item + "]", d, error)) << c.item << ": " << error;
        std::string got = "-";
        if (!d.entries.empty()) {
            const TableEntry& e = d.entries[0];
            const char* key = e.key == EntryKey::Md5          ? "md5"
                              : e.key == EntryKey::Sha256Only ? "sha256"
                                                              : "none";
            got = e.level + "|" + key + "|" + e.md5 + "|" + e.title;
        }
        EXPECT_EQ(got, c.want) << c.item;
        // Each entry is counted once: kept, or left out for one reason.
        EXPECT_EQ(long(d.entries.size()) + d.without_level + d.not_entries, 1) << c.item;
    }
}

TEST(TableRead, DataShapes) {
    const std::string entry = R"({"level":1,"md5":")" + kMd5 + R"("})";
    std::string nested =
        R"({"level":1,"mine":)" + std::string(100, '[') + std::string(100, ']') + "}";
    const struct {
        std::string json;
        long entries;  // -1: refused
    } cases[] = {
        {"[" + entry + "," + entry + "]", 2},
        {"\xEF\xBB\xBF[" + entry + "]", 1},
        {R"({"charts":[)" + entry + "]}", 1},
        {R"({"charts":{"level":1}})", -1},
        {R"({"data":[]})", -1},
        {"[" + nested + "]", 1},
        {std::string(100, '[') + std::string(100, ']'), 0},
        {std::string(3000, '[') + std::string(3000, ']'), -1},
        {"[]", 0},
        {"7", -1},
        {"[" + entry + ",", -1},
    };
    for (const auto& c : cases) {
        TableData d;
        std::string error;
        const bool ok = ReadTableData(c.json, d, error);
        EXPECT_EQ(ok ? long(d.entries.size()) : -1, c.entries) << c.json.substr(0, 60);
        EXPECT_EQ(ok, error.empty()) << error;
    }
}

TEST(TableRead, TheMetaOfThePage) {
    const struct {
        std::string html;
        std::string want;  // "-" for none
    } cases[] = {
        {R"(<html><head><meta name="bmstable" content="header.json"></head></html>)",
         "header.json"},
        {R"(<META NAME="BMSTable" CONTENT=" ./h/header.json ">)", "./h/header.json"},
        {R"(<html><head><meta charset="shift_jis"><title>表</title><meta name=bmstable content=../h.json>)",
         "../h.json"},
        {R"(<meta name="description" content="x"><meta name="bmstable" content="b.json">)",
         "b.json"},
        {R"(<html><body><p>name="bmstable" content="fake.json"</p></body></html>)", "-"},
        {R"(<!-- <meta name="bmstable" content="comment.json"> -->)", "-"},
        {R"(<meta name="bmstable" content="">)", "-"},
        {R"(<script>location.href="table.html"</script>)", "-"},
        {"", "-"},
        {std::string(50000, '<') + "div>", "-"},
        {"<div>" + std::string(20000, 'x') + R"(<meta name="bmstable" content="late.json">)",
         "late.json"},
    };
    for (const auto& c : cases) {
        const auto meta = FindBmsTableMeta(c.html);
        EXPECT_EQ(meta.value_or("-"), c.want) << c.html.substr(0, 80);
    }
}

TEST(TableRead, LevelsInTheTablesOrderThenNaturally) {
    TableHeader h;
    h.level_order = {"3", "1", "???"};
    TableData d;
    for (const char* level : {"10", "2", "1", "???", "9.5", "a", "3", "12", "02"}) {
        TableEntry e;
        e.level = level;
        e.md5 = std::string(31, '0') + (level[0] == '1' ? "1" : "2");
        e.md5_key = *ParseMd5(e.md5);
        e.key = EntryKey::Md5;
        d.entries.push_back(e);
    }
    d.entries.push_back(TableEntry{"12", "", {}, EntryKey::None, "", "", "", "", "", ""});
    // A row whose hash is no md5 holds nothing.
    const ChartHashes charts = {{std::string(31, '0') + "1", {"songs\\a.bms"}},
                                {"not a hash", {"songs\\b.bms"}}};
    std::string got;
    for (const LevelGroup& g : GroupByLevel(h, d, charts))
        got +=
            g.level + ":" + std::to_string(g.held) + "/" + std::to_string(g.entries.size()) + " ";
    EXPECT_EQ(got, "3:0/1 1:1/1 ???:0/1 02:0/1 2:0/1 9.5:0/1 10:1/1 12:1/2 a:0/1 ");
}

TEST(TableRead, TheLibrarysHashes) {
    ChartHashes charts;
    char hex[33];
    for (int i = 0; i < 5000; ++i) {  // past the first table's size, so it grows
        std::snprintf(hex, sizeof hex, "%032x", i * 7919);
        charts.Add(hex, "songs\\" + std::to_string(i));
    }
    charts.Add(std::string(28, '0') + "1EEF", "songs\\again");  // 7919 in capitals
    charts.Add("#N/A", "songs\\no hash");
    EXPECT_EQ(charts.size(), 5000u);
    EXPECT_EQ(charts.PathsOf(*ParseMd5(std::string(28, '0') + "1eef")),
              (std::vector<std::string>{"songs\\1", "songs\\again"}));
    EXPECT_TRUE(charts.Holds(*ParseMd5(std::string(27, '0') + "98bc1")));  // 7919 * 79
    EXPECT_FALSE(charts.Holds(*ParseMd5(std::string(31, '0') + "1")));
    EXPECT_FALSE(ParseMd5(std::string(31, '0')));
}

TEST(TableRead, WhatAnUpdateChanged) {
    const auto data = [](std::vector<std::pair<std::string, std::string>> entries) {
        TableData d;
        for (auto& [md5, level] : entries) {
            TableEntry e;
            e.level = level;
            e.md5 = md5;
            e.key = md5.empty() ? EntryKey::None : EntryKey::Md5;
            d.entries.push_back(e);
        }
        return d;
    };
    const std::string a(32, 'a'), b(32, 'b'), c(32, 'c'), d(32, 'd');
    const TableChanges ch =
        CompareTables(data({{a, "1"}, {b, "2"}, {c, "3"}, {"", "4"}}),
                      data({{a, "1"}, {b, "5"}, {d, "1"}, {d, "2"}, {"", "6"}}));
    EXPECT_FALSE(ch.first);
    ASSERT_EQ(ch.added.size(), 1u);
    EXPECT_EQ(ch.added[0].md5, d);
    ASSERT_EQ(ch.removed.size(), 1u);
    EXPECT_EQ(ch.removed[0].md5 + ch.removed[0].level, c + "3");
    ASSERT_EQ(ch.moved.size(), 1u);
    EXPECT_EQ(ch.moved[0].from + ">" + ch.moved[0].level, "2>5");
}

// A missing entry's song folder: the one folder holding charts of its
// title (bracketed suffix, ASCII case and end blanks aside) and artist.
TEST(TableRead, SongFoldersByTitleAndArtist) {
    const std::string senbon = "\x90\xE7\x96\x7B\x8D\xF7";  // 千本桜 in CP932
    SongFoldersByTitle folders;
    folders.Build({{"Song A", "art", "songs\\a\\1.bms"},
                   {"Song A", "art", "songs\\a\\2.bme"},
                   {"Song B", "x", "songs\\b1\\1.bms"},
                   {"Song B", "x", "songs\\b2\\1.bms"},  // two folders of one song
                   {senbon, "kurousa", "songs\\senbon\\h.bms"},
                   {"", "nobody", "songs\\untitled\\u.bms"}});
    const struct {
        const char* title;
        const char* artist;
        const char* folder;
    } cases[] = {
        {"Song A [ANOTHER]", "art", "songs\\a\\"},
        {" song a ", "ART", "songs\\a\\"},
        {"Song A", "other", ""},
        {"Song B", "x", ""},
        {"\xE5\x8D\x83\xE6\x9C\xAC\xE6\xA1\x9C (HYPER)", "kurousa", "songs\\senbon\\"},
        {"", "nobody", ""},
        {"Song C", "art", ""},
    };
    for (const auto& c : cases) {
        TableEntry e;
        e.title = c.title;
        e.artist = c.artist;
        EXPECT_EQ(folders.FolderOf(e), c.folder) << c.title << " / " << c.artist;
    }
}

TEST(TableRead, FolderNames) {
    const struct {
        std::string name;
        std::vector<std::string> taken;
        std::string want;  // CP932 shown as UTF-8
    } cases[] = {
        {T(u8"発狂BMS難易度表"), {}, T(u8"発狂BMS難易度表")},
        {"a/b\\c:d*e?f\"g<h>i|j", {}, "a_b_c_d_e_f_g_h_i_j"},
        {"line\nbreak\x1b[31m", {}, "line_break_[31m"},
        {T(u8"한국어 table"), {}, "___ table"},
        {"../..", {}, "_._"},
        {"  .hidden  ", {}, "_hidden"},
        {"...", {}, "table"},
        {"", {}, "table"},
        {"CON", {}, "_CON"},
        {"lpt1.json", {}, "_lpt1.json"},
        {"Insane", {"insane", "Insane (2)"}, "Insane (3)"},
        {std::string(10000, 'x'), {}, std::string(64, 'x')},
        {T(u8"表") + std::string(62, 'x') + T(u8"表"), {}, T(u8"表") + std::string(62, 'x')},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Cp932ToUtf8(TableFolderName(c.name, c.taken)), c.want) << c.name.substr(0, 80);
}

}  // namespace
}  // namespace qv5
