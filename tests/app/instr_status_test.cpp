#include <gtest/gtest.h>

#include "app/dialogs/instr_status_view.h"
#include "app/dialogs/view_instr_status_dlg.h"

namespace {
// The four replies as their handlers leave them, "STT" already read as "STATUS".
const std::string kStatus =
    "STATUS:DISPL:SLM\r\n"
    "SET:AUTO_POWER_OFF:ON\r\n"
    "STATUS:ACQUISITION:RUN\r\n"
    "INTEGRATION:SINGLE\r\n"
    "BATTERY:75\r\n"
    "MEMORY:42\r\n"
    "Free records: 1200\r\n"
    "Used records: 300\r\n"
    "Files: 4\r\n";

InstrStatusFields Parsed(const std::string& text, const std::string& model) {
    InstrStatusFields fields;
    ParseInstrStatus(text, model, fields);
    return fields;
}
}  // namespace

TEST(InstrStatusParseTest, TakesTheLinesInTheirOrder) {
    const InstrStatusFields f =
        Parsed(kStatus + "RECORDER: SLM PROFILE THIRD OCTAVE FFT LEQ SHORT ON\r\n", "QS4160_L");
    EXPECT_EQ(f.display, "DISPL:SLM");
    EXPECT_EQ(f.autoPowerOff, "AUTO_POWER_OFF:ON");
    EXPECT_EQ(f.integration, "INTEGRATION:SINGLE");
    EXPECT_EQ(f.batteryBar, 75);
    EXPECT_EQ(f.memory, "MEMORY:42");
    EXPECT_EQ(f.memoryBar, 42);
    EXPECT_EQ(f.information, "Free records: 1200\r\nUsed records: 300\r\nFiles: 4");
    EXPECT_TRUE(f.slm && f.profile && f.octave && f.thirdOctave && f.fft && f.shortLeq);
    EXPECT_EQ(f.recorderCaption, "Recorder ON");
}

TEST(InstrStatusParseTest, PartialTextChangesOnlyWhatItReaches) {
    InstrStatusFields f;
    f.display = "old";
    ParseInstrStatus("STATUS:DISPL:MAIN", "QS4160_L", f);
    EXPECT_EQ(f.display, "old");
    ParseInstrStatus("STATUS:DISPL:MAIN\r\nSET:AUTO", "QS4160_L", f);
    EXPECT_EQ(f.display, "DISPL:MAIN");
    EXPECT_EQ(f.autoPowerOff, "");
    // Two of the three information lines: the information stays as it was.
    f.information = "before";
    ParseInstrStatus(kStatus.substr(0, kStatus.find("Files")), "QS4160_L", f);
    EXPECT_EQ(f.memoryBar, 42);
    EXPECT_EQ(f.information, "before");
}

TEST(InstrStatusParseTest, BatteryAndMemoryBarsStayInTheirRange) {
    auto with = [](const std::string& battery, const std::string& memory) {
        std::string text = kStatus;
        text.replace(text.find("BATTERY:75"), 10, battery);
        text.replace(text.find("MEMORY:42"), 9, memory);
        return Parsed(text, "QS4060_A");
    };
    EXPECT_EQ(with("BATTERY:EXT 35", "MEMORY:42").batteryBar, 100);
    EXPECT_EQ(with("BATT 5", "MEMORY:42").batteryBar, 0);
    EXPECT_EQ(with("BATTERY:", "MEMORY:250").memoryBar, 100);
    EXPECT_EQ(with("BATTERY:-20", "MEMORY:x").batteryBar, 0);
}

TEST(InstrStatusParseTest, RecorderLineByModel) {
    const InstrStatusFields plain =
        Parsed(kStatus + "RECORDER: SLM FFT LEQ SHORT OFF\r\n", "QS4160_I");
    EXPECT_TRUE(plain.slm);
    EXPECT_FALSE(plain.fft || plain.shortLeq);
    EXPECT_EQ(plain.recorderCaption, "Recorder OFF");

    const InstrStatusFields store = Parsed(kStatus + "AUTO-STORE\r\n", "QS4160_I");
    EXPECT_TRUE(store.slm && store.octave && store.thirdOctave);
    EXPECT_FALSE(store.fft || store.shortLeq);
    EXPECT_EQ(store.recorderCaption, "Auto Store ON");
    EXPECT_FALSE(Parsed(kStatus + "AUTO-STORE\r\n", "QS4060_B").thirdOctave);
    EXPECT_TRUE(Parsed(kStatus + "AUTO-STORE\r\n", "QS4160_H").fft);
}

