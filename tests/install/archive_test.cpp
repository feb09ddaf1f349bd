#include "install/archive.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

#include "install/archive_fixture.h"
#include "install/entry_path.h"
#include "platform/progress.h"
#include "platform/text.h"
#include "support/scripted_ui.h"
#include "support/temp_game.h"
#include "support/zip_writer.h"

namespace qv5 {
namespace {

using test::File;
using test::Folder;
using test::Symlink;
using test::ZipItem;

TEST_F(ArchiveTest, InspectionFindsTheFolderOfTheFirstChartOfEachPattern) {
    struct Case {
        const char* what;
        std::vector<ZipItem> items;
        Inspection expected;
        std::string folder;
    };
    const std::vector<Case> cases = {
        {"slash", {File("readme.txt"), File("Song/a.bms")}, Inspection::ChartInFolder, "Song"},
        {"backslash", {File("Song\\a.bms")}, Inspection::ChartInFolder, "Song"},
        {"root chart beats a later folder",
         {File("a.bms"), File("Other/b.bme")},
         Inspection::ChartAtRoot,
         ""},
        {"root chart of a later pattern",
         {File("F/a.bms"), File("b.pms")},
         Inspection::ChartAtRoot,
         ""},
        {"upper-case extension ignored", {File("A/a.BMS")}, Inspection::NoChart, ""},
        {"first match in upper case hides the pattern",
         {File("A/a.BMS"), File("B/b.bms")},
         Inspection::NoChart,
         ""},
        {"bml only", {File("Pack/x.bml"), File("Pack/x.ogg")}, Inspection::ChartInFolder, "Pack"},
        {"last folder found stays",
         {File("A/a.bms"), File("B/b.pms")},
         Inspection::ChartInFolder,
         "B"},
        {"separator only at the start", {File("/a.bms")}, Inspection::ChartAtRoot, ""},
        {"folder named with a trail byte 0x5C",
         {File("\x95\x5c\x8e\xa6/a.bms")},
         Inspection::ChartInFolder,
         "\x95\x5c\x8e\xa6"},
        {"root chart with a trail byte 0x5C", {File("\x83\x5c.bms")}, Inspection::ChartAtRoot, ""},
        {"root chart 表示.bms", {File("\x95\x5c\x8e\xa6.bms")}, Inspection::ChartAtRoot, ""},
        {"no chart", {File("a.txt"), Folder("x.bms/")}, Inspection::NoChart, ""},
        {"a link is no chart", {Symlink("L/a.bms", "x")}, Inspection::NoChart, ""},
    };
    for (const Case& c : cases) {
        test::WriteZip(game.HostPath("a.zip"), c.items);
        SharedFolderName() = "before";
        EXPECT_EQ(InspectArchive(ArchiveKind::Zip, "a.zip"), c.expected) << c.what;
        if (c.expected == Inspection::ChartInFolder) {
            EXPECT_EQ(SharedFolderName(), c.folder) << c.what;
        }
    }
}

TEST_F(ArchiveTest, InspectionReadsNamesWithAndWithoutTheUtf8Flag) {
    test::WriteZip(game.HostPath("a.zip"), {File("\x95\x5c\x8e\xa6/a.bms")});
    EXPECT_EQ(InspectArchive(ArchiveKind::Zip, "a.zip"), Inspection::ChartInFolder);
    EXPECT_EQ(SharedFolderName(), Sj(u8"表示"));
    test::WriteZip(game.HostPath("a.zip"), {File("曲名/a.bms")}, Utf8Names());
    EXPECT_EQ(InspectArchive(ArchiveKind::Zip, "a.zip"), Inspection::ChartInFolder);
    EXPECT_EQ(SharedFolderName(), Sj(u8"曲名"));
}

TEST_F(ArchiveTest, FolderOfEntrySplitsByCharacters) {
    EXPECT_EQ(FolderOfEntry("Song/a.bms"), "Song");
    EXPECT_EQ(FolderOfEntry("Song\\a.bms"), "Song");
    EXPECT_EQ(FolderOfEntry("A\\B/c.bms"), "A\\B");  // "/" is looked for first
    EXPECT_EQ(FolderOfEntry("\x83\x5c.bms"), "");
    EXPECT_EQ(FolderOfEntry("\x83\x5c\\x.bms"), "\x83\x5c");
    EXPECT_EQ(FolderOfEntry("/a.bms"), "");
}

TEST_F(ArchiveTest, ExtractionWritesCp932AndUtf8FlaggedNamesAsUtf8OnDisk) {
    test::WriteZip(game.HostPath("a.zip"), {File("\x95\x5c\x8e\xa6/\x83\x5c.bms", "chart"),
                                            File("\x95\x5c\x8e\xa6/a.wav")});
    ExtractReport r;
    ASSERT_EQ(Extract("Songs", r), 1) << Cp932ToUtf8(r.error);
    EXPECT_EQ(game.ReadFile("Songs/表示/ソ.bms"), "chart");
    EXPECT_TRUE(game.Exists("Songs/表示/a.wav"));
    EXPECT_EQ(r.files, 2);

    test::WriteZip(game.HostPath("b.zip"), {File("曲/譜面.bme", "u"), File("한/x.bms")},
                   Utf8Names());
    ExtractReport r2;
    ASSERT_EQ(Extract("Songs", r2, {}, "b.zip"), 1);
    EXPECT_EQ(game.ReadFile("Songs/曲/譜面.bme"), "u");
    EXPECT_EQ(r2.unnamable, 1);  // Hangul has no Shift-JIS form
    EXPECT_FALSE(game.Exists("Songs/한"));
}

TEST_F(ArchiveTest, EntriesLeadingOutsideTheDestinationAreRefused) {
    game.MakeDir("Songs/Cat");
    const std::vector<std::string> hostile = {
        "../x1.txt",
        "..\\x2.txt",
        "/tmp/qv5-abs.txt",
        "C:\\x3.txt",
        "Z:x4.txt",
        "a/../../x5.txt",
        "a\\..\\..\\x6.txt",
        "a/..\\../x7.txt",
        "./../x8.txt",
        "a/b/../../../x9.txt",
        "..",
        "Song/../../x10.txt",
    };
    std::vector<ZipItem> items = {File("Song/a.bms", "ok")};
    for (const std::string& name : hostile) items.push_back(File(name, "evil"));
    items.push_back(File("Song/b.bms", "ok"));
    test::WriteZip(game.HostPath("a.zip"), items);
    const auto before = Tree(game);
    ExtractReport r;
    ASSERT_EQ(Extract("Songs\\Cat", r), 1);
    EXPECT_EQ(r.unsafe, static_cast<long>(hostile.size()));
    EXPECT_EQ(r.files, 2);
    std::set<std::string> after = Tree(game);
    for (const char* added : {"Songs/Cat/Song/", "Songs/Cat/Song/a.bms", "Songs/Cat/Song/b.bms"})
        EXPECT_EQ(after.erase(added), 1u) << added;
    EXPECT_EQ(after, before);
    EXPECT_FALSE(fs::exists("/tmp/qv5-abs.txt"));
}

TEST_F(ArchiveTest, SafeEntryPartsTable) {
    struct Case {
        std::string name;
        bool safe;
        std::vector<std::string> parts;
    };
    const std::vector<Case> cases = {
        {"a/b.bms", true, {"a", "b.bms"}},
        {"a\\b.bms", true, {"a", "b.bms"}},
        {"./a//b", true, {"a", "b"}},
        {"\x83\x5c/\x83\x5c.bms", true, {"\x83\x5c", "\x83\x5c.bms"}},
        {"a/...", true, {"a", "..."}},
        {"..", false, {}},
        {"a/..", false, {}},
        {"\\a", false, {}},
        {"a:b", false, {}},
    };
    for (const Case& c : cases) {
        auto parts = SafeEntryParts(c.name);
        EXPECT_EQ(parts.has_value(), c.safe) << c.name;
        if (parts && c.safe) {
            EXPECT_EQ(*parts, c.parts) << c.name;
        }
    }
}

TEST_F(ArchiveTest, LinksAreNotCreatedAndCannotBeWrittenThrough) {
    game.MakeDir("Outside");
    test::WriteZip(game.HostPath("a.zip"),
                   {Symlink("Song/up", "../../../Outside"), Symlink("Song/abs", "/etc/passwd"),
                    File("Song/up/evil.txt", "evil"), File("Song/a.bms")});
    ExtractReport r;
    ASSERT_EQ(Extract("Songs", r), 1);
    EXPECT_EQ(r.links, 2);
    EXPECT_TRUE(Tree(game, "Outside").empty());
    EXPECT_EQ(Tree(game, "Songs"),
              (std::set<std::string>{"Song/", "Song/up/", "Song/up/evil.txt", "Song/a.bms"}));
}

// Rewrites the file type of every central directory record whose name is
// `name`: the zip writer only makes files, folders and links.
void PatchZipMode(const std::string& host_path, const std::string& name, unsigned mode) {
    std::fstream f(host_path, std::ios::in | std::ios::out | std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    int patched = 0;
    for (size_t at = bytes.find("PK\x01\x02"); at != std::string::npos;
         at = bytes.find("PK\x01\x02", at + 4)) {
        const size_t len = static_cast<unsigned char>(bytes[at + 28]) |
                           static_cast<unsigned char>(bytes[at + 29]) << 8;
        if (bytes.compare(at + 46, len, name) != 0) continue;
        bytes[at + 40] = static_cast<char>(mode & 0xFF);
        bytes[at + 41] = static_cast<char>(mode >> 8);
        ++patched;
    }
    ASSERT_EQ(patched, 1) << name;
    f.seekp(0);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TEST_F(ArchiveTest, FifosAndDevicesAreNotCreated) {
    test::WriteZip(game.HostPath("a.zip"),
                   {File("Song/fifo"), File("Song/dev"), File("Song/a.bms", "a")});
    PatchZipMode(game.HostPath("a.zip"), "Song/fifo", 0010644);
    PatchZipMode(game.HostPath("a.zip"), "Song/dev", 0020644);
    ExtractReport r;
    ASSERT_EQ(Extract("Songs", r), 1) << Cp932ToUtf8(r.error);
    // libarchive reads a zip FIFO as a plain file: never a pipe on disk.
    EXPECT_EQ(r.links, 1);
    EXPECT_EQ(Tree(game, "Songs"), (std::set<std::string>{"Song/", "Song/a.bms", "Song/fifo"}));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(game.HostPath("Songs/Song/fifo"))));
}

TEST_F(ArchiveTest, ExistingFilesAreKeptAndAReinstallChangesNothing) {
    game.WriteFile("Songs/Song/a.bms", "mine");
    test::WriteZip(game.HostPath("a.zip"), {File("Song/a.bms", "theirs"), File("Song/b.bms", "b")});
    ExtractReport r;
    ASSERT_EQ(Extract("Songs", r), 1);
    EXPECT_EQ(game.ReadFile("Songs/Song/a.bms"), "mine");
    EXPECT_EQ(r.kept, 1);
    EXPECT_EQ(r.files, 1);
    const auto before = Tree(game, "Songs");
    ExtractReport again;
    ASSERT_EQ(Extract("Songs", again), 1);
    EXPECT_EQ(again.kept, 2);
    EXPECT_EQ(again.files, 0);
    EXPECT_EQ(Tree(game, "Songs"), before);
}

// An entry may have any name, this program's working names included: one
// named like the file another entry is written under stays as it is.
TEST_F(ArchiveTest, AnEntryNamedLikeAWorkingFileIsWrittenAsAnyOther) {
    // ".qv5-<FNV-1a of the entry's name>.part", once the working name of b.wav.
    std::uint64_t h = 1469598103934665603ull;
    for (unsigned char c : std::string("b.wav")) h = (h ^ c) * 1099511628211ull;
    char name[32];
    std::snprintf(name, sizeof name, ".qv5-%016llx.part", static_cast<unsigned long long>(h));
    test::WriteZip(game.HostPath("a.zip"), {File(std::string("Song/") + name, "mine"),
                                            File("Song/b.wav", "wav"), File("Song/a.bms", "a")});
    ExtractReport r;
    ASSERT_EQ(Extract("Songs", r), 1);
    EXPECT_EQ(r.files, 3);
    EXPECT_EQ(Tree(game, "Songs"), (std::set<std::string>{"Song/", std::string("Song/") + name,
                                                          "Song/a.bms", "Song/b.wav"}));
    EXPECT_EQ(game.ReadFile(std::string("Songs/Song/") + name), "mine");
}

// What a killed install left is removed by the next one into its folder;
// what a live writer holds is not.
TEST_F(ArchiveTest, OnlyWorkingFilesNoWriterHoldsAreRemoved) {
    game.WriteFile("Songs/Song/.qv5-4000000-0badf00d.part", "left");
    game.WriteFile("Songs/Song/.qv5-4000001-00c0ffee.part", "held");
    const int held = open(game.HostPath("Songs/Song/.qv5-4000001-00c0ffee.part").c_str(), O_RDONLY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    test::WriteZip(game.HostPath("a.zip"), {File("Song/a.bms", "a")});
    ExtractReport r;
    ASSERT_EQ(Extract("Songs", r), 1);
    close(held);
    EXPECT_EQ(Tree(game, "Songs"),
              (std::set<std::string>{"Song/", "Song/a.bms", "Song/.qv5-4000001-00c0ffee.part"}));
}

TEST_F(ArchiveTest, NamesDifferingOnlyInCaseAreTheSameEntry) {
    game.WriteFile("Songs/SONG/a.wav", "mine");
    test::WriteZip(game.HostPath("a.zip"),
                   {Folder("song/"), File("Song/A.WAV", "theirs"), File("song/b.bms", "b"),
                    File("Song/Sub/c.ogg", "c"), File("SONG/SUB/d.ogg", "d")});
    ExtractReport r;
    ASSERT_EQ(Extract("Songs", r), 1);
    EXPECT_EQ(r.kept, 1);
    EXPECT_EQ(game.ReadFile("Songs/SONG/a.wav"), "mine");
    EXPECT_EQ(Tree(game, "Songs"),
              (std::set<std::string>{"SONG/", "SONG/a.wav", "SONG/b.bms", "SONG/Sub/",
                                     "SONG/Sub/c.ogg", "SONG/Sub/d.ogg"}));
}

TEST_F(ArchiveTest, BothCommandFormsCreateExactlyTheirFolders) {
    game.MakeDir("Songs");
    test::WriteZip(game.HostPath("a.zip"), {File("a.bms")});
    ExtractReport r;
    ASSERT_EQ(ExtractArchive(ArchiveKind::Zip, "-x \"a.zip\" \"Songs/a/\" *.*", r), 1);
    EXPECT_EQ(Tree(game, "Songs"), (std::set<std::string>{"a/", "a/a.bms"}));
    EXPECT_EQ(r.folders, 1);

    struct Case {
        std::string command;
        bool valid;
        std::string archive, dest;
    };
    const std::vector<Case> cases = {
        {"-x \"a b.zip\" \"Songs\\Cat/\" *.*", true, "a b.zip", "Songs\\Cat"},
        {"-x \"a.zip\" \"Songs\\Cat/Base/\" *.*", true, "a.zip", "Songs\\Cat\\Base"},
        {"-x \"a.zip\" \"\x83\x5c/\" *.*", true, "a.zip", "\x83\x5c"},
        {"-x \"a.zip\" \"Songs/\"", false, "", ""},
        {"-x \"a.zip \"Songs/\" *.*", false, "", ""},
        {"-e \"a.zip\" \"Songs/\" *.*", false, "", ""},
    };
    for (const Case& c : cases) {
        auto parsed = ParseExtractCommand(c.command);
        EXPECT_EQ(parsed.has_value(), c.valid) << c.command;
        if (parsed && c.valid) {
            EXPECT_EQ(parsed->archive, c.archive);
            EXPECT_EQ(parsed->destination, c.dest);
        }
    }
}

// A kind the archive library cannot read is a finding of the inspection and
// of the extraction, told by their callers: nothing is shown, nothing made.
TEST_F(ArchiveTest, AnUnreadableKindIsAFindingAndShowsNothing) {
    test::ScopedScriptedUi ui;
    for (ArchiveKind kind : {ArchiveKind::Zip, ArchiveKind::Rar}) {
        SetArchiveKindReadableForTesting(kind, false);
        EXPECT_EQ(InspectArchive(kind, "a.zip"), Inspection::LibraryMissing);
        ExtractReport r;
        EXPECT_EQ(ExtractArchive(kind, Command("a.zip", "Songs"), r), 0);
        SetArchiveKindReadableForTesting(kind, true);
    }
    EXPECT_TRUE(ui->MessageTexts().empty());
    EXPECT_FALSE(game.Exists("Songs"));
    const struct {
        ArchiveKind kind;
        bool inspection;
        const char* text;
    } cases[] = {
        {ArchiveKind::Rar, true, "UNrar32.DLLの読み込みに失敗しました。"},
        {ArchiveKind::Rar, false, "unrar32.dllの読み込みに失敗しました。"},
        {ArchiveKind::Zip, true, "unzip32.dllの読み込みに失敗しました。"},
        {ArchiveKind::Zip, false, "unzip32.dllの読み込みに失敗しました。"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Cp932ToUtf8(LoadFailureText(c.kind, c.inspection)), c.text);
}

}  // namespace
}  // namespace qv5
