// The chart windows built with what the frame hands them, and no frame: the legend loads the
// selected segment again through the function it was given, and the "Spectrum" window of the
// loaded data shows the spectra of the data buffer it was given, of the meter's kind only.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "acquisition/recording.h"
#include "app/chart_windows.h"
#include "app/kx9monitor_app.h"
#include "app/main_frame_window.h"
#include "app/view_lookup.h"
#include "link/instr_status.h"
#include "link/link_reply_state.h"
#include "link/meter_mode.h"
#include "records/record_layout.h"
#include "support/record_kinds.h"
#include "support/test_env.h"

namespace {

class ChartWindowsTest : public ::testing::Test {
protected:
    // `count` octave spectra in the buffer; spectrum i has band b at (60 + i + b) dB.
    void LoadOctaveSpectra(int count) {
        const records::RecordLayout layout(testkinds::kOctave);
        recording.SetLayout(layout, 100);
        recording.SetLoadedPage(0, layout.PageBytes(count), "");
        for (int sample = 0; sample < count; ++sample)
            for (int band = 0; band < layout.ValuesPerSample(); ++band) {
                const size_t at = records::kPageStartBytes +
                                  2 * static_cast<size_t>(layout.ValueWordIndex(sample, band));
                const int tenths = (60 + sample + band) * 10;
                buffer[at] = static_cast<unsigned char>(tenths & 0xFF);
                buffer[at + 1] = static_cast<unsigned char>(tenths >> 8);
            }
    }

    testenv::TestOperator op;
    // The views are asked of the application; there is none here.
    CKX9MonitorApp app;
    FrameWindowHolder window;
    ViewLookup views{window};
    LinkReplyState listeners;
    MeterMode mode{listeners};
    acquisition::Recording recording;
    CInstrStatus setup;
    std::string spectrumKind;
    std::vector<unsigned char> buffer = std::vector<unsigned char>(4096, 0);
    std::vector<int> opened;
    ChartWindows charts{{
        .recording = recording,
        .mode = mode,
        .views = views,
        .setup = setup,
        .spectrumKind = spectrumKind,
        .dataBuffer = buffer,
        .openSegment = [this](int segment) { opened.push_back(segment); },
    }};
};

}  // namespace

TEST_F(ChartWindowsTest, ATickedLegendBoxLoadsTheSelectedSegmentAgainButNeverTheLiveOne) {
    charts.Host().ReloadSelectedSegment();
    EXPECT_TRUE(opened.empty());

    recording.SelectSegment(3);
    charts.Legend().OnChannelCheck(1, true);
    charts.Host().ReloadSelectedSegment();
    EXPECT_EQ(opened, (std::vector<int>{3, 3}));
}

TEST_F(ChartWindowsTest, TheLoadedDataWindowShowsTheBuffersSpectraOfTheMetersKindOnly) {
    LoadOctaveSpectra(3);
    mode.ChooseChannel(testkinds::kThirdOctave);
    charts.ShowLoadedSpectra();
    EXPECT_TRUE(charts.LoadedSpectra().IsWindowVisible());
    EXPECT_EQ(charts.LoadedSpectra().Row(), 0);

    mode.ChooseChannel(testkinds::kOctave);
    charts.ReloadLoadedSpectra();
    ASSERT_EQ(charts.LoadedSpectra().Row(), 3);
    EXPECT_EQ(charts.LoadedSpectra().Graph().ElementPoints(1).front().y, 61);

    // A buffer cut short of the page: only the spectra it holds whole.
    buffer.resize(static_cast<size_t>(records::RecordLayout(testkinds::kOctave).PageBytes(2)));
    charts.ReloadLoadedSpectra();
    EXPECT_EQ(charts.LoadedSpectra().Row(), 2);

    charts.HideSpectrumWindows();
    EXPECT_FALSE(charts.LoadedSpectra().IsWindowVisible());
}
