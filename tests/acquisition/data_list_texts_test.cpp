// The data list of a recording: the columns of each kind and the texts of its cells, read from
// the data buffer.
#include <gtest/gtest.h>

#include <vector>

#include "acquisition/data_list_texts.h"
#include "link/instr_status.h"
#include "records/record_layout.h"
#include "support/meter_setups.h"
#include "support/record_kinds.h"

using namespace acquisition;
using testkinds::kOctave;
using testkinds::kProfile;
using testkinds::kSoundLevelMeter;
using testkinds::kThirdOctave;
using testsetups::MeterSetup;

namespace {

std::vector<std::string> Headings(const std::vector<ui::ListColumn>& columns) {
    std::vector<std::string> headings;
    for (const ui::ListColumn& column : columns)
        headings.push_back(column.heading);
    return headings;
}

// A page of the layout in a buffer: the start text, then the words put in.
DataBufferView Page(const std::vector<unsigned char>& buffer, records::RecordKind kind,
                    const std::string& profileTime = {}) {
    return DataBufferView(buffer, records::RecordLayout::For(kind, profileTime));
}

void PutWord(std::vector<unsigned char>& buffer, long long word, unsigned value) {
    buffer[20 + 2 * word] = value & 0xFF;
    buffer[21 + 2 * word] = (value >> 8) & 0xFF;
}

}  // namespace

TEST(DataListColumnsTest, EachKindHasItsColumns) {
    const CInstrStatus qs4060 = MeterSetup("QS4060_rn0$1");
    const CInstrStatus qs4160 = MeterSetup("QS4160_L0$1");
    EXPECT_EQ(Headings(DataListColumns(kSoundLevelMeter, qs4060)),
              (std::vector<std::string>{"Time (hh:mm:ss)", "Leq:A", "LFmx:A", "Lpk:C", "Status"}));
    EXPECT_EQ(DataListColumns(kSoundLevelMeter, qs4160).size(), 7u);  // five levels
    EXPECT_EQ(Headings(DataListColumns(kProfile, qs4060)),
              (std::vector<std::string>{"Time (hh:mm:ss)", "LAFmx", "Status"}));
    EXPECT_EQ(Headings(DataListColumns(kProfile, qs4160))[1], "LAFp");

    const auto octave = Headings(DataListColumns(kOctave, qs4160));
    ASSERT_EQ(octave.size(), 14u);
    EXPECT_EQ(octave[11] + octave[12] + octave[13], "16kLAeqStatus");
    const auto third = Headings(DataListColumns(kThirdOctave, MeterSetup("QS4060_c")));
    ASSERT_EQ(third.size(), 35u);
    EXPECT_EQ(third[1] + third[3] + third[19] + third[32], "*16251k*20k");
    EXPECT_TRUE(DataListColumns(std::nullopt, qs4060).empty());
    EXPECT_TRUE(DataListColumns(records::RecordKind::OfChannelMode(4), qs4060).empty());
}

TEST(DataListColumnsTest, TheGraphsFindTheStatusColumnOfEachKind) {
    EXPECT_EQ(StatusColumn(kSoundLevelMeter, "QS4060_A1$1"), 4);
    EXPECT_EQ(StatusColumn(kSoundLevelMeter, "QS4160_A1$1"), 6);
    EXPECT_EQ(StatusColumn(kProfile, "QS4060"), 2);
    EXPECT_EQ(StatusColumn(kThirdOctave, "QS4060"), 0);
    EXPECT_EQ(StatusColumn(std::nullopt, ""), 0);
}

TEST(DataListCellTest, SpectrumRecordsShowTheirPackedTimeLevelsAndStatus) {
    std::vector<unsigned char> buffer(20 + 2 * 34 * 3, 0);
    PutWord(buffer, 34 + 0, (10u << 12) | (20u << 6) | 30u);
    PutWord(buffer, 34 + 5, 945);
    PutWord(buffer, 34 + 6, 65436);
    DataListSource source;
    source.page = Page(buffer, kThirdOctave);
    EXPECT_EQ(DataListCellText(source, 1, 0), "10:20:30");
    EXPECT_EQ(DataListCellText(source, 1, 5), "94.5");
    EXPECT_EQ(DataListCellText(source, 1, 6), "---");
    EXPECT_EQ(DataListCellText(source, 1, 33), "0.0");
    EXPECT_EQ(DataListCellText(source, 1, 34), "");  // the record holds no status
    EXPECT_EQ(DataListCellText(source, 1, 35), "");
    // Past the loaded data nothing is read.
    EXPECT_EQ(DataListCellText(source, 3, 0), "");
    EXPECT_EQ(DataListCellText(source, 2, 33), "0.0");
    EXPECT_EQ(DataListCellText(source, 100000, 5), "");
    EXPECT_EQ(DataListCellText(source, 2147483647, 33), "");

    source.page = Page(buffer, kOctave);
    EXPECT_EQ(DataListCellText(source, 0, 13), "");
    EXPECT_EQ(DataListCellText(source, 0, 12), "0.0");
}

