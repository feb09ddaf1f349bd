// The wav and ogg passes with the real vorbis-tools programs, and with fake
// converters where a test needs a program that fails or records its arguments.
#include <gtest/gtest.h>
#include <sched.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "convert/conversion.h"
#include "media_files.h"
#include "platform/progress.h"
#include "support/fake_wine.h"

namespace qv5 {
namespace {

using test::FilesBelow;
using Names = std::vector<std::string>;
using Runs = std::vector<std::vector<std::string>>;

bool IsOgg(const test::TempGame& game, const std::string& relative) {
    return game.ReadFile(relative).rfind("OggS", 0) == 0;
}

class AudioConversion : public testing::Test {
  protected:
    void SetUp() override {
        encoder_ = test::RealEncoder();
        decoder_ = test::RealDecoder();
        ASSERT_FALSE(encoder_.empty() || decoder_.empty())
            << "oggenc and oggdec (vorbis-tools, scripts/install-deps.sh) are needed";
    }
    test::TempGame game_;
    NullProgress progress_;
    std::string encoder_, decoder_;
};

TEST_F(AudioConversion, EveryWavBelowTheFolderBecomesAnOggAndGoes) {
    game_.WriteFile("songs/pack/a.wav", test::WavBytes(1));
    game_.WriteFile("songs/pack/x/b.wav", test::WavBytes(2));
    game_.WriteFile("songs/pack/x/y/c.wav", test::WavBytes(3));
    game_.WriteFile("songs/pack/x/y/Loud.WAV", test::WavBytes(4));
    game_.WriteFile("songs/pack/x/song.bms", "#TITLE t\r\n");
    game_.WriteFile("songs/pack/x/notes.wav.txt", "not audio");
    game_.WriteFile("songs/other/d.wav", test::WavBytes(5));

    // The bare name is found on PATH; the full path as the file dialog gives it.
    for (const std::string& encoder : {std::string("oggenc"), encoder_}) {
        ConversionReport r = ConvertWavToOgg("songs\\pack", encoder, "-Q -q 6", progress_);
        EXPECT_FALSE(r.program_missing);
        EXPECT_EQ(r.converted, encoder == "oggenc" ? 4 : 0);
        EXPECT_TRUE(r.kept.empty());
        EXPECT_EQ(FilesBelow(game_, "songs/pack"),
                  (Names{"a.ogg", "x/b.ogg", "x/notes.wav.txt", "x/song.bms", "x/y/Loud.ogg",
                         "x/y/c.ogg"}));
    }
    for (const char* ogg : {"a.ogg", "x/b.ogg", "x/y/c.ogg", "x/y/Loud.ogg"})
        EXPECT_TRUE(IsOgg(game_, std::string("songs/pack/") + ogg)) << ogg;
    EXPECT_TRUE(game_.Exists("songs/other/d.wav"));  // outside the folder
}

TEST_F(AudioConversion, TheWavGoesOnlyForAWholeOggFromAnEncoderThatExitedZero) {
    struct Case {
        const char* name;
        const char* encoder_action;  // shell, "" for the real encoder; $2 is the wav
        bool stale_ogg;              // an ogg of that name from before the run
        bool wav_kept, ogg_left;
    } cases[] = {
        {"writes nothing", "exit 0", false, true, false},
        {"fails beside an old ogg", "exit 1", true, true, true},
        {"succeeds beside an old ogg without touching it", "exit 0", true, true, true},
        {"writes an empty ogg", ": > \"${2%.wav}.ogg\"", false, true, false},
        {"real encoder replaces an old ogg", "", true, false, true},
        {"writes part of its ogg and fails",
         "oggenc -Q \"$2\"; head -c 3000 \"${2%.wav}.ogg\" > t; mv t \"${2%.wav}.ogg\"; exit 1",
         false, true, false},
        {"writes a whole ogg but fails", "oggenc -Q \"$2\"; exit 2", false, true, false},
        {"is killed by a signal", "oggenc -Q \"$2\"; kill -9 $$", false, true, false},
        {"cuts its ogg and exits 0", "oggenc -Q \"$2\"; truncate -s -1 \"${2%.wav}.ogg\"", false,
         true, false},
    };
    for (const Case& c : cases) {
        test::TempGame game;
        game.WriteFile("songs/s/only.wav", test::WavBytes());
        if (c.stale_ogg) game.WriteFile("songs/s/only.ogg", "old");
        std::string encoder = encoder_;
        if (*c.encoder_action) {
            test::WriteFakeProgram(game, "tools/enc", c.encoder_action);
            encoder = "tools\\enc";
        }
        ConversionReport r = ConvertWavToOgg("songs\\s\\", encoder, "-Q", progress_);
        EXPECT_EQ(game.ReadFile("songs/s/only.wav") == test::WavBytes(), c.wav_kept) << c.name;
        EXPECT_EQ(r.kept, c.wav_kept ? Names{"songs\\s\\only.wav"} : Names{}) << c.name;
        EXPECT_EQ(r.converted, c.wav_kept ? 0 : 1) << c.name;
        EXPECT_EQ(r.runs, 1) << c.name;
        EXPECT_EQ(game.Exists("songs/s/only.ogg"), c.ogg_left) << c.name;
        if (c.stale_ogg && c.wav_kept) {
            EXPECT_EQ(game.ReadFile("songs/s/only.ogg"), "old") << c.name;
        }
    }
}

TEST_F(AudioConversion, EachSourceNeedsAnOutputOfItsOwn) {
    // The real decoder keeps the case of each name; the other writes them
    // lowered, twins into one file.
    struct Case {
        const char* name;
        std::string decoder;
        Names after;
    } cases[] = {
        {"real decoder", decoder_, {"A.wav", "B.wav", "a.wav", "b.wav"}},
        {"decoder lowering names",
         "for f; do n=$(printf %s \"${f##*/}\" | tr A-Z a-z); oggdec -Q -o "
         "\"${f%/*}/${n%.ogg}.wav\" "
         "\"$f\"; done",
         {"A.OGG", "B.Ogg", "a.ogg", "b.ogg"}},
    };
    for (const Case& c : cases) {
        test::TempGame game;
        for (const char* ogg : {"a.ogg", "A.OGG", "b.ogg", "B.Ogg"})
            test::WriteOgg(game, std::string("songs/t/") + ogg, ogg[0]);
        std::string decoder = c.decoder;
        if (decoder != decoder_) {
            test::WriteFakeProgram(game, "tools/dec", c.decoder);
            decoder = "tools\\dec";
        }
        ConversionReport r = ConvertOggToWav("songs\\t", decoder, "", progress_);
        EXPECT_EQ(FilesBelow(game, "songs/t"), c.after) << c.name;
        EXPECT_EQ(r.converted + static_cast<long>(r.kept.size()), 4) << c.name;
    }
    // Two wavs of one name: the first takes the ogg, the second stays.
    test::TempGame game;
    game.WriteFile("songs/w/a.wav", test::WavBytes(1));
    game.WriteFile("songs/w/A.WAV", test::WavBytes(2));
    ConversionReport r = ConvertWavToOgg("songs\\w", encoder_, "-Q", progress_);
    EXPECT_EQ(r.converted, 1);
    EXPECT_EQ(r.kept.size(), 1u);
    EXPECT_EQ(FilesBelow(game, "songs/w").size(), 2u);
}

TEST_F(AudioConversion, TheEncoderGetsProgramOptionsAndTheQuotedPath) {
    struct Case {
        std::string program, options, path, line;
    } cases[] = {
        {"oggenc2.exe", "-q 6", "songs\\a b\\x.wav", "oggenc2.exe -q 6 \"songs\\a b\\x.wav\""},
        {"oggenc2.exe", "", "songs\\x.wav", "oggenc2.exe  \"songs\\x.wav\""},
        // A program path with blanks is one token, as the system resolves it.
        {"Z:\\opt\\my tools\\oggenc", "-q 2", "x.wav",
         "\"Z:\\opt\\my tools\\oggenc\" -q 2 \"x.wav\""},
    };
    for (const Case& c : cases) EXPECT_EQ(EncoderCommandLine(c.program, c.options, c.path), c.line);
    EXPECT_EQ(DecoderCommandLine("oggdec.exe", "", "songs\\a\\"),
              "oggdec.exe  \"songs\\a\\*.ogg\"");
    EXPECT_EQ(DecoderCommandLine("oggdec", "-b 2", "songs\\"), "oggdec -b 2 \"songs\\*.ogg\"");

    // With empty options the program sees the file and nothing else.
    game_.WriteFile("songs/t/Drum Kick.wav", test::WavBytes());
    // Names a command line cannot carry as one argument are left alone.
    game_.WriteFile("songs/t/odd\" -o \"x.wav", test::WavBytes());
    game_.WriteFile("songs/t/all*.wav", test::WavBytes());
    test::WriteFakeProgram(game_, "tools/rec");
    ConversionReport r = ConvertWavToOgg("songs\\t", "tools\\rec", "", progress_);
    EXPECT_EQ(test::FakeRuns(game_, "tools/rec"), (Runs{{"songs/t/Drum Kick.wav"}}));
    EXPECT_EQ(r.kept.size(), 3u);
    EXPECT_EQ(FilesBelow(game_, "songs/t").size(), 3u);
}

// A stop asked for before the first source: nothing runs, and every source
// of every pass is named as kept, below the first folder too.
TEST_F(AudioConversion, AStopBeforeTheFirstSourceKeepsAndNamesEveryOne) {
    game_.WriteFile("songs/s/a.wav", test::WavBytes(1));
    game_.WriteFile("songs/s/x/b.WAV", test::WavBytes(2));
    test::WriteOgg(game_, "songs/o/c.ogg", 3);
    test::WriteOgg(game_, "songs/o/y/d.OGG", 4);
    game_.WriteFile("songs/i/e.bmp", test::Encode(test::TestPicture(), "BMP"));
    game_.WriteFile("songs/i/z/f.wav", test::WavBytes(5));
    test::WriteFakeProgram(game_, "tools/rec");
    NullProgress stopped;
    stopped.RequestStop();
    struct Case {
        ConversionReport report;
        Names kept;
    } cases[] = {
        {ConvertWavToOgg("songs\\s\\", "tools\\rec", "", stopped),
         {"songs\\s\\a.wav", "songs\\s\\x\\b.WAV"}},
        {ConvertOggToWav("songs\\o\\", "tools\\rec", "", stopped),
         {"songs\\o\\c.ogg", "songs\\o\\y\\d.OGG"}},
        {ConvertWavAndBmp("songs\\i\\", "tools\\rec", "", stopped),
         {"songs\\i\\e.bmp", "songs\\i\\z\\f.wav"}},
        {ConvertBmpToPng("songs\\i\\", stopped), {"songs\\i\\e.bmp"}},
    };
    for (Case& c : cases) {
        std::sort(c.report.kept.begin(), c.report.kept.end());
        EXPECT_EQ(c.report.kept, c.kept);
        EXPECT_EQ(c.report.converted, 0);
        EXPECT_EQ(c.report.runs, 0);
    }
    EXPECT_TRUE(test::FakeRuns(game_, "tools/rec").empty());
}

TEST_F(AudioConversion, TheDecoderRunsOncePerFolderAndTheOggsGo) {
    test::WriteOgg(game_, "songs/t/a.ogg", 1);
    test::WriteOgg(game_, "songs/t/B.OGG", 2);
    game_.MakeDir("songs/t/empty");
    test::WriteOgg(game_, "songs/t/empty/deep/c.ogg", 3);

    // Recorded: the wildcard is expanded for a native program; a folder
    // without oggs still gets its run, with the pattern as it was.
    test::WriteFakeProgram(game_, "tools/dec");
    ConversionReport recorded = ConvertOggToWav("songs\\t", "tools\\dec", "", progress_);
    // Folders are decoded side by side: the order of the runs is not fixed.
    Runs runs = test::FakeRuns(game_, "tools/dec");
    std::sort(runs.begin(), runs.end());
    EXPECT_EQ(runs, (Runs{{"songs/t/B.OGG", "songs/t/a.ogg"},
                          {"songs/t/empty/*.ogg"},
                          {"songs/t/empty/deep/c.ogg"}}));
    EXPECT_EQ(recorded.runs, 3);
    EXPECT_EQ(recorded.kept.size(), 3u);  // it wrote nothing: every ogg stays
    EXPECT_EQ(FilesBelow(game_, "songs/t"), (Names{"B.OGG", "a.ogg", "empty/deep/c.ogg"}));
}

TEST_F(AudioConversion, TheRealDecoderReplacesEveryOgg) {
    test::WriteOgg(game_, "songs/t/a.ogg", 1);
    test::WriteOgg(game_, "songs/t/B.OGG", 2);
    game_.MakeDir("songs/t/empty");
    test::WriteOgg(game_, "songs/t/empty/deep/c.ogg", 3);
    ConversionReport r = ConvertOggToWav("songs\\t\\", decoder_, "-Q", progress_);
    EXPECT_EQ(r.runs, 3);
    EXPECT_EQ(r.converted, 3);
    EXPECT_EQ(FilesBelow(game_, "songs/t"), (Names{"B.wav", "a.wav", "empty/deep/c.wav"}));
    EXPECT_EQ(game_.ReadFile("songs/t/a.wav").substr(0, 4), "RIFF");
}

TEST_F(AudioConversion, WindowsProgramsRunUnderWineWithWindowsPaths) {
    test::FakeWine wine;
    game_.WriteFile("oggenc2.exe", "MZ");
    game_.WriteFile("tools/oggdec.exe", "MZ");
    game_.WriteFile("songs/w/a.wav", test::WavBytes());
    test::WriteOgg(game_, "songs/w/sub/b.ogg");
    // The stand-in encoder writes the ogg beside the wav it was given.
    wine.SetAction(
        "case \"$1\" in oggenc2.exe) p=$(printf '%s' \"$4\" | tr '\\\\' /); "
        "oggenc -Q \"$p\";; esac");
    ConversionReport enc = ConvertWavToOgg("songs\\w", "oggenc2.exe", "-q 6", progress_);
    ConversionReport dec = ConvertOggToWav("songs\\w", "tools\\oggdec.exe", "", progress_);
    std::vector<std::vector<std::string>> argv;
    for (const test::WineRun& run : wine.Runs()) argv.push_back(run.argv);
    std::sort(argv.begin(), argv.end());
    // The decoder's pattern is left to the Windows program to expand.
    EXPECT_EQ(argv, (Runs{{"oggenc2.exe", "-q", "6", "songs\\w\\a.wav"},
                          {"tools/oggdec.exe", "songs\\w\\*.ogg"},
                          {"tools/oggdec.exe", "songs\\w\\sub\\*.ogg"}}));
    EXPECT_EQ(enc.converted, 1);
    EXPECT_EQ(dec.converted, 0);
    EXPECT_EQ(FilesBelow(game_, "songs/w"), (Names{"a.ogg", "sub/b.ogg"}));
}

TEST_F(AudioConversion, AMissingProgramDoesNothing) {
    game_.WriteFile("songs/t/a.wav", test::WavBytes());
    test::WriteOgg(game_, "songs/t/b.ogg");
    for (const std::string& program : {std::string(), std::string("oggenc2.exe"),
                                       std::string("tools\\none"), std::string("no-such-oggenc")}) {
        EXPECT_TRUE(ConvertWavToOgg("songs\\t", program, "", progress_).program_missing);
        EXPECT_TRUE(ConvertOggToWav("songs\\t", program, "", progress_).program_missing);
        EXPECT_TRUE(ConvertWavAndBmp("songs\\t", program, "", progress_).program_missing);
    }
    EXPECT_EQ(FilesBelow(game_, "songs/t"), (Names{"a.wav", "b.ogg"}));
}

// Asks `progress` to stop once the converter has made the file `started`
// (so while it runs), as a person pressing Stop then would; then makes `go`
// (when named) to let the converter go on.
class StopWhenStarted {
  public:
    StopWhenStarted(Progress& progress, const test::TempGame& game, const char* started,
                    const char* go = nullptr)
        : thread_([&progress, &game, started, go] {
              for (int i = 0; i < 6000 && !game.Exists(started); ++i)
                  std::this_thread::sleep_for(std::chrono::milliseconds(10));
              progress.RequestStop();
              if (go) game.WriteFile(go, "");
          }) {}
    ~StopWhenStarted() { thread_.join(); }

