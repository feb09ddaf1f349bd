#include "library/difficulty.h"

#include <sqlite3.h>

#include <array>
#include <cctype>
#include <utility>
#include <vector>

#include "library/song_library.h"
#include "platform/progress.h"
#include "platform/text.h"
#include "platform/transaction.h"

namespace qv5 {
namespace {

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 32) : c;
}

// Byte-wise, as the game's own comparisons are.
std::string UpperAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = Upper(c);
    return out;
}

void TrimRight(std::string& s) {
    while (!s.empty() && IsBlank(s.back())) s.pop_back();
}

const std::string& FullWidthSpace() {
    static const std::string s = Sj(u8"　");
    return s;
}

struct Bracket {
    std::string open, close;
};

const std::vector<Bracket>& Brackets() {
    static const std::vector<Bracket> b = {
        {"(", ")"},
        {"[", "]"},
        {"-", "-"},
        {"\"", "\""},
        {"<", ">"},
        {Sj(u8"～"), Sj(u8"～")},
        {Sj(u8"【"), Sj(u8"】")},
    };
    return b;
}

int SubtitleWordDifficulty(std::string_view upper_subtitle) {
    static const std::pair<const char*, int> words[] = {
        {"BEG", 1},  {"HARD", 3}, {"HYPE", 3}, {"HD", 3},   {"5H", 3},   {"7H", 3},
        {"10H", 3},  {"14H", 3},  {"9H", 3},   {"DIF", 3},  {"EX", 4},   {"AN", 4},
        {"5A", 4},   {"7A", 4},   {"10A", 4},  {"14A", 4},  {"9A", 4},   {"ULT", 4},
        {"LUNA", 4}, {"AHO", 4},  {"AFO", 4},  {"ASDF", 4}, {"HELL", 4},
    };
    for (const auto& [word, value] : words)
        if (upper_subtitle.size() > 1 && upper_subtitle.find(word, 1) != std::string_view::npos)
            return value;
    return -1;
}

struct Token {
    std::string text;
    int value;
};

const std::vector<Token>& FileNameTokens() {
    static const std::vector<Token> tokens = [] {
        const std::pair<char, int> letters[] = {{'a', 4}, {'h', 3}, {'m', 4},
                                                {'e', 1}, {'b', 1}, {'l', 1}};
        std::vector<Token> t;
        for (const char* form : {"_x", "_sx", "_dx"})
            for (auto [letter, value] : letters) {
                std::string s = form;
                s[s.find('x')] = letter;
                t.push_back({s, value});
            }
        t.push_back({"_ex", 4});
        for (const char* form : {"7x", "x7", "5x", "x5", "x14", "x10", "14x", "10x"})
            for (auto [letter, value] : letters) {
                std::string s = form;
                s[s.find('x')] = letter;
                t.push_back({s, value});
            }
        return t;
    }();
    return tokens;
}

}  // namespace

bool CarriesCommand(std::string_view line, std::string_view command) {
    if (line.size() <= command.size()) return false;
    for (size_t i = 0; i < command.size(); ++i)
        if (Upper(line[i]) != Upper(command[i])) return false;
    return true;
}

bool TitleDifficulty(std::string_view line, std::string_view keyword, std::string& title,
                     std::string& subtitle, std::int32_t& difficulty) {
    if (!CarriesCommand(line, keyword)) return false;
    const std::string upper = UpperAscii(line);
    static const std::pair<const char*, int> endings[] = {{"HARD", 2}, {"HYPER", 3}, {"ANOTHER", 4},
                                                          {"EASY", 1}, {"EX", 4},    {"MANIAC", 4}};
    // Endings compare byte-wise, a trail byte included, as the game's do.
    for (const auto& [word, value] : endings)
        if (upper.ends_with(word)) difficulty = value;

    const std::string_view v = line.substr(keyword.size() + 1);
    for (const Bracket& b : Brackets()) {
        if (v.size() < b.open.size() + 1) continue;
        // The last opening that ends at least one character before the end.
        const size_t last_start = v.size() - 1 - b.open.size();
        const size_t pos = v.rfind(b.open, last_start);
        if (pos == std::string_view::npos || pos == 0 || !v.ends_with(b.close)) continue;
        title.assign(v.substr(0, pos));
        TrimRight(title);
        if (title.ends_with(FullWidthSpace())) title.resize(title.size() - FullWidthSpace().size());
        subtitle.assign(v.substr(title.size()));
        TrimRight(subtitle);
        const int word = SubtitleWordDifficulty(UpperAscii(subtitle));
        if (word >= 0) difficulty = word;
        return true;
    }
    title.assign(v);
    subtitle.clear();
    return true;
}

