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
    HttpResult Get(const std::string& url, std::vector<std::string>& lines,
                   const HttpOptions& options = {}) {
        NullProgress progress;
        return HttpGetLines(url, options, progress, [&](std::string_view line) {
            lines.emplace_back(line);
            return true;
        });
    }
    test::HttpServer server;
};

TEST_F(HttpTest, LinesWithoutTheirBreaks) {
    // Long enough to arrive in several pieces, so lines straddle them.
    std::string body, expected_last;
    std::vector<std::string> expected;
    for (int i = 0; i < 4000; ++i) {
        std::string line = "line " + std::to_string(i) + std::string(i % 97, 'x');
        expected.push_back(line);
        body += line + (i % 2 ? "\r\n" : "\n");
    }
    body += "\n\r\nlast\rone";  // empty lines count; a lone CR stays
    expected.insert(expected.end(), {"", "", "last\rone"});
    server.SetBody(body);
    std::vector<std::string> lines;
    HttpResult r = Get(server.Url("/a/b.cgi?x=1&y=2"), lines);
    EXPECT_EQ(r.end, HttpEnd::Complete) << r.error;
    EXPECT_EQ(r.status, 200);
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(server.Log(), "REQUEST GET /a/b.cgi?x=1&y=2 HTTP/1.1\nAGENT MFC wget\n");
}

TEST_F(HttpTest, EndsAndFailures) {
    struct Case {
        std::string mode, body;
        HttpEnd end;
        std::string error;  // part of the network layer's text
        size_t lines;
    } cases[] = {
        {"normal", "a\nb\nSTOP\nc\nd\n", HttpEnd::StoppedByReader, "", 2},
        {"cut", "a\nb\nhalf", HttpEnd::Failed, "transfer closed", 2},
        {"missing", "not here\n", HttpEnd::Failed, "404", 0},
        {"slow", "", HttpEnd::Failed, "timed out", 0},
    };
    HttpOptions quick;
    quick.total_timeout_ms = 700;
    for (const auto& c : cases) {
        server.SetMode(c.mode);
        server.SetBody(c.body);
        std::vector<std::string> lines;
        NullProgress progress;
        HttpResult r = HttpGetLines(server.Url("/x"), quick, progress, [&](std::string_view l) {
            if (l == "STOP") return false;
            lines.emplace_back(l);
            return true;
        });
        EXPECT_EQ(r.end, c.end) << c.mode;
        EXPECT_NE(r.error.find(c.error), std::string::npos) << c.mode << ": " << r.error;
        EXPECT_EQ(lines.size(), c.lines) << c.mode;
    }
    std::vector<std::string> lines;
    HttpResult r = Get("http://127.0.0.1:1/", lines);  // nobody listens
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
    HttpResult r = HttpGetLines(server.Url("/silent?passmd5=secret"), HttpOptions{}, progress,
                                [](std::string_view) { return true; });
    EXPECT_EQ(r.end, HttpEnd::StoppedByUser) << r.error;
    EXPECT_EQ(progress.seen, server.Url("/silent"));
}

TEST_F(HttpTest, ProxyFromTheEnvironment) {
    server.SetBody("via proxy\n");
    setenv("http_proxy", server.Url("").c_str(), 1);
    std::vector<std::string> lines;
    HttpResult r = Get("http://ranking.invalid/qv5ir/x.cgi?id=1", lines);
    unsetenv("http_proxy");
    EXPECT_EQ(r.end, HttpEnd::Complete) << r.error;
    EXPECT_EQ(lines, std::vector<std::string>{"via proxy"});
    EXPECT_EQ(server.Log(),
              "REQUEST GET http://ranking.invalid/qv5ir/x.cgi?id=1 HTTP/1.1\nAGENT MFC wget\n");
}

}  // namespace
}  // namespace qv5
