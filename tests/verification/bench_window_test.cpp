// The bench window and its small dialogs on the offscreen platform, and the bench's plain
// commands to its meters.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <thread>

#include "bench_test_env.h"
#include "verification/set_vscale_dlg.h"

using namespace benchtest;
using cipher::Meter;

namespace {

bool PumpUntil(const std::function<bool()>& done) {
    for (int turn = 0; turn < 2000 && !done(); ++turn)
        platform::EventLoop::Wait(10);
    return done();
}

}  // namespace

TEST_F(BenchTest, WindowShowsTheMetersConnectsOnFirstShowingAndRefusesToCloseWhileRunning) {
    ASSERT_TRUE(dlg.Create());
    QDialog* window = dlg.Window();
    for (int id : {1777, 1355, 1356, 1778, 1357, 1358})
        EXPECT_TRUE(Control<QLineEdit>(window, QString::number(id))) << id;

    op.ExpectBox("Accendere strumentazione.");
    dlg.ShowWindow(true);
    EXPECT_FALSE(dlg.m_bFirstShow);
    ASSERT_TRUE(PumpUntil([&] { return !dlg.Bench().target.serialNumber.empty(); }));
    EXPECT_EQ(dlg.Bench().reference.serialNumber, kRefSerial);

    // The application's long waits are logged on the bench while its window exists.
    ASSERT_TRUE(host.benchLog);
    host.benchLog("Sleep 5000 ms");
    EXPECT_EQ(host.LogLines().back(), "Sleep 5000 ms");
    auto* log = Control<QPlainTextEdit>(window, CSoundDlg::kEventLogName);
    auto* status = Control<QLabel>(window, CSoundDlg::kRunStatusName);
    ASSERT_TRUE(log && status);
    EXPECT_TRUE(log->toPlainText().endsWith("Sleep 5000 ms"));
    EXPECT_EQ(status->text(), "Sleep 5000 ms");
    EXPECT_FALSE(log->isVisible());
    dlg.ShowDebugControls(true);
    EXPECT_TRUE(log->isVisible());
    EXPECT_FALSE(status->isVisible());

    // A line from another thread reaches the log on the user-interface thread.
    std::thread([this] { dlg.AddLog("Serial read:abc"); }).join();
    ASSERT_TRUE(PumpUntil([&] { return dlg.EventLog().back() == "Serial read:abc"; }));

    dlg.Bench().abortRequested = false;
    dlg.m_bRunning = 1;
    op.ExpectBox("ATTENZIONE: Verifica in corso.\nInterrompere la verifica e riprovare.");
    window->close();
    EXPECT_TRUE(dlg.IsWindowVisible());
    EXPECT_EQ(host.abortRequests, 0);

    dlg.m_bRunning = 0;
    window->close();
    EXPECT_FALSE(dlg.IsWindowVisible());
    EXPECT_EQ(host.abortRequests, 1);
    EXPECT_TRUE(dlg.m_bFirstShow);

    EXPECT_TRUE(dlg.DestroyWindow());
    EXPECT_FALSE(host.benchLog);
    EXPECT_FALSE(dlg.HasWindow());
}

TEST_F(BenchTest, TheOperatorReadsAnInstrumentThatCannotBeCommanded) {
    ASSERT_TRUE(dlg.Create());
    dlg.SetTargetSerial(kTargetSerial);
    cipher::BenchState& bench = dlg.Bench();
    bench.targetRemoteControl = false;
    bench.runningTest = cipher::BenchTest::Overload;
    CSet_VScale_Dlg& manual = dlg.ManualReadingDlg();
    int steps = 0;
    host.onWait = [&](unsigned ms) {
        if (ms != 200 || ++steps != 2)
            return;
        QDialog* window = manual.Window();
        ASSERT_TRUE(window && window->isVisible());
        EXPECT_EQ(Control<QLabel>(window, "1610")->text(), "LSp:A");
        EXPECT_FALSE(Control<QLineEdit>(window, "1432")->isEnabled());
        EXPECT_TRUE(Control<QCheckBox>(window, "1788")->isVisible());
        Control<QLineEdit>(window, "1433")->setText("120");
        manual.SetValueText(0, "120");
        manual.SetValueText(1, "121");
        manual.SetValueText(2, "122");
        Control<QCheckBox>(window, "1788")->setChecked(true);
        window->accept();
    };
    op.ExpectBox("Fermare la misura sullo strumento da verificare.\nPremere OK");
    EXPECT_EQ(dlg.TargetInstr_Write_and_Check_CRYPT("KEY:PRN_VAL"),
              "00:00:00 - 120.0 - 121.0 - 122.0 -  _I_");
    EXPECT_FALSE(manual.HasWindow());
    EXPECT_EQ(targetMeter.LineCount(), 0u);

    // Closed by the operator without OK: no reading, and the next showing starts unticked.
    steps = 0;
    host.onWait = [&](unsigned ms) {
        if (ms == 200 && ++steps == 1) {
            EXPECT_EQ(manual.m_bOverload, 0);
            manual.Window()->close();
        }
    };
    op.ExpectBox("Fermare la misura");
    EXPECT_EQ(dlg.TargetInstr_Write_and_Check_CRYPT("KEY:PRN_VAL"), "-1");
}

