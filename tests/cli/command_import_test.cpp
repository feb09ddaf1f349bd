// The import commands, end to end: the real executable, a real HTTP server.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "platform/database.h"
#include "player/player_db.h"
#include "support/http_server.h"
#include "support/scoped_env.h"
#include "support/shell.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

using Result = test::ShellResult;

Result RunQv5(const test::TempGame& game, const std::string& args) {
    const std::string command = std::string("no_proxy=127.0.0.1 '") + QV5_EXE + "' --dir '" +
                                game.host() + "' " + args + " 2>&1";
    return test::RunShell(command);
}

TEST(ImportCommands, ImportCourses) {
    test::TempGame game;
    const std::string list = game.HostPath("c.xml");
    struct Case {
        std::string content;
        int code;
        std::string output;
        bool kept;
    } cases[] = {
        {"<courselist><course><title>T</title><type>1</type></course>"
         "<course><title>U</title><type>2</type></course></courselist>",
         0, "import-courses: 2 courses imported", false},
        {"<courselist><course><type>3</type></course></courselist>", 1,
         "import-courses: 0 courses imported", false},
        {"<nothing/>", 1, "コースリストの読み込みに失敗しました。", true},
    };
    for (const auto& c : cases) {
        game.WriteFile("c.xml", c.content);
        Result r = RunQv5(game, "import-courses '" + list + "'");
        EXPECT_EQ(r.code, c.code) << r.out;
        EXPECT_NE(r.out.find(c.output), std::string::npos) << r.out;
        EXPECT_EQ(game.Exists("c.xml"), c.kept);
    }
    Result r = RunQv5(game, "import-courses '" + game.HostPath("none.xml") + "'");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("no such file"), std::string::npos) << r.out;
}

TEST(ImportCommands, RestoreScores) {
    test::TempGame game;
    test::HttpServer server;
    game.WriteFile("QV5files/Config/irserver.txt", server.Url("/ir/"));
    server.SetBody(
        "<scorelist>\n<score><hash>a</hash><pg>3</pg><notes>4</notes></score>\n"
        "<score><hash>b</hash></score>\n</scorelist>\n");
    Result r = RunQv5(game, "restore-scores newbie secret 321");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("2スコアを引き継ぎました。"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("restore-scores: player newbie created with 2 scores"), std::string::npos)
        << r.out;
    EXPECT_NE(
        server.Log().find("GET /ir/restorescore.cgi?id=321&passmd5=" + PasswordDigest("secret")),
        std::string::npos);

    struct Case {
        std::string args;
        std::string body;
        std::string message;
    } cases[] = {
        {"newbie secret 321", "<scorelist><score/></scorelist>",
         "別のプレイヤー名を指定して下さい"},
        {"other secret 321", "PASS\n", "パスワードが間違っているか、無効なQV5IDです。"},
        {"other secret x", "", "無効なQV5IDです。"},
        {"ot secret 321", "<scorelist><score/></scorelist>", "IDが短すぎます。"},
    };
    for (const auto& c : cases) {
        server.SetBody(c.body);
        r = RunQv5(game, "restore-scores " + c.args);
        EXPECT_EQ(r.code, 1) << c.args << "\n" << r.out;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << c.args << "\n" << r.out;
    }
    EXPECT_EQ(ListPlayers(), std::vector<std::string>{"newbie"});

    r = RunQv5(game, "restore-scores newbie secret");
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.out.find("restore-scores ID PASSWORD IRID"), std::string::npos) << r.out;
    r = RunQv5(game, "--help");
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("import-courses FILE"), std::string::npos) << r.out;
}

TEST(ImportCommands, ImportCoursesOnALinkDeletesTheLink) {
    test::TempGame game;
    game.WriteFile("lists/real.xml",
                   "<courselist><course><title>T</title><type>1</type></course></courselist>");
    std::filesystem::create_symlink(game.HostPath("lists/real.xml"), game.HostPath("c.xml"));
    Result r = RunQv5(game, "import-courses '" + game.HostPath("c.xml") + "'");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_FALSE(std::filesystem::is_symlink(game.HostPath("c.xml")));
    EXPECT_TRUE(game.Exists("lists/real.xml"));
}

// QV5 started with `args`, its stderr in `log`; optionally with a ceiling on
// its address space so that a runaway cannot take the machine's memory.
pid_t StartQv5(const test::TempGame& game, std::vector<std::string> args, const std::string& log,
               rlim_t address_space = RLIM_INFINITY) {
    args.insert(args.begin(), {QV5_EXE, "--dir", game.host()});
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 2);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        const rlimit limit{address_space, address_space};
        setrlimit(RLIMIT_AS, &limit);
        setenv("no_proxy", "127.0.0.1", 1);
        execv(QV5_EXE, argv.data());
        _exit(127);
    }
    return child;
}

