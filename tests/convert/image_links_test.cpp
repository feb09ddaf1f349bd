// A link planted where an image conversion writes its output: the new file
// takes the link's place and what the link names is untouched.
#include <gtest/gtest.h>

#include <filesystem>

#include "convert/conversion.h"
#include "media_files.h"
#include "platform/progress.h"

namespace qv5 {
namespace {

namespace fs = std::filesystem;

TEST(ImageLinks, APlantedLinkAtTheOutputIsReplacedNotWrittenThrough) {
    struct Case {
        const char *source, *output, *format;
        ConversionReport (*pass)(const std::string&, Progress&);
    } cases[] = {
        {"bg.bmp", "bg.png", "BMP", &ConvertBmpToPng},
        {"bg.png", "bg.bmp", "PNG", &ConvertPngToBmp},
    };
    for (const Case& c : cases) {
        test::TempGame game;
        game.WriteFile("home/file", "the user's own file");
        game.WriteFile(std::string("songs/p/") + c.source,
                       test::Encode(test::TestPicture(), c.format));
        fs::create_symlink(game.HostPath("home/file"),
                           game.HostPath(std::string("songs/p/") + c.output));
        NullProgress progress;
        EXPECT_EQ(c.pass("songs\\p", progress).converted, 1) << c.output;
        EXPECT_EQ(game.ReadFile("home/file"), "the user's own file") << c.output;
        EXPECT_FALSE(fs::is_symlink(game.HostPath(std::string("songs/p/") + c.output))) << c.output;
        EXPECT_TRUE(test::SamePixels(test::ReadPicture(game, std::string("songs/p/") + c.output),
                                     test::TestPicture()))
            << c.output;
    }
}

}  // namespace
}  // namespace qv5
