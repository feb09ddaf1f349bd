// Fetching tables from a real HTTP server on 127.0.0.1 (two of them, for a
// redirect to another port), laid out as tables are published, and the
// hostile answers.
#include "tables/table_fetch.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <memory>

#include "platform/text.h"
#include "support/http_server.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

const char* kMd5 = "0123456789abcdef0123456789abcdef";

std::string Header(const std::string& name, const std::string& data_url,
                   const std::string& more = "") {
    return R"({"name":")" + name + R"(","symbol":"sl","data_url":")" + data_url + "\"" + more + "}";
}

std::string Data(int entries) {
    std::string out = "[";
    for (int i = 0; i < entries; ++i)
        out += std::string(i ? "," : "") + R"({"level":)" + std::to_string(i % 3) + R"(,"md5":")" +
               kMd5 + R"(","title":"t"})";
    return out + "]";
}

std::string Page(const std::string& meta) {
    return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><meta name=\"bmstable\" content=\"" +
           meta + "\"></head><body>table</body></html>";
}

class TableFetchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"http_proxy", "https_proxy", "all_proxy", "ALL_PROXY"})
            unsetenv(name);
        setenv("no_proxy", "127.0.0.1", 1);
    }
    bool Fetch(const std::string& source, FetchedTable& out, std::string& error,
               const HttpOptions& options = TableHttpOptions()) {
        NullProgress progress;
        return FetchTable(source, options, progress, out, error);
    }
    test::HttpServer server, other;
};

// Each layout found in published tables, from its source to its data.
TEST_F(TableFetchTest, LayoutsAsTablesArePublished) {
    const std::string bom = "\xEF\xBB\xBF";
    server.Serve("/a/table.html", Page("./header_insane.json"));
    server.Serve("/a/header_insane.json", bom + Header("A", "../data/a.json"));
    server.Serve("/data/a.json", bom + Data(4));
    server.Serve("/b/", Page("../h/header.json"));
    server.Serve("/h/header.json", Header("B", other.Url("/d/b.json")), "deflate");
    other.Serve("/d/b.json", Data(5), "gzip");
    // A script service: a 302 to another host, whose page names its header
    // relative to itself.
    server.Serve("/exec", "", "redirect " + other.Url("/moved/table.html"));
    other.Serve("/moved/table.html", Page("header.json"));
    other.Serve("/moved/header.json", Header("C", "data.json"));
    other.Serve("/moved/data.json", R"({"charts":)" + Data(2) + "}");
    server.Serve(
        "/d/header.json",
        Header(
            "D", "data.json",
            R"(,"level_order":[1,2,"10",9.5,"???"],"course":[[{"name":"x","md5":[]}],[{"name":"y"},{"name":"z"}]])"));
    server.Serve("/d/data.json", Data(3));
    // A page that became a script redirect, and a folder that answers 404:
    // both have header.json beside them.
    server.Serve("/e/index.html", "<script>location.href='x.html'</script>");
    server.Serve("/e/header.json", Header("E", "data.json"));
    server.Serve("/e/data.json", Data(1));
    server.Serve("/f/", "gone", "missing");
    server.Serve("/f/header.json", Header("F", "data.json"));
    server.Serve("/f/data.json", Data(1));

    test::TempGame game;
    game.WriteFile("offline/page.html", Page("tables/header.json"));
    game.WriteFile("offline/tables/header.json", Header("G", "../data.json"));
    game.WriteFile("offline/data.json", Data(2));
    std::string error;
    const auto local = TableSource("offline/page.html", game.host(), error);
    ASSERT_TRUE(local) << error;

    const struct {
        std::string source;
        std::string name;
        size_t entries;
        std::string page, header, data;  // the addresses that answered
        std::string more;                // levels of the order, courses
    } cases[] = {
        {server.Url("/a/table.html"), "A", 4, server.Url("/a/table.html"),
         server.Url("/a/header_insane.json"), server.Url("/data/a.json"), "|0"},
        {server.Url("/b/"), "B", 5, server.Url("/b/"), server.Url("/h/header.json"),
         other.Url("/d/b.json"), "|0"},
        {server.Url("/exec?key=1"), "C", 2, other.Url("/moved/table.html"),
         other.Url("/moved/header.json"), other.Url("/moved/data.json"), "|0"},
        {server.Url("/d/header.json"), "D", 3, "", server.Url("/d/header.json"),
         server.Url("/d/data.json"), "1,2,10,9.5,???|3"},
        {server.Url("/e/index.html"), "E", 1, server.Url("/e/index.html"),
         server.Url("/e/header.json"), server.Url("/e/data.json"), "|0"},
        {server.Url("/f/"), "F", 1, server.Url("/f/"), server.Url("/f/header.json"),
         server.Url("/f/data.json"), "|0"},
        {*local, "G", 2, *local, "file://" + game.HostPath("offline/tables/header.json"),
         "file://" + game.HostPath("offline/data.json"), "|0"},
    };
    for (const auto& c : cases) {
        FetchedTable t;
        ASSERT_TRUE(Fetch(c.source, t, error)) << c.source << ": " << Cp932ToUtf8(error);
        EXPECT_EQ(t.header.name, c.name);
        EXPECT_EQ(t.data.entries.size(), c.entries) << c.source;
        EXPECT_EQ(t.page_url, c.page) << c.source;
        EXPECT_EQ(t.header_url, c.header) << c.source;
        EXPECT_EQ(t.data_url, c.data) << c.source;
        std::string levels;
        for (const std::string& l : t.header.level_order) levels += (levels.empty() ? "" : ",") + l;
        EXPECT_EQ(levels + "|" + std::to_string(t.header.courses.size()), c.more) << c.source;
    }
    // Kept as received (the byte-order mark too), decoded from gzip.
    FetchedTable a, b;
    ASSERT_TRUE(Fetch(server.Url("/a/table.html"), a, error));
    EXPECT_EQ(a.data_bytes, bom + Data(4));
    ASSERT_TRUE(Fetch(server.Url("/b/"), b, error));
    EXPECT_EQ(b.data_bytes, Data(5));
    EXPECT_NE(server.Log().find("AGENT QV5SETUP/"), std::string::npos) << server.Log();
}

