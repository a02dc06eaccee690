// The "Spectrum" window: the colour of a level, the rows it plots, its range boxes and the
// ranges it refuses, and the replay of the loaded record, which never asks for a spectrum the
// data buffer does not hold.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "charts/demo_dlg.h"
#include "fake_spectrum_host.h"
#include "support/record_kinds.h"
#include "support/test_env.h"
#include "ui/hooked_dialog.h"

using charts::CDemoDlg;
using charts::LevelColour;
using chartstest::FakeSpectrumHost;
using ui::IdName;

namespace {

std::vector<std::uint16_t> Words(std::initializer_list<int> tenths) {
    return std::vector<std::uint16_t>(tenths.begin(), tenths.end());
}

class DemoDlgTest : public ::testing::Test {
protected:
    DemoDlgTest() { host.MakeSpectra(20, CDemoDlg::kOctaveBands); }
    // Explicit ranges as the operator picks them: bands, dB (multiples of 10), spectra.
    void PickRanges(int xMin, int xMax, int yMin, int yMax, int zMin, int zMax) {
        window.OnRangeSelChange(CDemoDlg::IDC_FREQ_MIN, xMin);
        window.OnRangeSelChange(CDemoDlg::IDC_FREQ_MAX, xMax);
        window.OnRangeSelChange(CDemoDlg::IDC_AMPL_MIN, yMin / 10 + 1);
        window.OnRangeSelChange(CDemoDlg::IDC_AMPL_MAX, yMax / 10 + 1);
        window.m_strTimeMin = std::to_string(zMin);
        window.m_strTimeMax = std::to_string(zMax);
    }
    // The level of each row's first band.
    std::vector<int> FirstBands() const {
        std::vector<int> levels;
        for (int row = 0; row < window.Row(); ++row)
            levels.push_back(static_cast<int>(window.Graph().ElementPoints(row).front().y));
        return levels;
    }

    testenv::TestOperator op;
    FakeSpectrumHost host;
    CDemoDlg window{host, host.mode, host.recording};
};

}  // namespace

TEST(LevelColourTest, ALevelTakesTheFirstOfThirteenIntervalsThatHoldsIt) {
    EXPECT_EQ(LevelColour(0, 0, 130), 0xFF0000u);
    EXPECT_EQ(LevelColour(9, 0, 130), 0xFF0000u);
    EXPECT_EQ(LevelColour(10, 0, 130), 0xFF5500u);
    EXPECT_EQ(LevelColour(119, 0, 130), 0x00FFFFu);
    EXPECT_EQ(LevelColour(125, 0, 130), 0x0000FFu);
    EXPECT_EQ(LevelColour(160, 0, 130), 0x0000FFu);  // open upwards
    EXPECT_FALSE(LevelColour(39, 40, 100));          // below the range: no colour
    // A range of 12 dB has steps of 0: only the open last interval holds anything.
    EXPECT_EQ(LevelColour(0, 0, 12), 0x0000FFu);
    EXPECT_EQ(LevelColour(7, 0, 12), 0x0000FFu);
    EXPECT_FALSE(LevelColour(-1, 0, 12));
}

TEST(LevelColourTest, BandWordsArePlottedInWholeDecibelsAndOutOfScaleOnesAtZero) {
    EXPECT_EQ(charts::PlottedLevel(1605), 160);
    EXPECT_EQ(charts::PlottedLevel(1610), 0);
    EXPECT_EQ(charts::PlottedLevel(459), 45);
    EXPECT_EQ(charts::PlottedLevel(0xFF9C), 0);  // the meter's missing value
}

TEST_F(DemoDlgTest, ASpectrumBecomesTheNextRowWithEachLevelInItsColour) {
    window.OnInitDialog();
    PickRanges(1, 12, 50, 130, 0, 1);  // steps of 80 / 13 = 6 dB
    window.ApplyGraphSettings();
    ASSERT_EQ(window.Row(), 1);
    const auto bands =
        Words({455, 1250, 1605, 1610, 0xFF9C, 700, 800, 900, 1000, 1100, 1200, 1190});
    window.AddOctaveSpectrum(bands);
    EXPECT_EQ(window.Row(), 2);

    const auto& row = window.Graph().ElementPoints(1);
    ASSERT_EQ(row.size(), 12u);
    for (int b = 0; b < 12; ++b) {
        EXPECT_EQ(row[b].x, b + 1);
        EXPECT_EQ(row[b].z, 1);
        EXPECT_EQ(row[b].width, CDemoDlg::kRowWidth);
    }
    EXPECT_EQ(row[0].y, 45);
    EXPECT_EQ(row[5].line, 0xFFFF00u);  // 70 dB: within 50 + 3 x 6 .. 50 + 4 x 6
    // Levels below Y min take no colour of their own: they keep the one before.
    EXPECT_EQ(row[3].line, row[2].line);
    EXPECT_EQ(row[4].line, row[2].line);
}

