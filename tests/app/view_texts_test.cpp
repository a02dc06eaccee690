// The texts of the main view's lists: the parameter display names, the parameter list of a
// stored setup and the equal-loudness row of the data list.
#include <gtest/gtest.h>

#include <vector>

#include "acquisition/data_list_texts.h"
#include "app/setup_texts.h"
#include "charts/equal_loudness.h"
#include "link/instr_status.h"
#include "support/meter_setups.h"

namespace {

using testsetups::MeterSetup;

// A stored setup block: field k holds `fields[k]`, blank padded to 11 characters.
using Fields = std::vector<std::pair<int, std::string>>;
records::SetupBlock Block(const Fields& fields) {
    records::SetupBlock block;
    block.Fill(0, ' ');
    for (const auto& [field, text] : fields)
        block.SetField(field, text);
    return block;
}

}  // namespace

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
    records::SetupBlock page = Block(fields);
    page.SetField(records::SetupBlock::kIntegrationMode, "NO SCHEDNO SCHED");
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
    const std::vector<std::string> bare = BuildSetupLines(records::SetupBlock(), other);
    EXPECT_EQ(bare[1], "Ser.Num: ");
    EXPECT_EQ(bare[6], "Instr.Date: ");
}

TEST(SetupTextTest, ScheduleDurationsRoundToTheSecondWithinADay) {
    EXPECT_EQ(ScheduleDurationLine("Acq.Time", 5400.5 / 86400.0), "Acq.Time: 1h-30m-1s");
    EXPECT_EQ(ScheduleDurationLine("Repeat.Time", 25.0 / 24.0), "Repeat.Time: 1h-0m-0s");
    EXPECT_EQ(ScheduleDurationLine("Acq.Time", 0.0), "Acq.Time: 0h-0m-0s");
}

TEST(DataListCellTest, TheEqualLoudnessRowShowsTheContourAtEachBand) {
    charts::IsophoneContour contour;
    const auto levels = [&contour](int band) { return contour.LevelDb(band); };
    EXPECT_EQ(acquisition::IsophoneCellText(1, levels), "ISOPHONE");
    EXPECT_EQ(acquisition::IsophoneCellText(2, levels), "");  // nothing computed yet

    charts::SpectrumLevels quiet;
    quiet.fill(-100);
    contour.SelectBand(29);
    ASSERT_TRUE(contour.Compute(charts::LoudnessEdition::Iso226_1987, false, quiet));
    EXPECT_EQ(acquisition::IsophoneCellText(0, levels), "");
    EXPECT_EQ(acquisition::IsophoneCellText(2, levels), "[74.3]");  // 20 Hz
    EXPECT_EQ(acquisition::IsophoneCellText(19, levels), "[4.2]");  // 1 kHz
    EXPECT_EQ(acquisition::IsophoneCellText(30, levels),
              "[11.6]");  // the chosen band: its threshold
    EXPECT_EQ(acquisition::IsophoneCellText(31, levels), "");
}
