// The 3-D graph as the program calls it: what it refuses, what a clear forgets, and the
// ranges from the calls or from the data. Its colours, widths and emphasis are tested through
// the "Spectrum" window, its projection by the pictures.
#include <gtest/gtest.h>

#include <QPainter>
#include <QPdfWriter>
#include <limits>

#include "charts/graph_3d.h"
#include "support/test_env.h"

using charts::CGraph3D;

namespace {

// The calls a caller makes for one point.
void Plot(CGraph3D& graph, long element, double x, double y, COLORREF colour) {
    graph.BeginPoint();
    graph.SetElementType(element, 2);
    graph.SetElementLineColor(element, colour);
    graph.SetElementPointColor(element, colour);
    graph.SetElementLineWidth(element, 3.5f);
    graph.PlotXYZ(x, y, element, element);
}

}  // namespace

TEST(Graph3DTest, ElementsOutsideTheTableAndPointsThatAreNoNumbersAreRefused) {
    CGraph3D graph;
    graph.PlotXYZ(1, 2, 3, -1);
    graph.PlotXYZ(1, 2, 3, CGraph3D::kMaxElements);
    graph.SetElementLineColor(CGraph3D::kMaxElements + 5, 0x123456);
    graph.PlotXYZ(1, std::numeric_limits<double>::quiet_NaN(), 0, 0);
    EXPECT_EQ(graph.PointCount(), 0);
    EXPECT_EQ(graph.ElementCount(), 1);  // element 0 exists, empty
    EXPECT_EQ(graph.GetElementLineColor(CGraph3D::kMaxElements + 5), 0u);

    // A clear forgets points and colours alike.
    Plot(graph, 4, 1, 40, 0xFF0000);
    graph.ClearGraph();
    EXPECT_EQ(graph.PointCount(), 0);
    EXPECT_EQ(graph.GetElementLineColor(4), 0u);
}

TEST(Graph3DTest, RangesComeFromTheCallOrFromTheData) {
    CGraph3D graph;
    // Nothing plotted: a unit box.
    EXPECT_EQ(graph.EffectiveRange().xMax, 1);

    Plot(graph, 0, 1, 40, 0);
    Plot(graph, 0, 12, 40, 0);
    Plot(graph, 1, 1, 90, 0);
    graph.AutoRange();
    CGraph3D::Range r = graph.EffectiveRange();
    EXPECT_EQ(r.xMin, 1);
    EXPECT_EQ(r.xMax, 12);
    EXPECT_EQ(r.yMin, 40);
    EXPECT_EQ(r.yMax, 90);
    EXPECT_EQ(r.zMax, 1);

    // A depth range of no spectra (Z max = Z min) would divide by zero: the data's is taken.
    graph.SetRange(0, 11, 0, 130, 0, 0);
    EXPECT_FALSE(graph.IsAutoRange());
    r = graph.EffectiveRange();
    EXPECT_EQ(r.zMax, 1);
    EXPECT_EQ(r.yMax, 130);
}

TEST(Graph3DTest, TheCaptionIsDrawnFromTheProgramsLatin1Text) {
    testenv::ScratchFolder folder;
    CGraph3D graph;
    graph.SetCaption("Spettro di Forl\xEC");
    Plot(graph, 0, 1, 40, 0);
    Plot(graph, 0, 12, 60, 0);
    graph.AutoRange();
    const std::string pdf = folder.File("spettro.pdf");
    {
        QPdfWriter writer(QString::fromStdString(pdf));
        writer.setResolution(96);
        QPainter painter(&writer);
        graph.Paint(painter, QRect(0, 0, 600, 400));
    }
    EXPECT_NE(testenv::PdfText(pdf).find(QStringLiteral(u"Spettro di Forl\u00EC").toStdString()),
              std::string::npos);
}