// Hostile and broken answers: each a message naming the address and why.
TEST_F(TableFetchTest, HostileAndBrokenAnswers) {
    std::string big = "[";
    for (int i = 0; i < 2000000; ++i) big += i ? ",{}" : "{}";
    big += "]";
    server.Serve("/big/header.json", Header("Big", "data.json"));
    server.Serve("/big/data.json", big);
    server.Serve("/file/header.json", Header("X", "file:///etc/passwd"));
    server.Serve("/ftp/header.json", Header("X", "ftp://127.0.0.1/data.json"));
    server.Serve("/js/header.json", Header("X", "javascript:alert(1)"));
    server.Serve("/self/header.json", Header("X", "header.json#again"));
    server.Serve("/line/header.json", Header("X", "data\\n.json"));
    server.Serve("/port/header.json", Header("Port", other.Url("/data.json")));
    other.Serve("/data.json", Data(2));
    server.Serve("/nometa/page.html", "<html><head><title>t</title></head></html>");
    server.Serve("/bad/header.json", "{\"name\":");
    server.Serve("/noname/header.json", R"({"data_url":"d.json"})");
    server.Serve("/empty/header.json", Header("X", "data.json"));
    server.Serve("/empty/data.json", R"([{"title":"no level"}])");
    server.Serve("/slow/header.json", Header("X", "data.json"));
    server.Serve("/slow/data.json", "", "slow");
    server.Serve("/endless/header.json", Header("X", "data.json"));
    server.Serve("/endless/data.json", "[{},", "endless");
    server.Serve("/utf8/header.json", Header("X\xC3(\xFF", "data.json"));
    server.Serve("/utf8/data.json",
                 "[{\"level\":\"\xE3\x81\",\"md5\":\"\xFF\",\"title\":\"\xED\xA0\x80\"}]");

    server.SetMode("missing");  // what has no file of its own
    HttpOptions quick = TableHttpOptions();
    quick.total_timeout_ms = 700;
    quick.max_body_bytes = 16 << 20;
    const struct {
        std::string path;
        std::string failed;  // the address in the message; empty: fetched
        std::string why;     // part of the message
    } cases[] = {
        {"/big/header.json", "/big/data.json", "250000"},
        {"/file/header.json", "/file/header.json", "file:"},
        {"/ftp/header.json", "/ftp/header.json", "ftp:"},
        {"/js/header.json", "/js/header.json", "javascript:"},
        {"/self/header.json", "/self/header.json", "data_url"},
        {"/line/header.json", "/line/header.json", "data_url"},
        {"/port/header.json", "", ""},
        {"/nometa/page.html", "/nometa/page.html", "bmstable"},
        {"/bad/header.json", "/bad/header.json", "JSON"},
        {"/noname/header.json", "/noname/header.json", "name"},
        {"/empty/header.json", "/empty/data.json", ""},
        {"/slow/header.json", "/slow/data.json", "imed out"},
        {"/endless/header.json", "/endless/data.json", "16 MiB"},
        {"/missing.json", "/missing.json", "404"},
        {"/utf8/header.json", "", ""},
    };
    for (const auto& c : cases) {
        FetchedTable t;
        std::string error;
        const bool ok = Fetch(server.Url(c.path), t, error, quick);
        const std::string said = Cp932ToUtf8(error);
        EXPECT_EQ(ok, c.failed.empty()) << c.path << ": " << said;
        if (ok) continue;
        EXPECT_NE(said.find(server.Url(c.failed) + ":"), std::string::npos)
            << c.path << ": " << said;
        EXPECT_NE(said.find(c.why), std::string::npos) << c.path << ": " << said;
    }
    FetchedTable t;
    std::string error;
    ASSERT_TRUE(Fetch(server.Url("/utf8/header.json"), t, error, quick));
    EXPECT_EQ(t.header.name, "X\xEF\xBF\xBD(\xEF\xBF\xBD");
    ASSERT_EQ(t.data.entries.size(), 1u);
    EXPECT_EQ(t.data.entries[0].key, EntryKey::None);
    // No connection at all.
    EXPECT_FALSE(Fetch("http://127.0.0.1:1/table.html", t, error));
    EXPECT_NE(Cp932ToUtf8(error).find("http://127.0.0.1:1/table.html: "), std::string::npos)
        << error;
}

}  // namespace
}  // namespace qv5
