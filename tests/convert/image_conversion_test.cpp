// bmp and png passes through QImage on real files.
#include <gtest/gtest.h>

#include "convert/conversion.h"
#include "media_files.h"
#include "platform/progress.h"
#include "platform/text.h"

namespace qv5 {
namespace {

using test::FilesBelow;
using Names = std::vector<std::string>;

class ImageConversion : public testing::Test {
  protected:
    test::TempGame game_;
    NullProgress progress_;
};

TEST_F(ImageConversion, BmpTreeBecomesPngWithTheSamePixels) {
    struct File {
        std::string bmp, png;
        int seed;
    } files[] = {
        {"top.bmp", "top.png", 1},
        {"a/mid.bmp", "a/mid.png", 2},
        {"a/b/deep.bmp", "a/b/deep.png", 3},
        {"a/b/Shout.BMP", "a/b/Shout.png", 4},
        {"a/b/stagebmp", "a/b/stagepng", 5},  // no dot before the letters
        {"a/曲/背景.Bmp", "a/曲/背景.png", 6},
    };
    for (const File& f : files)
        game_.WriteFile("songs/p/" + f.bmp, test::Encode(test::TestPicture(9, 4, f.seed), "BMP"));
    game_.WriteFile("songs/p/a/b/broken.bmp", std::string("BM\x10\0\0\0garbage, no bitmap", 23));
    game_.WriteFile("songs/p/a/readme.txt", "bmp");

    ConversionReport r = ConvertBmpToPng("songs\\p", progress_);
    EXPECT_EQ(r.converted, 6);
    EXPECT_EQ(r.kept, Names{"songs\\p\\a\\b\\broken.bmp"});
    for (const File& f : files) {
        EXPECT_FALSE(game_.Exists("songs/p/" + f.bmp)) << f.bmp;
        EXPECT_EQ(game_.ReadFile("songs/p/" + f.png).substr(1, 3), "PNG") << f.png;
        EXPECT_TRUE(test::SamePixels(test::ReadPicture(game_, "songs/p/" + f.png),
                                     test::TestPicture(9, 4, f.seed)))
            << f.png;
    }
    EXPECT_EQ(game_.ReadFile("songs/p/a/b/broken.bmp").substr(0, 4), std::string("BM\x10\0", 4));
    EXPECT_TRUE(game_.Exists("songs/p/a/readme.txt"));
}

TEST_F(ImageConversion, PngToBmpAndBackGivesTheSamePixels) {
    const QImage opaque = test::TestPicture(13, 11, 8);
    QImage alpha = test::TestPicture(5, 5, 9).convertToFormat(QImage::Format_ARGB32);
    alpha.setPixel(2, 2, qRgba(10, 20, 30, 0));
    alpha.setPixel(1, 3, qRgba(200, 100, 50, 128));
    game_.WriteFile("songs/p/opaque.png", test::Encode(opaque, "PNG"));
    game_.WriteFile("songs/p/sub/alpha.PNG", test::Encode(alpha, "PNG"));

    EXPECT_EQ(ConvertPngToBmp("songs\\p\\", progress_).converted, 2);
    EXPECT_EQ(FilesBelow(game_, "songs/p"), (Names{"opaque.bmp", "sub/alpha.bmp"}));
    // An opaque picture is a 24-bit bitmap; a transparent one keeps its alpha
    // bytes in a 32-bit one.
    EXPECT_EQ(game_.ReadFile("songs/p/opaque.bmp").substr(0, 2), "BM");
    EXPECT_EQ(game_.ReadFile("songs/p/opaque.bmp")[28], 24);
    EXPECT_EQ(game_.ReadFile("songs/p/sub/alpha.bmp")[28], 32);
    EXPECT_EQ(ConvertBmpToPng("songs\\p", progress_).converted, 2);
    EXPECT_EQ(FilesBelow(game_, "songs/p"), (Names{"opaque.png", "sub/alpha.png"}));
    EXPECT_TRUE(test::SamePixels(test::ReadPicture(game_, "songs/p/opaque.png"), opaque));
    EXPECT_TRUE(test::SamePixels(test::ReadPicture(game_, "songs/p/sub/alpha.png"), alpha));
}

TEST_F(ImageConversion, AnIndexedBitmapKeepsItsColourTable) {
    const QImage indexed = test::IndexedPicture();
    const std::string bmp = test::Encode(indexed, "BMP");
    ASSERT_EQ(static_cast<unsigned char>(bmp[28]), 8u);  // an 8-bit bitmap on disk
    game_.WriteFile("songs/p/pal.bmp", bmp);
    ASSERT_TRUE(ConvertImageFile("songs\\p\\pal.bmp", "songs\\p\\pal.png"));
    const QImage png = test::ReadPicture(game_, "songs/p/pal.png");
    EXPECT_EQ(png.format(), QImage::Format_Indexed8);
    ASSERT_GE(png.colorCount(), 40);
    for (int i = 0; i < 40; ++i) EXPECT_EQ(png.color(i), indexed.color(i)) << i;
    for (int y = 0; y < indexed.height(); ++y)
        for (int x = 0; x < indexed.width(); ++x)
            EXPECT_EQ(png.pixelIndex(x, y), indexed.pixelIndex(x, y));
    EXPECT_FALSE(game_.Exists("songs/p/pal.bmp"));
}

TEST_F(ImageConversion, SingleFileOutcomes) {
    struct Case {
        const char* name;
        std::string source_bytes;  // empty: no source file
        const char* destination;
        bool written;
        bool source_stays;
    } cases[] = {
        {"bmp to png", test::Encode(test::TestPicture(), "BMP"), "x.png", true, false},
        {"a png named bmp loads by content", test::Encode(test::TestPicture(), "PNG"), "x.png",
         true, false},
        {"no such source", "", "x.png", false, false},
        {"damaged", "BM not really", "x.png", false, true},
        {"no writer for the extension", test::Encode(test::TestPicture(), "BMP"), "x.jpg", false,
         true},
    };
    for (const Case& c : cases) {
        test::TempGame game;
        if (!c.source_bytes.empty()) game.WriteFile("i/x.bmp", c.source_bytes);
        game.WriteFile("i/other.txt", "keep");
        EXPECT_EQ(ConvertImageFile("i\\x.bmp", std::string("i\\") + c.destination), c.written)
            << c.name;
        EXPECT_EQ(game.Exists("i/x.bmp"), c.source_stays) << c.name;
        EXPECT_EQ(game.Exists(std::string("i/") + c.destination), c.written) << c.name;
    }
}

TEST_F(ImageConversion, AnExistingDestinationIsReplacedWhateverItsCase) {
    game_.WriteFile("songs/p/Back.bmp", test::Encode(test::TestPicture(4, 4, 1), "BMP"));
    game_.WriteFile("songs/p/BACK.PNG", "an older picture");
    EXPECT_EQ(ConvertBmpToPng("songs\\p", progress_).converted, 1);
    EXPECT_EQ(FilesBelow(game_, "songs/p"), Names{"BACK.PNG"});
    EXPECT_TRUE(
        test::SamePixels(test::ReadPicture(game_, "songs/p/BACK.PNG"), test::TestPicture(4, 4, 1)));
}

TEST_F(ImageConversion, TwoSourcesForOneDestinationKeepTheSecond) {
    // Names that differ only in case would both become one png; the second
    // stays rather than overwrite the first one's picture and vanish.
    game_.WriteFile("songs/p/bg.bmp", test::Encode(test::TestPicture(3, 3, 1), "BMP"));
    game_.WriteFile("songs/p/BG.bmp", test::Encode(test::TestPicture(3, 3, 2), "BMP"));
    ConversionReport r = ConvertBmpToPng("songs\\p", progress_);
    EXPECT_EQ(r.converted, 1);
    ASSERT_EQ(r.kept.size(), 1u);
    Names files = FilesBelow(game_, "songs/p");
    ASSERT_EQ(files.size(), 2u);
    const std::string kept_name = Cp932ToUtf8(r.kept[0]).substr(std::string("songs\\p\\").size());
    const int kept_seed = kept_name == "bg.bmp" ? 1 : 2;
    const std::string png = files[0] == kept_name ? files[1] : files[0];
    EXPECT_TRUE(test::SamePixels(test::ReadPicture(game_, "songs/p/" + png),
                                 test::TestPicture(3, 3, 3 - kept_seed)));
}

}  // namespace
}  // namespace qv5
