#pragma once
// The frame's neighbours that live in other parts of the program: the reply handlers, the
// web-service calls, the menu commands that timers start, the session and scheduler operations
// and the instrument setup records. The frame's members of the same names call through here;
// each does nothing until its part of the program installs itself.

#include <string>

#include "platform/win_types.h"

class CCommand;
class CMainFrame;

enum class SetupRecord { Current, Edited };

class FrameServices {
public:
    virtual ~FrameServices() = default;

    // The reply handling by command code, for a good reply now in m_strReply (ETX removed).
    virtual void DispatchReply(CMainFrame& /*frame*/, const CCommand& /*command*/) {}
    // A live record in m_strReply while monitoring and acquiring.
    virtual void ProcessLiveRecord(CMainFrame& /*frame*/) {}

    virtual std::string HttpSendMail(CMainFrame& /*frame*/, const std::string& /*address*/,
                                     const std::string& /*subject*/, const std::string& /*text*/) {
        return std::string();
    }
    virtual void UploadLogFile(CMainFrame& /*frame*/, const std::string& /*path*/) {}

    virtual void OnUpdateCalibExpiry(CMainFrame& /*frame*/) {}
    virtual void OnValidateReport(CMainFrame& /*frame*/) {}
    virtual void StartNewSession(CMainFrame& /*frame*/) {}
    virtual void LogScheduler(CMainFrame& /*frame*/, BOOL /*restart*/, const std::string& /*text*/,
                              BOOL /*stamp*/) {}
    // Fills the 67-byte record that marks a memory dump as cut off.
    virtual void MakeIncompleteDumpRecord(BYTE* /*record*/) {}
    virtual void CloseRecordFile(CMainFrame& /*frame*/) {}

    // A value of the instrument setup records by its number ("SINGLE", "9.6k", ...).
    virtual std::string SetupValue(SetupRecord /*record*/, int /*index*/) { return std::string(); }
};
