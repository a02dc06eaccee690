#pragma once
// A scheduler host that records what the scheduler asked of the program, with the meter mode,
// the live file and the live timebase the window is handed.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "acquisition/record_file.h"
#include "acquisition/sample_timebase.h"
#include "acquisition/scheduler_host.h"
#include "link/command.h"
#include "link/instr_status.h"
#include "link/link_reply_state.h"
#include "link/meter_mode.h"

namespace acqtest {

class FakeSchedulerHost : public acquisition::SchedulerHost {
public:
    explicit FakeSchedulerHost(std::string folder) : folder(std::move(folder)) {}

    const CInstrStatus& CurrentSetup() const override { return current; }
    CInstrStatus& EditedSetup() override { return edited; }
    void SendCommand(int code, const std::string& argument) override {
        sent.emplace_back(code, argument);
    }
    void QueueSetupQueries() override { calls.push_back("QueueSetupQueries"); }
    int LinkBaudRate() const override { return baudRate; }
    bool IsModemLink() const override { return modem; }
    void WriteToLink(int code) override { written.push_back(CommandLine(code)); }
    void StopFrameMonitoring() override { calls.push_back("StopFrameMonitoring"); }
    void DisconnectLink() override {
        calls.push_back("DisconnectLink");
        mode.OnLinkClosed();
    }
    void PrepareLiveSpectrumWindow() override { calls.push_back("PrepareLiveSpectrumWindow"); }
    void FollowLastReportRow() override { calls.push_back("FollowLastReportRow"); }
    void ShowBenchForSchedulerRecording() override { calls.push_back("ShowBench"); }
    void ResetViewForScheduler() override { calls.push_back("ResetViewForScheduler"); }
    void OpenSchedulerFile() override { calls.push_back("OpenSchedulerFile"); }
    void LogScheduler(bool restart, const std::string& text, bool) override {
        if (restart)
            log.clear();
        log.push_back(text);
    }
    std::string ProgramFolder() const override { return folder; }
    std::vector<QImage> LogImages() const override {
        return std::vector<QImage>(7, QImage(16, 16, QImage::Format_ARGB32));
    }
    void WaitWithMessages(unsigned ms) override { waited += ms; }
    void StartRun(const acquisition::SchedulePlan& started) override {
        plan = started;
        runActive = true;
    }
    void StopRun() override { runActive = false; }
    // As the run does it.
    void StopRunMonitoring() override {
        LogScheduler(false, "Connection OFF", true);
        DisconnectLink();
    }

    LinkReplyState listeners;
    MeterMode mode{listeners};
    acquisition::RecordFile liveFile;
    acquisition::Timebase liveTimebase;
    acquisition::SchedulePlan plan;
    bool runActive = false;

    std::string folder;
    CInstrStatus current;
    CInstrStatus edited;
    std::vector<std::pair<int, std::string>> sent;
    std::vector<std::string> calls;
    std::vector<std::string> written;
    std::vector<std::string> log;
    int baudRate = 38400;
    bool modem = false;
    unsigned waited = 0;
};

}  // namespace acqtest
