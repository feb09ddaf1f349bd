// The name of a conversion's output.
#include <gtest/gtest.h>

#include "convert/convert_walk.h"
#include "platform/text.h"

namespace qv5::convert {
namespace {

TEST(ConvertNames, ReplacesTheLastThreeLetters) {
    EXPECT_EQ(ReplaceLastThree("Song.WAV", "ogg"), "Song.ogg");
    EXPECT_EQ(ReplaceLastThree(Sj(u8"曲.bmp"), "png"), Sj(u8"曲.png"));
}

}  // namespace
}  // namespace qv5::convert
