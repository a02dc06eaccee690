// Pictures of the charts off screen: an octave and a third-octave band chart as the main view
// shows them, with the bars a meter does not measure, the "UR" line and the equal-loudness
// marker, and the 3-D chart of a few spectra.
#include <gtest/gtest.h>

#include <QImage>
#include <functional>

#include "charts/bar_chart_window.h"
#include "charts/equal_loudness.h"
#include "charts/xy_chart.h"
#include "charts/xy_chart_window.h"
#include "fake_charts_host.h"
#include "platform/colors.h"
#include "records/band_labels.h"
#include "support/record_kinds.h"
#include "support/test_env.h"

using charts::CChartWnd;
using platform::ToQColor;

namespace {

int Count(const QImage& picture, const ui::Rect& r, const std::function<bool(QColor)>& test) {
    int count = 0;
    for (int y = std::max(0, r.top); y < std::min(picture.height(), r.bottom); ++y)
        for (int x = std::max(0, r.left); x < std::min(picture.width(), r.right); ++x)
            count += test(picture.pixelColor(x, y)) ? 1 : 0;
    return count;
}

auto Is(COLORREF colour) {
    return [colour](QColor c) { return c == ToQColor(colour); };
}

bool Reddish(QColor c) {
    return c.red() > 200 && c.green() < 120 && c.blue() < 120;
}

class ChartPictureTest : public ::testing::Test {
protected:
    ChartPictureTest() { CChartWnd::ClearHoverLock(); }

    // The view's set-up, then a filler's bars: the bands and the overall level.
    void FillAsTheView(bool thirdOctave) {
        ASSERT_EQ(chart.InitDefault(), 1);
        chart.EnableToolTips(1);
        chart.SetHeaderText("");
        chart.SetVerticalLayout();
        chart.SetHost(&host);
        chart.RemoveAllItems();
        const int bands = thirdOctave ? records::kThirdOctaveBands : records::kOctaveBands;
        for (int i = 0; i <= bands; ++i) {
            const std::string label = thirdOctave ? records::ThirdOctaveBandLabel(i, "OFF", "Lin")
                                                  : records::OctaveBandLabel(i, "Lin");
            chart.AddItem(label, 40.0f + 2 * (i % 7), 0, 0xC08000);
        }
    }

    QImage Grab(int width, int height, const char* name) {
        charts::BarChartWindow window(chart, nullptr);
        window.resize(width, height);
        QImage picture = window.grab().toImage();
        picture.save(QString::fromStdString(folder.File(name)));
        return picture;
    }

    testenv::ScratchFolder folder;
    chartstest::FakeChartsHost host;
    charts::IsophoneContour isophone;
    CChartWnd chart;
};

}  // namespace

TEST_F(ChartPictureTest, AnEmptyChartIsOnlyItsBackground) {
    ASSERT_EQ(chart.InitDefault(), 1);
    const QImage picture = Grab(300, 150, "empty_chart.png");
    EXPECT_EQ(Count(picture, {0, 0, 300, 150}, Is(CChartWnd::kBackground)), 300 * 150);
}

TEST_F(ChartPictureTest, AnOctaveChartGreysTheBandsTheMeterDoesNotMeasureAndDrawsTheURLine) {
    FillAsTheView(false);
    host.context.model = "QS4060_c$1";
    host.context.liveKind = testkinds::kOctave;
    host.context.urLine = true;
    host.context.urLevel = 100;
    const QImage picture = Grab(360, 200, "octave_chart.png");

    const ui::Rect bar0 = chart.BarRect(0);
    const ui::Rect bar5 = chart.BarRect(5);
    const ui::Rect bar10 = chart.BarRect(10);
    ASSERT_GT(bar5.Height(), 20);
    EXPECT_GT(Count(picture, bar0, Is(CChartWnd::kUnmeasuredBand)), bar0.Height());
    EXPECT_GT(Count(picture, bar10, Is(CChartWnd::kUnmeasuredBand)), bar10.Height());
    EXPECT_EQ(Count(picture, bar5, Is(CChartWnd::kUnmeasuredBand)), 0);
    EXPECT_GT(Count(picture, bar5, Is(0xC08000)), bar5.Height());
    // The UR line across the chart, the grid below it, the captions under the bars.
    const int ur = chart.LevelY(100);
    EXPECT_GT(Count(picture, {chart.LeftMargin(), ur - 1, 360, ur + 2}, Reddish), 200);
    const int grid = chart.GridLinePos(1);
    EXPECT_GT(
        Count(picture, {chart.LeftMargin(), grid - 1, 360, grid + 2}, Is(CChartWnd::kGridColour)),
        200);
    const ui::Rect caption = chart.BandLabelRect(2);
    EXPECT_GT(Count(picture, caption, [](QColor c) { return c.lightness() < 100; }), 5);
}

TEST_F(ChartPictureTest, EachValueLabelStandsAtItsGridLineAgainstTheBars) {
    FillAsTheView(false);
    chart.SetBarPitch(60);  // the octave chart's slot on a screen wider than 800 pixels
    const QImage picture = Grab(800, 400, "octave_value_labels.png");
    auto dark = [](QColor c) { return c.lightness() < 100; };
    for (int k = 0; k <= chart.Divisions(); ++k) {
        SCOPED_TRACE(k);
        const ui::Rect box = chart.ValueLabelRect(k);
        // The first run of rows with ink in the box (the box reaches down to the next label).
        int top = -1;
        int bottom = -1;
        int right = box.left;
        for (int y = box.top; y < box.bottom; ++y) {
            const int ink = Count(picture, {box.left, y, box.right, y + 1}, dark);
            if (ink == 0 && top >= 0)
                break;
            if (ink == 0)
                continue;
            if (top < 0)
                top = y;
            bottom = y;
            for (int x = box.left; x < box.right; ++x)
                if (dark(picture.pixelColor(x, y)))
                    right = std::max(right, x);
        }
        ASSERT_GE(top, 0);
        ASSERT_LT(top, bottom);
        // The text's middle within a few pixels of its line, its end at the box's right edge.
        EXPECT_NEAR((top + bottom) / 2.0, chart.GridLinePos(k), 6.0);
        EXPECT_GE(right, box.right - 4);
    }
}

