// A real HTTP server on 127.0.0.1 (tests/support/http_server.py) run for the
// lifetime of the object.
#pragma once

#include <sys/types.h>

#include <string>

namespace qv5::test {

class HttpServer {
  public:
    HttpServer();
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    int port() const { return port_; }
    // "http://127.0.0.1:PORT" followed by `path`.
    std::string Url(const std::string& path) const;
    // "normal", "cut", "slow", "missing" or "endless"; see the script.
    void SetMode(const std::string& mode) const;
    void SetBody(const std::string& body) const;
    // Answers `path` ("/t/header.json"; "/t/" for the folder) with `body`,
    // as `how` says: "" (200), a mode of SetMode, "redirect URL", "gzip" or
    // "deflate" (the body compressed, for a request that accepts it).
    void Serve(const std::string& path, const std::string& body, const std::string& how = "") const;
    // "REQUEST <request line>\nAGENT <user agent>\n" per request so far.
    std::string Log() const;

  private:
    std::string dir_;
    pid_t pid_ = -1;
    int port_ = 0;
};

}  // namespace qv5::test
