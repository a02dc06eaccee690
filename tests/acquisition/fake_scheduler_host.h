#pragma once
// A scheduler host that records what the scheduler window asked of the program, with what the
// window is handed: the meter's setup records, the reference port's record, the live file and
// the live timebase, and a run of its plan on a manual clock. The run talks through the link
// and the session operations of schedtest::FakeRunHost, whose log and calls the host shares,
// so that the window's lines and the run's come in one order.

#include <string>
#include <utility>
#include <vector>

#include "acquisition/record_file.h"
#include "acquisition/sample_timebase.h"
#include "acquisition/scheduler_dlg.h"
#include "acquisition/scheduler_host.h"
#include "link/instr_status.h"
#include "link/port_record.h"
#include "scheduler_run_fakes.h"

namespace acqtest {

class FakeSchedulerHost : public acquisition::SchedulerHost {
public:
    explicit FakeSchedulerHost(std::string folder) : folder(std::move(folder)) {
        runHost.Attach(run);
        referencePort.m_nBaudRate = 38400;
    }

    // What the window is built with.
    acquisition::CSchedulerDlg::Uses WindowUses() {
        return {.host = *this,
                .link = runHost.link,
                .run = run,
                .session = runHost,
                .notices = runHost,
                .current = current,
                .edited = edited,
                .referencePort = referencePort,
                .modemLink = modemLink,
                .programFolder = folder,
                .liveFile = liveFile,
                .liveTimebase = liveTimebase};
    }
    // The codes the window queued, in the order they go out.
    std::vector<int> Queued() const { return runHost.link.QueuedCodes(); }
    void ClearQueue() { runHost.link.DeleteAllCommands(); }
    // The lines written to the reference meter's port, past the queue.
    std::vector<std::string> Written() const { return runHost.referencePort.Written(); }

    void PrepareLiveSpectrumWindow() override { calls.push_back("PrepareLiveSpectrumWindow"); }
    void FollowLastReportRow() override { calls.push_back("FollowLastReportRow"); }
    void ShowBenchForSchedulerRecording() override { calls.push_back("ShowBench"); }
    void ResetViewForScheduler() override { calls.push_back("ResetViewForScheduler"); }
    void OpenSchedulerFile() override { calls.push_back("OpenSchedulerFile"); }
    std::vector<QImage> LogImages() const override {
        return std::vector<QImage>(7, QImage(16, 16, QImage::Format_ARGB32));
    }
    void WaitWithMessages(unsigned ms) override { waited += ms; }

    // The run the window starts and stops; its clock moves only when a test moves it.
    linktest::ManualClock clock;
    schedtest::FakeRunHost runHost{clock};
    acquisition::SchedulerRun run{runHost.RunUses()};
    MeterMode& mode = runHost.mode;
    acquisition::RecordFile& liveFile = runHost.liveFile;
    acquisition::Timebase liveTimebase;

    std::string folder;
    CInstrStatus current;
    CInstrStatus edited;
    PortRecord referencePort;
    int modemLink = 0;
    // The scheduler log and the calls of the window and the run, in their order.
    std::vector<std::string>& log = runHost.log;
    std::vector<std::string>& calls = runHost.events;
    unsigned waited = 0;
};

}  // namespace acqtest
