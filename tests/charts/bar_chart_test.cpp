// The band chart without a window: its range, its layout as plain maths, what the program's
// state makes of its bars, its tips and what the pointer does.
#include <gtest/gtest.h>

#include "charts/bar_chart.h"
#include "charts/equal_loudness.h"
#include "fake_charts_host.h"
#include "support/record_kinds.h"

using charts::BarChartContext;
using charts::CChartWnd;
using chartstest::FakeChartsHost;

namespace {

constexpr COLORREF kBlue = 0xFF0000;

class BarChartTest : public ::testing::Test {
protected:
    BarChartTest() {
        CChartWnd::ClearHoverLock();
        chart.SetHost(&host);
        chart.SetTextMeasure(
            [](const std::string& text) { return 8 * static_cast<int>(text.size()); });
        chart.SetClientRect({0, 0, 400, 200});
    }
    ~BarChartTest() override { CChartWnd::ClearHoverLock(); }

    // Items "b0", "b1", ... at the given levels, the last one the overall level "Lin".
    void Fill(const std::vector<float>& levels) {
        chart.RemoveAllItems();
        for (size_t i = 0; i < levels.size(); ++i)
            chart.AddItem(i + 1 == levels.size() ? "Lin" : "b" + std::to_string(i), levels[i], 0,
                          kBlue);
        chart.RecalcLayout();
    }

    // The view's set-up: 0..130 dB in 6 divisions, vertical bars.
    void SetUpAsTheView(int items, float level) {
        ASSERT_EQ(chart.InitDefault(), 1);
        chart.SetVerticalLayout();
        Fill(std::vector<float>(items, level));
    }

    // A contour through 60 dB at 1 kHz (band 18), ISO 226:2003.
    void ChooseContour() {
        isophone.SelectBand(18);
        charts::SpectrumLevels spectrum;
        spectrum.fill(600);
        ASSERT_TRUE(isophone.Compute(charts::LoudnessEdition::Iso226_2003, false, spectrum));
        host.context.liveKind = testkinds::kThirdOctave;
        host.context.edition = 2;
        host.context.contour = &isophone;
    }

    FakeChartsHost host;
    charts::IsophoneContour isophone;
    CChartWnd chart;
};

}  // namespace

TEST_F(BarChartTest, AnInvalidRangeIsRefusedAndNothingOfItKept) {
    EXPECT_EQ(chart.SetRange(10, 90, 8), 1);
    EXPECT_EQ(chart.SetRange(50, 50, 4), 0);
    EXPECT_EQ(chart.SetRange(60, 20, 4), 0);
    EXPECT_EQ(chart.SetRange(0, 100, 0), 0);
    EXPECT_EQ(chart.Minimum(), 10);
    EXPECT_EQ(chart.Maximum(), 90);
    EXPECT_EQ(chart.Divisions(), 8);
}

TEST_F(BarChartTest, TheLayoutWidensTheMarginForTheMaximumAndScalesTheRangeToTheWindow) {
    ASSERT_EQ(chart.InitDefault(), 1);
    // No bars: nothing is laid out.
    EXPECT_EQ(chart.LeftMargin(), 40);
    EXPECT_EQ(chart.VerticalScale(), 1.0);

    Fill({50, 60});
    // "130.000000" is 80 pixels wide.
    EXPECT_EQ(chart.LeftMargin(), 90);
    EXPECT_DOUBLE_EQ(chart.VerticalScale(), (200.0 - 10 - 20) / 130);
    EXPECT_DOUBLE_EQ(chart.HorizontalScale(), (400.0 - 30 - 24) / 130);

    // A window smaller than the margins draws no bars.
    chart.SetClientRect({0, 0, 40, 20});
    chart.RecalcLayout();
    EXPECT_EQ(chart.VerticalScale(), 0.0);
    EXPECT_EQ(chart.HorizontalScale(), 0.0);
}

TEST_F(BarChartTest, VerticalBarsStandOnTheBaseLineInTheirSlots) {
    SetUpAsTheView(4, 0);
    Fill({-5, 10, 50, 200});
    // Base line at 200 - 10 - 8; 1.3077 pixels per dB.
    EXPECT_EQ(chart.BarRect(2), (ui::Rect{120, 182 - 65, 124, 182}));
    EXPECT_EQ(chart.BarHitRect(2), (ui::Rect{120, 117, 124, 182}));
    EXPECT_EQ(chart.BarRect(0).Height(), 0);     // below the minimum
    EXPECT_EQ(chart.BarRect(3).top, 182 - 261);  // above the maximum: not clipped
    EXPECT_EQ(chart.BandLabelRect(4), (ui::Rect{130, 187, 154, 207}));

    EXPECT_EQ(chart.GridLinePos(0), 182);
    EXPECT_EQ(chart.GridLinePos(1), 182 - 28);
    EXPECT_EQ(chart.GridLinePos(2), 182 - 56);
    EXPECT_EQ(chart.ValueLabelRect(1), (ui::Rect{2, 144, 82, 154}));
    EXPECT_EQ(chart.ValueLabelText(0), "0 dB%");
    EXPECT_EQ(chart.ValueLabelText(1), "21 dB%");
    EXPECT_EQ(chart.ValueLabelText(6), "130 dB%");

    // The equal-loudness marker: 1 dB, but never thinner than 2 pixels.
    EXPECT_EQ(chart.MarkerRect(5, 40), (ui::Rect{144, 128, 154, 130}));
    EXPECT_FALSE(chart.MarkerRect(5, -0.5));
}