// Waits for the child; its exit code (-signal when killed) and peak memory.
int Wait(pid_t child, long* max_rss_kib = nullptr) {
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    if (max_rss_kib) *max_rss_kib = usage.ru_maxrss;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

TEST(ImportCommands, AnEndlessAnswerEndsWithBoundedMemory) {
    test::TempGame game;
    test::HttpServer server;
    game.WriteFile("QV5files/Config/irserver.txt", server.Url("/ir/"));
    const std::string entry = "<score><hash>a</hash><pg>3</pg><notes>4</notes></score>\n";
    server.SetBody("<scorelist>\n" + entry + "</scorelist>\n");
    long small_rss = 0, endless_rss = 0;
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer reserves terabytes of shadow space at start: no
    // ceiling there, and no quarantine of freed blocks, so that the peak
    // memory below still bounds the answer.
    const rlim_t ceiling = RLIM_INFINITY;
    const char* asan = std::getenv("ASAN_OPTIONS");
    test::ScopedEnv no_quarantine("ASAN_OPTIONS", std::string(asan ? asan : "") +
                                                      ":quarantine_size_mb=0");
#else
    const rlim_t ceiling = rlim_t{1} << 30;
#endif
    ASSERT_EQ(Wait(StartQv5(game, {"restore-scores", "small", "secret", "1"},
                            game.HostPath("a.txt"), ceiling),
                   &small_rss),
              0)
        << game.ReadFile("a.txt");
    const std::string small_list = game.ReadFile("QV5files/Config/temp.xml");
    server.SetMode("endless");
    server.SetBody(entry);
    EXPECT_EQ(Wait(StartQv5(game, {"restore-scores", "endless", "secret", "1"},
                            game.HostPath("b.txt"), ceiling),
                   &endless_rss),
              1);
    EXPECT_NE(game.ReadFile("b.txt").find("サーバーの応答が大きすぎます。"), std::string::npos)
        << game.ReadFile("b.txt");
    // Streamed: a 64 MiB answer costs no more memory than a small one.
    EXPECT_LT(endless_rss, small_rss + 16 * 1024) << small_rss << " KiB for a small list";
    EXPECT_EQ(ListPlayers(), std::vector<std::string>{"small"});
    EXPECT_EQ(game.ReadFile("QV5files/Config/temp.xml"), small_list);  // the start is not kept
}

TEST(ImportCommands, AnInterruptedRestoreListsNoPlayer) {
    test::TempGame game;
    test::HttpServer server;
    game.WriteFile("QV5files/Config/irserver.txt", server.Url("/ir/"));
    std::string body = "<scorelist>\n";
    for (int i = 0; i < 100000; ++i)
        body += "<score><hash>" + std::to_string(i) + "</hash><pg>3</pg><notes>4</notes></score>\n";
    server.SetBody(body + "</scorelist>\n");
    for (int sig : {SIGINT, SIGKILL}) {
        const pid_t child =
            StartQv5(game, {"restore-scores", "newbie", "secret", "1"}, game.HostPath("log.txt"));
        // The moment the player's database is begun, whatever its name.
        auto begun = [&] {
            std::error_code ec;
            for (const auto& e :
                 std::filesystem::directory_iterator(game.HostPath("QV5files/Database/Score"), ec))
                if (e.path().filename().string().rfind("newbie", 0) == 0) return true;
            return false;
        };
        int status = 0;
        while (!begun() && waitpid(child, &status, WNOHANG) == 0) usleep(1000);
        kill(child, sig);
        const int code = Wait(child);
        if (sig == SIGINT) {
            EXPECT_EQ(code, 1);
            EXPECT_NE(game.ReadFile("log.txt").find("stopped by the user"), std::string::npos)
                << game.ReadFile("log.txt");
        }
        EXPECT_TRUE(ListPlayers().empty()) << strsignal(sig);
    }
}

// A list near the download's limit is stored as it is read: held whole as a
// tree it took over ten times its size.
TEST(ImportCommands, ALargeListIsStoredWithBoundedMemory) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer's shadow memory and quarantine hide the peak of the reading";
#else
    test::TempGame game;
    test::HttpServer server;
    game.WriteFile("QV5files/Config/irserver.txt", server.Url("/ir/"));
    std::string body = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<scorelist>\n";
    int count = 0;
    char hash[40];
    body.reserve(61'000'000);
    for (char entry[1024]; body.size() < 60'000'000; ++count) {
        std::snprintf(hash, sizeof hash, "%032x", count);
        const int n = count % 1000;
        body.append(
            entry,
            std::snprintf(entry, sizeof entry,
                          "<score><hash>%s</hash><clear>4</clear><pg>%d</pg><gr>100</gr>"
                          "<gd>5</gd><bd>2</bd><pr>7</pr><notes>2000</notes><combo>250</combo>"
                          "<minbp>9</minbp><playcount>12</playcount><clearcount>5</clearcount>"
                          "<opt_history>33</opt_history><rate>87</rate><clear_db>2</clear_db>"
                          "<scorehash>%s</scorehash><clear_sd>3</clear_sd><clear_ex>1</clear_ex>"
                          "<opt_this>6</opt_this><rseed>%d</rseed><ghost>%s</ghost></score>\n",
                          hash, n, hash, n, hash));
    }
    server.SetBody(body + "</scorelist>\n");
    body = std::string();
    long peak_kib = 0;
    ASSERT_EQ(
        Wait(StartQv5(game, {"restore-scores", "big", "secret", "1"}, game.HostPath("log.txt")),
             &peak_kib),
        0)
        << game.ReadFile("log.txt");
    EXPECT_NE(game.ReadFile("log.txt").find(std::to_string(count) + "スコアを引き継ぎました。"),
              std::string::npos)
        << game.ReadFile("log.txt");
    Database db;
    ASSERT_TRUE(db.Open(PlayerDbPath("big"), Database::Mode::OpenExisting));
    Statement rows = db.Prepare("SELECT count(*) FROM score");
    ASSERT_TRUE(rows.Step());
    EXPECT_EQ(rows.Int(0), count);
    RecordProperty("peak_kib", std::to_string(peak_kib));
    EXPECT_LT(peak_kib, 200 * 1024) << "KiB at the peak, for a list of 60 MB";
#endif
}

}  // namespace
}  // namespace qv5
