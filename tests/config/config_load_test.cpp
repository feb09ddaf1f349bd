#include <gtest/gtest.h>
#include <tinyxml2.h>

#include "config/config_file.h"
#include "config/config_keys.h"
#include "platform/text.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

ConfigRecord LoadFrom(test::TempGame& game, const std::string& xml) {
    game.WriteFile("QV5files/Config/config.xml", xml);
    ConfigRecord c;
    c.vsync = 77;  // every field is overwritten
    c.path_count = 5;
    LoadConfig(c);
    return c;
}

std::string Doc(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"shift_jis\"?>\r\n<config>" + body + "</config>";
}

std::vector<std::string> Paths(const ConfigRecord& c) {
    return {c.path.begin(), c.path.begin() + c.path_count};
}

TEST(LoadConfig, MissingOrBrokenFileGivesDefaults) {
    test::TempGame game;
    for (const char* xml : {"", "<config><system>", "\x00\x01garbage", "<other/>"}) {
        ConfigRecord c = LoadFrom(game, xml);
        EXPECT_EQ(FormatConfig(c), FormatConfig(ConfigRecord{})) << xml;
        EXPECT_EQ(c.disabledsp, 1);
        EXPECT_EQ(c.path_count, 0);
    }
}

TEST(LoadConfig, EveryKeyRoundTrips) {
    test::TempGame game;
    ConfigRecord c;
    int n = 1;
    for (const ConfigKey& k : ConfigKeys()) {
        if (!k.key) continue;
        if (k.int_field)
            c.*k.int_field = n * 7 - 3;
        else
            c.*k.text_field = std::string("v") + std::to_string(n) + Sj(u8"ソ表<&>'\"");
        ++n;
    }
    c.output = 2;
    c.disabledsp = 0;
    c.bufferlength = 1000;
    c.path_count = 3;
    c.path[0] = Sj(u8"Z:\\曲\\");
    c.path[1] = "songs\\";
    c.path[2] = "a&b\\";
    ASSERT_EQ(SaveConfig(c), 1);
    ConfigRecord back;
    LoadConfig(back);
    EXPECT_EQ(FormatConfig(back), FormatConfig(c));
}

TEST(LoadConfig, ElementRules) {
    test::TempGame game;
    ConfigRecord c = LoadFrom(game, Doc("<system><vsync>1</vsync></system>"));
    EXPECT_EQ(c.vsync, 1);
    c.vsync = 0;
    EXPECT_EQ(FormatConfig(c), FormatConfig(ConfigRecord{}));

    c = LoadFrom(game, Doc("<system><vsync>1</vsync><vsync>0</vsync></system>"
                           "<system><hptimer>1</hptimer></system>"));
    EXPECT_EQ(c.vsync, 1);
    EXPECT_EQ(c.hptimer, 0);  // only the first section element counts

    c = LoadFrom(game, Doc("<system><newsongfolder></newsongfolder><language><!--x-->1</language>"
                           "<windowsize_x>  800px</windowsize_x><windowsize_y>abc</windowsize_y>"
                           "</system><skin><fontname>  Meiryo </fontname><theme><b>x</b></theme>"
                           "</skin>"));
    EXPECT_EQ(c.newsongfolder, "NEW SONG\\");
    EXPECT_EQ(c.language, 0);
    EXPECT_EQ(c.windowsize_x, 800);
    EXPECT_EQ(c.windowsize_y, 0);
    EXPECT_EQ(c.fontname, "  Meiryo ");  // white space kept
    EXPECT_EQ(c.theme, "");

    c = LoadFrom(game, Doc("<player><id>a&amp;b&lt;c&gt;&quot;&apos;</id></player>"));
    EXPECT_EQ(c.id, "a&b<c>\"'");
}

TEST(LoadConfig, Corrections) {
    test::TempGame game;
    struct Case {
        std::string body;
        std::function<void(const ConfigRecord&)> check;
    } cases[] = {
        {"<sound><bufferlength>0</bufferlength></sound>",
         [](auto& c) { EXPECT_EQ(c.bufferlength, 256); }},
        {"<sound><bufferlength>8</bufferlength></sound>",
         [](auto& c) { EXPECT_EQ(c.bufferlength, 16); }},
        {"<sound><bufferlength>17</bufferlength></sound>",
         [](auto& c) { EXPECT_EQ(c.bufferlength, 17); }},
        {"<sound><bufferlength>-3</bufferlength><numbuffers>0</numbuffers></sound>",
         [](auto& c) {
             EXPECT_EQ(c.bufferlength, 16);
             EXPECT_EQ(c.numbuffers, 1);
         }},
        {"<select><speedfirst>0</speedfirst><speednext>-1</speednext></select>",
         [](auto& c) {
             EXPECT_EQ(c.speedfirst, 300);
             EXPECT_EQ(c.speednext, 70);
         }},
        {"<select><searchmax>-5</searchmax></select>", [](auto& c) { EXPECT_EQ(c.searchmax, 0); }},
        {"<select><searchmax>0</searchmax></select>", [](auto& c) { EXPECT_EQ(c.searchmax, 0); }},
        {"<sound><output>2</output><disabledsp>1</disabledsp></sound>",
         [](auto& c) { EXPECT_EQ(c.disabledsp, 0); }},
        {"<sound><output>1</output><disabledsp>0</disabledsp></sound>",
         [](auto& c) { EXPECT_EQ(c.disabledsp, 1); }},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.body);
        k.check(LoadFrom(game, Doc(k.body)));
    }
}

