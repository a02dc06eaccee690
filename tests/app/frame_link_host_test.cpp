// The link session's host on the frame: what a command given up or timed out means, asked of
// the parts that registered for it in their order before the host says it itself, the status
// poll stopped with its query, the setup send's end, the meter's power-off, and what waits
// while an exchange confirms a state.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QWindow>
#include <functional>
#include <string>
#include <vector>

#include "acquisition/scheduler_log.h"
#include "app/frame_link_host.h"
#include "app/frame_notices.h"
#include "app/frame_timers.h"
#include "app/frame_ui.h"
#include "app/main_frame_window.h"
#include "app/window_commands.h"
#include "link/command.h"
#include "link/command_codes.h"
#include "link/instr_status.h"
#include "link/link_fakes.h"
#include "link/link_session.h"
#include "link/port_record.h"
#include "platform/event_loop.h"
#include "support/test_env.h"
#include "ui/x_status_bar.h"

namespace {

class SetupBoxUi : public FrameUi {
public:
    bool IsSetupWaitBoxShown() const override { return shown; }
    void DestroySetupWaitBox() override { shown = false; }
    bool shown = false;
};

// The meter's port, which tells the test what is written to it.
class WatchedPort : public linktest::FakePort {
public:
    using FakePort::FakePort;
    std::function<void(const std::string& line)> onWrite;

protected:
    int WriteBytes(const std::string& text, size_t* written) override {
        if (onWrite)
            onWrite(text);
        return FakePort::WriteBytes(text, written);
    }
};

class NoCommands : public WindowCommands {
public:
    bool OnCommand(unsigned) override { return false; }
    void UpdateMenu() override {}
    bool OnHotKey(int) override { return false; }
};

class FrameLinkHostTest : public ::testing::Test {
protected:
    std::string Log() const { return folder.Read(acquisition::SchedulerLog::kLogName); }

    testenv::ScratchFolder folder;
    testenv::TestOperator op;
    SetupBoxUi ui;
    FrameTimers timers;
    std::vector<unsigned> waits;
    // Built before the session it serves, as on the frame; it reaches the session and the
    // notices only once they are called.
    FrameLinkHost host{{
        .link = link,
        .notices = notices,
        .ui = ui,
        .timers = timers,
        .wait = [this](unsigned ms) { waits.push_back(ms); },
    }};
    linktest::ManualClock clock;
    PortRecord record;
    int modemLink = 0;
    CInstrStatus edited;
    WatchedPort target{clock};
    WatchedPort reference{clock};
    LinkSession link{host, clock,
                     LinkSettings{.targetPort = record,
                                  .referencePort = record,
                                  .modemLink = modemLink,
                                  .edited = edited},
                     target, reference};
    std::string programFolder = folder.Path();
    FrameNotices notices{link.Mode(), programFolder};
    std::vector<std::string> asked;
};

}  // namespace

TEST_F(FrameLinkHostTest, ALostCommandGoesToTheFirstTakerInTheOrderTheyRegistered) {
    host.AddGivenUpTaker([this](const CCommand& command, bool refused) {
        asked.push_back("first " + std::to_string(command.GetCode()) + (refused ? " refused" : ""));
        return command.GetCode() == command_code::kClassQuery;
    });
    host.AddGivenUpTaker([this](const CCommand& command, bool) {
        asked.push_back("second " + std::to_string(command.GetCode()));
        return command.GetCode() == 16;
    });
    host.AddTimeOutTaker([this](const CCommand&) {
        asked.push_back("time-out first");
        return false;
    });
    host.AddTimeOutTaker([this](const CCommand&) {
        asked.push_back("time-out second");
        return true;
    });
    host.AddTimeOutTaker([this](const CCommand&) {
        asked.push_back("time-out third");
        return true;
    });

    host.OnGivenUp(CCommand(command_code::kClassQuery, "", ""), true);
    host.OnGivenUp(CCommand(16, "", ""), false);
    // Taken by nobody: the host says it.
    op.ExpectBox("WARNING : Command not recognized.\n\n(Command = 17");
    host.OnGivenUp(CCommand(17, "", ""), true);
    host.OnTimedOut(CCommand(16, "", ""));

    EXPECT_EQ(asked, (std::vector<std::string>{
                         "first " + std::to_string(command_code::kClassQuery) + " refused",
                         "first 16", "second 16", "first 17 refused", "second 17", "time-out first",
                         "time-out second"}));
}