TEST_F(DemoDlgTest, TheInitialSetUpFollowsTheModeAndTheLegendStartsTenAboveYMin) {
    host.mode.ChooseChannel(testkinds::kThirdOctave);
    host.MakeSpectra(7, CDemoDlg::kThirdOctaveBands);
    ASSERT_TRUE(window.Create());
    QDialog* dialog = window.Window();
    EXPECT_EQ(dialog->windowTitle(), "Spectrum");
    EXPECT_EQ(window.ZMax(), 7);
    EXPECT_EQ(window.m_strTimeMax, "7");
    EXPECT_EQ(window.Graph().BandScale(), 1);
    EXPECT_EQ(window.Graph().XTicks(), 34);

    auto* freq = dialog->findChild<QComboBox*>(IdName(CDemoDlg::IDC_FREQ_MAX));
    ASSERT_NE(freq, nullptr);
    EXPECT_EQ(freq->count(), 34);
    EXPECT_EQ(freq->itemText(19), "1k");
    EXPECT_EQ(freq->itemText(33), "WB");
    auto* ampl = dialog->findChild<QComboBox*>(IdName(CDemoDlg::IDC_AMPL_MIN));
    EXPECT_EQ(ampl->itemText(14), "130");

    // At opening the texts run from Y min + 10 at the bottom to Y min + 130 at the top.
    EXPECT_EQ(window.LegendText(CDemoDlg::IDC_LEGEND_BOTTOM), "10");
    EXPECT_EQ(window.LegendText(CDemoDlg::IDC_LEGEND_TOP), "130");
    EXPECT_EQ(dialog->findChild<QLabel*>(IdName(1699))->text(), "20");

    // While the meter acquires, the ranges cannot be changed.
    CDemoDlg live(host, host.mode, host.recording, &window);
    ASSERT_TRUE(host.mode.BeginLive());
    live.Create();
    EXPECT_FALSE(live.Window()->findChild<QComboBox*>(IdName(1677))->isEnabled());
    EXPECT_FALSE(live.Window()->findChild<QLineEdit*>(IdName(1681))->isEnabled());
    EXPECT_FALSE(live.Window()->findChild<QPushButton*>(IdName(1674))->isEnabled());
}

TEST_F(DemoDlgTest, AutoInAnyBoxPutsAllFourOnAuto) {
    window.Create();
    PickRanges(2, 9, 30, 100, 0, 5);
    for (int id : {1677, 1678, 1679, 1680})
        EXPECT_NE(window.Box(id).selection, 0) << id;
    window.OnRangeSelChange(CDemoDlg::IDC_AMPL_MAX, 0);
    for (int id : {1677, 1678, 1679, 1680}) {
        EXPECT_EQ(window.Box(id).selection, 0) << id;
        EXPECT_EQ(window.Window()->findChild<QComboBox*>(IdName(id))->currentIndex(), 0);
    }
    EXPECT_TRUE(window.IsAutoRange());
}

TEST_F(DemoDlgTest, WrongRangesAreToldAndLeaveTheGraphAsItWas) {
    window.OnInitDialog();
    window.ApplyGraphSettings();  // automatic: every spectrum
    ASSERT_EQ(window.Row(), 20);
    const auto points = window.Graph().PointCount();

    PickRanges(5, 5, 0, 130, 0, 10);
    op.ExpectBox("ERROR: X axis Min value  >  X axis  Max Value");
    window.ApplyGraphSettings();
    PickRanges(1, 5, 100, 50, 0, 10);
    op.ExpectBox("ERROR: Y axis Min value  > Y axis Max Value");
    window.ApplyGraphSettings();
    PickRanges(1, 5, 0, 130, 5, 5);
    op.ExpectBox("ERROR: Z axis Min value  > Z axis Max Value");
    window.ApplyGraphSettings();

    EXPECT_EQ(window.Row(), 20);
    EXPECT_EQ(window.Graph().PointCount(), points);
    EXPECT_EQ(window.YMax(), 130);
}

TEST_F(DemoDlgTest, ApplyReplaysTheChosenSpectraWithinTheRangesItSet) {
    window.OnInitDialog();
    PickRanges(1, 12, 40, 100, 3, 7);
    window.ApplyGraphSettings();
    EXPECT_FALSE(window.IsAutoRange());
    EXPECT_EQ(FirstBands(), (std::vector<int>{43, 44, 45, 46}));
    EXPECT_EQ(window.Graph().ElementPoints(0).front().z, 0);  // rows count from the first shown
    const auto r = window.Graph().EffectiveRange();
    EXPECT_EQ(r.yMin, 40);
    EXPECT_EQ(r.yMax, 100);
    EXPECT_EQ(r.zMax, 4);
    // The legend follows the new range: steps of 60 / 13 = 4 dB.
    EXPECT_EQ(window.LegendText(CDemoDlg::IDC_LEGEND_BOTTOM), "40");
    EXPECT_EQ(window.LegendText(CDemoDlg::IDC_LEGEND_TOP), "88");
}