TEST_F(ChartPictureTest, AThirdOctaveChartMarksTheEqualLoudnessContourOnEveryBand) {
    FillAsTheView(true);
    isophone.SelectBand(18);
    charts::SpectrumLevels spectrum;
    spectrum.fill(450);
    ASSERT_TRUE(isophone.Compute(charts::LoudnessEdition::Iso226_2003, false, spectrum));
    host.context.liveKind = testkinds::kThirdOctave;
    host.context.edition = 2;
    host.context.contour = &isophone;
    const QImage picture = Grab(440, 220, "third_octave_chart.png");

    int marked = 0;
    for (int band = 1; band <= charts::kContourBands; ++band) {
        const auto level = chart.MarkerLevel(band, host.context);
        ASSERT_TRUE(level);
        const auto marker = chart.MarkerRect(band, *level);
        ASSERT_TRUE(marker);
        marked += Count(picture, *marker, Reddish) > 0 ? 1 : 0;
    }
    EXPECT_EQ(marked, charts::kContourBands);
    // The chosen band in its own colour; the band below 20 Hz has no marker.
    const ui::Rect chosen = chart.BarRect(18);
    EXPECT_GT(Count(picture, chosen, Is(CChartWnd::kChosenBand)), chosen.Height());
    EXPECT_FALSE(chart.MarkerLevel(0, host.context));
}

TEST(Chart3dTest, TheViewGeometryStretchesTheRangesForTheDepth) {
    charts::CChart3d chart;
    chart.SetViewAngles(-30, 30);
    ASSERT_EQ(chart.SetViewGeometry(0, 30, 0, 140, 0, 100), 1);
    EXPECT_NEAR(chart.XMax(), 51.96, 0.01);
    EXPECT_EQ(chart.YMin(), -140);
    EXPECT_EQ(chart.YMax(), 280);
    EXPECT_NEAR(chart.DepthFactor(), 0.3, 1e-9);

    // A flat extent would divide the depth or the scales by zero.
    EXPECT_EQ(chart.SetViewGeometry(0, 30, 0, 140, 10, 10), 0);
    EXPECT_EQ(chart.SetViewGeometry(0, 30, 5, 5, 0, 100), 0);
    EXPECT_EQ(chart.GetViewSettings()[5], 100);
    EXPECT_EQ(chart.SetRanges(1, 1, 0, 10), 0);

    // The rotation stops short of a right angle.
    chart.SetViewAngles(120, -95);
    EXPECT_EQ(chart.FirstAngle(), charts::CChart3d::kMaxAngle);
    EXPECT_EQ(chart.SecondAngle(), -charts::CChart3d::kMaxAngle);

    chart.SetStyle(1);
    chart.SetStyle(3);
    EXPECT_EQ(chart.Style(), 1);
}

TEST(Chart3dTest, ThePictureShowsTheSpectraAsAShadedSurfaceOnItsAxes) {
    testenv::ScratchFolder folder;
    charts::CChart3d chart;
    chart.SetTitle("");
    chart.SetAxisTitles("X", "Y");
    chart.SetGridDivisions(5, 2);
    chart.SetStyle(0);
    chart.SetViewAngles(-30, 30);
    ASSERT_EQ(chart.SetViewGeometry(0, 30, 0, 140, 0, 20), 1);
    constexpr int kSpectra = 12;
    chart.SetPointCount(31);
    chart.SetSeriesCount(kSpectra);
    const COLORREF colours[] = {0xFF0000, 0x00FF00, 0x0000FF};
    for (int s = 0; s < kSpectra; ++s) {
        std::vector<float> x;
        std::vector<float> y;
        for (int band = 0; band < 31; ++band) {
            x.push_back(static_cast<float>(band));
            y.push_back(static_cast<float>(40 + 30 * ((band + s) % 5) / 4));
        }
        ASSERT_TRUE(chart.SetSeries(s, x, y, colours[s % 3]));
    }
    EXPECT_FALSE(chart.SetSeries(charts::CChart::kMaxSeries, {}, {}, 0));

    charts::XYChartWindow window(chart, nullptr);
    window.resize(420, 420);
    const QImage picture = window.grab().toImage();
    picture.save(QString::fromStdString(folder.File("chart_3d.png")));
    EXPECT_FALSE(chart.IsDirty());

    const ui::Rect all{0, 0, 420, 420};
    for (const COLORREF colour : colours)
        EXPECT_GT(Count(picture, all, Is(colour)), 500) << std::hex << colour;
    EXPECT_GT(Count(picture, all, Is(charts::CChart::kBackground)), 1000);
    // The three axes leave the projected origin.
    const QPoint origin = chart.Project(0, 0, 0);
    const ui::Rect around{origin.x() - 3, origin.y() - 3, origin.x() + 4, origin.y() + 4};
    EXPECT_GT(Count(picture, around, [](QColor c) { return c == Qt::black; }), 4);

    chart.SetViewAngles(-31, 29);
    EXPECT_TRUE(chart.IsDirty());
}