TEST(DataListCellTest, LevelRecordsCountTwoPerSecondAndMarkTheEndOfEachInterval) {
    std::vector<unsigned char> buffer(20 + 2 * 6 * 10, 0);
    PutWord(buffer, 6 * 2 + 3, 1012);
    PutWord(buffer, 6 * 2 + 5, 800);
    DataListSource source;
    source.page = Page(buffer, kSoundLevelMeter);
    source.model = "QS4060_rn0$1";
    source.integrationTime = "1 s";
    EXPECT_EQ(DataListCellText(source, 0, 0), "00:00:00");
    EXPECT_EQ(DataListCellText(source, 1, 0), "00:00:01");
    EXPECT_EQ(DataListCellText(source, 3, 0), "00:00:02");
    EXPECT_EQ(DataListCellText(source, 2, 3), "101.2");
    EXPECT_EQ(DataListCellText(source, 2, 5), "");  // QS4060: three levels, then the status
    std::vector<std::string> marks;
    for (int row = 0; row < 6; ++row)
        marks.push_back(DataListCellText(source, row, 4));
    EXPECT_EQ(marks, (std::vector<std::string>{"", "LAST", "", "LAST", "", "LAST"}));

    source.model = "QS4160_L";
    EXPECT_EQ(DataListCellText(source, 2, 5), "80.0");
    EXPECT_EQ(DataListCellText(source, 1, 6), "LAST");

    // The page's first record sets the count: page 2 of 7201 records starts at 2:00:01.
    source.selectedPage = 2;
    source.recordsPerPage = 7201;
    source.integrationTime = "1 m";
    EXPECT_EQ(DataListCellText(source, 0, 0), "02:00:01");
    EXPECT_EQ(DataListCellText(source, 117, 6), "LAST");
    EXPECT_EQ(DataListCellText(source, 118, 6), "");

    // An interval of nothing marks nothing, and divides by nothing.
    for (const char* none : {"0", "-1", "", "SS:10"}) {
        source.integrationTime = none;
        EXPECT_EQ(DataListCellText(source, 117, 6), "") << none;
    }
}

TEST(DataListCellTest, ProfileValuesComeInGroupsAtTheProfileRate) {
    std::vector<unsigned char> buffer(20 + 2 * 40, 0);
    PutWord(buffer, 7, 655);  // 0.125 s: row 5 = group 1, value 1
    PutWord(buffer, 4, 700);  // 0.25 s: row 2 = group 1, value 0
    PutWord(buffer, 9, 650);  // other: row 4 = word 9
    DataListSource source;
    source.page = Page(buffer, kProfile, "0.125s");
    source.profileTime = "0.125s";
    source.integrationTime = "1 s";
    EXPECT_EQ(DataListCellText(source, 5, 1), "65.5");
    EXPECT_EQ(DataListCellText(source, 3, 0), "00:00:00");
    EXPECT_EQ(DataListCellText(source, 4, 0), "00:00:01");
    EXPECT_EQ(DataListCellText(source, 7, 2), "LAST");
    EXPECT_EQ(DataListCellText(source, 8, 2), "");
    source.profileTime = "0.25s";
    source.page = Page(buffer, kProfile, "0.25s");
    EXPECT_EQ(DataListCellText(source, 2, 1), "70.0");
    EXPECT_EQ(DataListCellText(source, 3, 2), "LAST");
    source.profileTime = "1s";
    source.page = Page(buffer, kProfile, "1s");
    EXPECT_EQ(DataListCellText(source, 4, 1), "65.0");
    EXPECT_EQ(DataListCellText(source, 1, 0), "00:00:01");
    EXPECT_EQ(DataListCellText(source, 1, 3), "");
}

TEST(DataListCellTest, AbsoluteTimesStartAtTheInstrumentClockOrComeFromTheScheduler) {
    std::vector<unsigned char> buffer(200, 0);
    DataListSource source;
    source.page = Page(buffer, kSoundLevelMeter);
    source.absoluteTimes = true;
    source.instrumentDate = "Instr.Date: 2024/05/01";
    source.instrumentTime = "Instr.Time: 23:59:59";
    EXPECT_EQ(DataListCellText(source, 3, 0), "2024/05/02 00:00:01");
    source.instrumentDate = "2024/05/01";
    source.instrumentTime = "10:00:00";
    EXPECT_EQ(DataListCellText(source, 1, 0), "2024/05/01 10:00:01");
    source.instrumentDate = "-1";
    EXPECT_EQ(DataListCellText(source, 1, 0), "00:00:01");
    // A scheduled recording's timebase adds the record's own time to its acquisition's start.
    PutWord(buffer, 6 * 4, records::PackTimeWord(0, 1, 2));
    Timebase timebase;
    timebase.SetScheduleTimes(records::ScheduleTime::FromSeconds(60),
                              records::ScheduleTime::FromSeconds(600));
    timebase.SetSamplingInterval(0.5f);
    timebase.SetSegments({0}, {"0#2024/05/01 10:00:00"});
    source.schedule = &timebase;
    EXPECT_EQ(DataListCellText(source, 4, 0), "2024/05/01 10:01:02");
}

TEST(DataListCellTest, TheEqualLoudnessRowPutsTheContoursBandsFromColumnTwoOn) {
    const auto contour = [](int band) -> std::optional<double> {
        return band < 3 ? std::optional(10.0 * band + 0.25) : std::nullopt;
    };
    EXPECT_EQ(IsophoneCellText(0, contour), "");
    EXPECT_EQ(IsophoneCellText(1, contour), "ISOPHONE");
    EXPECT_EQ(IsophoneCellText(2, contour), "[0.2]");
    EXPECT_EQ(IsophoneCellText(4, contour), "[20.2]");
    EXPECT_EQ(IsophoneCellText(5, contour), "");
    EXPECT_EQ(IsophoneCellText(3, nullptr), "");
}
