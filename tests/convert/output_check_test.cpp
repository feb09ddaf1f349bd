// What counts as a whole ogg or wav: files cut short or damaged do not.
#include "convert/output_check.h"

#include <gtest/gtest.h>

#include "media_files.h"

namespace qv5::convert {
namespace {

TEST(OutputCheck, OnlyWholeOggAndWavFilesPass) {
    test::TempGame game;
    test::WriteOgg(game, "a.ogg", 1);
    test::WriteOgg(game, "b.ogg", 2);
    const std::string ogg = game.ReadFile("a.ogg"), wav = test::WavBytes();
    ASSERT_GT(ogg.size(), 100u);
    std::string flipped = ogg;
    flipped[ogg.size() / 2] ^= 0x10;
    // A chunk after the data, the RIFF size grown to cover it.
    std::string listed = wav + "LIST" + std::string("\x03\0\0\0abc\0", 8);
    listed[4] = static_cast<char>(listed[4] + 12);
    std::string long_data = wav;
    long_data[40] = static_cast<char>(long_data[40] + 2);
    struct Case {
        const char* name;
        std::string bytes;
        bool (*check)(const std::string&);
        bool whole;
    } cases[] = {
        {"ogg", ogg, CompleteOgg, true},
        {"two oggs one after the other", ogg + game.ReadFile("b.ogg"), CompleteOgg, true},
        {"ogg less its last byte", ogg.substr(0, ogg.size() - 1), CompleteOgg, false},
        {"ogg cut in half", ogg.substr(0, ogg.size() / 2), CompleteOgg, false},
        {"ogg without its last page", ogg.substr(0, ogg.rfind("OggS")), CompleteOgg, false},
        {"ogg with a changed byte", flipped, CompleteOgg, false},
        {"empty ogg", "", CompleteOgg, false},
        {"wav as ogg", wav, CompleteOgg, false},
        {"wav", wav, CompleteWav, true},
        {"wav with a chunk after its data", listed, CompleteWav, true},
        {"wav less its last byte", wav.substr(0, wav.size() - 1), CompleteWav, false},
        {"wav with a byte more", wav + "x", CompleteWav, false},
        {"wav whose data says more than it holds", long_data, CompleteWav, false},
        {"wav header alone", wav.substr(0, 44), CompleteWav, false},
        {"ogg as wav", ogg, CompleteWav, false},
    };
    for (const Case& c : cases) {
        game.WriteFile("out", c.bytes);
        EXPECT_EQ(c.check("out"), c.whole) << c.name;
    }
    EXPECT_FALSE(CompleteOgg("missing"));
    EXPECT_FALSE(CompleteWav("missing"));
}

}  // namespace
}  // namespace qv5::convert
