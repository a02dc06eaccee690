// The 3-D graph as the program calls it: elements keep the colours they were plotted with,
// the colour read back is the one last put, an emphasis lasts until the plotting colour is
// put back, and the ranges come from the calls or from the data.
#include <gtest/gtest.h>

#include "charts/graph_3d.h"
#include "charts/graph_3d_projection.h"

using charts::CGraph3D;
using charts::Graph3DProjection;

namespace {

// The calls a caller makes for one point.
void Plot(CGraph3D& graph, long element, double x, double y, COLORREF colour, float width) {
    graph.BeginPoint();
    graph.SetElementType(element, 2);
    graph.SetElementLineColor(element, colour);
    graph.SetElementPointColor(element, colour);
    graph.SetElementLineWidth(element, width);
    graph.PlotXYZ(x, y, element, element);
}

}  // namespace

TEST(Graph3DTest, PointsKeepTheColourOfTheirMomentAndTheReadBackIsTheLastPut) {
    CGraph3D graph;
    EXPECT_EQ(graph.GetElementLineColor(4), 0u);  // never given one
    Plot(graph, 4, 1, 40, 0xFF0000, 3.5f);
    Plot(graph, 4, 2, 95, 0x00FF00, 3.5f);
    ASSERT_EQ(graph.ElementPoints(4).size(), 2u);
    EXPECT_EQ(graph.ElementPoints(4)[0].line, 0xFF0000u);
    EXPECT_EQ(graph.ElementPoints(4)[1].line, 0x00FF00u);
    EXPECT_EQ(graph.ElementPoints(4)[1].z, 4.0f);
    EXPECT_EQ(graph.GetElementLineColor(4), 0x00FF00u);
    EXPECT_FALSE(graph.IsEmphasised(4));

    // The program's emphasis of a row, then its colour and width put back.
    const COLORREF saved = graph.GetElementLineColor(4);
    graph.SetElementLineColor(4, 100);
    graph.SetElementLineWidth(4, 6.0f);
    EXPECT_TRUE(graph.IsEmphasised(4));
    EXPECT_EQ(graph.GetElementLineColor(4), 100u);
    graph.SetElementLineColor(4, saved);
    EXPECT_TRUE(graph.IsEmphasised(4));  // still wide
    graph.SetElementLineWidth(4, 3.5f);
    EXPECT_FALSE(graph.IsEmphasised(4));

    graph.ClearGraph();
    EXPECT_EQ(graph.PointCount(), 0);
    EXPECT_TRUE(graph.ElementPoints(4).empty());
    EXPECT_EQ(graph.GetElementLineColor(4), 0u);
}

TEST(Graph3DTest, ElementsOutsideTheTableAndPointsThatAreNoNumbersAreRefused) {
    CGraph3D graph;
    graph.PlotXYZ(1, 2, 3, -1);
    graph.PlotXYZ(1, 2, 3, CGraph3D::kMaxElements);
    graph.SetElementLineColor(CGraph3D::kMaxElements + 5, 0x123456);
    graph.PlotXYZ(1, std::numeric_limits<double>::quiet_NaN(), 0, 0);
    EXPECT_EQ(graph.PointCount(), 0);
    EXPECT_EQ(graph.ElementCount(), 1);  // element 0 exists, empty
    EXPECT_EQ(graph.GetElementLineColor(CGraph3D::kMaxElements + 5), 0u);
}

TEST(Graph3DTest, RangesComeFromTheCallOrFromTheData) {
    CGraph3D graph;
    // Nothing plotted: a unit box.
    CGraph3D::Range r = graph.EffectiveRange();
    EXPECT_EQ(r.xMin, 0);
    EXPECT_EQ(r.xMax, 1);

    Plot(graph, 0, 1, 40, 0, 3.5f);
    Plot(graph, 0, 12, 40, 0, 3.5f);
    Plot(graph, 1, 1, 90, 0, 3.5f);
    graph.AutoRange();
    r = graph.EffectiveRange();
    EXPECT_EQ(r.xMin, 1);
    EXPECT_EQ(r.xMax, 12);
    EXPECT_EQ(r.yMin, 40);
    EXPECT_EQ(r.yMax, 90);
    EXPECT_EQ(r.zMin, 0);
    EXPECT_EQ(r.zMax, 1);

    graph.SetRange(0, 11, 0, 130, 0, 50);
    EXPECT_FALSE(graph.IsAutoRange());
    r = graph.EffectiveRange();
    EXPECT_EQ(r.xMax, 11);
    EXPECT_EQ(r.yMax, 130);
    EXPECT_EQ(r.zMax, 50);
    // A depth range of no spectra (Z max = Z min) would divide by zero: the data's is taken.
    graph.SetRange(0, 11, 0, 130, 0, 0);
    r = graph.EffectiveRange();
    EXPECT_EQ(r.zMin, 0);
    EXPECT_EQ(r.zMax, 1);
    EXPECT_EQ(r.yMax, 130);
}

TEST(Graph3DTest, TheProjectionPutsTheFrontLeftFloorCornerAtItsOriginAndTheDepthUpRight) {
    const CGraph3D::Range range{1, 12, 0, 130, 0, 99};
    const Graph3DProjection projection(QRect(0, 0, 600, 400), range);
    const QPointF origin = projection.Map(1, 0, 0);
    EXPECT_EQ(origin, projection.Origin());
    EXPECT_EQ(origin.x(), Graph3DProjection::kLeftMargin);
    EXPECT_EQ(origin.y(), 400 - Graph3DProjection::kBottomMargin);
    // Band across, level up, depth up and to the right; every corner inside the area.
    EXPECT_NEAR(projection.Map(12, 0, 0).x() - origin.x(), projection.FrontWidth(), 1e-9);
    EXPECT_NEAR(origin.y() - projection.Map(1, 130, 0).y(), projection.FrontHeight(), 1e-9);
    const QPointF back = projection.Map(12, 130, 99);
    EXPECT_GT(back.x(), projection.Map(12, 130, 0).x());
    EXPECT_LT(back.y(), projection.Map(12, 130, 0).y());
    EXPECT_LE(back.x(), 600 - Graph3DProjection::kRightMargin + 1e-9);
    EXPECT_GE(back.y(), Graph3DProjection::kTopMargin - 1e-9);
    EXPECT_EQ(projection.DepthPixel(0), 0);
    EXPECT_GT(projection.DepthPixel(99), 50);
}
