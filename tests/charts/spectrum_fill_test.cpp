// A band chart given one spectrum: the value axis in whole steps, the bars and their labels, the
// levels read from a live reply and from a report row; and the read-out of the graph of a recording
// under the pointer.
#include <gtest/gtest.h>

#include <map>

#include "charts/bar_chart.h"
#include "charts/point_readout.h"
#include "charts/spectrum_bands.h"
#include "charts/spectrum_chart_fill.h"
#include "platform/text.h"
#include "records/band_labels.h"
#include "support/record_kinds.h"

using charts::CChartWnd;

namespace {

// A live octave reply: one line per band, the level in the five characters before its CR LF;
// the overall level on a line of its own after the last band.
std::string OctaveReply() {
    std::string reply;
    for (int b = 0; b < 11; ++b)
        reply += platform::Format("B%02d:%5.1f\r\n", b, 40.5 + b);
    return reply + "   LIN: 88.1\r\n";
}

}  // namespace

TEST(SpectrumFillTest, TheValueAxisTakesWholeStepsThatSuitItsRange) {
    CChartWnd chart;
    const std::pair<float, float> ranges[] = {{0, 130}, {0, 70}, {10, 48}, {0, 35}, {0, 3}};
    const std::pair<float, int> expected[] = {{120, 6}, {70, 7}, {40, 3}, {35, 7}, {3, 0}};
    for (size_t i = 0; i < std::size(ranges); ++i) {
        SCOPED_TRACE(i);
        chart.SetRange(ranges[i].first, ranges[i].second, 4);
        charts::ScaleValueAxis(chart);
        EXPECT_EQ(chart.Maximum(), expected[i].first);
        if (expected[i].second > 0)
            EXPECT_EQ(chart.Divisions(), expected[i].second);
        else
            EXPECT_EQ(chart.Divisions(), 4);  // narrower than a step: kept as it was
    }
}

TEST(SpectrumFillTest, EachKindOfSpectrumHasItsBandLabelsAndTheWeightingLast) {
    CChartWnd chart;
    std::vector<float> levels;
    for (std::uint16_t word = 400; word < 400 + 33; ++word)
        levels.push_back(charts::StoredBandLevel(word));
    levels[5] = charts::StoredBandLevel(0xFF9C);
    charts::AddSpectrumBars(chart, testkinds::kThirdOctave, levels, "Lin");
    ASSERT_EQ(chart.GetItemCount(), 33);
    EXPECT_EQ(chart.GetItemLabel(0), "16");
    EXPECT_EQ(chart.GetItemLabel(18), "1 k");
    EXPECT_EQ(chart.GetItemLabel(32), "Lin");
    EXPECT_EQ(chart.GetItemLevel(5), -100.0f);  // missing

    chart.RemoveAllItems();
    charts::AddSpectrumBars(chart, testkinds::kOctave, levels, "A");
    EXPECT_EQ(chart.GetItemCount(), 12);
    EXPECT_EQ(chart.GetItemLabel(11), "A");
    chart.RemoveAllItems();
    charts::AddSpectrumBars(chart, testkinds::kSoundLevelMeter, levels,
                            "A");  // levels are no spectrum
    EXPECT_EQ(chart.GetItemCount(), 0);
}

TEST(SpectrumFillTest, EverySpectrumKindHasABandSetThatCaptionsAllItsValues) {
    for (const records::RecordKind kind : records::RecordKind::All()) {
        SCOPED_TRACE(std::string(kind->name));
        const charts::ChartBands* bands = charts::BandsOf(kind);
        ASSERT_EQ(bands != nullptr, kind.IsSpectrum());
        if (!bands)
            continue;
        EXPECT_EQ(bands->set, kind->bands);
        const int values = kind->valuesPerSample;
        // "AUTO", a position per band, "WB" for the overall level.
        EXPECT_EQ(static_cast<int>(bands->positions.size()), values + 1);
        for (int band = 0; band + 1 < values; ++band)
            EXPECT_NE(records::BandLabel(kind->bands, band, records::kNoBandShift, "W"), "-1")
                << band;
        EXPECT_EQ(records::BandLabel(kind->bands, values - 1, records::kNoBandShift, "W"), "W");
        EXPECT_EQ(records::BandLabel(kind->bands, values, records::kNoBandShift, "W"), "-1");
        EXPECT_EQ(charts::BandsOfScale(bands->bandScale), bands);
        for (const int band : bands->unmeasuredBands)
            EXPECT_LT(band, values - 1);
    }
    EXPECT_FALSE(charts::BandsOf(std::nullopt));
    // The 3-D window's axes stay third-octave for a kind that is no spectrum.
    EXPECT_EQ(&charts::WindowBandsOf(testkinds::kProfile),
              charts::BandsOf(testkinds::kThirdOctave));
}

