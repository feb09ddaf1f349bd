#include "library/scanner.h"

#include <cctype>
#include <vector>

#include "library/chart_header.h"
#include "library/encodings.h"
#include "library/scanner_internal.h"
#include "library/song_library.h"
#include "platform/text.h"

namespace qv5 {
namespace {

}  // namespace

bool IsChartFile(const std::string& name) {
    if (name.size() <= 4) return false;
    std::string ext = name.substr(name.size() - 4);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".bme" || ext == ".bms" || ext == ".bml" || ext == ".pms";
}

bool IsCustomFolderFile(const std::string& name) {
    return name.size() > 10 && name.compare(name.size() - 10, 10, ".qv5folder") == 0;
}

Scanner::Scanner(Database& db, Progress* progress)
    : progress_(progress),
      info_folder_(db.Prepare(
          "INSERT INTO folder (path , title , parent , category , info_a , info_b , command , max "
          ", date , type , banner , adddate) VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12)")),
      plain_folder_(db.Prepare("INSERT INTO folder (path , title , parent , date , type , adddate) "
                               "VALUES(?1,?2,?3,?4 , 1 , ?5 )")),
      song_(db.Prepare(
          "INSERT INTO song (hash,title,subtitle,genre,artist,subartist,level,date,path,folder,"
          "stagefile,banner,backbmp,parent,maxbpm,minbpm,random,longnote,judge,mode,bga,"
          "difficulty,favorite,type,txt,karinotes,adddate,exlevel) VALUES(?1,?2,?3,?4,?5,?6,?7,"
          "?8,?9,?10,?11,?12,?13,?14,?15,?16,?17,?18,?19,?20,?21,?22,0,0,?23,?24,?25,?26)")),
      song_exists_(db.Prepare("SELECT 1 FROM song WHERE path = ?1")),
      folder_exists_(db.Prepare("SELECT 1 FROM folder WHERE path = ?1")) {}

bool Scanner::InsertInfoFolder(const std::string& path, const ChartRecord& r,
                               const std::string& parent_key, std::int32_t date, std::int32_t kind,
                               std::int32_t adddate) {
    Statement& s = info_folder_;
    s.Bind(1, path);
    s.Bind(2, r.title);
    s.Bind(3, parent_key);
    s.Bind(4, r.genre);
    s.Bind(5, r.artist);
    s.Bind(6, r.subartist);
    s.Bind(7, r.tag);
    s.Bind(8, std::int64_t{r.level});
    s.Bind(9, std::int64_t{date});
    s.Bind(10, std::int64_t{kind});
    s.Bind(11, r.banner);
    s.Bind(12, std::int64_t{adddate});
    return s.Run();
}

bool Scanner::InsertPlainFolder(const std::string& path, const std::string& title,
                                const std::string& parent_key, std::int32_t date,
                                std::int32_t adddate) {
    Statement& s = plain_folder_;
    s.Bind(1, path);
    s.Bind(2, title);
    s.Bind(3, parent_key);
    s.Bind(4, std::int64_t{date});
    s.Bind(5, std::int64_t{adddate});
    return s.Run();
}

bool Scanner::InsertChart(const std::string& path, const ChartRecord& r, std::int32_t date,
                          std::int32_t adddate) {
    Statement& s = song_;
    s.Bind(1, r.hash);
    s.Bind(2, r.title);
    s.Bind(3, r.subtitle);
    s.Bind(4, r.genre);
    s.Bind(5, r.artist);
    s.Bind(6, r.subartist);
    s.Bind(7, std::int64_t{r.level});
    s.Bind(8, std::int64_t{date});
    s.Bind(9, path);
    s.Bind(10, PathKey(r.directory));
    s.Bind(11, r.stagefile);
    s.Bind(12, r.banner);
    s.Bind(13, r.backbmp);
    s.Bind(14, PathKey(r.parent_directory));
    s.Bind(15, std::int64_t{r.maxbpm});
    s.Bind(16, std::int64_t{r.minbpm});
    s.Bind(17, std::int64_t{r.random});
    s.Bind(18, std::int64_t{r.longnote});
    s.Bind(19, std::int64_t{r.judge});
    s.Bind(20, std::int64_t{r.mode});
    s.Bind(21, std::int64_t{r.bga});
    s.Bind(22, std::int64_t{r.difficulty});
    s.Bind(23, std::int64_t{r.txt});
    s.Bind(24, std::int64_t{r.note_count});
    s.Bind(25, std::int64_t{adddate});
    s.Bind(26, std::int64_t{r.exlevel});
    return s.Run();
}

bool Scanner::SongExists(const std::string& path) {
    song_exists_.Bind(1, path);
    const bool found = song_exists_.Step();
    song_exists_.Reset();
    return found;
}

bool Scanner::FolderExists(const std::string& path) {
    folder_exists_.Bind(1, path);
    const bool found = folder_exists_.Step();
    folder_exists_.Reset();
    return found;
}

bool Scanner::InsertSubfolder(const std::string& sub, const std::string& name,
                              const std::string& parent_key, std::int32_t date, std::int32_t now) {
    const std::string info = sub + "folderinfo.txt";
    if (PathExists(info)) {
        ChartRecord r;
        ReadChartHeader(r, info);
        return InsertInfoFolder(sub, r, parent_key, date, r.judge == 2 ? 2 : 1, now);
    }
    return InsertPlainFolder(sub, name, parent_key, date, now);
}

int Scanner::Scan(const std::string& path_in, const std::string& parent_path) {
    std::string path = path_in;
    if (path.empty() || path.back() != '\\') path += '\\';
    const std::int32_t now = LibraryTimeNow();
    const std::string parent_key = PathKey(parent_path);
    int count = 0;
    Report(path);
    // Rows that exist already would only fail their insert: they are looked
    // up first, and only new entries are read and timed.
    auto date_of = [](const std::string& p) {
        auto t = WriteTime(p);
        return t ? LibraryTime(*t) : -1;
    };
    std::vector<DirEntry> entries;
    ListFolder(path, entries, ListDetail::NamesAndKinds);
    for (const DirEntry& e : entries) {
        if (e.directory) {
            const std::string sub = path + e.name + "\\";
            if (FolderExists(sub)) continue;
            if (InsertSubfolder(sub, e.name, parent_key, date_of(sub), now))
                count += Scan(sub, sub);
        } else if (IsChartFile(e.name)) {
            const std::string file = path + e.name;
            ++count;
            if (SongExists(file)) continue;
            const std::int32_t date = date_of(file);
            ChartRecord r;
            ReadChartHeader(r, file);
            ++charts_read_;
            Report(file);
            InsertChart(file, r, date, now);
        } else if (IsCustomFolderFile(e.name)) {
            const std::string file = path + e.name;
            ++count;
            if (FolderExists(file)) continue;
            ChartRecord r;
            ReadChartHeader(r, file);
            InsertInfoFolder(file, r, parent_key, date_of(file), 2, now);
        }
    }
    return count;
}

void Scanner::Report(const std::string& item) {
    if (progress_) progress_->Update(charts_read_, -1, item);
}

int ScanFolder(const std::string& path, const std::string& parent_path, Progress* progress) {
    Scanner scanner(SongLibrary(), progress);
    return scanner.Scan(path, parent_path);
}

int RegisterRootFolder(const std::string& path, Progress* progress) {
    Database& db = SongLibrary();
    db.Exec("BEGIN");
    const auto time = WriteTime(path);
    if (!time) {
        db.Exec("COMMIT");
        return -1;
    }
    const std::int32_t date = LibraryTime(*time);
    const std::int32_t now = LibraryTimeNow();
    Scanner scanner(db, progress);
    const std::string name = LastPathName(path);
    if (IsDirectory(path)) {
        const std::string info = path + "folderinfo.txt";
        bool inserted;
        if (PathExists(info)) {
            ChartRecord r;
            ReadChartHeader(r, info);
            inserted = scanner.InsertInfoFolder(path, r, kRootKey, date, r.judge == 2 ? 2 : 1, now);
        } else {
            inserted = scanner.InsertPlainFolder(path, name, kRootKey, date, now);
        }
        if (inserted) scanner.Scan(path, path);
    } else if (IsCustomFolderFile(name)) {
        ChartRecord r;
        ReadChartHeader(r, path);
        std::int32_t kind = 2;
        if (r.tag == "__NEWSONG__")
            kind = 3;
        else if (r.tag == "__RIVAL__")
            kind = 4;
        else if (r.tag == "__EXPERT__" || r.tag == "__NONSTOP__" || r.tag == "__GRADE__")
            kind = 6;
        scanner.InsertInfoFolder(path, r, kRootKey, date, kind, now);
    }
    db.Exec("COMMIT");
    return 1;
}

void ScanParentFolder(const std::string& path) {
    Database& db = SongLibrary();
    db.Exec("BEGIN");
    const std::string parent = ParentPath(path);
    ScanFolder(parent, parent);
    db.Exec("COMMIT");
}

}  // namespace qv5
