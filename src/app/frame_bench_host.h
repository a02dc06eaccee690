#pragma once
// What the bench window and the calibration-expiry update need of the application and of the
// main view: the application's waits and its port file, and whether the view is shown.

#include "maintenance/calib_expiry_update.h"
#include "verification/bench_host.h"

class ViewLookup;

class FrameBenchHost : public verification::BenchHost, public maintenance::CalibExpiryHost {
public:
    // `abortWait` ends the application's pumped waits early once set.
    FrameBenchHost(const ViewLookup& views, int& abortWait)
        : m_views(views), m_abortWait(abortWait) {}

    // Both: the view the frame's window shows.
    bool ViewPresent() override;

    // verification::BenchHost
    void WaitWithMessages(unsigned ms) override;
    void RequestAbortWait() override;
    void SetBenchLog(std::function<void(const std::string&)> log) override;
    void SavePortIni() override;

private:
    const ViewLookup& m_views;
    int& m_abortWait;
};
