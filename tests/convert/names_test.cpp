// Name tests on CP932 text: a trail byte is never taken for a letter.
#include <gtest/gtest.h>

#include "convert/convert_walk.h"
#include "platform/text.h"

namespace qv5::convert {
namespace {

TEST(ConvertNames, EndingsRespectCharacterBoundaries) {
    struct Case {
        std::string name;
        const char* suffix;
        bool ends;
    } cases[] = {
        {"a.wav", ".wav", true},
        {"A.WaV", ".wav", true},
        {"x.wave", ".wav", false},
        {"stagebmp", "bmp", true},
        {"bmp", "bmp", true},
        {"mp", "bmp", false},
        // "ッ" is 0x83 0x62: its trail byte is the letter b.
        {Sj(u8"xッmp"), "bmp", false},
        {Sj(u8"曲.Bmp"), "bmp", true},
        // "ソ" is 0x83 0x5C: its trail byte is no separator either.
        {Sj(u8"ソ"), "\\", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EndsWithIgnoringCase(c.name, c.suffix), c.ends) << Cp932ToUtf8(c.name);

    // Only ASCII letters are lowered; "ア" is 0x83 0x41 and stays.
    EXPECT_EQ(LowerName(Sj(u8"アB.WAV")), Sj(u8"アb.wav"));
    EXPECT_EQ(ReplaceLastThree("Song.WAV", "ogg"), "Song.ogg");
    EXPECT_EQ(WithSeparator(Sj(u8"songs\\ソ")), Sj(u8"songs\\ソ\\"));
    EXPECT_EQ(WithSeparator("songs\\"), "songs\\");
    std::string folder, name;
    SplitPath(Sj(u8"songs\\ソ\\a.bmp"), folder, name);
    EXPECT_EQ(folder, Sj(u8"songs\\ソ\\"));
    EXPECT_EQ(name, "a.bmp");
}

}  // namespace
}  // namespace qv5::convert