TEST_F(BarChartTest, ItemGettersAnswerSafelyOutsideTheItems) {
    chart.AddItem("16", 40, 1, 0x123456);
    chart.AddItem("1.25 k", 50, 2, 0x654321);
    EXPECT_EQ(chart.LongestLabelItem(), 1);
    EXPECT_EQ(chart.GetItemColour(1), 0x654321u);
    for (int outside : {-1, 2}) {
        EXPECT_EQ(chart.GetItemLabel(outside), "");
        EXPECT_EQ(chart.GetItemLevel(outside), 0);
        EXPECT_EQ(chart.GetItemImage(outside), -1);
    }
    chart.RemoveAllItems();
    EXPECT_EQ(chart.LongestLabelItem(), -1);
}

TEST_F(BarChartTest, BarColoursFollowTheMeterTheContourAndTheGraphLabels) {
    SetUpAsTheView(12, 60);
    BarChartContext& context = host.context;
    context.model = "QS4060_c$1";
    context.liveKind = testkinds::kOctave;
    EXPECT_EQ(chart.BarColour(0, context), CChartWnd::kUnmeasuredBand);
    EXPECT_EQ(chart.BarColour(10, context), CChartWnd::kUnmeasuredBand);
    EXPECT_EQ(chart.BarColour(5, context), kBlue);
    context.selectedRecordInGraphLabel = true;
    EXPECT_EQ(chart.BarColour(5, context), CChartWnd::kRed);
    EXPECT_EQ(chart.BarColour(10, context), CChartWnd::kUnmeasuredBand);

    SetUpAsTheView(33, 60);
    ChooseContour();
    context.model = "QS4060_a";
    for (int unmeasured : {0, 1, 30, 31})
        EXPECT_EQ(chart.BarColour(unmeasured, context), CChartWnd::kUnmeasuredBand);
    EXPECT_EQ(chart.BarColour(18, context), CChartWnd::kChosenBand);
    EXPECT_EQ(chart.BarColour(17, context), CChartWnd::kRed);
    context.model = "QS4060_h";
    EXPECT_EQ(chart.BarColour(0, context), CChartWnd::kRed);
    context.edition = 0;
    EXPECT_EQ(chart.BarColour(18, context), CChartWnd::kRed);
}

TEST_F(BarChartTest, BandCaptionsEveryOtherBarButNeverTheOverallOfAStoredSpectrum) {
    SetUpAsTheView(33, 60);
    BarChartContext context;
    EXPECT_TRUE(chart.ShowsBandLabel(0, context));
    EXPECT_FALSE(chart.ShowsBandLabel(1, context));
    EXPECT_TRUE(chart.ShowsBandLabel(32, context));
    context.spectrumKind = "TOCTAVE";
    EXPECT_FALSE(chart.ShowsBandLabel(32, context));
    EXPECT_TRUE(chart.ShowsBandLabel(30, context));
}

TEST_F(BarChartTest, TheMarkerAndTheContourTipsBelongToAThirdOctaveChartWithAnEdition) {
    SetUpAsTheView(33, 65);
    EXPECT_FALSE(chart.MarkerLevel(18, host.context));
    ChooseContour();
    EXPECT_EQ(chart.MarkerLevel(18, host.context), 60.0);
    EXPECT_EQ(chart.MarkerLevel(1, host.context), 109.5);  // 20 Hz on the 60-phon contour
    EXPECT_FALSE(chart.MarkerLevel(0, host.context));
    EXPECT_FALSE(chart.MarkerLevel(30, host.context));

    chart.RemoveAllItems();
    for (int i = 0; i < 33; ++i)
        chart.AddItem(i == 18 ? "1 k" : "b", 65, 0, kBlue);
    EXPECT_EQ(chart.TooltipText(18, host.context),
              "fc=1 kHz Lev=65.0 dB\n\nIsophone: 60.0 dB\n\nDelta: 5.0 dB%");
    EXPECT_EQ(chart.TooltipText(0, host.context), "fc=bHz Lev=65.0 dB%");
    EXPECT_EQ(chart.TooltipText(30, host.context), "fc=bHz Lev=65.0 dB%");

    // An octave chart has no contour: its bars show their level.
    host.context.liveKind = testkinds::kOctave;
    EXPECT_FALSE(chart.MarkerLevel(18, host.context));
    EXPECT_EQ(chart.TooltipText(5, host.context), "fc=bHz Lev=65.0 dB%");
    // A third-octave chart before any contour shows nothing over the contour's bands.
    host.context.liveKind = testkinds::kThirdOctave;
    isophone.Clear();
    EXPECT_EQ(chart.TooltipText(5, host.context), "");
}

