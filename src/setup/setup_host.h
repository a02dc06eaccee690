#pragma once
// What the instrument setup needs of the application: the two setup records, the display names
// of measured parameters, the program folder that holds the custom settings, the confirmed stop
// of the meter's acquisition, which must come before the changed setup is sent, and the send.
// The program's frame implements it; tests give their own.

#include <string>

class CInstrStatus;

namespace setup {

class SetupHost {
public:
    virtual ~SetupHost() = default;

    // The setup as last read from the meter, and the copy that the pages edit.
    virtual CInstrStatus& Current() = 0;
    virtual CInstrStatus& Edited() = 0;

    // The text the meter shows for a stored parameter ("Leq:A"), as the main view names it.
    virtual std::string ParameterName(const std::string& stored) const = 0;

    // The program folder (CKX9MonitorApp::m_strProgramDir).
    virtual std::string ProgramDir() const = 0;

    // Stops the acquisition by a direct exchange with the meter; false when the meter never
    // confirmed the stop.
    virtual bool StopAcquisition() = 0;
    // Queues the setting command of every changed value and shows the sending progress.
    virtual void SendSetup() = 0;
};

}  // namespace setup
