// The calibration replies as the maintenance side registers them: every value the wizard and
// the guided programs are handed is read through the calibration protocol's table, and only
// while their windows are open and the programs run.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <string>

#include "link/command.h"
#include "link/command_codes.h"
#include "link/link_reply_state.h"
#include "link/meter_mode.h"
#include "link/reply_router.h"
#include "maintenance/calibration_protocol.h"
#include "maintenance/calibration_replies.h"
#include "maintenance/electric_calibration_dlg.h"
#include "maintenance/mic_calib_dlg.h"
#include "platform/clock.h"
#include "report/instr_log.h"
#include "support/test_env.h"
#include "ui/latin1_fields.h"
#include "web/web_client.h"

namespace {

using namespace command_code;
using maintenance::MicReplacement;
namespace meter = maintenance::meter;

class QuietHost : public maintenance::ElectricCalibHost {
public:
    maintenance::SchedulerConfirm ConfirmMode() override {
        return maintenance::SchedulerConfirm::Always;
    }
    std::string CalibrationThreshold() override { return ""; }
    void TellScheduler(const std::string&, int) override {}
};

class CalibrationRepliesTest : public ::testing::Test {
protected:
    CalibrationRepliesTest() { maintenance::RegisterCalibrationReplies(router, wizard, programs); }

    void Route(int code, const std::string& reply, const std::string& name = "") {
        ASSERT_TRUE(router.Route(CCommand(code, name, ""), reply)) << code;
    }
    static std::string Reply(const char* prefix, const std::string& value) {
        return prefix + value;
    }

    // The pause before a program's reply is taken, at this pace a few milliseconds.
    platform::ScopedClockSpeed fast{50.0};
    testenv::TestOperator op;
    QuietHost host;
    LinkReplyState listeners;
    MeterMode mode{listeners};
    // The wizard's and the programs' commands and records go nowhere: no test here reaches
    // their queue or the wizard's record.
    web::WebClient web;
    InstrLog log{"", {}, {}};
    CMicCalibDlg wizard{[](int, const std::string&, const std::string&, int, BOOL) {},
                        [](int, const std::string&, const std::string&) { return false; }, web,
                        log};
    CElectricCalibrationDlg programs{
        host, [](int, const std::string&, const std::string&, int, BOOL) {}, mode};
    ReplyRouter router;
};

TEST_F(CalibrationRepliesTest, TheWizardReadsEachValueThroughTheProtocolTable) {
    const MicReplacement& steps = wizard.Wizard();
    Route(kProtectionCodeQuery, Reply(meter::kProtectionCodeReply, "4321"));  // closed: nothing
    EXPECT_TRUE(steps.IsOver());

    op.ExpectDialog("CMicCalibDlg", [](platform::ModalDialog& dialog) {
        dynamic_cast<CMicCalibDlg&>(dialog).m_strMicSerial = "M9";
        return IDOK;
    });
    wizard.Create();
    wizard.ShowWindow(true);
    ASSERT_EQ(steps.GetStep(), MicReplacement::kMeasuring);
    Route(kProtectionCodeQuery, Reply(meter::kProtectionCodeReply, "4321"));
    Route(kGainQuery, Reply(meter::kGainReply, "  -3.0"), meter::kChannel0);
    Route(kGainQuery, Reply(meter::kGainReply, "  12.5"), meter::kChannel1);
    Route(kElectricCalQuery, Reply(meter::kElectricCalReply, "93.9"), meter::kChannel0);
    op.ExpectDialog("CMicCalibDlg",
                    [](platform::ModalDialog&) { return CMicCalibDlg::kAnswerOnWindow; });
    Route(kMicCalPrintValueKey, meter::PrintedValueReply("94.1", "dB(A)"));
    ASSERT_EQ(steps.GetStep(), MicReplacement::kConfirmGain);
    EXPECT_EQ(steps.Level(), "94.1");
    EXPECT_EQ(steps.OldGain(0), "-3.0");
    EXPECT_EQ(steps.OldGain(1), "12.5");
    EXPECT_EQ(steps.NewGain(0), "-3.1");

    wizard.OnNext();
    Route(kFactoryCommand, meter::kFactoryStoredReply, "4321");
    EXPECT_EQ(steps.GetStep(), MicReplacement::kReadingElectric);
}

TEST_F(CalibrationRepliesTest, EnterInTheWizardsWindowTakesTheStepAndNeverCancels) {
    const MicReplacement& steps = wizard.Wizard();
    const auto onWindow = [](platform::ModalDialog&) { return CMicCalibDlg::kAnswerOnWindow; };
    op.ExpectDialog("CMicCalibDlg", onWindow);
    wizard.Create();
    wizard.ShowWindow(true);
    QDialog* window = wizard.Window();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    const auto pressEnter = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); };
    window->findChild<QLineEdit*>(CMicCalibDlg::kSerialEditName)->setText("M9");
    pressEnter();
    ASSERT_EQ(steps.GetStep(), MicReplacement::kMeasuring);
    pressEnter();  // "Avanti" is disabled: nothing happens
    ASSERT_EQ(steps.GetStep(), MicReplacement::kMeasuring);

    Route(kProtectionCodeQuery, Reply(meter::kProtectionCodeReply, "4321"));
    Route(kGainQuery, Reply(meter::kGainReply, "0.0"), meter::kChannel0);
    Route(kGainQuery, Reply(meter::kGainReply, "0.0"), meter::kChannel1);
    op.ExpectDialog("CMicCalibDlg", onWindow);
    Route(kMicCalPrintValueKey, meter::PrintedValueReply("94.1", "dB(A)"));
    ASSERT_EQ(steps.GetStep(), MicReplacement::kConfirmGain);
    pressEnter();
    EXPECT_EQ(steps.GetStep(), MicReplacement::kWriting);
}

