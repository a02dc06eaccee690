// graph_bench [points...]
// Draws one long series (250,000 and 2,500,000 levels by default) into a 1,000 x 300 pixel
// graph panel, and the same points as one bare QPainter polyline into an image of the same
// size, in the same run, and prints the times and their ratio. The polyline's points are
// mapped to pixels before its clock starts; the graph's time includes all of its work. The
// graph's first drawing also builds the series' min/max envelope and is shown apart.

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "graph/graph_panel.h"
#include "graph/graph_wnd.h"
#include "platform/colors.h"

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 300;
constexpr int kRuns = 5;
constexpr COLORREF kBlue = 0xFF0000;

double Milliseconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// The fastest of a few runs: the least disturbed by the rest of the machine.
double Best(const std::function<void()>& work) {
    double best = Milliseconds(work);
    for (int i = 1; i < kRuns; ++i)
        best = std::min(best, Milliseconds(work));
    return best;
}

std::vector<double> Levels(int count) {
    std::mt19937 random(count);
    std::normal_distribution<double> step(0, 1.5);
    std::vector<double> levels(count);
    double level = 60;
    for (double& value : levels) {
        level = std::clamp(level + step(random), 20.0, 120.0);
        value = level;
    }
    return levels;
}

void Compare(int count) {
    const std::vector<double> levels = Levels(count);

    graph::CGraphWnd graph(32);
    graph.Create("Graph Window", {0, 0, kWidth, kHeight}, nullptr, 11000, 0);
    const int series = graph.AddGraph(kBlue, "", 0, true, false);
    const double load = Milliseconds([&] {
        for (int i = 0; i < count; ++i)
            graph.AddPoint(series, i, levels[i], 0);
    });
    graph.UpdateVisibleRange(graph::CGraphPanel::kAutoExtend | graph::CGraphPanel::kReadout, 0);
    graph.SetVisibleRange(0, count - 1, 0, 130, 0);
    graph::CGraphPanel& panel = *graph.Panel();

    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    auto drawGraph = [&] {
        QPainter painter(&image);
        panel.RenderAll(painter, {0, 0, kWidth, kHeight});
    };
    const double first = Milliseconds(drawGraph);
    const double drawn = Best(drawGraph);

    graph::CAxisScale x;
    graph::CAxisScale y;
    x.Init(0, kWidth - 1, 0, count - 1);
    y.Init(kHeight - 1, 0, 0, 130);
    QPolygonF polyline;
    polyline.reserve(count);
    for (int i = 0; i < count; ++i)
        polyline.append(QPointF(x.ValueToPixel(i), y.ValueToPixel(levels[i])));
    const double bare = Best([&] {
        QPainter painter(&image);
        painter.fillRect(image.rect(), Qt::white);
        painter.setPen(QPen(platform::ToQColor(kBlue), 1));
        painter.drawPolyline(polyline);
    });

    std::printf(
        "%9d points  load %8.1f ms  graph first %7.2f ms  graph %7.2f ms  "
        "polyline %8.2f ms  polyline/graph %7.1f\n",
        count, load, first, drawn, bare, bare / drawn);
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i)
        counts.push_back(std::atoi(argv[i]));
    if (counts.empty())
        counts = {250000, 2500000};
    for (int count : counts)
        if (count > 1)
            Compare(count);
    return 0;
}