TEST(LoadConfig, DisabledspFollowsTheLastRead) {
    test::TempGame game;
    ConfigRecord c = LoadFrom(game, Doc("<sound><output>2</output></sound>"));
    c.output = 0;  // the page changed it; the derived value waits for the next read
    ASSERT_EQ(SaveConfig(c), 1);
    EXPECT_NE(game.ReadFile("QV5files/Config/config.xml").find("<disabledsp>0</disabledsp>"),
              std::string::npos);
}

TEST(LoadConfig, SongFolderWalk) {
    test::TempGame game;
    const std::string so = Sj(u8"ソ");  // trail byte 0x5C
    ASSERT_EQ(so, "\x83\x5C");
    struct Case {
        std::string jukebox;
        std::vector<std::string> expected;
    } cases[] = {
        {"", {}},
        {"<path></path><path>b</path>", {}},
        {"<path>a\\\\</path><path>b\\\\</path>", {"a\\", "b\\\\"}},
        {"<path>a\\</path><other>o</other><path>c</path>", {"a\\", "o", "c"}},
        {"<path>a</path><path></path><path>c</path>", {"a"}},
        {"<x>y</x><path>a</path><path>b</path>", {"a", "b"}},
        {"<path>" + so + "\\</path>", {so}},
        {"<path>" + so + "</path>", {so}},
        {"<path>\\\\</path>", {"\\"}},
        {"<path>\\</path>", {"\\"}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.jukebox);
        EXPECT_EQ(Paths(LoadFrom(game, Doc("<jukebox>" + k.jukebox + "</jukebox>"))), k.expected);
    }
}

TEST(LoadConfig, SongFolderListStopsAt1000) {
    test::TempGame game;
    std::string body;
    for (int i = 0; i < 1005; ++i) body += "<path>p" + std::to_string(i) + "</path>";
    ConfigRecord c = LoadFrom(game, Doc("<jukebox>" + body + "</jukebox>"));
    ASSERT_EQ(c.path_count, 1000);
    EXPECT_EQ(c.path[999], "p999");
}

// The reading over bytes already read is the file's reading: the same record
// and the same verdict, whatever the bytes.
TEST(ParseConfig, ReadsBytesAsLoadConfigReadsTheFile) {
    test::TempGame game;
    const std::string texts[] = {
        "",
        "<config><system>",
        Doc("<system><vsync>1</vsync></system>") + std::string(1, '\0'),
        Doc("<system><vsync>1</vsync><bufferlength>8</bufferlength></system>"
            "<jukebox><path>Z:\\a\\\\</path><path>b\\</path><path><x/></path></jukebox>"),
        Doc("<player><name>&#12354;&#x3044;&#128512;&amp;</name><id> 12abc</id></player>"),
        Doc("<play><hs>-99999999999</hs></play><skin><theme>a\r\nb</theme></skin>"),
    };
    for (const std::string& xml : texts) {
        SCOPED_TRACE(xml);
        game.WriteFile("QV5files/Config/config.xml", xml);
        ConfigRecord from_file, from_bytes;
        from_bytes.vsync = 77;  // every field is overwritten
        from_bytes.path_count = 5;
        const ConfigState file_state = LoadConfig(from_file);
        EXPECT_EQ(ParseConfig(from_bytes, xml), file_state);
        EXPECT_EQ(FormatConfig(from_bytes), FormatConfig(from_file));
        EXPECT_EQ(from_bytes.vsync, from_file.vsync);
    }
    ConfigRecord c;
    EXPECT_EQ(ParseConfig(c, Doc("<system><vsync>1</vsync></system>")), ConfigState::Read);
    EXPECT_EQ(c.vsync, 1);
    EXPECT_EQ(ParseConfig(c, "<config>"), ConfigState::Unreadable);
    EXPECT_EQ(c.vsync, 0);
}

TEST(ReadSetting, ReportsWhatItFound) {
    tinyxml2::XMLDocument doc(true, tinyxml2::PRESERVE_WHITESPACE);
    ASSERT_EQ(doc.Parse("<config><system><vsync>4</vsync><t>x</t></system></config>"),
              tinyxml2::XML_SUCCESS);
    std::int32_t v = 0;
    std::string s;
    EXPECT_EQ(ReadIntSetting(&doc, v, 9, "system", "vsync"), 1);
    EXPECT_EQ(v, 4);
    EXPECT_EQ(ReadIntSetting(&doc, v, 9, "system", "missing"), -1);
    EXPECT_EQ(v, 9);
    EXPECT_EQ(ReadIntSetting(nullptr, v, 8, "system", "vsync"), 0);
    EXPECT_EQ(v, 8);
    EXPECT_EQ(ReadStringSetting(&doc, s, "d", "system", "t"), 1);
    EXPECT_EQ(s, "x");
    EXPECT_EQ(ReadStringSetting(&doc, s, "d", "nosection", "t"), -1);
    EXPECT_EQ(s, "d");
}

}  // namespace
}  // namespace qv5
