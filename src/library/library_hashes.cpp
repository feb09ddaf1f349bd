#include "library/library_hashes.h"

#include "platform/text.h"

namespace qv5 {

bool ReadChartHashes(Database& db, ChartHashes& out, std::string& error) {
    out.clear();
    Statement s = db.Prepare("SELECT hash, path FROM song");
    if (!s) {
        error = db.LastError();
        return false;
    }
    while (s.Step()) {
        std::string hash = s.Text(0);
        if (hash.empty()) continue;
        LowerAsciiInPlace(hash);  // written by another program, perhaps in capitals
        out[std::move(hash)].push_back(s.Text(1));
    }
    if (s.Failed()) {
        error = db.LastError();
        return false;
    }
    return true;
}

}  // namespace qv5