TEST(SpectrumFillTest, ALiveReplyGivesEachBandTheFiveCharactersBeforeItsLineEnd) {
    const std::vector<float> levels = charts::LiveSpectrumLevels(OctaveReply(), testkinds::kOctave);
    ASSERT_EQ(levels.size(), 12u);
    EXPECT_FLOAT_EQ(levels[0], 40.5f);
    EXPECT_FLOAT_EQ(levels[10], 50.5f);
    EXPECT_FLOAT_EQ(levels[11], 88.1f);  // found on the line after the last band's
    // A reply cut short leaves the bands after its last line end out.
    const std::string cut = OctaveReply().substr(0, 30);
    EXPECT_EQ(charts::LiveSpectrumLevels(cut, testkinds::kOctave).size(), 2u);
    EXPECT_TRUE(charts::LiveSpectrumLevels(OctaveReply(), testkinds::kSoundLevelMeter).empty());
}

TEST(SpectrumFillTest, AReportRowGivesTheLevelAfterEachTabAndMissingOnesAsMinus100) {
    const std::vector<float> levels =
        charts::ReportRowLevels("16 Hz\t45.6\r\n32 Hz\t---\r\n63 Hz\t102.3\r\nLin\t7");
    ASSERT_EQ(levels.size(), 4u);
    EXPECT_FLOAT_EQ(levels[0], 45.6f);
    EXPECT_EQ(levels[1], charts::kMissingBandLevel);
    EXPECT_FLOAT_EQ(levels[2], 102.3f);
    EXPECT_FLOAT_EQ(levels[3], 7.0f);
}

// --- the read-out

namespace {

class ReadoutTest : public ::testing::Test {
protected:
    ReadoutTest() {
        source.kind = testkinds::kSoundLevelMeter;
        source.visibleSpan = 15;
        source.channelNames = {"Leq", "Lmax", "Lmin", "Lpk", "LE"};
        source.cell = [this](int row, int column) {
            const auto found = rows.find(row);
            return found == rows.end() ? std::string() : found->second[column];
        };
        rows[3] = {"14:05:10", "45.3", "61.0", "45.35", "70.0", "80.0"};
    }
    charts::PointReadout Read(const std::string& coordinates, int x = 10, int y = 10) {
        return charts::FormatPointReadout(x, y, coordinates, source);
    }

    charts::PointReadoutSource source;
    std::map<int, std::vector<std::string>> rows;
};

}  // namespace

TEST_F(ReadoutTest, TheHigherNumberedOfTwoChannelsWithinATenthIsReported) {
    const charts::PointReadout readout = Read("x=3 , y=45.33 dB");
    EXPECT_EQ(readout.text, "14:05:10#45.4#$2");  // channel 2 beats channel 0
    EXPECT_EQ(readout.timeLine, "Time: 14:05:10");
    EXPECT_EQ(readout.channelLines[1], "Lmax: 61.0 dB");
    // Nothing within a tenth: the coordinates themselves.
    EXPECT_EQ(Read("x=3 , y=60.5 dB").text, "x=3 , y=60.5 dB");
    // Over a span of more than 20 dB the pointer may be a dB off.
    source.visibleSpan = 40;
    EXPECT_EQ(Read("x=3 , y=60.5 dB").text, "14:05:10#61.0#$1");
    // A hidden channel is neither matched nor shown.
    source.shown[2] = false;
    EXPECT_EQ(Read("x=3 , y=45.33 dB").text, "14:05:10#45.3#$0");
    EXPECT_EQ(Read("x=3 , y=45.33 dB").channelLines[2], "Lmin: ---");
}

TEST_F(ReadoutTest, BadCoordinatesRowsAndPixelsGiveNoRecord) {
    EXPECT_EQ(Read("x=3 , y=45 dB", -1, 5).text, "");
    EXPECT_EQ(Read("=3 , y=45 dB").text, "-");
    EXPECT_EQ(Read("x=3 y=45 dB").text, "-");
    EXPECT_EQ(Read(",x=3").text, "-");
    // A negative record gives no read-out.
    const charts::PointReadout negative = Read("x=-4 , y=45 dB");
    EXPECT_EQ(negative.text, "");
    EXPECT_FALSE(negative.channelLines[0]);
}

TEST_F(ReadoutTest, AProfileGivesTimeAndLevelAndSpectraTheCoordinates) {
    source.kind = testkinds::kProfile;
    const charts::PointReadout readout = Read("x=3 , y=45 dB");
    EXPECT_EQ(readout.text, "14:05:10#45.3");
    EXPECT_FALSE(readout.timeLine);
    source.kind = testkinds::kOctave;
    EXPECT_EQ(Read("x=3 , y=45 dB").text, "x=3 , y=45 dB");
}
