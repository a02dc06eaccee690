#pragma once
// What the bench window and the calibration-expiry update need of the application and of the
// main view: the application's waits and its port file, and whether the view is shown.

#include "maintenance/calib_expiry_update.h"
#include "verification/bench_host.h"

class ViewLookup;

class FrameBenchHost : public verification::BenchHost, public maintenance::CalibExpiryHost {
public:
    explicit FrameBenchHost(const ViewLookup& views) : m_views(views) {}

    // Both: the view the frame's window shows.
    bool ViewPresent() override;

    // verification::BenchHost
    void WaitWithMessages(unsigned ms) override;
    void RequestAbortWait() override;
    void SetBenchLog(std::function<void(const std::string&)> log) override;
    void SavePortIni() override;

private:
    const ViewLookup& m_views;
};