void FileNameDifficulty(std::string_view path, std::int32_t& difficulty) {
    if (path.size() < 4) return;
    const std::string_view base = path.substr(0, path.size() - 4);
    for (const Token& t : FileNameTokens())
        if (base.ends_with(t.text)) difficulty = t.value;
}

// The pass changes only rows whose difficulty is unknown: when there is
// none, the sorted walk over every row below the prefix is skipped.
bool AssignFolderDifficulties(Database& db, const WinPath& prefix_path, Progress* progress,
                              LibraryReport& report) {
    const std::string& prefix = prefix_path.text();
    auto failed = [&] { return ReportError(report, db.LastError()); };
    Transaction tx(db);
    if (!tx.ok()) return failed();
    {
        Statement unknown = db.Prepare("SELECT 1 FROM song WHERE " + PrefixCondition(1) +
                                       " AND NOT (difficulty BETWEEN 0 AND 5) LIMIT 1");
        if (!unknown) return failed();
        BindPrefix(unknown, 1, prefix);
        const bool any = unknown.Step();
        if (unknown.Failed()) return failed();
        if (!any) return tx.Commit() || failed();
    }
    Statement rows = db.Prepare("SELECT difficulty,folder,mode,path FROM song WHERE " +
                                PrefixCondition(1) + " ORDER BY folder,mode,karinotes");
    Statement update = db.Prepare("UPDATE song SET difficulty = ?1 WHERE path = ?2");
    if (!rows || !update) return failed();
    BindPrefix(rows, 1, prefix);
    std::string previous_folder;
    std::int32_t previous_mode = 0, previous_difficulty = 0;
    long seen = 0;
    while (rows.Step()) {
        if (progress && ++seen % 1024 == 0) {
            progress->Update(seen, -1, rows.Text(3));
            if (progress->StopRequested()) {
                report.stopped = true;
                report.error = "stopped by the user; nothing was stored";
                return false;
            }
        }
        const std::int32_t d = rows.Int(0);
        std::string folder = rows.Text(1);
        const std::int32_t m = rows.Int(2);
        if (d >= 0 && d <= 5) {
            previous_folder = std::move(folder);
            previous_mode = m;
            previous_difficulty = d;
            continue;
        }
        std::int32_t n;
        if (folder != previous_folder || m != previous_mode) {
            n = 2;
        } else {
            n = previous_difficulty + 1;
            if (n == 5) n = 4;
            if (n < 0) n = 2;
            if (n > 5) n = 5;
        }
        if (update.ExecuteRow(n, rows.Text(3)) != SQLITE_DONE) return failed();
        previous_folder = std::move(folder);
        previous_mode = m;
        previous_difficulty = n;
    }
    if (rows.Failed()) return failed();
    return tx.Commit() || failed();
}

bool SafeFileName(std::string& text) {
    static const std::pair<char, const char8_t*> replacements[] = {
        {'\\', u8"￥"}, {'/', u8"／"}, {':', u8"："}, {'*', u8"＊"}, {'?', u8"？"},
        {'"', u8"”"},   {'<', u8"＜"}, {'>', u8"＞"}, {'|', u8"｜"},
    };
    std::string out;
    out.reserve(text.size());
    bool clean = true;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        // The trail byte of a double-byte character is never replaced.
        if (IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < text.size()) {
            out += c;
            out += text[++i];
            continue;
        }
        bool replaced = false;
        for (const auto& [from, to] : replacements)
            if (c == from) {
                out += Sj(to);
                replaced = true;
                clean = false;
                break;
            }
        if (!replaced) out += c;
    }
    text = std::move(out);
    return clean;
}

std::string MakeExportTitle(std::string title, std::string subtitle, std::string artist,
                            std::string subartist, bool keep_subtitle) {
    SafeFileName(title);
    SafeFileName(subtitle);
    SafeFileName(artist);
    SafeFileName(subartist);
    if (!subartist.empty()) artist += " " + subartist;
    if (!keep_subtitle) {
        std::string lower = subtitle;
        for (size_t i = 0; i < lower.size(); ++i) {
            if (IsLeadByte(static_cast<unsigned char>(lower[i])) && i + 1 < lower.size()) {
                ++i;
                continue;
            }
            lower[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(lower[i])));
        }
        static const std::vector<std::string> words = {
            "5",      "7",    "9",     "10",       "14", "hyper", "another",  "mani",
            "normal", "easy", "light", "beginner", "ln", "nomal", Sj(u8"段"), "ex",
            "bga",    "sp",   "dp",    "hq",       "lq", "mq"};
        for (const std::string& w : words)
            if (lower.find(w) != std::string::npos) {
                subtitle.clear();
                break;
            }
    }
    if (subtitle.empty()) return "[" + artist + "] " + title;
    return "[" + artist + "] " + title + " " + subtitle;
}

}  // namespace qv5
