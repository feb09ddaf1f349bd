// RAR archives from libarchive's own test suite (tests/data/rar, with their
// licence note): names, links and encryption of the other archive kind.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "install/archive.h"
#include "install/archive_fixture.h"
#include "install/rar5_scan.h"
#include "platform/text.h"
#include "support/fake_wine.h"
#include "support/scripted_ui.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

namespace fs = std::filesystem;

class RarTest : public ::testing::Test {
  protected:
    int Extract(const std::string& name, ExtractReport& r) {
        fs::copy_file(std::string(QV5_TEST_DATA) + "/rar/" + name, game.HostPath(name));
        return ExtractArchive(ArchiveKind::Rar, "-x \"" + name + "\" \"Songs/\" *.*", r);
    }
    test::TempGame game;
};

TEST_F(RarTest, UnicodeNamesAreExtractedAndLinksRefused) {
    ExtractReport r;
    ASSERT_EQ(Extract("test_read_format_rar_unicode.rar", r), 1) << Cp932ToUtf8(r.error);
    EXPECT_EQ(Tree(game, "Songs"),
              (std::set<std::string>{"表だよ/", "表だよ/新しいフォルダ/",
                                     "表だよ/新しいフォルダ/新規テキスト ドキュメント.txt",
                                     "表だよ/漢字長いファイル名long-filename-in-漢字.txt",
                                     "abcdefghijklmnopqrsテスト.txt"}));
    EXPECT_EQ(r.links, 1);
    EXPECT_EQ(game.ReadFile("Songs/abcdefghijklmnopqrsテスト.txt").empty(), false);
}

TEST_F(RarTest, LinkEntriesOfBothFormatsAreNotCreated) {
    struct Case {
        const char* archive;
        long links;
        std::set<std::string> tree;
    };
    const std::vector<Case> cases = {
        {"test_read_format_rar.rar",
         1,
         {"test.txt", "testdir/", "testdir/test.txt", "testemptydir/"}},
        {"test_read_format_rar5_symlink.rar", 2, {"file.txt", "dir/"}},
    };
    for (const Case& c : cases) {
        ExtractReport r;
        ASSERT_EQ(Extract(c.archive, r), 1) << c.archive << " " << Cp932ToUtf8(r.error);
        EXPECT_EQ(r.links, c.links) << c.archive;
        EXPECT_EQ(Tree(game, "Songs"), c.tree) << c.archive;
        fs::remove_all(game.HostPath("Songs"));
    }
}

TEST_F(RarTest, AnEncryptedArchiveIsRefusedBeforeAnythingIsWritten) {
    ExtractReport r;
    EXPECT_EQ(Extract("test_read_format_rar5_encrypted.rar", r), 2);
    EXPECT_TRUE(r.encrypted);
    EXPECT_EQ(Cp932ToUtf8(r.error), "暗号化された書庫は展開できません。");
    EXPECT_FALSE(game.Exists("Songs"));
}

TEST_F(RarTest, CutArchivesInstallWholeOrNotAtAll) {
    for (const auto& entry : fs::directory_iterator(std::string(QV5_TEST_DATA) + "/rar")) {
        if (entry.path().extension() != ".rar") continue;
        const std::string name = entry.path().filename().string();
        const auto size = fs::file_size(entry.path());
        for (auto cut : {size / 5, size / 3, size / 2, size * 3 / 4, size - 1}) {
            fs::copy_file(entry.path(), game.HostPath("cut.rar"),
                          fs::copy_options::overwrite_existing);
            fs::resize_file(game.HostPath("cut.rar"), cut);
            Rar5HoldsEncryption(game.HostPath("cut.rar"));
            InspectArchive(ArchiveKind::Rar, "cut.rar");
            ExtractReport r;
            const int result = ExtractArchive(ArchiveKind::Rar, "-x \"cut.rar\" \"Songs/\" *.*", r);
            EXPECT_TRUE(result == 1 || result == 2) << name << " " << cut;
            if (result == 2) {
                EXPECT_FALSE(r.error.empty()) << name << " " << cut;
                EXPECT_TRUE(Tree(game, "Songs").empty()) << name << " " << cut;
            }
            fs::remove_all(game.HostPath("Songs"));
        }
    }
}

TEST_F(RarTest, ArchivesWithoutChartsAreReportedAsSuch) {
    for (const char* name :
         {"test_read_format_rar_windows.rar", "test_read_format_rar5_stored.rar"}) {
        fs::copy_file(std::string(QV5_TEST_DATA) + "/rar/" + name, game.HostPath(name));
        EXPECT_EQ(InspectArchive(ArchiveKind::Rar, name), Inspection::NoChart) << name;
    }
}

}  // namespace
}  // namespace qv5