TEST_F(DemoDlgTest, TheReplayRangeIsHeldToTheSpectraTheBufferHolds) {
    window.OnInitDialog();
    host.mode.ChooseChannel(testkinds::kThirdOctave);
    host.MakeSpectra(20, CDemoDlg::kThirdOctaveBands);
    PickRanges(1, 12, 0, 130, -5, 2000000000);
    window.ApplyGraphSettings();
    EXPECT_EQ(window.Row(), 20);
    EXPECT_EQ(window.ZMax(), 20);
    ASSERT_FALSE(host.asked.empty());
    EXPECT_EQ(*std::min_element(host.asked.begin(), host.asked.end()), 0);
    EXPECT_EQ(*std::max_element(host.asked.begin(), host.asked.end()), 19);
    EXPECT_EQ(window.Graph().ElementPoints(0).size(), 33u);
}

TEST_F(DemoDlgTest, AScheduledAcquisitionsStartIsFollowedByTenGapRowsFromTheFourthSpectrumOn) {
    window.OnInitDialog();
    // Spectrum i carries the time of day i s; a 3 s acquisition sampled every 2 s starts a
    // report interval at 2, 5, 8, ... s.
    acquisition::Timebase& timebase = host.recording.Time();
    timebase.SetScheduleTimes(records::ScheduleTime::FromSeconds(3),
                              records::ScheduleTime::FromSeconds(600));
    timebase.SetSamplingInterval(2.0f);
    timebase.SetSegments({0}, {"0#2024/03/09 14:05:07 "});
    window.ApplyGraphSettings();
    ASSERT_EQ(window.Row(), 20 + 5 * CDemoDlg::kSeparatorRows);  // after 5, 8, 11, 14 and 17
    EXPECT_EQ(FirstBands()[3], 43);
    EXPECT_EQ(FirstBands()[5], 45);
    for (int row = 6; row < 6 + CDemoDlg::kSeparatorRows; ++row)
        for (const auto& point : window.Graph().ElementPoints(row))
            EXPECT_EQ(point.y, 0) << row;
    EXPECT_EQ(FirstBands()[16], 46);
}

TEST_F(DemoDlgTest, TheLiveWindowsReplayGoesIntoTheLoadedDataWindowAfresh) {
    CDemoDlg live(host, host.mode, host.recording, &window);
    live.OnInitDialog();
    window.OnInitDialog();
    window.ApplyGraphSettings();
    live.AddOctaveSpectrum(Words({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));

    live.ApplyGraphSettings();
    EXPECT_EQ(live.Row(), 0);
    EXPECT_EQ(window.Row(), 20);  // not 40: its old rows went first
}

TEST_F(DemoDlgTest, ApplyOnTheLiveSegmentAsksFirst) {
    window.OnInitDialog();
    host.recording.SelectSegment(-1);
    op.ExpectBox("Changing graph setting will clear current graph", IDNO);
    window.OnApply();
    EXPECT_EQ(window.Row(), 0);
    host.recording.SelectSegment(2);  // a recorded segment: at once
    window.OnApply();
    EXPECT_EQ(window.Row(), 20);
}

TEST_F(DemoDlgTest, HighlightingARowPutsTheRowBeforeBackAsItWas) {
    window.OnInitDialog();
    window.ApplyGraphSettings();
    charts::CGraph3D& graph = window.Graph();
    const COLORREF row3 = graph.GetElementLineColor(3);

    window.HighlightRow(3);
    EXPECT_EQ(graph.GetElementLineColor(3), CDemoDlg::kHighlightColour);
    EXPECT_EQ(graph.ElementLineWidth(3), CDemoDlg::kHighlightWidth);

    window.HighlightRow(8);
    EXPECT_EQ(graph.GetElementLineColor(3), row3);
    EXPECT_EQ(graph.ElementLineWidth(3), CDemoDlg::kRowWidth);
    EXPECT_FALSE(graph.IsEmphasised(3));

    // Clearing the rows forgets the highlight: the next one restores nothing on a new row.
    window.ApplyGraphSettings();
    EXPECT_EQ(window.HighlightedRow(), -1);
    window.HighlightRow(2);
    EXPECT_FALSE(graph.IsEmphasised(8));
}
