#include "app/busy_meter_job.h"

#include "link/meter_mode.h"

const char* BusyMeterJobRefusal(const MeterMode& mode) {
    if (mode.IsDownloading())
        return "ATTENZIONE: Scaricamento della memoria dello strumento in corso.\nAttendere la "
               "fine dello scaricamento e riprovare.";
    if (mode.IsFirmwareUpgrading())
        return "ATTENZIONE: Aggiornamento firmware in corso.\nAttendere la fine "
               "dell'aggiornamento e riprovare.";
    if (mode.IsSchedulerRunning())
        return "ATTENZIONE: Scheduler in corso.\nFermare lo scheduler (STOP) e riprovare.";
    return nullptr;
}