TEST_F(FrameLinkHostTest, AGivenUpCommandIsABoxOrInSchedulerModeALogLine) {
    op.ExpectBox("ERROR: Logging not allowed.\nPlease check if any channel is selected.");
    host.OnGivenUp(CCommand(command_code::kDataLogKey, "", ""), true);
    op.ExpectBox("WARNING: Empty message received");
    host.OnGivenUp(CCommand(16, "", ""), false);

    link.Mode().EnterSchedulerMode();
    host.OnGivenUp(CCommand(command_code::kDataLogKey, "", ""), false);
    EXPECT_EQ(Log(), "WARNING: Empty message received\r\r\n");
    EXPECT_EQ(op.Shown().size(), 2u);
}

TEST_F(FrameLinkHostTest, TheStatusPollStopsWithItsQueryWhoeverTakesTheTimeOut) {
    host.AddTimeOutTaker([](const CCommand&) { return true; });
    timers.Set(FrameTimers::kStatusPoll, FrameTimers::kStatusPollMs);
    host.OnTimedOut(CCommand(16, "", ""));
    EXPECT_TRUE(timers.IsSet(FrameTimers::kStatusPoll));

    host.OnTimedOut(CCommand(command_code::kAcquisitionQuery, "", ""));
    EXPECT_FALSE(timers.IsSet(FrameTimers::kStatusPoll));
}

TEST_F(FrameLinkHostTest, TheSetupSendsEndClosesItsBoxAndThePowerOffRunsItsHandler) {
    ui.shown = true;
    host.OnQueueEmpty();
    EXPECT_TRUE(ui.shown);  // no setup was sent
    link.Mode().OnSetupQueued();
    host.OnQueueEmpty();
    EXPECT_FALSE(ui.shown);

    host.OnPowerOffSent();  // nothing registered: nothing happens
    int offs = 0;
    host.SetPowerOffHandler([&] { ++offs; });
    host.OnPowerOffSent();
    EXPECT_EQ(offs, 1);

    host.WaitWithMessages(300);
    EXPECT_EQ(waits, (std::vector<unsigned>{300}));
}

TEST_F(FrameLinkHostTest, ACloseClickedWhileAnExchangeConfirmsAStateIsAskedOnlyOnceItIsOver) {
    std::vector<std::string> happened;
    NoCommands commands;
    ui::XStatusBar bar;
    CMainFrameWindow window(
        commands, [&] { happened.push_back("close asked"); }, bar);
    window.show();
    target.OpenFor(3, nullptr);
    target.onWrite = [&](const std::string& line) {
        if (line != "STT:MON:OFF\r\n" || !happened.empty())
            return;
        QCoreApplication::postEvent(window.windowHandle(), new QCloseEvent);
        happened.push_back("close clicked");
    };
    // A slow meter: monitoring is off at the second round, so the host pumps once between.
    target.Expect("STT:MON:?", "STT:MONITOR:ON\x03").Expect("STT:MON:?", "STT:MONITOR:OFF\x03");
    EXPECT_TRUE(link.ConfirmMonitorOff());
    happened.push_back("exchange over");
    platform::EventLoop::ProcessPending();
    EXPECT_EQ(happened,
              (std::vector<std::string>{"close clicked", "exchange over", "close asked"}));
    EXPECT_TRUE(window.isVisible());
}