TEST_F(BarChartTest, WithoutAnEditionTipsGiveTheStepsToTheNeighbouringBands) {
    SetUpAsTheView(4, 0);
    chart.RemoveAllItems();
    chart.AddItem("63", 60, 0, kBlue);
    chart.AddItem("125", 55, 0, kBlue);
    chart.AddItem("250", 70, 0, kBlue);
    chart.AddItem("Lin", 80, 0, kBlue);
    const BarChartContext none;
    EXPECT_EQ(chart.TooltipText(0, none), "fc=63Hz Lev=60.0 dB\n\nDelta fc+1 = 5.0 dB%");
    EXPECT_EQ(chart.TooltipText(1, none),
              "fc=125Hz Lev=55.0 dB\n\nDelta fc-1 = -5.0 dB\nDelta fc+1 = -15.0 dB%");
    EXPECT_EQ(chart.TooltipText(2, none), "fc=250Hz Lev=70.0 dB\n\nDelta fc-1 = 15.0 dB%");
    EXPECT_EQ(chart.TooltipText(3, none), "Lin: Lev=80.0 dB\n%");
}

TEST_F(BarChartTest, ABarHoldsTheTipSharedByAllChartsUntilThePointerLeavesIt) {
    SetUpAsTheView(4, 50);
    EXPECT_TRUE(chart.OnMouseMove(121, 150, false));
    EXPECT_EQ(CChartWnd::HoverLock(), 2);
    EXPECT_EQ(chart.TipText(), chart.TooltipText(2, host.context));
    EXPECT_FALSE(chart.OnMouseMove(122, 160, false));

    // Another chart with fewer bars lets go of a bar it does not have.
    CChartWnd other;
    other.SetClientRect({0, 0, 400, 200});
    other.InitDefault();
    other.SetVerticalLayout();
    other.AddItem("a", 50, 0, kBlue);
    other.AddItem("b", 50, 0, kBlue);
    other.SetTextMeasure([](const std::string& text) { return 8 * static_cast<int>(text.size()); });
    other.RecalcLayout();
    EXPECT_FALSE(other.OnMouseMove(0, 0, false));
    EXPECT_EQ(CChartWnd::HoverLock(), -1);

    EXPECT_TRUE(chart.OnMouseMove(121, 150, false));
    EXPECT_TRUE(chart.OnMouseMove(300, 10, false));
    EXPECT_EQ(chart.TipText(), "");
    EXPECT_EQ(CChartWnd::HoverLock(), -1);

    // With the button held the pointer only finds label cells.
    EXPECT_FALSE(chart.OnMouseMove(121, 150, true));
    EXPECT_EQ(CChartWnd::HoverLock(), -1);
    EXPECT_FALSE(chart.OnMouseMove(10, 30, true));
    EXPECT_EQ(chart.HoveredItem(), 0);
    chart.OnLButtonDown(10, 30);
    EXPECT_EQ(chart.SelectedItem(), 0);
}

TEST_F(BarChartTest, AClickOnAThirdOctaveBarChoosesItsBandForTheContour) {
    SetUpAsTheView(33, 50);
    int redraws = 0;
    chart.SetRedrawHandler([&redraws] { ++redraws; });
    const ui::Rect bar5 = chart.BarHitRect(5);

    chart.OnLButtonDown(bar5.left + 1, bar5.bottom - 1);
    EXPECT_TRUE(host.chosenBands.empty());  // no edition
    EXPECT_GE(redraws, 1);

    ChooseContour();
    chart.OnLButtonDown(bar5.left + 1, bar5.bottom - 1);
    const ui::Rect bar0 = chart.BarHitRect(0);
    chart.OnLButtonDown(bar0.left + 1, bar0.bottom - 1);
    const ui::Rect bar30 = chart.BarHitRect(30);
    chart.OnLButtonDown(bar30.left + 1, bar30.bottom - 1);
    EXPECT_EQ(host.chosenBands, (std::vector<int>{5}));

    host.context.liveKind = testkinds::kOctave;
    chart.OnLButtonDown(bar5.left + 1, bar5.bottom - 1);
    EXPECT_EQ(host.chosenBands, (std::vector<int>{5}));
}
