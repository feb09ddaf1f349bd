// The contracts the headers state, checked in debug builds: a call that
// breaks one stops there rather than reading or writing something else.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/database.h"
#include "platform/transaction.h"
#include "platform/ui_service.h"
#include "platform/win_path.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

#ifdef NDEBUG
#define SKIP_WITHOUT_ASSERTS() GTEST_SKIP() << "asserts are compiled out"
#else
#define SKIP_WITHOUT_ASSERTS() (void)0
#endif

class ContractsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SKIP_WITHOUT_ASSERTS();
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        ASSERT_TRUE(db.Open("t.db"));
        ASSERT_TRUE(db.Exec("CREATE TABLE t(a INTEGER, b TEXT)"));
        ASSERT_TRUE(db.Exec("INSERT INTO t VALUES(1, 'x')"));
    }
    test::TempGame game;
    Database db;
};

TEST_F(ContractsTest, AStatementIsReadAndBoundWithinItsColumnsAndParameters) {
    Statement s = db.Prepare("SELECT a, b FROM t WHERE a = ?1");
    ASSERT_TRUE(s);
    s.Bind(1, std::int64_t{1});
    ASSERT_TRUE(s.Step());
    EXPECT_EQ(s.Int(0), 1);
    EXPECT_EQ(s.Text(1), "x");
    const struct {
        const char* what;
        std::function<void()> call;
    } cases[] = {
        {"column 2 of 2", [&] { s.Int(2); }},
        {"column -1", [&] { s.Int64(-1); }},
        {"text past the end", [&] { s.Text(5); }},
        {"null past the end", [&] { s.IsNull(2); }},
        {"parameter 0", [&] { s.Bind(0, std::int64_t{1}); }},
        {"parameter 2 of 1", [&] { s.Bind(2, std::string_view("a")); }},
        {"raw parameter 2 of 1", [&] { s.BindRaw(2, "a"); }},
    };
    for (const auto& c : cases) EXPECT_DEATH(c.call(), "Has(Column|Parameter)") << c.what;
}

TEST_F(ContractsTest, ATransactionEndedByAnotherCannotCommit) {
    Transaction tx(db);
    ASSERT_TRUE(tx.ok());
    ASSERT_TRUE(db.Exec("COMMIT"));  // behind the transaction's back
    EXPECT_DEATH((void)tx.Commit(), "InTransaction");
}

TEST_F(ContractsTest, ANameJoinedBelowAFolderIsOneName) {
    EXPECT_EQ(WinPath("songs").Join("a.bms").text(), "songs\\a.bms");
    EXPECT_EQ(WinPath("songs\\").Join("pack\\a.bms").text(), "songs\\pack\\a.bms");
    for (const char* name : {"", "\\a.bms", "/a.bms", "C:a.bms"})
        EXPECT_DEATH(WinPath("songs").Join(name), "name") << name;
}

TEST_F(ContractsTest, TheUiServiceIsInstalledBeforeItIsAsked) {
    std::unique_ptr<UiService> old = SetUi(nullptr);
    EXPECT_DEATH(Ui(), "Current");
    SetUi(std::move(old));
}

}  // namespace
}  // namespace qv5
