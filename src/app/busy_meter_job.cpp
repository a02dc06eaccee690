#include "app/busy_meter_job.h"

#include "link/meter_mode.h"

namespace {

constexpr const char* kDownloadRefusal =
    "ATTENZIONE: Scaricamento della memoria dello strumento in corso.\nAttendere la fine dello "
    "scaricamento e riprovare.";
constexpr const char* kUpgradeRefusal =
    "ATTENZIONE: Aggiornamento firmware in corso.\nAttendere la fine dell'aggiornamento e "
    "riprovare.";
constexpr const char* kFinalCalibrationRefusal =
    "ATTENZIONE: Calibrazione elettrica di fine scheduler in corso.\nAttendere la fine della "
    "calibrazione e riprovare.";
constexpr const char* kRunRefusal =
    "ATTENZIONE: Scheduler in corso.\nFermare lo scheduler (STOP) e riprovare.";

}  // namespace

const char* BusyMeterJobRefusal(const MeterMode& mode) {
    // A run past its stop time has cleared its flag, and STOP no longer ends it: its final
    // job does, from the moment it is asked for, before the meter has answered anything.
    const RunFinalJob finalJob = mode.FinalJob();
    if (mode.IsDownloading() || finalJob == RunFinalJob::kDownload)
        return kDownloadRefusal;
    if (mode.IsFirmwareUpgrading())
        return kUpgradeRefusal;
    if (finalJob == RunFinalJob::kCalibration)
        return kFinalCalibrationRefusal;
    if (mode.IsSchedulerRunning())
        return kRunRefusal;
    return nullptr;
}
