// The texts of the main view's lists: the column sets by recording kind, the parameter display
// names, the parameter list of a stored setup and the data list's cells.
#include <gtest/gtest.h>

#include <vector>

#include "app/data_list_texts.h"
#include "app/setup_texts.h"
#include "charts/equal_loudness.h"
#include "link/instr_status.h"
#include "support/record_kinds.h"

using testkinds::kOctave;
using testkinds::kProfile;
using testkinds::kSoundLevelMeter;
using testkinds::kThirdOctave;

namespace {

std::vector<std::string> Headings(const std::vector<ui::ListColumn>& columns) {
    std::vector<std::string> headings;
    for (const ui::ListColumn& column : columns)
        headings.push_back(column.heading);
    return headings;
}

CInstrStatus MeterSetup(const std::string& model) {
    CInstrStatus setup;
    setup.m_strModel = model;
    setup.m_strSlm1Param = "Leq:A";
    setup.m_strSlm2Param = "LFmx:A";
    setup.m_strSlm3Param = "Lpk:C";
    setup.m_strSlm4Param = "LSmn:A";
    setup.m_strSlm5Param = "L1";
    setup.m_strProfileParam = "LAFp";
    setup.m_strSpectAuxWeighting = "LAeq";
    return setup;
}

// A stored setup block: field k holds `fields[k]`, blank padded to 11 characters.
using Fields = std::vector<std::pair<int, std::string>>;
acquisition::SetupBlock Block(const Fields& fields) {
    acquisition::SetupBlock block;
    block.Fill(0, ' ');
    for (const auto& [field, text] : fields)
        block.SetField(field, text);
    return block;
}

// A page of the layout in a buffer: the start text, then the words put in.
acquisition::DataBufferView Page(const std::vector<unsigned char>& buffer,
                                 acquisition::RecordKind kind,
                                 const std::string& profileTime = {}) {
    return acquisition::DataBufferView(buffer, acquisition::RecordLayout::For(kind, profileTime));
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
    EXPECT_TRUE(DataListColumns(acquisition::RecordKind::OfChannelMode(4), qs4060).empty());
}

TEST(DataListColumnsTest, TheGraphsFindTheStatusColumnOfEachKind) {
    EXPECT_EQ(StatusColumn(kSoundLevelMeter, "QS4060_A1$1"), 4);
    EXPECT_EQ(StatusColumn(kSoundLevelMeter, "QS4160_A1$1"), 6);
    EXPECT_EQ(StatusColumn(kProfile, "QS4060"), 2);
    EXPECT_EQ(StatusColumn(kThirdOctave, "QS4060"), 0);
    EXPECT_EQ(StatusColumn(std::nullopt, ""), 0);
}

TEST(ParameterNameTest, CodesBecomeTheMetersDisplayNames) {
    CInstrStatus setup;
    setup.m_strPerc2Level = "10.0 %";
    // Code, then display name.
    const char* cases[] = {
        "Leq:LIN",    "LZeq",       "LFmx:A", "LAFmax", "Leq",     "Leq",
        "Lpkmx:C",    "LCpkmax",    "LImn:C", "LCImin", "LOeqI:A", "LeqOctA(Inst)",
        "LTOSmn:LIN", "LSminTOctZ", "Lav4",   "Lav,4",  "Lep,d",   "LEP,d",
        "L2:A",       "L10.0",      "Lxyz:A", "LxyzA",  "",        ""};
    for (size_t i = 0; i < std::size(cases); i += 2)
        EXPECT_EQ(ParameterDisplayName(cases[i], setup), cases[i + 1]) << cases[i];
}

TEST(SetupTextTest, AQS4160SetupGivesEveryLineAndRefreshesTheCurrentValues) {
    CInstrStatus current = MeterSetup("QS4160_L0$1");
    const Fields fields = {{0, "STORED"}, {1, "12345"},  {6, "2024/05/01"}, {7, "10:20:30"},
                           {13, "20dB"},  {14, "0.25s"}, {15, "1s"},        {16, "MM:05"},
                           {18, "3"},     {19, "85"},    {20, "80"},        {22, "10.0"},
                           {25, "95.0"},  {35, "A"},     {36, "ON"},        {41, "25"},
                           {44, "MULTI"}};
    const std::vector<std::string> lines = BuildSetupLines(Block(fields), current);
    ASSERT_EQ(lines.size(), 37u);
    EXPECT_EQ(lines[0], "Model: QS4160_L0$1");  // the stored model is not taken
    EXPECT_EQ(lines[1], "Ser.Num: 12345");
    EXPECT_EQ(lines[16], "Integration Time: 05 m");
    EXPECT_EQ(lines[17], "Integr.Mode: MULTI");
    EXPECT_EQ(lines[19], "Exch.Rate: 3 dB");
    // The dose threshold's own field, after the criterion level's.
    EXPECT_EQ(lines[20], "Dose Thr: 80 dB");
    EXPECT_EQ(lines[21], "Crit.Lev: 85 dB");
    EXPECT_EQ(lines[26], "4 Perc.Lev: 95.0 %");
    EXPECT_EQ(lines.back(), "Mic.Temp.Corr: 25");
    // The record processors read the date and time from the 13th character on.
    EXPECT_EQ(current.m_strDate, "Instr.Date: 2024/05/01");
    EXPECT_EQ(current.m_strTime, "Instr.Time: 10:20:30");
    EXPECT_EQ(current.m_strInputGain, "20dB");
    EXPECT_EQ(current.m_strProfileTime, "0.25s");
    EXPECT_EQ(current.m_strProfileSpectrumTime, "1s");
    EXPECT_EQ(current.m_strIntegrationTime, "05 m");
    EXPECT_EQ(current.m_strIntegrationMode, "MULTI");
    EXPECT_EQ(current.m_strPerc1Level, "10.0 %");
    EXPECT_EQ(current.m_strSpectMeanWeighting, "A");
    EXPECT_EQ(current.m_strHalfBandShift, "ON");
    EXPECT_EQ(current.m_strModel, "QS4160_L0$1");
    EXPECT_EQ(current.m_strSerialNumber, "");

    // A page file's block holds its scheduler fields where the mode was: no mode to show.
    acquisition::SetupBlock page = Block(fields);
    page.SetField(acquisition::SetupBlock::kIntegrationMode, "NO SCHEDNO SCHED");
    EXPECT_EQ(BuildSetupLines(page, current)[17], "Integr.Mode: ");
    EXPECT_EQ(current.m_strIntegrationMode, "MULTI");
}

TEST(SetupTextTest, OtherModelsGetTheirFixedLinesAndAShortBlockGivesEmptyTexts) {
    CInstrStatus current = MeterSetup("QS4060_rn0$1");
    const std::vector<std::string> lines =
        BuildSetupLines(Block({{10, "LINE"}, {15, "1s"}, {16, "SS:10"}, {35, "A"}}), current);
    ASSERT_EQ(lines.size(), 34u);
    EXPECT_EQ(lines[10], "In Channel: MIC");
    EXPECT_EQ(lines[15], "Spectrum Time: 0.5s");
    EXPECT_EQ(lines[16], "Integration Time: 10 s");
    EXPECT_EQ(lines[17], "Integr.Mode: ");
    EXPECT_EQ(lines[30], "Spect.Shift: OFF");
    EXPECT_EQ(lines.back(), "Acoustic field: ");
    EXPECT_EQ(current.m_strProfileSpectrumTime, "0.5");
    EXPECT_EQ(current.m_strSpectMeanWeighting, "A");  // the value is kept without its line

    CInstrStatus other = MeterSetup("QS4060");
    const std::vector<std::string> bare = BuildSetupLines(acquisition::SetupBlock(), other);
    EXPECT_EQ(bare[1], "Ser.Num: ");
    EXPECT_EQ(bare[6], "Instr.Date: ");
}

TEST(SetupTextTest, ScheduleDurationsRoundToTheSecondWithinADay) {
    EXPECT_EQ(ScheduleDurationLine("Acq.Time", 5400.5 / 86400.0), "Acq.Time: 1h-30m-1s");
    EXPECT_EQ(ScheduleDurationLine("Repeat.Time", 25.0 / 24.0), "Repeat.Time: 1h-0m-0s");
    EXPECT_EQ(ScheduleDurationLine("Acq.Time", 0.0), "Acq.Time: 0h-0m-0s");
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
    PutWord(buffer, 6 * 4, acquisition::PackTimeWord(0, 1, 2));
    acquisition::Timebase timebase;
    timebase.SetScheduleTimes(acquisition::ScheduleTime::FromSeconds(60),
                              acquisition::ScheduleTime::FromSeconds(600));
    timebase.SetSamplingInterval(0.5f);
    timebase.SetSegments({0}, {"0#2024/05/01 10:00:00"});
    source.schedule = &timebase;
    EXPECT_EQ(DataListCellText(source, 4, 0), "2024/05/01 10:01:02");
}

TEST(DataListCellTest, TheEqualLoudnessRowShowsTheContourAtEachBand) {
    charts::IsophoneContour contour;
    EXPECT_EQ(IsophoneCellText(1, contour), "ISOPHONE");
    EXPECT_EQ(IsophoneCellText(2, contour), "");  // nothing computed yet

    charts::SpectrumLevels quiet;
    quiet.fill(-100);
    contour.SelectBand(29);
    ASSERT_TRUE(contour.Compute(charts::LoudnessEdition::Iso226_1987, false, quiet));
    EXPECT_EQ(IsophoneCellText(0, contour), "");
    EXPECT_EQ(IsophoneCellText(2, contour), "[74.3]");   // 20 Hz
    EXPECT_EQ(IsophoneCellText(19, contour), "[4.2]");   // 1 kHz
    EXPECT_EQ(IsophoneCellText(30, contour), "[11.6]");  // the chosen band: its threshold
    EXPECT_EQ(IsophoneCellText(31, contour), "");
}
