// graph_bench [--pairs N] [points...]
// Loads one long series (1,000, 100,000, 1,000,000 and 10,000,000 levels by default) into a
// graph and draws it into a 1,000 x 300 pixel panel, each beside a peer that does the same
// work plainly, in the same run, the two sides taking turns:
//
// - load: the graph takes the points in one call (as the data graph's fill does), against
//   copying the same levels into a std::vector<double>; both sides allocate what they fill.
// - first draw: a freshly loaded graph's whole panel, which builds the series' min/max
//   envelope on the way, against the fair peer (fair_peer.h) on the same points: each
//   column's points found on their stored x, their lowest and highest level, and the lines the
//   graph draws. Each side is timed once, after the same cache eviction (the caches are
//   flooded with a buffer twice the last-level cache), the median of N pairs (7 by default).
//   The pixels in which the two pictures differ are counted.
// - the fair peer's own strength: its column reduction (finding the columns and their levels,
//   nothing drawn) against one plain min/max pass over the same points, timed the same way,
//   the peer in the project's place; a peer below 0.9 of a plain pass would flatter the graph.
// - repeated draw: the same graph drawn again from the envelope it keeps, against a peer that
//   keeps its columns as well and only draws their lines.
//
// Each ratio is printed as "ratio <name> <value>", the value being the project's speed over
// the peer's (the peer's time over the graph's), the median of the paired runs; the system's
// load average is printed with each size, as the timings depend on it. The peak memory of the
// largest graph is printed as bytes a point: the process's peak resident size (VmHWM) once the
// graph is loaded and drawn, less the size before the graph is made, and again once its point
// list has been shown, after the zoom and pan steps ("bytes_per_point_with_list_<N> <value>").
// The loading and first-draw pairs run before the measured graph is made, so that their
// graphs are not counted with it. A peak that cannot be measured is said, and the bench then
// exits with 1.
//
// On the largest count it then zooms into the middle tenth of the panel four times ("Zoom +"
// on a rectangle) and pans with Shift and the mouse, at the whole page and at a hundredth of
// it; each step is timed as the operator meets it (the command and the window's repaint) and
// compared with the fair peer of the points that step shows.

#include <malloc.h>
#include <unistd.h>
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench_stats.h"
#include "fair_peer.h"
#include "graph/graph_commands.h"
#include "graph/graph_panel.h"
#include "graph/graph_wnd.h"
#include "platform/colors.h"

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 300;
constexpr int kDefaultPairs = 7;
// A short side is repeated until one timing lasts this long, so the clock's grain counts little.
constexpr double kShortestTiming = 20;
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

// The time of one `work`, repeated as often as a measurable timing needs.
double PerCall(const std::function<void()>& work) {
    int repeats = 1;
    for (;;) {
        const double total = Milliseconds([&] {
            for (int i = 0; i < repeats; ++i)
                work();
        });
        if (total >= kShortestTiming || repeats >= (1 << 20))
            return total / repeats;
        repeats *= total > 0 ? std::max(2, static_cast<int>(kShortestTiming / total) + 1) : 16;
    }
}

struct Paired {
    double project = 0;  // median time of the project's side, ms
    double peer = 0;     // median time of the peer, ms
    double ratio = 0;    // median of the runs' peer time / project time
};

// The two sides in turns, the project first in even pairs and the peer first in odd ones.
Paired RunPaired(int pairs, const std::function<double()>& project,
                 const std::function<double()>& peer) {
    std::vector<double> projects, peers, ratios;
    for (int pair = 0; pair < pairs; ++pair) {
        double a = 0, b = 0;
        if (pair % 2 == 0) {
            a = project();
            b = peer();
        } else {
            b = peer();
            a = project();
        }
        projects.push_back(a);
        peers.push_back(b);
        ratios.push_back(b / a);
    }
    return {bench::Median(projects), bench::Median(peers), bench::Median(ratios)};
}

// Reading a buffer twice the size of the last-level cache leaves in the caches nothing a
// timed side has used before; the reads leave no dirty lines for the side to write back.
class CacheFlood {
public:
    CacheFlood() {
        const long lastLevel = ::sysconf(_SC_LEVEL3_CACHE_SIZE);
        const size_t size =
            std::clamp<size_t>(lastLevel > 0 ? 2 * lastLevel : 0, kSmallest, kLargest);
        // Written once, so that every page is a page of its own and not the shared zero page.
        m_buffer.assign(size, 1);
    }
    void Evict() {
        unsigned sum = 0;
        for (size_t i = 0; i < m_buffer.size(); i += kLine)
            sum += static_cast<unsigned char>(m_buffer[i]);
        m_sum = m_sum + sum;
    }

private:
    static constexpr size_t kSmallest = size_t{64} << 20;
    static constexpr size_t kLargest = size_t{1} << 30;
    static constexpr size_t kLine = 64;
    std::vector<char> m_buffer;
    volatile unsigned m_sum = 0;
};

