#include "library/chart_header.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

#include "library/file_hash.h"
#include "platform/files.h"
#include "platform/text.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

ChartRecord Parse(const std::string& text) {
    ChartRecord r;
    ParseChartHeader(r, text);
    return r;
}

TEST(ChartHeader, HeaderCommands) {
    struct Case {
        std::string text;
        std::function<void(const ChartRecord&)> check;
    } cases[] = {
        {"#title abc\r\n", [](auto& r) { EXPECT_EQ(r.title, "abc"); }},
        {"#TITLE:x\n", [](auto& r) { EXPECT_EQ(r.title, "x"); }},
        {"#TITLExy\n", [](auto& r) { EXPECT_EQ(r.title, "y"); }},
        {"#TITLE  two\n", [](auto& r) { EXPECT_EQ(r.title, " two"); }},
        {"#TITLE\n#TITLE \n", [](auto& r) { EXPECT_EQ(r.title, ""); }},
        {"  #ARTIST  A B  \t\r\n", [](auto& r) { EXPECT_EQ(r.artist, " A B"); }},
        {"#GENRE g\n#CATEGORY c\n", [](auto& r) { EXPECT_EQ(r.genre, "c"); }},
        {"#SUBTITLE s\n#SUBARTIST sa\n",
         [](auto& r) {
             EXPECT_EQ(r.subtitle, "s");
             EXPECT_EQ(r.subartist, "sa");
         }},
        {"#INFORMATION_A ia\n#INFORMATION_B ib\n",
         [](auto& r) {
             EXPECT_EQ(r.artist, "ia");
             EXPECT_EQ(r.subartist, "ib");
         }},
        {"#PLAYLEVEL 12\n#EXLEVEL -3x\n",
         [](auto& r) {
             EXPECT_EQ(r.level, 12);
             EXPECT_EQ(r.exlevel, -3);
         }},
        {"#MAXTRACKS 7\n", [](auto& r) { EXPECT_EQ(r.level, 7); }},
        {"#PLAYLEVEL ?\n", [](auto& r) { EXPECT_EQ(r.level, 0); }},
        {"#TAG t\n", [](auto& r) { EXPECT_EQ(r.tag, "t"); }},
        {"#COMMAND __NEWSONG__\n", [](auto& r) { EXPECT_EQ(r.tag, "__NEWSONG__"); }},
        {"#STAGEFILE s.bmp\n#BANNER b.png\n#BACKBMP k.bmp\n",
         [](auto& r) {
             EXPECT_EQ(r.stagefile, "s.bmp");
             EXPECT_EQ(r.banner, "b.png");
             EXPECT_EQ(r.backbmp, "k.bmp");
         }},
        {"#CUSTOMFOLDER\n", [](auto& r) { EXPECT_EQ(r.judge, 2); }},
        {"#customfolder\n", [](auto& r) { EXPECT_EQ(r.judge, 0); }},
        {"#rank 3\n", [](auto& r) { EXPECT_EQ(r.judge, 3); }},
        {"#BMP01 a.bmp\n#RANDOM 2\n",
         [](auto& r) {
             EXPECT_EQ(r.bga, 1);
             EXPECT_EQ(r.random, 1);
         }},
        {"#bmp01 a.bmp\n#random 2\n",
         [](auto& r) {
             EXPECT_EQ(r.bga, 0);
             EXPECT_EQ(r.random, 0);
         }},
        {"#DIFFICULTY 2\n#TITLE Song [ANOTHER]\n", [](auto& r) { EXPECT_EQ(r.difficulty, 4); }},
        {"#TITLE Song [ANOTHER]\n#DIFFICULTY 2\n", [](auto& r) { EXPECT_EQ(r.difficulty, 2); }},
        {"#GENRE Trance HYPER\n",
         [](auto& r) {
             EXPECT_EQ(r.genre, "Trance HYPER");
             EXPECT_EQ(r.difficulty, 3);
             EXPECT_EQ(r.title, "");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        c.check(Parse(c.text));
    }
}

TEST(ChartHeader, ConditionalBlocks) {
    struct Case {
        std::string text, title;
    } cases[] = {
        {"#IF 2\n#TITLE A\n#ENDIF\n#TITLE B\n", "B"},
        {"#IF 1\n#TITLE A\n", "A"},
        {"#IF 2\n#IF 1\n#TITLE A\n#ENDIF\n", ""},
        {"#IF 10\n#TITLE A\n", "A"},
        {"#RANDOM 2\n#IF 1\n#TITLE A\n#ENDIF\n#IF 2\n#TITLE B\n#ENDIF\n", "A"},
        {"#if 2\n#TITLE A\n", "A"},
    };
    for (const auto& c : cases) EXPECT_EQ(Parse(c.text).title, c.title) << c.text;
}

TEST(ChartHeader, Tempo) {
    struct Case {
        std::string text;
        int max, min;
    } cases[] = {
        {"#BPM 150.5\n", 150, 150},
        {"#BPM 0\n", 0, 0},
        {"#BPM 150\n#BPM 180\n#BPM 120\n", 180, 120},
        {"#BPM 120\n#BPM 150\n", 150, 120},
        {"#bpm 150\n", 0, 0},
        {"#BPM01 160\n#BPM 100\n", 160, 100},
        {"#BPM\n#BPM1\n", 0, 0},
        {"#00103:0A00FFzz\n", 255, 10},
        {"#BPM 100\n#00103:00\n", 100, 100},
        // The range is the same whatever order lines and values come in.
        {"#00103:80\n#00103:40C0\n#00103:60\n", 192, 64},
        {"#BPM 100\n#00103:0032FF00\n#BPM 60\n", 255, 50},
        {"#00103:7F\n#BPM 200\n#BPM 50\n", 200, 50},
        {"#00103:0000000000000000000000000000000000000000000000000000000000000001\n", 1, 1},
    };
    for (const auto& c : cases) {
        ChartRecord r = Parse(c.text);
        EXPECT_EQ(r.maxbpm, c.max) << c.text;
        EXPECT_EQ(r.minbpm, c.min) << c.text;
    }
}

TEST(ChartHeader, ChannelsModesAndNotes) {
    struct Case {
        std::string text;
        int mode, notes, longnote;
        bool pms = false;
    } cases[] = {
        {"#00116:01010000\n#00111:01\n", 5, 3, 0},
        {"#00118:01\n", 7, 1, 0},
        {"#00121:01\n", 10, 1, 0},
        {"#00118:01\n#00121:01\n", 14, 2, 0},
        {"#00121:01\n#00118:01\n", 14, 2, 0},
        {"#00128:01\n", 14, 1, 0},
        {"#00118:01\n", 9, 1, 0, true},
        {"#00128:01\n", 14, 1, 0, true},
        {"#00151:01000001\n", 5, 2, 1},
        {"#00138:01\n", 7, 1, 0},  // invisible 8th key
        {"#00158:01\n", 7, 1, 1},
        {"#LNOBJ ZZ\n#00111:ZZ01zz\n", 5, 1, 1},
        {"#00011:0101\n", 5, 0, 0},  // measure 000
        {"#00111:010\n", 5, 1, 0},   // odd length: last character dropped
        {"#00111\n#00111:\n#001\n#0011\n#\n##\n", 5, 0, 0},
        {"#00101:0101\n#00104:01\n", 5, 0, 0},
        {"#00111:..!!0\x82\n", 5, 0, 0},
        // Lines of letters that begin no command count for nothing.
        {"#WAV11 a.wav\n#w0111:01\n#X00111:01\n#00111:01\n", 5, 1, 0},
        {"#lnobj 01\n#00111:0102\n", 5, 2, 0},  // #LNOBJ in capitals only
        // Objects are read from the line as read: a leading tab shifts them.
        {"\t#00111:0101  \r\n", 5, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ChartRecord r;
        if (c.pms) r.mode = 9;
        ParseChartHeader(r, c.text);
        EXPECT_EQ(r.mode, c.mode);
        EXPECT_EQ(r.note_count, c.notes);
        EXPECT_EQ(r.longnote, c.longnote);
    }
}

TEST(ChartHeader, LinePiecesAndBadInput) {
    // A line of 102400 bytes or more arrives in pieces; the tail is a line of its own.
    std::string longline = "#TITLE " + std::string(kLinePieceBytes - 7, 'x') + "#TITLE z";
    ChartRecord r = Parse(longline + "\n");
    EXPECT_EQ(r.title, "z");
    // CR LF counts as one character towards the piece.
    std::string exact = "#TITLE " + std::string(kLinePieceBytes - 8, 'y') + "\r\n#ARTIST a\n";
    r = Parse(exact);
    EXPECT_EQ(r.title.size(), kLinePieceBytes - 8);
    EXPECT_EQ(r.artist, "a");
    // Ctrl-Z ends a text-mode file.
    EXPECT_EQ(Parse("#TITLE a\n\x1A#TITLE b\n").title, "a");
    // Garbage of every kind: no crash, nothing read past the data.
    std::string binary;
    for (int i = 0; i < 100000; ++i) binary += static_cast<char>((i * 7919) & 0xFF);
    Parse(binary);
    Parse(std::string(10 * 1024 * 1024, '#'));
    Parse(std::string("#00111:") + std::string(3 * kLinePieceBytes, '1'));
    Parse("");
    Parse("#LNOBJ");
    Parse("#");
    Parse(std::string("#TITLE \x82", 8));
}

TEST(ChartHeader, ReadsFileFacts) {
    test::TempGame game;
    const std::string body = "#TITLE Song [HYPER]\r\n#PLAYLEVEL 5\r\n#00111:0101\r\n";
    game.WriteFile("songs/pack/a.bms", body);
    game.WriteFile("songs/pack/b_a.bme", "#TITLE x\r\n");
    game.WriteFile("songs/pack/c.pms", "#00118:01\n");
    game.WriteFile("songs/pack/d.PMS", "");
    game.WriteFile("songs/txtpack/readme.TXT", "");
    game.WriteFile("songs/txtpack/x.bms", "");
    game.WriteFile("songs/\xE3\x82\xBD/e.bms", "");

    ChartRecord r;
    ASSERT_TRUE(ReadChartHeader(r, "songs\\pack\\a.bms"));
    EXPECT_EQ(r.title, "Song");
    EXPECT_EQ(r.subtitle, " [HYPER]");
    EXPECT_EQ(r.difficulty, 3);
    EXPECT_EQ(r.level, 5);
    EXPECT_EQ(r.note_count, 2);
    EXPECT_EQ(r.hash, Md5Hex(body));
    EXPECT_EQ(r.directory, "songs\\pack\\");
    EXPECT_EQ(r.parent_directory, "songs\\");
    EXPECT_EQ(r.txt, 0);

    ASSERT_TRUE(ReadChartHeader(r, "songs\\pack\\b_a.bme"));
    EXPECT_EQ(r.difficulty, 4);  // file name rule
    ASSERT_TRUE(ReadChartHeader(r, "songs\\pack\\c.pms"));
    EXPECT_EQ(r.mode, 9);
    ASSERT_TRUE(ReadChartHeader(r, "songs\\pack\\d.PMS"));
    EXPECT_EQ(r.mode, 5);
    ASSERT_TRUE(ReadChartHeader(r, "songs\\txtpack\\x.bms"));
    EXPECT_EQ(r.txt, 1);
    ASSERT_TRUE(ReadChartHeader(r, Sj(u8"songs\\ソ\\e.bms")));
    EXPECT_EQ(r.directory, Sj(u8"songs\\ソ\\"));  // 0x5C trail byte is no separator
    EXPECT_EQ(r.parent_directory, "songs\\");

    r.title = "stale";
    EXPECT_FALSE(ReadChartHeader(r, "songs\\pack\\missing.bms"));
    EXPECT_EQ(r.title, "");
    EXPECT_EQ(r.hash, "");
    EXPECT_EQ(r.difficulty, -1);
}

}  // namespace
}  // namespace qv5

namespace qv5 {
namespace {

// A chart far larger than any real one, mostly a hole in the file: read in
// pieces, it must give what the whole bytes give, pieces cut across CR LF
// pairs and long lines included.
TEST(ChartHeader, LargeSparseChartsReadInPiecesAsWhole) {
    test::TempGame game;
    game.WriteFile("big/a.bms", "#TITLE big\r\n#00111:0101\r\n#PLAYER 3\r\n");
    const std::string host = game.HostPath("big/a.bms");
    auto put = [&](long offset, const std::string& bytes) {
        FILE* f = std::fopen(host.c_str(), "r+b");
        ASSERT_NE(f, nullptr);
        std::fseek(f, offset, SEEK_SET);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    };
    constexpr long kMiB = 1 << 20;
    put(kMiB - 1, "\r\n#00211:01010101\r\n");
    put(3 * kMiB - 50000, "#00311:" + std::string(200000, '1') + "\n#BPM 150\n");
    put(40 * kMiB, "#00411:0101\n#TOTAL 300\n");
    ASSERT_EQ(truncate(host.c_str(), 48 * kMiB), 0);

    std::string whole;
    ASSERT_TRUE(ReadWholeFile("big\\a.bms", whole));
    ChartRecord expected;
    ParseChartHeader(expected, whole);
    ChartRecord r;
    ASSERT_TRUE(ReadChartHeader(r, "big\\a.bms"));
    EXPECT_EQ(r.hash, Md5Hex(whole));
    EXPECT_EQ(FileHash("big\\a.bms"), Md5Hex(whole));
    EXPECT_EQ(r.title, expected.title);
    EXPECT_EQ(r.note_count, expected.note_count);
    EXPECT_GT(r.note_count, 4);
    EXPECT_EQ(r.maxbpm, expected.maxbpm);
    EXPECT_EQ(r.minbpm, expected.minbpm);
    EXPECT_EQ(r.mode, expected.mode);
    EXPECT_EQ(r.directory, "big\\");
}

}  // namespace
}  // namespace qv5
