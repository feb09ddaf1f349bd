// What the progress window costs when an operation reports every item: the
// same per-item work (parsing a small chart) with a NullProgress and with a
// ProgressWindow, offscreen. Prints the ratio; near 1 means cheap.
#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "chart_gen.h"
#include "library/chart_header.h"
#include "window/common/progress_window.h"

namespace {

double Run(qv5::Progress& progress, const std::vector<std::string>& charts, int rounds) {
    const double start = qv5::bench::Now();
    long done = 0;
    const long total = static_cast<long>(charts.size()) * rounds;
    for (int r = 0; r < rounds; ++r)
        for (const std::string& chart : charts) {
            qv5::ChartRecord record;
            qv5::ParseChartHeader(record, chart);
            progress.Update(++done, total, "songs\\bench\\chart.bms");
        }
    return qv5::bench::Now() - start;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 20;
    std::vector<std::string> charts;
    for (std::uint32_t i = 0; i < 500; ++i) charts.push_back(qv5::bench::MakeChart(i, 8192));
    double best_null = 1e9, best_window = 1e9;
    for (int trial = 0; trial < 3; ++trial) {
        qv5::NullProgress null_progress;
        best_null = std::min(best_null, Run(null_progress, charts, rounds));
        qv5::ProgressWindow window(nullptr, "bench");
        best_window = std::min(best_window, Run(window, charts, rounds));
    }
    std::printf("items: %zu, NullProgress: %.3f s, ProgressWindow: %.3f s\n",
                charts.size() * static_cast<size_t>(rounds), best_null, best_window);
    std::printf("ratio ProgressWindow/NullProgress: %.2f\n", best_window / best_null);
    return 0;
}
