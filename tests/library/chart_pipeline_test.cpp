#include "library/chart_pipeline.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/chart_header.h"
#include "library/file_hash.h"
#include "support/temp_game.h"

namespace qv5 {
namespace {

// Workers hash eight charts side by side, so they wait for that many: a
// caller that waits still gets every chart, fewer than eight or a tail past
// a multiple of eight, in the order it handed them in, read as one by one.
TEST(ChartPipelineTest, GivesEveryChartBackInOrderWhateverTheCount) {
    test::TempGame game;
    std::vector<std::string> paths;
    for (int i = 0; i < 41; ++i) {
        const std::string name = "songs/c" + std::to_string(i) + ".bms";
        std::string body = "#TITLE T" + std::to_string(i) + "\n";
        for (int m = 0; m < i; ++m) body += "#00" + std::to_string(100 + m) + "11:01010101\n";
        game.WriteFile(name, body);
        paths.push_back("songs\\c" + std::to_string(i) + ".bms");
    }
    paths.insert(paths.begin() + 5, "songs\\missing.bms");
    struct Case {
        size_t charts;
        unsigned workers;
    } cases[] = {{1, 1}, {3, 2}, {7, 2}, {8, 1}, {9, 2}, {17, 3}, {42, 2}, {42, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.charts) + " charts, " + std::to_string(c.workers) +
                     " workers");
        ChartPipeline pipeline(c.workers);
        for (size_t i = 0; i < c.charts; ++i) {
            ChartJob job;
            job.path = paths[i];
            job.adddate = static_cast<std::int32_t>(i);
            pipeline.Submit(std::move(job));
        }
        EXPECT_EQ(pipeline.pending(), c.charts);
        for (size_t i = 0; i < c.charts; ++i) {
            // A minute is a hang, not a slow machine.
            auto job = pipeline.TakeFront(std::chrono::seconds(60));
            ASSERT_TRUE(job);
            EXPECT_EQ(job->path, paths[i]);
            EXPECT_EQ(job->adddate, static_cast<std::int32_t>(i));
            if (paths[i] == "songs\\missing.bms") {
                EXPECT_FALSE(job->read);
                EXPECT_EQ(job->date, -1);
                continue;
            }
            ChartRecord alone;
            ASSERT_TRUE(ReadChartHeader(alone, paths[i]));
            EXPECT_TRUE(job->read);
            EXPECT_EQ(job->record.title, alone.title);
            EXPECT_EQ(job->record.note_count, alone.note_count);
            EXPECT_EQ(job->record.hash, alone.hash);
            EXPECT_EQ(job->record.directory, alone.directory);
            EXPECT_EQ(job->record.txt, alone.txt);
            EXPECT_GT(job->date, 0);
        }
        EXPECT_EQ(pipeline.pending(), 0u);
        EXPECT_FALSE(pipeline.TakeFront(std::chrono::milliseconds(0)));
    }
}

// A pipeline dropped with charts still queued (a stopped scan) joins its
// workers without reading the rest.
TEST(ChartPipelineTest, StopsWithChartsStillQueued) {
    test::TempGame game;
    game.WriteFile("songs/a.bms", "#TITLE A\n");
    ChartRecord alone;
    ASSERT_TRUE(ReadChartHeader(alone, "songs\\a.bms"));
    for (size_t count : {size_t{3}, size_t{100}}) {
        SCOPED_TRACE(count);
        ChartPipeline pipeline(2);
        for (size_t i = 0; i < count; ++i) {
            ChartJob job;
            job.path = "songs\\a.bms";
            job.adddate = static_cast<std::int32_t>(i);
            pipeline.Submit(std::move(job));
        }
        // The first chart comes back whole; the rest are dropped with the
        // pipeline, which must join its workers rather than hang or crash.
        auto first = pipeline.TakeFront(std::chrono::seconds(60));
        ASSERT_TRUE(first);
        EXPECT_TRUE(first->read);
        EXPECT_EQ(first->adddate, 0);
        EXPECT_EQ(first->record.hash, alone.hash);
        EXPECT_EQ(pipeline.pending(), count - 1);
    }
}

}  // namespace
}  // namespace qv5