// How many pixels of two pictures of one size differ, and how many are drawn (not white) in
// either.
struct PictureDifference {
    long long differing = 0;
    long long drawn = 0;
};

PictureDifference DifferingPixels(const QImage& a, const QImage& b) {
    PictureDifference difference;
    const QRgb white = qRgb(255, 255, 255);
    for (int row = 0; row < a.height(); ++row) {
        const auto* lineA = reinterpret_cast<const QRgb*>(a.constScanLine(row));
        const auto* lineB = reinterpret_cast<const QRgb*>(b.constScanLine(row));
        for (int column = 0; column < a.width(); ++column) {
            const QRgb pa = lineA[column] | 0xFF000000u;
            const QRgb pb = lineB[column] | 0xFF000000u;
            difference.differing += pa != pb;
            difference.drawn += pa != white || pb != white;
        }
    }
    return difference;
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

// The process's resident size now or at its peak, in bytes (0 where /proc does not tell).
long long StatusBytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0)
            return std::atoll(line.c_str() + key.size()) * 1024;
    return 0;
}

// Starts the peak resident size afresh from the present one (Linux 4.0 on).
bool ResetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

// A graph window with one series, as the program makes the data graph.
struct LoadedGraph {
    graph::CGraphWnd graph{32};
    int series = -1;

    LoadedGraph() {
        graph.Create("Graph Window", {0, 0, kWidth, kHeight}, nullptr, 11000, 0);
        series = graph.AddGraph(kBlue, "", 0, true, false);
    }
    double Load(const std::vector<graph::GraphPoint>& points) {
        return Milliseconds([&] { graph.AddPoints(series, points, 0); });
    }
    void Show(int count) {
        graph.UpdateVisibleRange(graph::CGraphPanel::kAutoExtend | graph::CGraphPanel::kReadout, 0);
        graph.SetVisibleRange(0, count - 1, 0, 130, 0);
    }
    void Draw(QImage& image) {
        QPainter painter(&image);
        graph.Panel()->RenderAll(painter, {0, 0, kWidth, kHeight});
    }
};

void Mouse(QWidget& panel, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, panel.mapToGlobal(at), Qt::LeftButton, buttons, Qt::ShiftModifier);
    QApplication::sendEvent(&panel, &event);
}

void Step(const char* what, int step, const std::vector<graph::GraphPoint>& points, QImage& image,
          graph::CGraphPanel& panel, const std::function<void()>& command) {
    const double graphTime = Milliseconds(command);
    const graph::VisibleRange range = panel.Range();
    const double peer = PerCall([&] { bench::FairPeer(image, points, range); });
    const long long shown = std::llround(std::min<double>(range.xTo, points.size() - 1.0) -
                                         std::max(range.xFrom, 0.0)) +
                            1;
    std::printf(
        "  %-5s %d  %9lld points shown  graph %7.2f ms  fair peer %8.2f ms  "
        "peer/graph %7.2f\n",
        what, step, shown, graphTime, peer, peer / graphTime);
}

