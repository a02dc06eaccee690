#include "setup/setup_instrument.h"

#include "link/meter_mode.h"
#include "platform/operator.h"
#include "setup/setup_host.h"
#include "setup/setup_prop_sheet.h"

namespace setup {

SetupOutcome RunSetupInstrument(SetupHost& host, MeterMode& mode) {
    {
        CSetupPropSheet sheet(host);
        if (sheet.Run() != IDOK)
            return SetupOutcome::Cancelled;
    }
    if (mode.IsDataLogging() || mode.IsAcquiring()) {
        if (platform::AfxMessageBox("WARNING: Instrument is in ACQUISITION state.\nTo modify setup "
                                    "parameters you must stop acquisition.\nConfirm stop "
                                    "acquisition ?",
                                    MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
            return SetupOutcome::NotSent;
        // Sending into a running acquisition would report the setup as sent when the meter
        // took none of it.
        if (!host.StopAcquisition()) {
            platform::AfxMessageBox(
                "ERROR: Instrument did not stop acquisition.\nSetup parameters not sent.",
                MB_ICONSTOP);
            return SetupOutcome::NotSent;
        }
        mode.OnAcquisitionStopped();
    }
    host.SendSetup();
    return SetupOutcome::Sent;
}

}  // namespace setup
