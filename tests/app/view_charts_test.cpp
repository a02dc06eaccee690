// The main view's charts in the program: a click on a third-octave bar chooses the band of the
// equal-loudness contour, the frame computes the contour from the loaded data or a report row,
// and the charts read the program's state through the frame.
#include <gtest/gtest.h>

#include <QWidget>
#include <memory>

#include "app/chart_windows.h"
#include "app/kx9monitor_view_widget.h"
#include "charts/bar_chart_window.h"
#include "platform/text.h"
#include "support/record_kinds.h"
#include "view_test_support.h"

using namespace viewtest;

namespace {

// A report row of third-octave levels as the view hands it on: "heading\tlevel\r\n" per band.
std::string ReportRow(double level, int chosenBand, double chosenLevel) {
    std::string text;
    for (int band = 0; band < 33; ++band) {
        text += platform::Format("b%d\t%.1f\r\n", band, band == chosenBand ? chosenLevel : level);
    }
    return text;
}

}  // namespace

TEST_F(ViewTest, AClickOnAThirdOctaveBarChoosesTheContourBandAndRedrawsTheGraphWindows) {
    view.OnInitialUpdate();
    charts::CChartWnd& chart = *view.BandChart(CKX9MonitorView::IDC_DATA_CHART);
    chart.SetClientRect({0, 0, 400, 200});
    for (int band = 0; band < 33; ++band)
        chart.AddItem("b", 60, 0, 0xFF0000);
    chart.RecalcLayout();
    frame.Mode().ChooseChannel(kThirdOctave);
    const ui::Rect bar = chart.BarHitRect(7);

    chart.OnLButtonDown(bar.left + 1, bar.bottom - 1);
    EXPECT_EQ(frame.Charts().Isophone().SelectedBand(), 0);  // no edition chosen in the view

    // The selected record of a loaded third-octave page: its bars come back from the buffer.
    frame.m_recording.SetLayout(records::RecordLayout(kThirdOctave), 2);
    frame.m_recording.SetLoadedPage(0, 20 + 2 * 68, "");
    frame.m_recording.SelectRecord(1);
    for (int band = 0; band < 33; ++band) {
        const size_t word = 20 + 68 + 2 * (1 + band);
        const int tenths = band == 7 ? 612 : 600;
        app.m_DataBuffer[word] = tenths & 0xFF;
        app.m_DataBuffer[word + 1] = tenths >> 8;
    }
    view.m_nIsophone = 2;
    chart.OnLButtonDown(bar.left + 1, bar.bottom - 1);
    EXPECT_EQ(frame.Charts().Isophone().SelectedBand(), 7);
    ASSERT_EQ(chart.GetItemCount(), 33);
    EXPECT_FLOAT_EQ(chart.GetItemLevel(7), 61.2f);
    EXPECT_FLOAT_EQ(chart.GetItemLevel(8), 60.0f);
    EXPECT_EQ(chart.BarColour(7, chart.Context()), charts::CChartWnd::kChosenBand);

    view.m_nURLine = 1;
    view.m_nURLevel = 85;
    app.m_InstrStatus.m_strModel = "QS4060_b";
    const charts::BarChartContext context = chart.Context();
    EXPECT_TRUE(context.urLine);
    EXPECT_EQ(context.urLevel, 85);
    EXPECT_EQ(context.model, "QS4060_b");
}

TEST_F(ViewTest, TheFrameComputesTheContourFromAReportRowOrALoadedRecord) {
    view.OnInitialUpdate();
    view.m_nIsophone = 2;
    frame.Charts().Isophone().SelectBand(18);  // 1 kHz: report line 18
    // 105.3 dB at 1 kHz is read whole, between the 100- and 110-phon contours.
    frame.Charts().ComputeIsophoneForLevels(ReportRow(40, 18, 105.3));
    EXPECT_EQ(frame.Charts().Isophone().LevelDb(17), 105.3);
    EXPECT_GT(*frame.Charts().Isophone().LevelDb(0), 130);

    // Record 1 of the loaded page: 63.7 dB at 1 kHz (word 19 of the record), shown in whole dB
    // under the meter's half-band shift.
    app.m_InstrStatus.m_strHalfBandShift = "ON";
    frame.m_recording.SetLayout(records::RecordLayout(kThirdOctave), 100);
    frame.m_recording.SetLoadedPage(0, CKX9MonitorApp::kDataBufferSize, "");
    const size_t word = 20 + 2 * (34 * 1 + 19);
    app.m_DataBuffer[word] = 637 & 0xFF;
    app.m_DataBuffer[word + 1] = 637 >> 8;
    frame.Charts().ComputeIsophoneForBand(1);
    EXPECT_EQ(frame.Charts().Isophone().LevelDb(17), 63.0);

    // A record the buffer does not hold leaves the contour as it was.
    const int beyond = static_cast<int>((CKX9MonitorApp::kDataBufferSize - 20) / 68);
    frame.Charts().ComputeIsophoneForBand(beyond);
    frame.Charts().ComputeIsophoneForBand(-1);
    EXPECT_EQ(frame.Charts().Isophone().LevelDb(17), 63.0);
}

TEST_F(ViewTest, TheLegendReachesTheChannelsTheSegmentAndTheRecordingsGraph) {
    view.OnInitialUpdate();
    charts::ChartsHost& host = frame.Charts().Host();
    app.m_InstrStatus.m_strSlm5Param = "Lpk:C";
    frame.Charts().Legend().OnShowWindow();
    EXPECT_EQ(frame.Charts().Legend().ChannelLabel(4), "Lpk:C");
    EXPECT_EQ(host.ChannelColours()[1], 0x0000FFu);  // the data graph's

    // No recording's graph: clearing a channel does nothing; no segment: nothing is loaded.
    host.ClearChannelCurve(3);
    host.ReloadSelectedSegment();
    EXPECT_EQ(frame.m_recording.LoadedBytes(), 0);
    app.m_strCurrentFile = folder.File("rec.kr9");
    frame.m_recording.SelectSegment(2);
    op.ExpectBox("ERROR: Unable to open file");
    host.ReloadSelectedSegment();
    EXPECT_EQ(frame.m_recording.SelectedPage(), 2);

    EXPECT_TRUE(host.ReportListScreenRect().isEmpty());  // no window shows the view
    EXPECT_EQ(&host.Chart3D(), &view.m_Chart3d);
}

TEST_F(ViewTest, TheViewsWindowShowsTheBandChartsAndLetsGoOfThemWithTheView) {
    auto owned = std::make_unique<CKX9MonitorView>(&frame.ViewUses());
    std::unique_ptr<QWidget> window(CreateViewWidget(*owned, nullptr));
    auto* chart = window->findChild<charts::BarChartWindow*>("1604");
    ASSERT_NE(chart, nullptr);
    owned->ShowControl(CKX9MonitorView::IDC_DATA_CHART, true);
    window->show();
    EXPECT_TRUE(chart->isVisible());
    EXPECT_EQ(owned->BandChart(1604)->ClientRect().right, chart->width());

    owned.reset();
    chart->repaint();  // paints nothing, reads nothing of the view that went
    window.reset();
}
