// Fetching a table from its source: a table page (HTML with the bmstable
// meta), the header JSON itself, a folder address ending in "/", or a file
// on this machine (a page or a header kept offline).
#pragma once

#include <optional>
#include <string>

#include "platform/http.h"
#include "platform/progress.h"
#include "tables/table.h"

namespace qv5 {

struct FetchedTable {
    std::string source;      // the source as kept: an absolute address
    std::string page_url;    // the page that named the header; empty when none did
    std::string header_url;  // the addresses that answered, after redirects
    std::string data_url;
    std::string header_bytes, data_bytes;  // as received
    TableHeader header;
    TableData data;
};

// What a table is fetched with: this program's name and version as the
// user agent, gzip and deflate, at most kMaxTableFileBytes a file, and the
// score download's timeouts.
HttpOptions TableHttpOptions();

// The source named on the command line as an address: an http or https
// address as it is, anything else a file (relative to `start_dir`, a host
// folder) that must exist. nullopt with a message (CP932) otherwise.
std::optional<std::string> TableSource(const std::string& argument, const std::string& start_dir,
                                       std::string& error);

// Fetches the page (when the source is one), the header and the data, and
// checks them whole: false, with a message (CP932) naming the address that
// failed and why, unless both files are a table's with at least one entry.
// Relative addresses are resolved against the address that answered; a
// table's own addresses must be http or https (a file source may name
// files beside it only by relative addresses).
bool FetchTable(const std::string& source, const HttpOptions& options, Progress& progress,
                FetchedTable& out, std::string& error);

}  // namespace qv5
