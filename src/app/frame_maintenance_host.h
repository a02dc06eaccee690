#pragma once
// What the firmware update needs of the application beyond the link, the web client and the
// folders it is handed: the view's presence, timer 8 and the maker's writer.

#include "maintenance/firmware_upgrade.h"

class FrameTimers;
class ViewLookup;

class FrameMaintenanceHost : public maintenance::FirmwareUpgradeHost {
public:
    // Where the writer would start: the maker's writer is a program of another system.
    static constexpr const char* kWriterMissing =
        "Il programma di scrittura del firmware del produttore non e' disponibile su questo "
        "sistema.";

    FrameMaintenanceHost(FrameTimers& timers, const ViewLookup& views)
        : m_timers(timers), m_views(views) {}

    bool HasView() override;
    void ArmEndTimer(bool on) override;
    bool StartWriter(const std::string& folder, std::string& why) override;

private:
    FrameTimers& m_timers;
    const ViewLookup& m_views;
};
