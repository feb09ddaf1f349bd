// HTTP GET over libcurl, the body handed over as it arrives. The proxy comes from the usual
// environment variables (http_proxy, https_proxy, all_proxy, no_proxy).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/progress.h"

namespace qv5 {

struct HttpOptions {
    std::string user_agent = "MFC wget";
    // A server that accepts and never answers must not block the window for
    // ever; a score list is small, so two minutes in all is generous.
    long connect_timeout_ms = 15000;
    long total_timeout_ms = 120000;
    // A server that never stops sending must not fill the memory or the disk:
    // the largest score list is a few MB.
    std::int64_t max_body_bytes = std::int64_t{64} << 20;
    // Ask for a gzip or deflate body and hand it over decoded (the limit then
    // bounds the decoded bytes). Off by default: the ranking service is
    // answered byte for byte as it always was.
    bool accept_compressed = false;
};

enum class HttpEnd {
    Complete,         // the whole body was read
    StoppedByReader,  // the body reader asked to stop
    TooLarge,         // the body grew beyond max_body_bytes
    StoppedByUser,    // the progress asked to stop
    Failed,           // no connection, timeout, cut connection, HTTP error status
};

struct HttpResult {
    HttpEnd end = HttpEnd::Failed;
    std::string error;  // the network layer's own text (ASCII) when Failed
    long status = 0;    // HTTP status, 0 when no response arrived
    // The address that answered, after the redirects (at most 5, http and
    // https only): what a relative address in the body is resolved against.
    std::string effective_url;
};

// Fetches `url` and hands the body to `on_block` piece by piece as it arrives,
// nothing kept here. `on_block` returns false to end the transfer there. A
// body longer than `max_body_bytes` ends it with TooLarge once the limit is
// passed. Progress gets the bytes received and the expected size (-1 when
// unknown); its stop request ends the transfer even while the server is silent.
HttpResult HttpGet(const std::string& url, const HttpOptions& options, Progress& progress,
                   const std::function<bool(std::string_view block)>& on_block);

}  // namespace qv5
