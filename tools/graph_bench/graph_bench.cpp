// graph_bench [points...]
// Draws one long series (250,000 and 2,500,000 levels by default) into a 1,000 x 300 pixel
// graph panel, and the same points as one bare QPainter polyline into an image of the same
// size, in the same run, and prints the times and their ratio. The polyline's points are
// mapped to pixels before its clock starts; the graph's time includes all of its work. The
// graph's first drawing also builds the series' min/max envelope and is shown apart.
//
// On the largest count it then zooms into the middle tenth of the panel four times ("Zoom +"
// on a rectangle) and pans with Shift and the mouse, at the whole page and at a hundredth of
// it; each step is timed as the operator meets it (the command and the window's repaint) and
// compared with a bare polyline of the points that step shows.

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "graph/graph_commands.h"
#include "graph/graph_panel.h"
#include "graph/graph_wnd.h"
#include "platform/colors.h"

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 300;
constexpr int kRuns = 5;
constexpr COLORREF kBlue = 0xFF0000;
constexpr int kZoomSteps = 4;
constexpr int kPanSteps = 5;
constexpr int kPanPixels = 100;

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

// The points a range shows (one more on each side, as the graph draws them), mapped to pixels.
QPolygonF VisiblePolyline(const std::vector<double>& levels, const graph::VisibleRange& range) {
    graph::CAxisScale x;
    graph::CAxisScale y;
    x.Init(0, kWidth - 1, range.xFrom, range.xTo);
    y.Init(kHeight - 1, 0, range.yFrom, range.yTo);
    const int count = static_cast<int>(levels.size());
    const int first = std::clamp(static_cast<int>(std::ceil(range.xFrom)) - 1, 0, count - 1);
    const int last = std::clamp(static_cast<int>(std::floor(range.xTo)) + 1, 0, count - 1);
    QPolygonF polyline;
    polyline.reserve(last - first + 1);
    for (int i = first; i <= last; ++i)
        polyline.append(QPointF(x.ValueToPixel(i), y.ValueToPixel(levels[i])));
    return polyline;
}

double BarePolyline(QImage& image, const QPolygonF& polyline) {
    return Best([&] {
        QPainter painter(&image);
        painter.fillRect(image.rect(), Qt::white);
        painter.setPen(QPen(platform::ToQColor(kBlue), 1));
        painter.drawPolyline(polyline);
    });
}

void Mouse(QWidget& panel, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, panel.mapToGlobal(at), Qt::LeftButton, buttons,
                      Qt::ShiftModifier);
    QApplication::sendEvent(&panel, &event);
}

void Step(const char* what, int step, const std::vector<double>& levels, QImage& image,
          graph::CGraphPanel& panel, const std::function<void()>& command) {
    const double graphTime = Milliseconds(command);
    const QPolygonF polyline = VisiblePolyline(levels, panel.Range());
    const double bare = BarePolyline(image, polyline);
    std::printf("  %-5s %d  %9lld points shown  graph %7.2f ms  polyline %8.2f ms  "
                "polyline/graph %7.1f\n",
                what, step, static_cast<long long>(polyline.size()), graphTime, bare,
                bare / graphTime);
}

void ZoomAndPan(const std::vector<double>& levels, graph::CGraphWnd& graph, QImage& image) {
    QWidget parent;
    parent.resize(kWidth, kHeight);
    graph.SetParentWindow(&parent);
    graph.Window()->setGeometry(0, 0, kWidth, kHeight);
    graph.ShowWindow(true);
    parent.show();
    // The panel repaints at once only once its window is on the screen.
    while (!parent.windowHandle() || !parent.windowHandle()->isExposed())
        QApplication::processEvents();
    graph::CGraphPanel& panel = *graph.Panel();
    const int count = static_cast<int>(levels.size());
    graph.SetVisibleRange(0, count - 1, 0, 130, 1);
    const int w = panel.width();
    const int h = panel.height();

    for (int step = 1; step <= kZoomSteps; ++step) {
        Step("zoom", step, levels, image, panel, [&] {
            panel.ShowZoomRect({w / 2 - w / 20, 0, w / 2 + w / 20, h});
            panel.OnMenuCommand(graph::kZoomInCommand);
        });
    }
    for (int zoomOut : {0, 2}) {
        panel.OnMenuCommand(graph::kZoomOutCommand);
        graph.SetVisibleRange(0, count - 1, 0, 130, 1);
        for (int i = 0; i < zoomOut; ++i) {
            panel.ShowZoomRect({w / 2 - w / 20, 0, w / 2 + w / 20, h});
            panel.OnMenuCommand(graph::kZoomInCommand);
        }
        std::printf("  pan at 1/%d of the page:\n", zoomOut ? 100 : 1);
        QPoint at(w - 50, h / 2);
        Mouse(panel, QEvent::MouseButtonPress, at, Qt::LeftButton);
        for (int step = 1; step <= kPanSteps; ++step) {
            at -= QPoint(kPanPixels, 0);
            Step("pan", step, levels, image, panel,
                 [&] { Mouse(panel, QEvent::MouseMove, at, Qt::LeftButton); });
        }
        Mouse(panel, QEvent::MouseButtonRelease, at, Qt::NoButton);
    }
    graph.SetParentWindow(nullptr);
}

void Compare(int count, bool zoomAndPan) {
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
    const double bare = BarePolyline(image, VisiblePolyline(levels, panel.Range()));

    std::printf(
        "%9d points  load %8.1f ms  graph first %7.2f ms  graph %7.2f ms  "
        "polyline %8.2f ms  polyline/graph %7.1f\n",
        count, load, first, drawn, bare, bare / drawn);
    if (zoomAndPan)
        ZoomAndPan(levels, graph, image);
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
    const int largest = *std::max_element(counts.begin(), counts.end());
    for (int count : counts)
        if (count > 1)
            Compare(count, count == largest);
    return 0;
}
