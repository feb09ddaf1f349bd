#include "platform/http.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace qv5 {
namespace {

struct Transfer {
    const std::function<bool(std::string_view)>* on_block;
    Progress* progress;
    std::string address;  // what the progress shows
    std::int64_t received = 0, limit = 0;
    bool reader_stopped = false, too_large = false;
};

size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto& t = *static_cast<Transfer*>(user);
    const size_t n = size * count;
    t.received += static_cast<std::int64_t>(n);
    // Returning less than was given makes libcurl end the transfer.
    if (t.received > t.limit) {
        t.too_large = true;
        return 0;
    }
    if (!(*t.on_block)(std::string_view(data, n))) {
        t.reader_stopped = true;
        return 0;
    }
    return n;
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

HttpResult HttpGet(const std::string& url, const HttpOptions& options, Progress& progress,
                   const std::function<bool(std::string_view block)>& on_block) {
    GlobalInit();
    HttpResult result;
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl) {
        result.error = "cannot start the HTTP client";
        return result;
    }
    // The query may carry credentials; the progress names only the address.
    Transfer t{&on_block, &progress, url.substr(0, url.find('?')), 0, options.max_body_bytes};
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
    // A length announced beyond the limit is refused before the body comes.
    curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, curl_off_t{options.max_body_bytes});
    // "" offers every encoding this libcurl can decode (gzip, deflate, ...).
    if (options.accept_compressed) curl_easy_setopt(c, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &OnBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, &OnProgress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &t);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    const CURLcode rc = curl_easy_perform(c);
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &result.status);
    const char* effective = nullptr;
    if (curl_easy_getinfo(c, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK && effective)
        result.effective_url = effective;

    if (t.too_large || rc == CURLE_FILESIZE_EXCEEDED) {
        result.end = HttpEnd::TooLarge;
    } else if (t.reader_stopped) {
        result.end = HttpEnd::StoppedByReader;
    } else if (rc == CURLE_ABORTED_BY_CALLBACK) {
        result.end = HttpEnd::StoppedByUser;
    } else if (rc != CURLE_OK) {
        result.end = HttpEnd::Failed;
        result.error = error[0] ? error : curl_easy_strerror(rc);
    } else {
        result.end = HttpEnd::Complete;
    }
    return result;
}

}  // namespace qv5
