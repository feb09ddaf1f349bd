// Hidden chart search over real files in a temporary game folder, and its
// partial reads against the header reader's full read.
#include "browser/hidden_search.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <algorithm>
#include <random>

#include "library/chart_header.h"
#include "platform/process.h"
#include "platform/progress.h"
#include "support/scripted_ui.h"
#include "support/temp_game.h"
#include "window/tree/hidden_search_command.h"

namespace qv5 {
namespace {

using namespace std::string_literals;

std::string U(const char8_t* s) {
    return reinterpret_cast<const char*>(s);
}

const char* const kChart = "#TITLE Hidden\r\n#BPM 150\r\n#00111:01000100\r\n";

std::string RandomBytes(size_t n, unsigned seed, bool allow_eof) {
    std::mt19937 gen(seed);
    std::string s(n, '\0');
    for (char& c : s) {
        c = static_cast<char>(gen() & 0xFF);
        if (!allow_eof && c == '\x1A') c = '\x1B';
    }
    return s;
}

// A 16-bit mono PCM wave of `samples` samples made by `sample`.
std::string Wave(size_t samples, int (*sample)(size_t)) {
    auto le = [](std::uint32_t v, int bytes) {
        std::string s;
        for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
        return s;
    };
    std::string data;
    for (size_t i = 0; i < samples; ++i) data += le(static_cast<std::uint16_t>(sample(i)), 2);
    return "RIFF" + le(static_cast<std::uint32_t>(36 + data.size()), 4) + "WAVEfmt " + le(16, 4) +
           le(1, 2) + le(1, 2) + le(44100, 4) + le(88200, 4) + le(2, 2) + le(16, 2) + "data" +
           le(static_cast<std::uint32_t>(data.size()), 4) + data;
}

int Sine(size_t i) {
    return static_cast<int>(12000 * ((i * 37) % 200 < 100 ? 1 : -1) * ((i % 50) / 50.0));
}
int Silence(size_t) {
    return 0;
}

void WriteImage(const test::TempGame& game, const std::string& rel, const char* format) {
    QImage image(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) image.setPixelColor(x, y, QColor(x * 4, y * 5, (x ^ y) * 3));
    ASSERT_TRUE(image.save(QString::fromStdString(game.HostPath(rel)), format));
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

TEST(HiddenSearch, FindsChartsUnderOtherNamesInTheFolderOnly) {
    test::TempGame game;
    game.WriteFile("songs/a.bms", kChart);
    game.WriteFile("songs/UPPER.BMS", kChart);
    game.WriteFile("songs/Mixed.Pms", kChart);
    game.WriteFile("songs/x.bm_", kChart);
    game.WriteFile("songs/no extension", kChart);
    game.WriteFile("songs/notes after binary.dat",
                   RandomBytes(300000, 7, false) + "\n#00215:0101\n");
    game.WriteFile("songs/readme.txt", "#TITLE only a header\r\n#ARTIST someone\r\n");
    game.WriteFile("songs/rests only.xxx", "#00111:00000000\r\n");
    game.WriteFile("songs/after eof.bmx", std::string("#TITLE x\r\n\x1A\r\n#00111:01\r\n"));
    game.WriteFile("songs/sound.wav", Wave(40000, Sine));
    WriteImage(game, "songs/image.png", "PNG");
    WriteImage(game, "songs/image.bmp", "BMP");
    game.MakeDir("songs/sub.bms");
    game.WriteFile("songs/sub/deeper.bm_", kChart);
    NullProgress progress;
    const HiddenSearchResult r = FindHiddenCharts(WinPath("songs"), progress);
    EXPECT_FALSE(r.stopped);
    EXPECT_EQ(Sorted(r.names),
              (std::vector<std::string>{"no extension", "notes after binary.dat", "x.bm_"}));
    EXPECT_EQ(Sorted(FindHiddenCharts(WinPath("songs\\"), progress).names), Sorted(r.names));
    EXPECT_EQ(FindHiddenCharts(WinPath("songs\\sub"), progress).names,
              std::vector<std::string>{"deeper.bm_"});
}

TEST(HiddenSearch, TellsTheOutcomeAndHandsTheFindsToTheTree) {
    test::TempGame game;
    game.WriteFile("found/a.bms", kChart);
    game.WriteFile("found/a.bm_", kChart);
    game.WriteFile("found/notes.txt", "just text\n");
    game.WriteFile("media/sound.wav", Wave(20000, Sine));
    game.WriteFile("media/quiet.wav", Wave(20000, Silence));
    WriteImage(game, "media/cover.png", "PNG");
    WriteImage(game, "media/back.jpg", "JPG");
    struct Case {
        std::string folder;
        std::vector<std::string> added;
        std::string message;
    } cases[] = {
        {"found", {"a.bm_"}, U(u8"隠し譜面を発見しました。必要に応じて拡張子を変更して下さい。")},
        {"media", {}, U(u8"隠し譜面は見つかりませんでした。")},
        {"missing", {}, U(u8"隠し譜面は見つかりませんでした。")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        test::ScopedScriptedUi ui;
        ui->AnswerMessage(MsgAnswer::Ok);
        std::vector<std::string> added;
        const int found = RunHiddenSearch(nullptr, WinPath(c.folder),
                                          [&](const std::string& n) { added.push_back(n); });
        EXPECT_EQ(found, static_cast<int>(c.added.size()));
        EXPECT_EQ(added, c.added);
        ASSERT_EQ(ui->prompts().size(), 1u);
        EXPECT_EQ(ui->prompts()[0].Utf8Text(), c.message);
        EXPECT_EQ(ui->prompts()[0].Utf8Caption(), U(u8"検索終了"));
        EXPECT_EQ(ui->prompts()[0].buttons, MsgButtons::Ok);
    }
}

// Stops after the first candidate it is told about.
class StopAtFirst final : public Progress {
  public:
    void Update(long, long, const std::string& current) override {
        if (!current.empty()) RequestStop();
    }
    void SetStatus(const std::string&) override {}
};

TEST(HiddenSearch, AStoppedSearchEndsBetweenFiles) {
    test::TempGame game;
    for (int i = 0; i < 5; ++i) game.WriteFile("songs/" + std::to_string(i) + ".bm_", kChart);
    StopAtFirst progress;
    const HiddenSearchResult r = FindHiddenCharts(WinPath("songs"), progress);
    EXPECT_TRUE(r.stopped);
    EXPECT_TRUE(r.names.empty());
}

// The partial read must count exactly as the reader does over the whole file.
TEST(HiddenSearch, PartialReadsAgreeWithTheHeaderReader) {
    test::TempGame game;
    const std::string notes = "#00111:0101\r\n";
    std::string at_boundary(65535, 'x');  // CR LF split across the first two reads
    at_boundary += "\r\n" + notes;
    std::string long_line = "#00111:" + std::string(250000, '1') + "\r\n" + notes;
    std::string big_text;
    while (big_text.size() < (5u << 20)) big_text += "; a comment line without notes\r\n";
    struct Case {
        std::string name, bytes;
    } cases[] = {
        {"empty", ""},
        {"chart", kChart},
        {"png signature then notes", std::string("\x89PNG\r\n\x1A\n", 8) + notes},
        {"notes then ctrl-z then notes", notes + "\x1A" + notes + notes},
        {"ctrl-z inside a channel line",
         "#00111:0101\x1A"
         "0101\r\n"},
        {"binary without ctrl-z then notes", RandomBytes(200000, 1, false) + "\n" + notes},
        {"binary with ctrl-z then notes", RandomBytes(200000, 2, true) + "\n" + notes},
        {"binary only", RandomBytes(3u << 20, 3, false)},
        {"nul bytes before notes", std::string(70000, '\0') + "\n" + notes},
        // A NUL byte inside a channel line, before and between objects.
        {"nul bytes inside lines",
         "\0#00111:01\r\n#001\0"
         "11:0101\r\n#00111:01\0"
         "0101\n"s},
        {"no hash line for 64 KiB", std::string(65536 * 2, 'a') + "\n" + notes},
        {"crlf across the first read", at_boundary},
        {"line longer than a piece", long_line},
        {"skipped block across reads",
         "#IF 2\r\n" + std::string(70000, 'y') + "\r\n" + notes + "#ENDIF\r\n" + notes},
        {"lnobj objects", "#LNOBJ ZZ\r\n#00111:ZZZZ00ZZ\r\n"},
        {"lnobj then notes", "#LNOBJ ZZ\r\n#00111:ZZZZ00ZZ\r\n#00112:01\r\n"},
        {"large text with notes at the end", big_text + notes},
        {"large text without notes", big_text},
        {"silent wave then notes", Wave(1 << 20, Silence) + "\n" + notes},
        {"wave", Wave(300000, Sine)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = "corpus\\" + c.name;
        game.WriteFile("corpus/" + c.name, c.bytes);
        ChartRecord full;
        ASSERT_TRUE(ReadChartHeader(full, path));
        EXPECT_EQ(HeaderNoteCount(WinPath(path), false, nullptr), full.note_count);
        EXPECT_EQ(HeaderNoteCount(WinPath(path), true, nullptr) > 0, full.note_count > 0);
    }
    EXPECT_EQ(HeaderNoteCount(WinPath("corpus\\missing"), true, nullptr), 0);
}

// The count over pieces as they arrive, of any size, is the whole read's; the
// reading until the first note asks for no piece after the one that held it.
TEST(HiddenSearch, PiecesOfAnySizeCountAsTheWholeRead) {
    const std::string notes = "#00111:0101\r\n";
    const std::string charts[] = {
        "",
        kChart,
        notes + "\x1A" + notes,
        "#00111:01\r\n#00111:01\0"
        "0101\n#IF 2\r\n"s +
            notes + "#ENDIF\r\n" + notes,
        "#LNOBJ ZZ\r\n#00111:ZZZZ00ZZ\r\n#00112:01\r",
        RandomBytes(5000, 4, false) + "\n" + notes + "; trailing text",
    };
    for (const std::string& bytes : charts) {
        ChartRecord full;
        ParseChartHeader(full, bytes);
        for (size_t size :
             {size_t{1}, size_t{2}, size_t{3}, size_t{13}, size_t{64}, size_t{1} << 16}) {
            SCOPED_TRACE(std::to_string(bytes.size()) + " bytes in pieces of " +
                         std::to_string(size));
            for (bool until_first : {false, true}) {
                NoteCountReader counter(until_first);
                size_t fed = 0;
                bool more = true;
                while (more && fed < bytes.size()) {
                    more = counter.Feed(std::string_view(bytes).substr(fed, size));
                    fed += size;
                }
                const std::int32_t count = counter.Finish();
                if (until_first)
                    EXPECT_EQ(count > 0, full.note_count > 0);
                else
                    EXPECT_EQ(count, full.note_count);
            }
        }
    }
    // Nothing after the line of the first note is asked for.
    const std::string chart = "#TITLE x\r\n" + notes + notes + "; and more";
    NoteCountReader counter(true);
    size_t fed = 0;
    while (fed < chart.size() && counter.Feed(chart.substr(fed, 1))) ++fed;
    EXPECT_EQ(fed, chart.find(notes) + notes.size() - 1);
    EXPECT_EQ(counter.Finish(), 2);
}

// Files stitched from chart fragments, control bytes, binary runs and long
// fillers that put line ends on either side of every read boundary.
TEST(HiddenSearch, GeneratedFilesAgreeWithTheHeaderReader) {
    test::TempGame game;
    const std::vector<std::string> fragments = {
        "#00111:", "0101",       "ZZ",          "00",         "\r\n",     "\n",          "\r",
        "\0"s,     "\x1A",       "#IF 2\n",     "#IF 1\n",    "#ENDIF\n", "#LNOBJ ZZ\n", " ",
        "\t",      "#BPM 120\n", "#00251:01\n", "#title x\n", "#"};
    std::mt19937 gen(20261209);
    for (int i = 0; i < 80; ++i) {
        std::string bytes;
        const size_t target = i % 10 == 0 ? 1100000 + gen() % 100000 : gen() % 150000;
        while (bytes.size() < target) {
            switch (gen() % 8) {
                case 0:
                    bytes +=
                        RandomBytes(gen() % 4000, static_cast<unsigned>(gen()), gen() % 4 == 0);
                    break;
                case 1:
                    bytes += std::string(gen() % 110000, 'a');
                    break;
                default:
                    bytes += fragments[gen() % fragments.size()];
                    break;
            }
        }
        SCOPED_TRACE("generated " + std::to_string(i));
        const std::string name = "gen" + std::to_string(i);
        game.WriteFile("corpus/" + name, bytes);
        ChartRecord full;
        ASSERT_TRUE(ReadChartHeader(full, "corpus\\" + name));
        EXPECT_EQ(HeaderNoteCount(WinPath("corpus").Join(name), false, nullptr), full.note_count);
        EXPECT_EQ(HeaderNoteCount(WinPath("corpus").Join(name), true, nullptr) > 0,
                  full.note_count > 0);
    }
}

// Files as players keep them beside their charts: real encoder output too.
TEST(HiddenSearch, RealAudioAndImagesAreNoCharts) {
    test::TempGame game;
    game.WriteFile("media/sound.wav", Wave(200000, Sine));
    WriteImage(game, "media/a.png", "PNG");
    WriteImage(game, "media/b.bmp", "BMP");
    WriteImage(game, "media/c.jpg", "JPG");
    ProcessResult ogg = Processes().Run("oggenc -Q \"" + game.HostPath("media/sound.wav") +
                                            "\" -o \"" + game.HostPath("media/sound.ogg") + "\"",
                                        Wait::Yes);
    ASSERT_TRUE(ogg.started);
    ASSERT_TRUE(game.Exists("media/sound.ogg"));
    for (const char* name : {"sound.wav", "sound.ogg", "a.png", "b.bmp", "c.jpg"}) {
        SCOPED_TRACE(name);
        const std::string path = std::string("media\\") + name;
        ChartRecord full;
        ASSERT_TRUE(ReadChartHeader(full, path));
        EXPECT_EQ(HeaderNoteCount(WinPath(path), false, nullptr), full.note_count);
        EXPECT_EQ(HeaderNoteCount(WinPath(path), true, nullptr) > 0, full.note_count > 0);
    }
    NullProgress progress;
    EXPECT_TRUE(FindHiddenCharts(WinPath("media"), progress).names.empty());
}

}  // namespace
}  // namespace qv5
