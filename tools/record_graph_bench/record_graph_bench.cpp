// record_graph_bench [--runs R]
// Fills a data buffer of 3,000,000 bytes with a page of sound-level records (five channels,
// some levels missing), then, in the same run, reads every level of every record through the
// buffer's view of its records alone, and builds the view's graph of the page as the program
// does when it opens it (a graph window on a shown parent, its axes and series, every point,
// the page fit and the widened level range). Prints the best time of each over R runs (5 by
// default) and their ratio.

#include <QApplication>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "acquisition/data_buffer.h"
#include "charts/record_graph.h"
#include "graph/graph_wnd.h"
#include "records/record_layout.h"

using namespace acquisition;

namespace {

// The recording the bench fills the graph from: a sound level meter's levels.
const records::RecordKind kLevels = records::RecordKind::OfModeText("SLM");
constexpr int kWidth = 1000;
constexpr int kHeight = 300;
constexpr unsigned kChildVisible = 0x50000000;

double Milliseconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double Best(int runs, const std::function<void()>& work) {
    double best = Milliseconds(work);
    for (int i = 1; i < runs; ++i)
        best = std::min(best, Milliseconds(work));
    return best;
}

// A full buffer: the page's start text, then as many records as fit, levels wandering between
// 20 and 120 dB, one in a thousand missing.
std::vector<unsigned char> FullBuffer() {
    std::string page = "2024/03/09 14:05:07 ";
    const records::RecordLayout layout(kLevels);
    const long long records =
        (static_cast<long long>(records::kDataBufferSize) - records::kPageStartBytes) /
        layout.RecordBytes();
    std::mt19937 random(7);
    std::normal_distribution<double> step(0, 8);
    std::uniform_int_distribution<int> gap(0, 999);
    std::vector<double> level(5, 600);
    for (long long r = 0; r < records; ++r) {
        std::vector<std::uint16_t> values;
        for (int p = 0; p < 5; ++p) {
            level[p] = std::clamp(level[p] + step(random), 200.0, 1200.0);
            values.push_back(gap(random) == 0 ? records::kNoValue
                                              : static_cast<std::uint16_t>(level[p]));
        }
        page += records::EncodeRecord(
            records::PackTimeWord(static_cast<int>(r / 3600 % 16), static_cast<int>(r / 60 % 60),
                                  static_cast<int>(r % 60)),
            values);
    }
    std::vector<unsigned char> buffer(records::kDataBufferSize, 0xFF);
    std::memcpy(buffer.data(), page.data(), page.size());
    return buffer;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int runs = 5;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--runs")
            runs = std::max(1, std::atoi(argv[i + 1]));

    const std::vector<unsigned char> buffer = FullBuffer();
    const DataBufferView records(buffer, records::RecordLayout(kLevels));
    const long long count = records.SampleCount();

    double sum = 0;
    const double read = Best(runs, [&] {
        sum = 0;
        for (long long r = 0; r < count; ++r)
            for (int p = 0; p < charts::kLevelChannels; ++p)
                if (const auto word = records.Value(r, p))
                    sum += charts::GraphLevel(*word);
    });

    QWidget parent;
    parent.resize(kWidth, kHeight);
    parent.show();
    QApplication::processEvents();
    long long points = 0;
    const double fill = Best(runs, [&] {
        graph::CGraphWnd graph(32);
        graph.Create("Graph Window", {0, 0, kWidth, kHeight}, &parent, 11000, kChildVisible);
        const std::vector<int> series = charts::SetUpRecordGraph(graph, kLevels, false, false);
        charts::FillDataGraph(graph, records, count, series, charts::LevelGraphOptions{});
        charts::WidenLevelBounds(graph);
        points = 0;
        for (int s : series)
            if (const graph::CGraphProps* props = graph.GetGraph(s))
                points += props->GetCount();
    });

    std::printf("records %lld, points %lld (level sum %.0f)\n", count, points, sum);
    std::printf("reading the records alone  %9.2f ms\n", read);
    std::printf("filling the data graph     %9.2f ms\n", fill);
    std::printf("ratio fill / read          %9.1f\n", fill / read);
    return 0;
}