TEST(ManualReadingWindow, OkTakesOnlyReadingsOfTheLabelledChannels) {
    testenv::TestOperator op;
    CSet_VScale_Dlg dlg;
    dlg.m_strLabels = {"LSp:A", "LSp:B", ""};
    ASSERT_TRUE(dlg.Create());
    dlg.ShowWindow(true);
    dlg.SetValueText(0, "94,5");
    dlg.SetValueText(1, "0");
    dlg.SetValueText(2, "not read");
    op.ExpectBox("Inserire misura del canale LSp:B");
    dlg.OnOK();
    EXPECT_TRUE(dlg.IsWindowVisible());
    EXPECT_FALSE(dlg.Accepted());

    // Words and notations that convert to numbers are no reading either.
    for (const char* notReading : {"nan", "NAN", "inf", "-inf", "0x64", "1e2", "94.5.1", "."}) {
        dlg.SetValueText(1, notReading);
        op.ExpectBox("Inserire misura del canale LSp:B");
        dlg.OnOK();
        EXPECT_FALSE(dlg.Accepted()) << notReading;
    }

    dlg.SetValueText(1, "200.0");
    dlg.OnOK();
    EXPECT_FALSE(dlg.IsWindowVisible());
    EXPECT_TRUE(dlg.Accepted());
    EXPECT_EQ(dlg.m_strValues[0], "94.5");
    EXPECT_EQ(dlg.m_strValues[1], "200.0");

    // Shown again: the fields start empty.
    dlg.ShowWindow(true);
    EXPECT_EQ(dlg.m_strValues[0], "");
    EXPECT_EQ(Control<QLineEdit>(dlg.Window(), "1433")->text(), "");
    op.ExpectBox("Inserire misura del canale LSp:A");
    dlg.OnOK();
}

TEST_F(BenchTest, PlainCommandsAreRepeatedOnRefusalAndCheckTheStatus) {
    ASSERT_NO_FATAL_FAILURE(ConnectBoth());
    referenceMeter.RefuseNext("STT:ACQ:RUN", 2);
    EXPECT_EQ(dlg.SendRefCommand("STT:ACQ:RUN", "STT:ACQ:?", "RUN", 250), "1");
    EXPECT_EQ(dlg.SendRefCommand("STT:ACQ:RUN", "STT:ACQ:?", "STOP", 250), "0");
    EXPECT_EQ(dlg.SendRefCommand("STT:ACQ:STOP", "", "", 250), "STT:ACQUISITION:STOP");
    EXPECT_EQ(dlg.SendRefCommand("", "STT:ACQ:?", "", 250), "STT:ACQUISITION:STOP");
    referenceMeter.RefuseNext("STT:ACQ:RUN", 3);
    EXPECT_EQ(dlg.SendRefCommand("STT:ACQ:RUN", "STT:ACQ:?", "RUN", 250), "-1");

    // Aborted by the operator while the bench waits for a reply: nothing is sent again.
    targetMeter.SilenceNext("STT:ACQ:RUN");
    const size_t sent = targetMeter.LineCount();
    platform::PostToUiThread([&] { dlg.Bench().abortRequested = true; });
    EXPECT_EQ(dlg.SendTargetCommand("STT:ACQ:RUN", "STT:ACQ:?", "RUN", 250), "-1");
    EXPECT_EQ(targetMeter.LineCount(), sent + 1);
    dlg.Bench().abortRequested = false;

    // An instrument that cannot be commanded is started by the operator.
    dlg.Bench().targetRemoteControl = false;
    const size_t lines = targetMeter.LineCount();
    op.ExpectBox("Avviare la misura sullo strumento da verificare.\nPremere OK");
    EXPECT_EQ(dlg.SendTargetCommand("STT:ACQ:RUN", "STT:ACQ:?", "RUN", 250), "1");
    EXPECT_EQ(dlg.SendTargetCommand("", "STT:ACQ:?", "STOP", 250), "1");
    EXPECT_EQ(targetMeter.LineCount(), lines);
}

TEST_F(BenchTest, AScheduledRunsRecordingShowsTheWindowAgainWithoutAVerificationsStartUp) {
    ASSERT_TRUE(dlg.Create());
    dlg.Window()->setProperty("made", "before");
    // No "Accendere strumentazione.": the operator would fail the test.
    dlg.ShowForSchedulerRecording();
    EXPECT_FALSE(dlg.Window()->property("made").isValid());
    EXPECT_TRUE(dlg.IsWindowVisible());
    EXPECT_TRUE(dlg.m_bSchedulerRecording);
    platform::EventLoop::Wait(50);
    EXPECT_TRUE(dlg.Bench().target.serialNumber.empty());

    // Closed, the window is a verification's again.
    dlg.Window()->close();
    EXPECT_FALSE(dlg.m_bSchedulerRecording);
    op.ExpectBox("Accendere strumentazione.");
    dlg.ShowWindow(true);
    ASSERT_TRUE(PumpUntil([&] { return !dlg.Bench().target.serialNumber.empty(); }));
}
