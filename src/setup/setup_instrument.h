#pragma once
// The end of a whole setup read: the "Setup Instrument" sheet, and after "Apply All" the send
// of the changed values. A meter that is acquiring or datalogging (as the link's mode says) is
// asked to stop first; when it does not confirm the stop, nothing is sent.

class MeterMode;

namespace setup {

class SetupHost;

enum class SetupOutcome {
    Cancelled,  // the operator left the sheet with "Cancel"
    NotSent,    // "Apply All", but the acquisition was not stopped
    Sent,       // the changed values are queued
};

SetupOutcome RunSetupInstrument(SetupHost& host, MeterMode& mode);

}  // namespace setup
