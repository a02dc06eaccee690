// The lines that draw a series: a long series drawn a column at a time covers exactly the
// pixels of its points joined one by one, and only the visible part costs anything.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <random>

#include "graph/curve_geometry.h"

using graph::CAxisScale;
using graph::CPointsCollection;
using graph::CurveGeometry;
using graph::CurveRequest;
using graph::PixelLine;

namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 200;

QImage Blank() {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void Draw(QImage& image, const std::vector<PixelLine>& lines) {
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 1));
    for (const PixelLine& line : lines)
        painter.drawLine(line.x0, line.y0, line.x1, line.y1);
}

// Every point joined to the next one whose pixel differs.
std::vector<PixelLine> PointByPoint(const CPointsCollection& points, const CAxisScale& x,
                                    const CAxisScale& y) {
    std::vector<PixelLine> lines;
    bool first = true;
    int px = 0;
    int py = 0;
    for (const graph::GraphPoint& p : points.Points()) {
        const int nx = static_cast<int>(x.ValueToPixel(p.x));
        const int ny = static_cast<int>(y.ValueToPixel(p.y));
        if (!first && (nx != px || ny != py))
            lines.push_back({px, py, nx, ny});
        first = false;
        px = nx;
        py = ny;
    }
    return lines;
}

CurveRequest Request() {
    CurveRequest request;
    request.clip = {0, 0, kWidth, kHeight};
    return request;
}

// A random walk of levels over `count` samples.
CPointsCollection Walk(int count, unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> step(0, 1.5);
    CPointsCollection points;
    double level = 60;
    for (int i = 0; i < count; ++i) {
        level = std::clamp(level + step(random), 5.0, 125.0);
        points.AddPoint(i, level, true);
    }
    return points;
}

// The trace's column lines cover exactly the pixels of the points joined one after another.
void ExpectColumnsCoverTheJoinedPixels(const CurveGeometry& geometry,
                                       const CPointsCollection& points, const CAxisScale& x,
                                       const CAxisScale& y) {
    QImage columns = Blank();
    Draw(columns, geometry.lines);
    QImage joined = Blank();
    Draw(joined, PointByPoint(points, x, y));
    EXPECT_TRUE(columns == joined);
}

}  // namespace

TEST(CurveGeometryTest, ALongSeriesCoversTheSamePixelsAsItsPointsJoinedInTurn) {
    for (int count : {40, 900, 200000}) {
        SCOPED_TRACE(count);
        const CPointsCollection points = Walk(count, count);
        CAxisScale x;
        CAxisScale y;
        x.Init(0, kWidth - 1, 0, count - 1);
        y.Init(kHeight - 1, 0, 0, 130);

        const CurveGeometry geometry = graph::TraceSeries(points, x, y, Request());
        EXPECT_LE(geometry.lines.size(), 2u * kWidth);
        ExpectColumnsCoverTheJoinedPixels(geometry, points, x, y);
    }
}

TEST(CurveGeometryTest, AZoomedSeriesDrawsOnlyFromThePointBeforeToThePointAfter) {
    const CPointsCollection points = Walk(100000, 3);
    CAxisScale x;
    CAxisScale y;
    x.Init(0, kWidth - 1, 50000.5, 50010.5);
    y.Init(kHeight - 1, 0, 0, 130);
    const CurveGeometry geometry = graph::TraceSeries(points, x, y, Request());
    // Points 50000 to 50011 make eleven lines, 29.9 pixels apart, cut just outside the edges.
    ASSERT_EQ(geometry.lines.size(), 11u);
    EXPECT_EQ(geometry.lines.front().x0, -1);
    EXPECT_EQ(geometry.lines.front().x1, 14);
    EXPECT_EQ(geometry.lines.back().x0, 284);
    EXPECT_EQ(geometry.lines.back().x1, kWidth + 1);
}

