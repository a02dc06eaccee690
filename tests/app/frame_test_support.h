#pragma once
// A frame with its view, wired to a simulated meter on COM3, with a window and neighbours that
// record what the frame asked of them.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"
#include "link/link_test_support.h"
#include "platform/com_ports.h"
#include "platform/event_loop.h"
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
    void KillSetupWaitBoxTimer() override { ++setupBoxTimerKills; }
    void SetSetupWaitProgress(int position) override { setupBoxProgress = position; }
    void StepSetupWaitProgress() override { ++setupBoxSteps; }
    void DestroySetupWaitBox() override {
        setupBoxShown = false;
        ++setupBoxDestroyed;
    }
    bool IsDownloadBoxShown() const override { return downloadBoxShown; }
    int StepDownloadProgress() override { return downloadProgress += 10; }
    void SetDownloadProgress(int position) override { downloadProgress = position; }
    void SetDownloadFields(const std::string& file, const std::string& line) override {
        downloadFields = {file, line};
    }
    void CloseDownloadBox() override { downloadBoxShown = false; }
    void EmptyInstrStatusText() override { ++statusTextEmptied; }

    std::map<int, Pane> panes;
    bool minimized = false;
    bool setupBoxShown = false;
    int setupBoxTimerKills = 0;
    int setupBoxProgress = -1;
    int setupBoxSteps = 0;
    int setupBoxDestroyed = 0;
    bool downloadBoxShown = false;
    int downloadProgress = 0;
    std::pair<std::string, std::string> downloadFields;
    int statusTextEmptied = 0;
};

class RecordingServices : public FrameServices {
public:
    void DispatchReply(CMainFrame& frame, const CCommand& command) override {
        dispatched.emplace_back(command.GetCode(), frame.m_strReply.Get());
    }
    void ProcessLiveRecord(CMainFrame& frame) override {
        liveRecords.push_back(frame.m_strReply.Get());
    }
    std::string HttpSendMail(CMainFrame&, const std::string& address, const std::string& subject,
                             const std::string& text) override {
        mails.push_back({address, subject, text});
        return "RESULT=OK";
    }
    void UploadLogFile(CMainFrame&, const std::string& path) override { uploads.push_back(path); }
    void OnUpdateCalibExpiry(CMainFrame&) override { calls.push_back("OnUpdateCalibExpiry"); }
    void OnValidateReport(CMainFrame&) override { calls.push_back("OnValidateReport"); }
    void StartNewSession(CMainFrame&) override { calls.push_back("StartNewSession"); }
    void LogScheduler(CMainFrame&, BOOL, const std::string& text, BOOL) override {
        schedulerLog.push_back(text);
    }
    void MakeIncompleteDumpRecord(BYTE* record) override {
        incompleteDumpRecord.assign(record, record + 67);
    }
    void CloseRecordFile(CMainFrame&) override { calls.push_back("CloseRecordFile"); }
    std::string SetupValue(SetupRecord record, int index) override {
        return setup[{record, index}];
    }

    std::vector<std::pair<int, std::string>> dispatched;
    std::vector<std::string> liveRecords;
    std::vector<std::vector<std::string>> mails;
    std::vector<std::string> uploads;
    std::vector<std::string> calls;
    std::vector<std::string> schedulerLog;
    std::vector<BYTE> incompleteDumpRecord;
    std::map<std::pair<SetupRecord, int>, std::string> setup;
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

class FrameLinkTest : public ::testing::Test {
protected:
    static constexpr int kCom = 3;

    FrameLinkTest() {
        platform::SetComDevice(kCom, meter.SlavePath());
        app.m_strProgramDir = folder.Path();
        app.m_TargetPort.m_nComPort = kCom;
        app.m_TargetPort.m_nBaudRate = 38400;
        frame.SetUi(&ui);
        frame.SetServices(&services);
    }
    ~FrameLinkTest() override {
        platform::ClearComDevices();
        platform::EventLoop::ClearQuit();
    }

    CSerialMFC& Port() { return view.m_TargetSerial; }

    // What a connect does: open the link port with the frame as owner and start the send tick.
    void OpenLink() {
        ASSERT_EQ(Port().Open("COM3", &frame, 0, 0, 2048, 2048), 0);
        ASSERT_EQ(Port().Setup(38400), 0);
        frame.SetTimer(CMainFrame::kSendTick, 1);
        frame.m_bReadyToSend = TRUE;
    }

    bool QueueIdle() const {
        return frame.m_CommandList.empty() && !frame.m_pCurrentCommand && frame.m_bReadyToSend;
    }

    platform::ScopedClockSpeed fast{100.0};
    testenv::ScratchFolder folder;
    BoxRecorder op;
    simmeter::SimMeter meter;
    CKX9MonitorApp app;
    RecordingUi ui;
    RecordingServices services;
    CMainFrame frame;
    CKX9MonitorView view;
};

}  // namespace frametest