TEST(InstrStatusLayoutTest, RecorderAreaFollowsTheModel) {
    using namespace recorder;
    const RecorderLayout small = LayoutRecorderArea("QS4060_B");
    EXPECT_FALSE(small.controls.at(kSlmBox).visible);
    EXPECT_EQ(small.statusLabel, "ENABLED");
    EXPECT_EQ(LayoutRecorderArea("QS4060_A").statusLabel, "DISABLED");

    const RecorderLayout reports = LayoutRecorderArea("QS4060_An");
    EXPECT_EQ(reports.slmCaption, "SLM + PROFILE");
    EXPECT_FALSE(reports.controls.at(kOctaveBox).visible);
    EXPECT_FALSE(reports.controls.at(kStatusLabel).visible);

    for (const auto& [name, control] : LayoutRecorderArea("QS4160_H").controls)
        EXPECT_EQ(control.visible && control.enabled, name != kStatusLabel) << name;
    const RecorderLayout basic = LayoutRecorderArea("QS4160_A");
    EXPECT_TRUE(basic.controls.at(kFftBox).visible);
    EXPECT_FALSE(basic.controls.at(kFftBox).enabled);
    const RecorderLayout storing = LayoutRecorderArea("QS4160_I");
    EXPECT_FALSE(storing.controls.at(kFftBox).visible);
    EXPECT_TRUE(storing.controls.at(kThirdOctaveBox).visible);
}

TEST(InstrStatusDialogTest, AutoStoreOnAQS4160IShowsThreeTicksAndHidesFftAndShortLeq) {
    CViewInstrStatusDlg dialog(
        {[] { return std::string("QS4160_I"); }, [] { return false; }, nullptr, nullptr});
    dialog.OnShowWindow(TRUE, 0);
    dialog.m_strStatusText = kStatus + "AUTO-STORE\r\n";
    dialog.ShowStatus();
    EXPECT_TRUE(dialog.IsItemChecked(CViewInstrStatusDlg::IDC_THIRD_OCTAVE));
    EXPECT_FALSE(dialog.IsItemChecked(CViewInstrStatusDlg::IDC_FFT));
    EXPECT_FALSE(dialog.IsItemVisible(CViewInstrStatusDlg::IDC_SHORT_LEQ));
    EXPECT_EQ(dialog.GetDlgItemText(CViewInstrStatusDlg::IDC_RECORDER), "Auto Store ON");
    EXPECT_EQ(dialog.GetProgressPos(CViewInstrStatusDlg::IDC_BATTERY_BAR), 75);
}

TEST(InstrStatusDialogTest, RefreshEmptiesTheWindowAndAsksTheMeterAgain) {
    std::vector<int> sent;
    bool downloading = true;
    int closed = 0;
    CViewInstrStatusDlg dialog({[] { return std::string("QS4160_L"); }, [&] { return downloading; },
                                [&](int code) { sent.push_back(code); }, [&] { ++closed; }});
    dialog.m_strStatusText = kStatus + "RECORDER: SLM OCTAVE ON\r\n";
    dialog.ShowStatus();
    dialog.OnRefresh();
    EXPECT_EQ(sent, (std::vector<int>{100, 17, 11, 109}));
    EXPECT_FALSE(dialog.IsItemEnabled(CViewInstrStatusDlg::IDC_REFRESH));
    EXPECT_EQ(dialog.GetDlgItemText(CViewInstrStatusDlg::IDC_INFORMATION), "");
    EXPECT_FALSE(dialog.IsItemChecked(CViewInstrStatusDlg::IDC_SLM));
    EXPECT_EQ(dialog.GetProgressPos(CViewInstrStatusDlg::IDC_MEMORY_BAR), 0);
    EXPECT_EQ(dialog.m_strStatusText, "");

    // The new replies are read on their own.
    dialog.m_strStatusText = "STATUS:DISPL:MENU\r\n";
    dialog.ShowStatus();
    EXPECT_EQ(dialog.GetDlgItemText(CViewInstrStatusDlg::IDC_DISPLAY), "DISPL:MENU");

    downloading = false;
    dialog.OnShowWindow(TRUE, 0);
    EXPECT_TRUE(dialog.IsItemEnabled(CViewInstrStatusDlg::IDC_REFRESH));
    dialog.Create();
    dialog.ShowWindow(true);
    dialog.Window()->accept();
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(dialog.IsWindowVisible());
}