TEST(CurveGeometryTest, PointsFarOutsideThePanelGiveLinesCutToItsEdges) {
    CPointsCollection points;
    points.AddPoint(-1e12, 65, true);
    points.AddPoint(50, 65, true);
    points.AddPoint(1e300, -1e300, true);
    CAxisScale x;
    CAxisScale y;
    x.Init(0, 100, 0, 100);
    y.Init(100, 0, 0, 130);
    const CurveGeometry geometry = graph::TraceSeries(points, x, y, Request());
    ASSERT_EQ(geometry.lines.size(), 2u);
    EXPECT_EQ(geometry.lines[0], (PixelLine{-1, 50, 50, 50}));
    EXPECT_EQ(geometry.lines[1].x0, 50);
    EXPECT_GE(geometry.lines[1].y1, kHeight);
}

TEST(CurveGeometryTest, ALonePointWithoutMarksDrawsNothing) {
    CPointsCollection lone;
    lone.AddPoint(10, 10, true);
    CAxisScale x;
    CAxisScale y;
    x.Init(0, 100, 0, 100);
    y.Init(100, 0, 0, 100);
    CurveRequest request = Request();
    EXPECT_TRUE(graph::TraceSeries(lone, x, y, request).lines.empty());
}

TEST(CurveGeometryTest, PointsThatBunchAndThinOutCoverTheSamePixelsAsJoinedInTurn) {
    // Columns of 1 to 5,000 points in turn: many a column's end lies far
    // from where the column before suggests, before it and beyond it.
    std::mt19937 random(11);
    std::normal_distribution<double> step(0, 1.5);
    const std::vector<int> perColumn = {1, 3000, 2, 700, 40, 5000, 1, 1, 9, 3000};
    CPointsCollection points;
    double level = 60;
    for (int column = 0; column < kWidth - 1; ++column) {
        const int count = perColumn[column % perColumn.size()];
        for (int k = 0; k < count; ++k) {
            level = std::clamp(level + step(random), 5.0, 125.0);
            points.AddPoint(column + (k + 0.5) / count, level, true);
        }
    }
    CAxisScale x;
    CAxisScale y;
    x.Init(0, kWidth - 1, 0, kWidth - 1);
    y.Init(kHeight - 1, 0, 0, 130);

    const CurveGeometry geometry = graph::TraceSeries(points, x, y, Request());
    ExpectColumnsCoverTheJoinedPixels(geometry, points, x, y);
}

TEST(CurveGeometryTest, OneCrowdedColumnAmongPairsCoversTheSamePixelsAsJoinedInTurn) {
    // A column's end is first looked for where the column before suggests: here a run of
    // 50,000 points comes before or after runs of two, or is the only run, and an axis that
    // runs backwards takes the columns from right to left.
    struct Layout {
        const char* name;
        int crowdedColumn;  // -1: every point in one column
        bool backwards;
    };
    for (const Layout& layout :
         {Layout{"one column", -1, false}, Layout{"crowd first", 0, false},
          Layout{"crowd last", kWidth - 2, false}, Layout{"crowd first, backwards", 0, true}}) {
        SCOPED_TRACE(layout.name);
        std::mt19937 random(5);
        std::uniform_real_distribution<double> level(5, 125);
        CPointsCollection points;
        for (int column = 0; column < kWidth - 1; ++column) {
            if (layout.crowdedColumn >= 0 && column != layout.crowdedColumn) {
                points.AddPoint(column + 0.25, level(random), true);
                points.AddPoint(column + 0.75, level(random), true);
                continue;
            }
            if (layout.crowdedColumn < 0 && column != kWidth / 2)
                continue;
            for (int k = 0; k < 50000; ++k)
                points.AddPoint(column + k / 50000.0, level(random), true);
        }
        CAxisScale x;
        CAxisScale y;
        if (layout.backwards)
            x.Init(kWidth - 1, 0, 0, kWidth - 1);
        else
            x.Init(0, kWidth - 1, 0, kWidth - 1);
        y.Init(kHeight - 1, 0, 0, 130);

        const CurveGeometry geometry = graph::TraceSeries(points, x, y, Request());
        ExpectColumnsCoverTheJoinedPixels(geometry, points, x, y);
    }
}