TEST_F(CalibrationRepliesTest, TheProgramsTakeTheirRepliesOnlyWhileTheyRun) {
    programs.Open(maintenance::ElectricCalibration::kElectricCalibration);
    const std::string printed = meter::PrintedValueReply("0.3", "dB");
    Route(kPrintValueKey, printed);
    EXPECT_TRUE(programs.Routine().PrintedValueText().empty());
    programs.TakeScreen("STT:DISPL:Leq 45.2 dB");
    EXPECT_TRUE(programs.Routine().DisplayText().empty());

    ASSERT_TRUE(mode.BeginElectricCalibration());
    Route(kPrintValueKey, printed);
    EXPECT_EQ(programs.Routine().PrintedValueText(), printed);
    op.ExpectBox("Start Electric Calibration now ?", IDNO);
    programs.TakeScreen("STT:DISPL:Leq 45.2 dB");
    EXPECT_TRUE(programs.Routine().IsFinished());
    EXPECT_FALSE(mode.IsElectricCalRunning());
}

}  // namespace

TEST_F(CalibrationRepliesTest, AMicrophoneNumberKeepsOnlyWhatTheMeterCanBeSent) {
    ui::Latin1Fields latin1Fields(*QCoreApplication::instance());
    op.ExpectDialog("CMicCalibDlg",
                    [](platform::ModalDialog&) { return CMicCalibDlg::kAnswerOnWindow; });
    wizard.Create();
    wizard.ShowWindow(true);
    QDialog* window = wizard.Window();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    auto* serial = window->findChild<QLineEdit*>(CMicCalibDlg::kSerialEditName);
    for (const char* key : {"M", "è", "😀", "7"}) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8(key));
        QApplication::sendEvent(serial, &press);
    }
    EXPECT_EQ(serial->text(), QString::fromUtf8("Mè7"));
    QTest::keyClick(serial, Qt::Key_Return);
    EXPECT_EQ(wizard.Wizard().GetStep(), MicReplacement::kMeasuring);
    EXPECT_EQ(wizard.Wizard().MicrophoneSerial(),
              "M\xE8"
              "7");
}
