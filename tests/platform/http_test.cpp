// The HTTP client against a real server on 127.0.0.1.
#include "platform/http.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <vector>

#include "support/http_server.h"

namespace qv5 {
namespace {

// Proxies from the developer's environment must not catch 127.0.0.1.
class HttpTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"http_proxy", "https_proxy", "all_proxy", "ALL_PROXY"})
            unsetenv(name);
        setenv("no_proxy", "127.0.0.1", 1);
    }
    // The body as received, and the number of pieces it came in.
    HttpResult Get(const std::string& url, std::string& body, const HttpOptions& options = {},
                   int* pieces = nullptr) {
        NullProgress progress;
        return HttpGet(url, options, progress, [&](std::string_view piece) {
            body.append(piece);
            if (pieces) ++*pieces;
            return true;
        });
    }
    test::HttpServer server;
};

TEST_F(HttpTest, TheBodyAsItArrives) {
    std::string body;
    for (int i = 0; i < 4000; ++i)
        body += "line " + std::to_string(i) + std::string(i % 97, 'x') + "\r\n";
    server.SetBody(body);
    std::string got;
    int pieces = 0;
    HttpResult r = Get(server.Url("/a/b.cgi?x=1&y=2"), got, {}, &pieces);
    EXPECT_EQ(r.end, HttpEnd::Complete) << r.error;
    EXPECT_EQ(r.status, 200);
    EXPECT_EQ(got, body);
    EXPECT_GT(pieces, 1);
    EXPECT_EQ(server.Log(), "REQUEST GET /a/b.cgi?x=1&y=2 HTTP/1.1\nAGENT MFC wget\n");
}

TEST_F(HttpTest, EndsAndFailures) {
    struct Case {
        std::string mode, body;
        HttpEnd end;
        std::string error;  // part of the network layer's text
        std::string got;
    } cases[] = {
        {"normal", "a\nb\nSTOP\nc\nd\n", HttpEnd::StoppedByReader, "", ""},
        // Refused on its announced length, and when it only grows.
        {"normal", std::string(3000, 'x'), HttpEnd::TooLarge, "", ""},
        {"endless", "0123456789", HttpEnd::TooLarge, "", ""},
        {"cut", "a\nb\nhalf", HttpEnd::Failed, "transfer closed", "a\nb\nhalf"},
        {"missing", "not here\n", HttpEnd::Failed, "404", ""},
        {"slow", "", HttpEnd::Failed, "timed out", ""},
    };
    HttpOptions quick;
    quick.total_timeout_ms = 700;
    quick.max_body_bytes = 2000;
    for (const auto& c : cases) {
        server.SetMode(c.mode);
        server.SetBody(c.body);
        std::string got;
        NullProgress progress;
        HttpResult r = HttpGet(server.Url("/x"), quick, progress, [&](std::string_view piece) {
            if (piece.find("STOP") != std::string_view::npos) return false;
            got.append(piece);
            return true;
        });
        EXPECT_EQ(r.end, c.end) << c.mode;
        EXPECT_NE(r.error.find(c.error), std::string::npos) << c.mode << ": " << r.error;
        if (c.mode == "endless")
            EXPECT_LE(got.size(), 2000u);
        else
            EXPECT_EQ(got, c.got) << c.mode;
    }
    std::string got;
    HttpResult r = Get("http://127.0.0.1:1/", got);  // nobody listens
    EXPECT_EQ(r.end, HttpEnd::Failed);
    EXPECT_FALSE(r.error.empty());
    EXPECT_EQ(r.status, 0);
}

// Stops as soon as it is told anything: the request must end although the
// server stays silent and the timeouts are long.
class StopAtOnce final : public Progress {
  public:
    void Update(long, long, const std::string& current) override {
        seen = current;
        RequestStop();
    }
    void SetStatus(const std::string&) override {}
    std::string seen;
};

TEST_F(HttpTest, StopRequestEndsASilentTransfer) {
    server.SetMode("slow");
    StopAtOnce progress;
    HttpResult r = HttpGet(server.Url("/silent?passmd5=secret"), HttpOptions{}, progress,
                           [](std::string_view) { return true; });
    EXPECT_EQ(r.end, HttpEnd::StoppedByUser) << r.error;
    EXPECT_EQ(progress.seen, server.Url("/silent"));
}

TEST_F(HttpTest, ProxyFromTheEnvironment) {
    server.SetBody("via proxy\n");
    setenv("http_proxy", server.Url("").c_str(), 1);
    std::string got;
    HttpResult r = Get("http://ranking.invalid/qv5ir/x.cgi?id=1", got);
    unsetenv("http_proxy");
    EXPECT_EQ(r.end, HttpEnd::Complete) << r.error;
    EXPECT_EQ(got, "via proxy\n");
    EXPECT_EQ(server.Log(),
              "REQUEST GET http://ranking.invalid/qv5ir/x.cgi?id=1 HTTP/1.1\nAGENT MFC wget\n");
}

}  // namespace
}  // namespace qv5
