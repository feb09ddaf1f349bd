#include "platform/http.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace qv5 {
namespace {

struct Transfer {
    const std::function<bool(std::string_view)>* on_line;
    Progress* progress;
    std::string address;  // what the progress shows
    std::string pending;  // bytes of a line not yet ended
    bool reader_stopped = false;
};

// Hands every complete line of `pending` to the reader; false once it stops.
bool DeliverLines(Transfer& t) {
    size_t start = 0;
    for (;;) {
        size_t end = t.pending.find('\n', start);
        if (end == std::string::npos) break;
        size_t len = end - start;
        if (len > 0 && t.pending[end - 1] == '\r') --len;
        if (!(*t.on_line)(std::string_view(t.pending).substr(start, len))) {
            t.reader_stopped = true;
            return false;
        }
        start = end + 1;
    }
    t.pending.erase(0, start);
    return true;
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto& t = *static_cast<Transfer*>(user);
    const size_t n = size * count;
    t.pending.append(data, n);
    // Returning less than was given makes libcurl end the transfer.
    return DeliverLines(t) ? n : 0;
}

int OnProgress(void* user, curl_off_t total, curl_off_t now, curl_off_t, curl_off_t) {
    auto& t = *static_cast<Transfer*>(user);
    t.progress->Update(long(now), total > 0 ? long(total) : -1, t.address);
    return t.progress->StopRequested() ? 1 : 0;
}

void GlobalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

HttpResult HttpGetLines(const std::string& url, const HttpOptions& options, Progress& progress,
                        const std::function<bool(std::string_view line)>& on_line) {
    GlobalInit();
    HttpResult result;
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl) {
        result.error = "cannot start the HTTP client";
        return result;
    }
    // The query may carry credentials; the progress names only the address.
    Transfer t{&on_line, &progress, url.substr(0, url.find('?')), {}, false};
    char error[CURL_ERROR_SIZE] = {};
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_USERAGENT, options.user_agent.c_str());
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, options.connect_timeout_ms);
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, options.total_timeout_ms);
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &OnBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, &OnProgress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &t);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    const CURLcode rc = curl_easy_perform(c);
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &result.status);

    if (t.reader_stopped) {
        result.end = HttpEnd::StoppedByReader;
    } else if (rc == CURLE_ABORTED_BY_CALLBACK) {
        result.end = HttpEnd::StoppedByUser;
    } else if (rc != CURLE_OK) {
        result.end = HttpEnd::Failed;
        result.error = error[0] ? error : curl_easy_strerror(rc);
    } else {
        result.end = HttpEnd::Complete;
        if (!t.pending.empty() && !on_line(t.pending)) result.end = HttpEnd::StoppedByReader;
    }
    return result;
}

}  // namespace qv5
