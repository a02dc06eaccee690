// The graph legend and the 3-D view settings: what their fields show, what their buttons do to
// the program and to the chart, and the ranges they refuse.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

#include "charts/graph_legend_dlg.h"
#include "charts/setup_3d_graph_dlg.h"
#include "fake_charts_host.h"
#include "link/instr_status.h"
#include "platform/event_loop.h"
#include "support/test_env.h"
#include "ui/button_st.h"
#include "ui/hooked_dialog.h"

using charts::CGraphLegendDlg;
using charts::CSetup3DGraphDlg;
using chartstest::FakeChartsHost;
using ui::IdName;

namespace {

template <typename W>
W* Control(QDialog* dialog, int id) {
    return dialog ? dialog->findChild<W*>(IdName(id)) : nullptr;
}

class LegendTest : public ::testing::Test {
protected:
    LegendTest() {
        setup.m_strSlm1Param = "Leq:A";
        setup.m_strSlm2Param = "LFmx:A";
        setup.m_strSlm3Param = "Lpk:C";
        setup.m_strSlm4Param = "LSmn:A";
        setup.m_strSlm5Param = "LE:Z";
        setup.m_strModel = "QS4060_rn0$1";
    }
    testenv::TestOperator op;
    FakeChartsHost host;
    CInstrStatus setup;
    CGraphLegendDlg legend{host, host.recording, setup};
};

class Setup3DTest : public ::testing::Test {
protected:
    Setup3DTest() {
        host.chart3d.SetViewAngles(-30, 30);
        host.chart3d.SetViewGeometry(0, 30, 0, 140, 0, 100);
        dialog.Create();
        host.chart3d.SetRedrawHandler([this] { ++redraws; });
    }
    void Ranges(int yMin, int yMax, int zMin, int zMax) {
        dialog.m_nYMin = yMin;
        dialog.m_nYMax = yMax;
        dialog.m_nZMin = zMin;
        dialog.m_nZMax = zMax;
    }
    testenv::TestOperator op;
    FakeChartsHost host;
    std::string spectrumKind;
    CSetup3DGraphDlg dialog{host, spectrumKind};
    int redraws = 0;
};

}  // namespace

TEST_F(LegendTest, AThreeChannelMeterShowsThreeLinesAllCheckedWithTheirParameters) {
    host.reportList = QRect(100, 200, 500, 300);
    legend.Create();
    QDialog* window = legend.Window();
    legend.ShowWindow(true);
    // On the bottom-right corner of the report list.
    EXPECT_EQ(window->frameGeometry().bottomRight(), host.reportList.bottomRight());
    for (int channel = 0; channel < charts::kLegendChannels; ++channel) {
        EXPECT_TRUE(legend.IsChecked(channel));
        auto* box = Control<QCheckBox>(window, CGraphLegendDlg::IDC_CHECKS[channel]);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->isVisible(), channel < 3) << channel;
        EXPECT_TRUE(box->isChecked());
        EXPECT_FALSE(box->isEnabled());  // the live segment
    }
    EXPECT_EQ(Control<QLabel>(window, 1512)->text(), "Leq:A");
    EXPECT_EQ(Control<QLabel>(window, 1510)->text(), "Lpk:C");
    EXPECT_FALSE(Control<QLabel>(window, CGraphLegendDlg::IDC_SWATCH_5)->isVisible());

    // A five-channel meter on a recorded segment: five lines, boxes to click.
    setup.m_strModel = "QS4160_x$1";
    host.recording.SelectSegment(2);
    legend.ShowWindow(false);
    legend.ShowWindow(true);
    EXPECT_TRUE(legend.FiveChannels());
    EXPECT_TRUE(Control<QCheckBox>(window, 1522)->isVisible());
    EXPECT_TRUE(Control<QCheckBox>(window, 1522)->isEnabled());
    EXPECT_EQ(Control<QLabel>(window, 1514)->text(), "LE:Z");
    EXPECT_TRUE(Control<QLabel>(window, CGraphLegendDlg::IDC_SWATCH_4)->isVisible());
}

TEST_F(LegendTest, TheLegendIsPlacedWithItsLinesFilledAndStaysOnTheScreen) {
    setup.m_strModel = "QS4160_x$1";
    setup.m_strSlm1Param = "LAFmax:A (massimo ponderato nel tempo)";
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // A report list that ends at the screen's bottom-right corner: the legend meets it there.
    host.reportList =
        QRect(screen.left() + 10, screen.top() + 10, screen.width() - 10, screen.height() - 10);
    legend.Create();
    legend.ShowWindow(true);
    platform::EventLoop::ProcessPending();  // the layout's own requests come after the showing
    QDialog* window = legend.Window();
    EXPECT_EQ(window->frameGeometry().bottomRight(), host.reportList.bottomRight());
    EXPECT_GE(window->width(), window->sizeHint().width());

    // A list beyond the screen's edge: the legend stays on the screen, also when shown again.
    legend.ShowWindow(false);
    legend.DestroyWindow();
    host.reportList.translate(300, 200);
    for (int shown = 0; shown < 2; ++shown) {
        legend.Create();
        legend.ShowWindow(false);
        legend.ShowWindow(true);
        platform::EventLoop::ProcessPending();
        EXPECT_TRUE(screen.contains(legend.Window()->frameGeometry())) << shown;
    }
}