  private:
    std::thread thread_;
};

// The converters run one at a time while it lives (the pass takes one per
// processor this thread may use).
class OneProcessor {
  public:
    OneProcessor() {
        sched_getaffinity(0, sizeof old_, &old_);
        cpu_set_t one;
        CPU_ZERO(&one);
        int first = 0;
        while (first < CPU_SETSIZE && !CPU_ISSET(first, &old_)) ++first;
        CPU_SET(first, &one);
        sched_setaffinity(0, sizeof one, &one);
    }
    ~OneProcessor() { sched_setaffinity(0, sizeof old_, &old_); }

  private:
    cpu_set_t old_;
};

// The file being converted when the stop comes is finished; the next one,
// waiting for its turn, does not start, and it and the rest are kept.
TEST_F(AudioConversion, StoppingEndsThePassAfterTheCurrentFile) {
    game_.WriteFile("songs/t/a.wav", test::WavBytes(1));
    game_.WriteFile("songs/t/b.wav", test::WavBytes(2));
    game_.WriteFile("songs/t/c/d.wav", test::WavBytes(3));
    test::WriteFakeProgram(game_, "tools/enc",
                           "touch started; while [ ! -e go ]; do sleep 0.01; done; "
                           "exec oggenc \"$@\"");
    OneProcessor one;
    NullProgress progress;
    ConversionReport r;
    {
        StopWhenStarted stop(progress, game_, "started", "go");
        r = ConvertWavToOgg("songs\\t", "tools\\enc", "-Q", progress);
    }
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.converted, 1);
    EXPECT_EQ(r.runs, 1);
    const auto runs = test::FakeRuns(game_, "tools/enc");
    ASSERT_EQ(runs.size(), 1u);
    ASSERT_EQ(runs[0].size(), 2u);
    // The file that was being converted is complete: its ogg is there, its wav gone.
    const std::string wav = runs[0][1];
    const std::string ogg = wav.substr(0, wav.size() - 3) + "ogg";
    EXPECT_TRUE(IsOgg(game_, ogg)) << ogg;
    EXPECT_FALSE(game_.Exists(wav));
    Names kept;
    for (const char* other : {"songs/t/a.wav", "songs/t/b.wav", "songs/t/c/d.wav"}) {
        if (other == wav) continue;
        EXPECT_TRUE(game_.Exists(other)) << other;
        std::string path = other;
        std::replace(path.begin(), path.end(), '/', '\\');
        kept.push_back(path);
    }
    std::sort(r.kept.begin(), r.kept.end());
    EXPECT_EQ(r.kept, kept);
    EXPECT_EQ(FilesBelow(game_, "songs/t").size(), 3u);
}

TEST_F(AudioConversion, AStopEndsAHungConverterAndKeepsItsSource) {
    const char* actions[] = {
        "printf OggS > \"${2%.wav}.ogg\"; touch started; sleep 20; touch finished",
        "trap '' TERM; printf OggS > \"${2%.wav}.ogg\"; touch started; sleep 20; touch finished",
    };
    for (const char* action : actions) {
        test::TempGame game;
        game.WriteFile("songs/s/a.wav", test::WavBytes());
        test::WriteFakeProgram(game, "tools/enc", action);
        NullProgress progress;
        ConversionReport r;
        {
            StopWhenStarted stop(progress, game, "started");
            r = ConvertWavToOgg("songs\\s", "tools\\enc", "-Q", progress);
        }
        EXPECT_TRUE(r.stopped);
        EXPECT_EQ(r.runs, 1) << action;
        EXPECT_EQ(r.kept, Names{"songs\\s\\a.wav"}) << action;
        EXPECT_EQ(FilesBelow(game, "songs/s"), Names{"a.wav"}) << action;
        EXPECT_FALSE(game.Exists("finished")) << action;  // ended, not finished
    }
}

}  // namespace
}  // namespace qv5
