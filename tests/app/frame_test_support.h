#pragma once
// A frame with its view, wired to a simulated meter on COM3, with a window and neighbours that
// record what the frame asked of them.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "acquisition/scheduler_log.h"
#include "app/frame_ui.h"
#include "app/frame_web.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"
#include "link/link_test_support.h"
#include "link/serial_line_settings.h"
#include "platform/com_ports.h"
#include "platform/date_time.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/text.h"
#include "sim_meter.h"
#include "support/test_env.h"

namespace frametest {

using linktest::PumpFor;
using linktest::PumpUntil;

struct Pane {
    std::string text;
    COLORREF on = 0;
    COLORREF off = 0;
};

class RecordingUi : public FrameUi {
public:
    void SetPaneText(int pane, const std::string& onText, const std::string&) override {
        panes[pane].text = onText;
    }
    void SetPaneColors(int pane, COLORREF on, COLORREF off) override {
        panes[pane].on = on;
        panes[pane].off = off;
    }
    bool IsMinimized() const override { return minimized; }
    bool IsSetupWaitBoxShown() const override { return setupBoxShown; }
    void ShowSetupWaitBox(const std::string& text) override {
        setupBoxShown = true;
        setupBoxText = text;
    }
    void KillSetupWaitBoxTimer() override { ++setupBoxTimerKills; }
    void SetSetupWaitProgress(int position) override { setupBoxProgress = position; }
    void StepSetupWaitProgress() override { ++setupBoxSteps; }
    void DestroySetupWaitBox() override {
        setupBoxShown = false;
        ++setupBoxDestroyed;
    }
    bool IsDownloadBoxShown() const override { return downloadBoxShown; }
    void ShowDownloadBox() override { downloadBoxShown = true; }
    int StepDownloadProgress() override { return downloadProgress += 10; }
    void SetDownloadProgress(int position) override { downloadProgress = position; }
    void SetDownloadFields(const std::string& file, const std::string& line) override {
        downloadFields = {file, line};
    }
    void CloseDownloadBox() override { downloadBoxShown = false; }
    bool HasInstrStatusDlg() const override { return statusDlgCreated; }
    void CreateInstrStatusDlg() override { statusDlgCreated = true; }
    void SetInstrStatusText(const std::string& text) override {
        if (text.empty())
            ++statusTextEmptied;
        FrameUi::SetInstrStatusText(text);
    }
    void ShowInstrStatus() override { shownStatusTexts.push_back(GetInstrStatusText()); }
    void ShowGraphWindow(bool show) override { graphWindowShown = show; }
    void ShowBandChart(bool show) override { bandChartShown = show; }
    void AppendPageListRow(const std::string& text, int image) override {
        if (lists)
            lists->m_PageList.InsertItem(lists->m_PageList.GetItemCount(), text, image);
        else
            pageList.emplace_back(text, image);
    }
    bool TrimReportList(int lastKeptRow, int rows) override {
        return !lists || lists->TrimReportList(lastKeptRow, rows);
    }
    void SetReportTrimFinished() override {
        if (lists)
            lists->SetReportTrimFinished();
    }
    void RefreshSetupDisplay() override { ++setupDisplayRefreshes; }

    std::map<int, Pane> panes;
    bool minimized = false;
    bool setupBoxShown = false;
    std::string setupBoxText;
    int setupBoxTimerKills = 0;
    int setupBoxProgress = -1;
    int setupBoxSteps = 0;
    int setupBoxDestroyed = 0;
    bool downloadBoxShown = false;
    int downloadProgress = 0;
    std::pair<std::string, std::string> downloadFields;
    bool statusDlgCreated = false;
    int statusTextEmptied = 0;
    std::vector<std::string> shownStatusTexts;
    std::optional<bool> graphWindowShown;
    std::optional<bool> bandChartShown;
    std::vector<std::pair<std::string, int>> pageList;
    int setupDisplayRefreshes = 0;
    // When set, the page and report lists are this view's, as on the frame's window.
    CKX9MonitorView* lists = nullptr;
};

// The test operator, also keeping each box's type.
class BoxRecorder : public testenv::TestOperator {
public:
    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override {
        types.push_back(type);
        return TestOperator::MessageBox(text, caption, type);
    }
    std::vector<unsigned> types;
};

// A setup block field as stored: 11 characters, blank padded.
inline std::string BlockField(std::string text) {
    text.resize(11, ' ');
    return text;
}

// The queued commands' codes in the order they will go out.
inline std::vector<int> QueuedCodes(const CMainFrame& frame) {
    return frame.Link().QueuedCodes();
}

class FrameLinkTest : public ::testing::Test {
protected:
    static constexpr int kCom = 3;