// `listShown` is called once the graph's point list is on the screen as well.
void ZoomAndPan(const std::vector<graph::GraphPoint>& points, graph::CGraphWnd& graph,
                QImage& image, const std::function<void()>& listShown) {
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
    const int count = static_cast<int>(points.size());
    graph.SetVisibleRange(0, count - 1, 0, 130, 1);
    const int w = panel.width();
    const int h = panel.height();

    std::printf("  zoom and pan on %d points:\n", count);
    for (int step = 1; step <= kZoomSteps; ++step) {
        Step("zoom", step, points, image, panel, [&] {
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
            Step("pan", step, points, image, panel,
                 [&] { Mouse(panel, QEvent::MouseMove, at, Qt::LeftButton); });
        }
        Mouse(panel, QEvent::MouseButtonRelease, at, Qt::NoButton);
    }
    graph.ForwardToFrame(graph::kShowPointList);
    QApplication::processEvents();
    listShown();
    graph.SetParentWindow(nullptr);
}

struct Run {
    int pairs = kDefaultPairs;
    CacheFlood flood;
};

// False when the largest graph's memory could not be measured.
bool Compare(Run& run, int count, bool largest) {
    const double load = bench::LoadAverage();
    const std::vector<double> levels = Levels(count);
    std::vector<graph::GraphPoint> points(count);
    for (int i = 0; i < count; ++i)
        points[i] = {static_cast<double>(i), levels[i]};
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QImage peerImage(kWidth, kHeight, QImage::Format_RGB32);

    // Loading, paired with copying the levels; each side allocates what it fills.
    double checksum = 0;
    const Paired loading = RunPaired(
        run.pairs,
        [&] {
            LoadedGraph fresh;
            return fresh.Load(points);
        },
        [&] {
            std::vector<double> copy;
            const double time = Milliseconds([&] { copy.assign(levels.begin(), levels.end()); });
            checksum += copy[count / 2];
            return time;
        });
    // A fresh graph's first drawing, paired with the fair peer on the same points, each from
    // memory the caches do not hold. The project goes first in the first pair, so that the
    // peer has the range the graph shows before it runs.
    graph::VisibleRange range;
    const Paired first = RunPaired(
        run.pairs,
        [&] {
            LoadedGraph fresh;
            fresh.Load(points);
            fresh.Show(count);
            range = fresh.graph.Panel()->Range();
            run.flood.Evict();
            return Milliseconds([&] { fresh.Draw(image); });
        },
        [&] {
            run.flood.Evict();
            return Milliseconds([&] { bench::FairPeer(peerImage, points, range); });
        });
    const PictureDifference difference = DifferingPixels(image, peerImage);

    // The fair peer's reduction (on the side rated here), paired with one plain pass over the
    // same points.
    const bench::PeerScales scales(image, range);
    const Paired strength = RunPaired(
        run.pairs,
        [&] {
            run.flood.Evict();
            return Milliseconds(
                [&] { checksum += bench::ReduceColumns(points, scales.x).back().levels.max; });
        },
        [&] {
            run.flood.Evict();
            return Milliseconds([&] { checksum += bench::PlainPass(points.data(), count).max; });
        });

    // The graph that is drawn again, its memory measured on the way. What the pairs above
    // freed goes back to the system first: reused unseen, it would not count with this graph.
    ::malloc_trim(0);
    const bool peakReset = largest && ResetPeak();
    const long long before = StatusBytes("VmHWM");
    auto shown = std::make_unique<LoadedGraph>();
    shown->Load(points);
    shown->Show(count);
    shown->Draw(image);
    const long long peak = StatusBytes("VmHWM") - before;

    // Drawing again, paired with the peer that keeps its columns as the graph keeps its
    // envelope.
    const bench::PeerScales shownScales(image, shown->graph.Panel()->Range());
    const std::vector<bench::PeerColumn> columns = bench::ReduceColumns(points, shownScales.x);
    const Paired repeated = RunPaired(
        run.pairs, [&] { return PerCall([&] { shown->Draw(image); }); },
        [&] {
            return PerCall([&] { bench::DrawColumns(peerImage, columns, points, shownScales.y); });
        });

    std::printf(
        "%9d points (load average %.2f)  load %9.2f ms  copy %8.2f ms  first draw %8.2f ms  "
        "fair peer %8.2f ms  repeated %7.3f ms  summary peer %7.3f ms\n",
        count, load, loading.project, loading.peer, first.project, first.peer, repeated.project,
        repeated.peer);
    std::printf(
        "  fair peer's columns %8.2f ms  plain pass %8.2f ms  pictures: %lld of %lld drawn "
        "pixels differ\n",
        strength.project, strength.peer, difference.differing, difference.drawn);
    std::printf("ratio load_vs_copy_%d %.3f\n", count, loading.ratio);
    std::printf("ratio fair_peer_vs_plain_pass_%d %.3f\n", count, strength.ratio);
    std::printf("ratio paint_first_draw_vs_fair_peer_%d %.3f\n", count, first.ratio);
    std::printf("ratio paint_repeated_vs_summary_peer_%d %.3f\n", count, repeated.ratio);
    if (largest && peakReset)
        std::printf("graph peak memory %.1f bytes a point (%.1f MB over %.1f MB before)\n",
                    static_cast<double>(peak) / count, peak / 1e6, before / 1e6);
    else if (largest)
        std::printf("graph peak memory not measured: the peak cannot be reset here\n");
    if (checksum < 0)
        std::printf("\n");  // keeps the copies from being optimised away
    if (!largest)
        return true;
    ZoomAndPan(points, shown->graph, image, [&] {
        if (peakReset)
            std::printf("bytes_per_point_with_list_%d %.1f\n", count,
                        static_cast<double>(StatusBytes("VmHWM") - before) / count);
        else
            std::printf("bytes_per_point_with_list_%d not measured\n", count);
    });
    return peakReset;
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    Run run;
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--pairs" && i + 1 < argc)
            run.pairs = std::max(1, std::atoi(argv[++i]));
        else
            counts.push_back(std::atoi(argv[i]));
    }
    if (counts.empty())
        counts = {1000, 100000, 1000000, 10000000};
    const int largest = *std::max_element(counts.begin(), counts.end());
    bool measured = true;
    for (int count : counts)
        if (count > 1)
            measured = Compare(run, count, count == largest) && measured;
    return measured ? 0 : 1;
}
