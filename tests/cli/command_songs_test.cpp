// The options of `songs`: each becomes the window's filter and sort.
#include "cli/command_songs.h"

#include <gtest/gtest.h>

#include "cli/command_parse.h"

namespace qv5 {
namespace {

std::string Described(const SongsOptions& o) {
    const SongFilter& f = o.filter;
    return "words=" + f.words + " mode=" + std::to_string(f.mode) +
           " level=" + (f.level_min ? std::to_string(*f.level_min) : "") + "-" +
           (f.level_max ? std::to_string(*f.level_max) : "") +
           " difficulty=" + std::to_string(f.difficulty) + (f.favorites ? " fav" : "") +
           (f.not_played ? " unplayed" : "") + (f.not_cleared ? " uncleared" : "") +
           (f.new_only ? " new" : "") + " sort=" + ColumnKey(o.sort) +
           (o.descending ? " desc" : "") + (o.tsv ? " tsv" : "") +
           (o.table ? " table=" + *o.table : "");
}

TEST(SongsOptions, EachOptionSetsItsFilterOrSort) {
    const struct {
        std::vector<std::string> args;
        std::string want;  // empty: refused
    } cases[] = {
        {{}, "words= mode=0 level=- difficulty=0 sort=added desc"},
        {{"a", "b"}, "words=a b mode=0 level=- difficulty=0 sort=added desc"},
        {{"--level", "3-7"}, "words= mode=0 level=3-7 difficulty=0 sort=added desc"},
        {{"--level", "5-"}, "words= mode=0 level=5- difficulty=0 sort=added desc"},
        {{"--level", "-5"}, "words= mode=0 level=-5 difficulty=0 sort=added desc"},
        {{"--level", "12"}, "words= mode=0 level=12-12 difficulty=0 sort=added desc"},
        {{"--mode", "14", "--tsv"}, "words= mode=14 level=- difficulty=0 sort=added desc tsv"},
        {{"--difficulty", "HYPER"}, "words= mode=0 level=- difficulty=3 sort=added desc"},
        {{"--difficulty", "5"}, "words= mode=0 level=- difficulty=5 sort=added desc"},
        {{"--sort", "title"}, "words= mode=0 level=- difficulty=0 sort=title"},
        {{"--sort", "-title"}, "words= mode=0 level=- difficulty=0 sort=title desc"},
        {{"--sort", "-added"}, "words= mode=0 level=- difficulty=0 sort=added"},
        {{"--favorites", "--not-played", "--not-cleared", "--new"},
         "words= mode=0 level=- difficulty=0 fav unplayed uncleared new sort=added desc"},
        {{"--table", "Satellite:sl3", "x"},
         "words=x mode=0 level=- difficulty=0 sort=added desc table=Satellite:sl3"},
        {{"--table"}, ""},
        {{"--table", ""}, ""},
        {{"--level", "-"}, ""},
        {{"--level", "x-3"}, ""},
        {{"--mode"}, ""},
        {{"--mode", "0"}, ""},
        {{"--difficulty", "6"}, ""},
        {{"--sort", "speed"}, ""},
        {{"--colour"}, ""},
    };
    const Command* songs = FindCommand("songs");
    ASSERT_NE(songs, nullptr);
    for (const auto& c : cases) {
        // Refused by the command line's parser or by the values' reading.
        std::string error, wrong;
        CommandCall call;
        std::optional<SongsOptions> options;
        if (ParseCall(*songs, c.args, call, error)) options = ParseSongsOptions(call, wrong);
        std::string joined;
        for (const std::string& a : c.args) joined += a + " ";
        EXPECT_EQ(options ? Described(*options) : "", c.want) << joined;
        EXPECT_EQ(error.empty() && wrong.empty(), options.has_value()) << joined;
    }
}

// NAME[:LEVEL] against the levels the level folders give: the whole text a
// name first, then a name and a level at the last ":".
TEST(SongsOptions, TableNamesALevelFolder) {
    const std::string a(32, 'a'), b(32, 'b'), c(32, 'c');
    const std::vector<LevelFolderLevel> levels = {
        {"Sat", "sl1", {a, b}}, {"Sat", "sl2", {c}}, {"A:B", "x1", {c}}, {"A", "B", {a}}};
    const struct {
        std::string choice;
        std::vector<std::string> want;  // empty: refused
    } cases[] = {
        {"Sat", {a, b, c}}, {"Sat:sl2", {c}}, {"A:B", {c}}, {"A:B:x1", {c}},
        {"Sat:1", {}},      {"Sat:", {}},     {"sat", {}},  {"Nope:sl1", {}},
    };
    for (const auto& t : cases) {
        std::string error;
        const auto got = TableLevelMd5s(levels, t.choice, error);
        EXPECT_EQ(got.value_or(std::vector<std::string>{}), t.want) << t.choice;
        EXPECT_EQ(error.empty(), got.has_value()) << t.choice;
    }
}

}  // namespace
}  // namespace qv5