TEST_F(LegendTest, ClearingABoxEmptiesThatCurveAndTickingItLoadsTheSegmentAgain) {
    legend.Create();
    legend.ShowWindow(true);
    legend.OnChannelCheck(2, false);
    EXPECT_EQ(host.clearedChannels, (std::vector<int>{2}));
    EXPECT_FALSE(legend.IsChecked(2));

    legend.OnChannelCheck(2, true);  // no recorded segment: nothing to load
    EXPECT_EQ(host.reloads, 0);
    host.recording.SelectSegment(0);
    legend.OnChannelCheck(2, true);
    EXPECT_EQ(host.reloads, 1);
    EXPECT_TRUE(legend.IsChecked(2));

    // The operator's click goes the same way.
    host.recording.SelectSegment(1);
    legend.ShowWindow(false);
    legend.ShowWindow(true);
    Control<QCheckBox>(legend.Window(), 1519)->click();
    EXPECT_EQ(host.clearedChannels, (std::vector<int>{2, 1}));
}

TEST_F(Setup3DTest, TheFieldsStartFromTheChartAndTheAnglesFromTheirDefaults) {
    EXPECT_EQ(dialog.m_nYMax, 140);
    EXPECT_EQ(dialog.m_nYMin, 0);
    EXPECT_EQ(dialog.m_nZMax, 100);
    EXPECT_EQ(dialog.m_nZMin, 0);
    EXPECT_EQ(Control<QLineEdit>(dialog.Window(), CSetup3DGraphDlg::IDC_Y_MAX)->text(), "140");
}

TEST_F(Setup3DTest, RotationAndOriginGoToTheChartAtOnceAndTheRotationStopsShortOfARightAngle) {
    dialog.OnRotate(1);
    EXPECT_EQ(host.chart3d.FirstAngle(), -29);
    EXPECT_EQ(host.chart3d.SecondAngle(), 31);
    EXPECT_TRUE(host.chart3d.IsDirty());
    EXPECT_EQ(redraws, 1);
    for (int i = 0; i < 100; ++i)
        dialog.OnRotate(1);
    EXPECT_EQ(host.chart3d.SecondAngle(), charts::CChart3d::kMaxAngle);
    EXPECT_EQ(dialog.SecondAngle(), charts::CChart3d::kMaxAngle);
    EXPECT_EQ(host.chart3d.FirstAngle(), 71);

    Control<ui::CButtonST>(dialog.Window(), CSetup3DGraphDlg::IDC_ORIGIN_LEFT)->click();
    Control<ui::CButtonST>(dialog.Window(), CSetup3DGraphDlg::IDC_ORIGIN_UP)->click();
    EXPECT_EQ(host.chart3d.HorizontalOrigin(), -1.0);
    EXPECT_EQ(host.chart3d.VerticalOrigin(), 5.0);
    dialog.OnMoveOrigin(1.0, -5.0);
    EXPECT_EQ(host.chart3d.HorizontalOrigin(), 0.0);
    EXPECT_EQ(host.chart3d.VerticalOrigin(), 0.0);
}

TEST_F(Setup3DTest, ApplyGivesTheChartTheRangesWithLevelLinesOf20Or10Or5Steps) {
    struct Case {
        int yMin, yMax;
        int divisions;
    };
    for (const Case& c : {Case{0, 130, 13}, Case{0, 100, 5}, Case{0, 35, 7}, Case{20, 23, 1}}) {
        Ranges(c.yMin, c.yMax, 10, 60);
        dialog.OnApply();
        EXPECT_EQ(host.chart3d.GridDivisionsY(), c.divisions) << c.yMax;
    }
    spectrumKind = "TOCTAVE";
    Ranges(10, 110, 5, 45);
    dialog.OnApply();
    EXPECT_EQ(host.chart3d.GetViewSettings(), (std::array<double, 6>{0, 30, 0, 100, 0, 40}));
    EXPECT_EQ(host.chart3d.GridDivisionsX(), 32);
    EXPECT_EQ(host.chart3d.LevelOffset(), 10);
    EXPECT_EQ(host.chart3d.SpectrumOffset(), 5);
    spectrumKind = "OCTAVE";
    dialog.OnApply();
    EXPECT_EQ(host.chart3d.GetViewSettings()[1], 10);
    EXPECT_EQ(host.chart3d.GridDivisionsX(), 11);
}

TEST_F(Setup3DTest, WrongRangesAreToldAndLeaveTheChartAlone) {
    const auto before = host.chart3d.GetViewSettings();
    op.ExpectBox("Max Interval allowed is 3000 spectrum.");
    Ranges(0, 100, 0, 3001);
    dialog.OnApply();
    op.ExpectBox("ERROR: Max Z\tand Min Z must be positive and Max Z must be greater than Min Z.");
    Ranges(0, 100, 10, 10);
    dialog.OnApply();
    op.ExpectBox("ERROR: Max Y\tand Min Y must be positive and Max Y must be greater than Min Y.");
    Ranges(-10, 100, 0, 50);
    dialog.OnApply();
    op.ExpectBox("ERROR: Max Y\tand Min Y must be positive and Max Y must be greater than Min Y.");
    Ranges(50, 50, 0, 50);
    dialog.OnApply();
    EXPECT_EQ(host.chart3d.GetViewSettings(), before);
    EXPECT_EQ(redraws, 0);
}
