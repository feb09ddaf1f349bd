// HTTP GET over libcurl, read as lines. The proxy comes from the usual
// environment variables (http_proxy, https_proxy, all_proxy, no_proxy).
#pragma once

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
};

enum class HttpEnd {
    Complete,         // the whole body was read
    StoppedByReader,  // the line reader asked to stop
    StoppedByUser,    // the progress asked to stop
    Failed,           // no connection, timeout, cut connection, HTTP error status
};

struct HttpResult {
    HttpEnd end = HttpEnd::Failed;
    std::string error;  // the network layer's own text (ASCII) when Failed
    long status = 0;    // HTTP status, 0 when no response arrived
};

// Fetches `url` and hands the body to `on_line` one line at a time without its
// line break ("\n" or "\r\n"); a last line without a break is handed over too.
// `on_line` returns false to end the transfer there. Progress gets the bytes
// received and the expected size (-1 when unknown); its stop request ends the
// transfer even while the server is silent.
HttpResult HttpGetLines(const std::string& url, const HttpOptions& options, Progress& progress,
                        const std::function<bool(std::string_view line)>& on_line);

}  // namespace qv5
