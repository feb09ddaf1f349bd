#include "platform/text.h"

#include <gtest/gtest.h>

#include <QString>

namespace qv5 {
namespace {

TEST(Text, Cp932RoundTrips) {
    struct Case {
        const char8_t* utf8;
        std::string cp932;
    } cases[] = {
        {u8"abc", "abc"}, {u8"ソ", "\x83\x5C"}, {u8"表示", "\x95\x5C\x8E\xA6"},
        {u8"ｱ", "\xB1"},  {u8"\\~", "\\~"},     {u8"①", "\x87\x40"},
    };
    for (const auto& c : cases) {
        std::string u(reinterpret_cast<const char*>(c.utf8));
        EXPECT_EQ(Sj(c.utf8), c.cp932) << u;
        EXPECT_EQ(Cp932ToUtf8(c.cp932), u);
        EXPECT_EQ(Utf8ToCp932(u), c.cp932);
        EXPECT_EQ(FromQString(ToQString(c.cp932)), c.cp932);
    }
}

TEST(Text, BadInputNeverFails) {
    // A lone lead byte, a truncated pair, an undefined pair.
    EXPECT_EQ(Cp932ToUtf8("a\x81"), "a\xEF\xBF\xBD");
    EXPECT_EQ(Cp932ToUtf8("\xFF"
                          "b"),
              "\xEF\xBF\xBD"
              "b");
    EXPECT_FALSE(Cp932ToUtf8(std::string(100000, '\x82')).empty());
    // No exact CP932 form: refused, or replaced when lossy.
    EXPECT_FALSE(Utf8ToCp932("\xF0\x9F\x8E\xB5"));  // emoji
    EXPECT_FALSE(Utf8ToCp932("\xC2\xA5"));          // yen sign would become a backslash
    EXPECT_FALSE(Utf8ToCp932("\xFF\xFE"));          // not UTF-8
    EXPECT_EQ(Utf8ToCp932Lossy("a\xF0\x9F\x8E\xB5z"), "a?z");
}

TEST(Text, NamesTakeTheCp932FormOfTheirCharacters) {
    struct Case {
        const char8_t* utf8;
        std::optional<std::string> cp932;
    } cases[] = {
        {u8"a〜b",
         "a\x81\x60"
         "b"},
        {u8"−1",
         "\x81\x7C"
         "1"},
        {u8"‖", "\x81\x61"},
        {u8"—", "\x81\x5C"},
        {u8"¢£¬", "\x81\x91\x81\x92\x81\xCA"},
        {u8"¦", "\xFA\x55"},
        {u8"～", "\x81\x60"},
        {u8"plain", "plain"},
        {u8"¥", std::nullopt},
        {u8"\U0001F3B5", std::nullopt},
    };
    for (const auto& c : cases) {
        const std::string u(reinterpret_cast<const char*>(c.utf8));
        EXPECT_EQ(Utf8NameToCp932(u), c.cp932) << u;
    }
    // Names read from the disk keep needing an exact form.
    EXPECT_FALSE(Utf8ToCp932(reinterpret_cast<const char*>(u8"a〜b")));
}

TEST(Text, LeadBytes) {
    EXPECT_TRUE(IsLeadByte(0x81));
    EXPECT_TRUE(IsLeadByte(0x9F));
    EXPECT_TRUE(IsLeadByte(0xE0));
    EXPECT_TRUE(IsLeadByte(0xFC));
    EXPECT_FALSE(IsLeadByte(0xA0));
    EXPECT_FALSE(IsLeadByte(0xB1));
    EXPECT_FALSE(IsLeadByte('\\'));
}

TEST(Text, HeadsEndOnACharacter) {
    const std::string so = Sj(u8"ソ");  // 0x83 0x5C
    const struct {
        std::string text;
        size_t max;
        std::string want;
    } cases[] = {
        {"abc", 2, "ab"}, {"abc", 5, "abc"}, {"a" + so, 2, "a"},    {"a" + so, 3, "a" + so},
        {so + so, 3, so}, {"", 4, ""},       {"a\x83", 2, "a\x83"},  // a lone lead byte at the end
                                                                     // is one character
    };
    for (const auto& c : cases) EXPECT_EQ(Cp932Head(c.text, c.max), c.want) << c.text;
}

TEST(Text, NameTestsRespectCharacterBoundaries) {
    struct Case {
        std::string name;
        const char* tail;
        bool ends, ends_ignoring_case;
    } cases[] = {
        {"a.wav", ".wav", true, true},
        {"A.WaV", ".wav", false, true},
        {"x.wave", ".wav", false, false},
        {"stagebmp", "bmp", true, true},
        {"bmp", "bmp", true, true},
        {"mp", "bmp", false, false},
        // "ッ" is 0x83 0x62: its trail byte is the letter b.
        {Sj(u8"xッmp"), "bmp", false, false},
        {Sj(u8"曲.Bmp"), "bmp", false, true},
        // "ソ" is 0x83 0x5C: its trail byte is no separator either.
        {Sj(u8"ソ"), "\\", false, false},
        {Sj(u8"ソ\\"), "\\", true, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EndsWith(c.name, c.tail), c.ends) << Cp932ToUtf8(c.name);
        EXPECT_EQ(EndsWithIgnoringCase(c.name, c.tail), c.ends_ignoring_case)
            << Cp932ToUtf8(c.name);
    }
    // Only ASCII letters are lowered; "ア" is 0x83 0x41 and stays.
    EXPECT_EQ(LowerAscii(Sj(u8"アB.WAV")), Sj(u8"アb.wav"));
    EXPECT_TRUE(SameIgnoringCase(Sj(u8"アB.WAV"), Sj(u8"アb.wav")));
    EXPECT_FALSE(SameIgnoringCase(Sj(u8"ア"), Sj(u8"ヂ")));  // 0x83 0x41, 0x83 0x61
    for (char c : std::string(" \t\n\v\f\r")) EXPECT_TRUE(IsBlank(c));
    EXPECT_FALSE(IsBlank('a'));
    EXPECT_FALSE(IsBlank('\0'));
}

// Wine finds a file whatever the case of any letter that has one; other
// characters, and a trail byte that looks like a letter, stay as they are.
TEST(Text, NamesMatchAsWineComparesThem) {
    const struct {
        const char8_t *a, *b;
        bool same;
    } cases[] = {
        {u8"Kick.WAV", u8"kick.wav", true},
        {u8"ＡＢＺ.wav", u8"ａｂｚ.wav", true},
        {u8"ΑΩ.wav", u8"αω.wav", true},
        {u8"АНОЯЁ.wav", u8"анояё.wav", true},  // the small row skips a byte after н
        {u8"ⅠⅩ.wav", u8"ⅰⅹ.wav", true},
        {u8"ア.wav", u8"ヂ.wav", false},  // 0x83 0x41 and 0x83 0x61
        {u8"ａ.wav", u8"ｂ.wav", false},
        {u8"Ａ.wav", u8"A.wav", false},  // full-width is not half-width
        {u8"ぁ.wav", u8"あ.wav", false},  // small kana have no case
        {u8"Ω.wav", u8"Ω.wa", false},
    };
    for (const auto& c : cases) {
        const std::string a = Sj(c.a), b = Sj(c.b);
        EXPECT_EQ(SameNameIgnoringCase(a, b), c.same) << Cp932ToUtf8(a) << " " << Cp932ToUtf8(b);
        EXPECT_EQ(FoldNameCase(a) == FoldNameCase(b), c.same) << Cp932ToUtf8(a);
    }
    // The IBM row of capitals folds too (a name typed on another machine).
    EXPECT_TRUE(SameNameIgnoringCase("\xFA\x4A", "\x87\x54"));
    EXPECT_TRUE(SameNameIgnoringCase("\xEE\xEF", "\xFA\x40"));
}

TEST(Text, ControlCharactersAreEscapedForTheTerminal) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"plain", "plain"},
        {"songs\\pack\\a.bms", "songs\\pack\\a.bms"},  // a separator stays
        {"a\tb\nc\rd", "a\\tb\\nc\\rd"},
        {"\x1b[31mred\x1b[0m", "\\x1b[31mred\\x1b[0m"},
        {std::string("nul\0x", 5), "nul\\x00x"},
        {"del\x7f", "del\\x7f"},
        {"csi\xc2\x9b" "2J", "csi\\u009b2J"},
        {"\xc2\xa0nbsp \xe6\x9b\xb2", "\xc2\xa0nbsp \xe6\x9b\xb2"},  // no control: kept
        {"end\xc2", "end\xc2"},
    };
    for (const auto& c : cases) EXPECT_EQ(EscapeControls(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace qv5