    FrameLinkTest() {
        platform::SetComDevice(kCom, meter.SlavePath());
        app.m_strProgramDir = folder.Path();
        app.m_TargetPort.m_nComPort = kCom;
        app.m_TargetPort.m_nBaudRate = 38400;
        frame.Web().Databases().m_bCheckInternet = 0;
        // The serial number's reply shows the verification data sheet.
        op.AlwaysRunDialog("CInstrInfoDlg", [this](platform::ModalDialog&) {
            ++dataSheets;
            return IDCANCEL;
        });
    }
    ~FrameLinkTest() override {
        platform::ClearComDevices();
        platform::EventLoop::ClearQuit();
    }

    // The session's serial port of `side`, for what only the port itself tells: its line.
    CSerial& SerialOf(LinkSide side) { return static_cast<CSerial&>(Link().PortOf(side)); }
    CSerialMFC& Port() { return static_cast<CSerialMFC&>(Link().PortOf(LinkSide::Target)); }
    LinkSession& Link() { return frame.Link(); }

    // The link port open for the link session; nothing queued goes out by itself.
    void OpenPort() {
        ASSERT_EQ(Link().OpenLinkPort(LinkSide::Target, kCom), 0);
        ASSERT_EQ(Link().SetUpPort(LinkSide::Target, PortSettings::Instrument(app.m_TargetPort)),
                  0);
    }
    // What a connect does: open the link port and start the send tick.
    void OpenLink() {
        OpenPort();
        Link().StartSendTick();
        Link().SetReadyToSend(TRUE);
    }

    // The calibration-expiry update began: its first step logs its start. With a technician
    // known and no meter model it ends right after, without a box.
    bool CalibExpiryUpdateStarted() {
        const platform::DateTime today(platform::Clock::Now());
        const auto log = platform::ReadWholeFile(frame.Web().Log().LogPath(today));
        return log && platform::Contains(*log, "Avvio modifica data scadenza taratura");
    }

    // The scheduler log's lines, their time stamps left out.
    std::vector<std::string> SchedulerLog() const {
        std::vector<std::string> lines;
        const auto text = platform::ReadWholeFile(folder.File(acquisition::SchedulerLog::kLogName));
        for (size_t at = 0; text && at < text->size();) {
            const size_t end = std::min(text->find("\r\r\n", at), text->size());
            const std::string line = text->substr(at, end - at);
            const bool stamped = line.size() > 21 && line[4] == '/' && line[19] == ':';
            lines.push_back(stamped ? line.substr(21) : line);
            at = end + 3;
        }
        return lines;
    }
    void ClearSchedulerLog() {
        platform::RemoveFile(folder.File(acquisition::SchedulerLog::kLogName));
    }

    bool QueueIdle() const {
        const LinkSession& link = frame.Link();
        return link.IsQueueEmpty() && !link.CurrentCommand() && link.IsReadyToSend();
    }

    // A command's shortest reply time-out, a second, is 40 ms of real time at this pace.
    platform::ScopedClockSpeed fast{25.0};
    testenv::ScratchFolder folder;
    BoxRecorder op;
    simmeter::SimMeter meter;
    CKX9MonitorApp app;
    RecordingUi ui;
    // The link's waits and reply time-outs last until the meter had its turn.
    linktest::PatientClock clock{
        0, [this] { return meter.Answered() && !linktest::ReplyUntaken(frame.Link()); },
        &app.m_bAbortWait};
    // The scheduler run reads the meter's acknowledgements itself after a pause.
    linktest::PatientSleepClock schedulerClock{[this] { return meter.Answered(); }};
    CMainFrame frame{&clock, &schedulerClock, &ui};
    CKX9MonitorView view{&frame.ViewUses()};
    int dataSheets = 0;
};

}  // namespace frametest
