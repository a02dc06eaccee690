#pragma once
// The application object: start-up, the data every part of the program shares, and the
// message-pumping wait that every long operation uses.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "acquisition/dump_file.h"
#include "graph/graph_marks.h"
#include "link/instr_status.h"
#include "link/port_record.h"
#include "platform/win_types.h"
#include "records/record_layout.h"

class CMainFrame;
class CKX9MonitorView;
namespace platform {
class DateTime;
}
class StartupHost;

class CKX9MonitorApp {
public:
    CKX9MonitorApp();
    ~CKX9MonitorApp();
    CKX9MonitorApp(const CKX9MonitorApp&) = delete;
    CKX9MonitorApp& operator=(const CKX9MonitorApp&) = delete;

    // Runs the start-up (kx9monitor_start.cpp): the shared data read in, the frame built and
    // its start-up job run; FALSE ends the program. `arguments` are the command line's words
    // after the program name.
    BOOL InitInstance(const std::vector<std::string>& arguments = {});
    // The frame the start-up built, nullptr before; it outlives its window until the
    // application ends.
    CMainFrame* Frame() const { return m_frame.get(); }
    int ExitInstance();
    BOOL InitModule();

    void LoadPortIni();
    void SavePortIni(PortRecord& reference, PortRecord& target);
    void StartupUpdateCheck();
    void WaitWithMessages(unsigned ms);
    void InitGlobalStringArrays();
    // "Info": the About box.
    void OnAppAbout();

    void SetStartupHost(StartupHost* host) { m_pStartupHost = host; }
    // Where the verification bench window writes its event log while it exists; serial reads
    // that have to wait are logged there too.
    void SetBenchLog(std::function<void(const std::string&)> log);

    std::string ProgramPath(const std::string& relative) const;

    BYTE m_bDebug = 0;
    std::string m_strTechnicianRecord = "-1";
    std::string m_strTechnicianId;
    BYTE m_bTechnicianChecked = 0;
    int m_nDisplayAudioSetting = 1;
    int m_bDataLoaded = 0;
    int m_nConnectionChoice = 1;
    int m_bModemLink = 0;
    std::string m_strModemNumber;
    int m_bAutoDetectPort = 1;
    std::vector<std::string> m_astrLabelsA;  // the two 13-entry label arrays of the data files
    std::vector<std::string> m_astrLabelsB;
    std::string m_strProgramDir;  // with a trailing separator
    int m_nSelectedGraph = -1;
    std::string m_strSpectrumKind;
    std::string m_strCurrentFile;
    std::string m_strCommandLineFile;
    CKX9MonitorView* m_pView = nullptr;
    std::vector<unsigned char> m_DataBuffer;
    // How far the data buffer may hold anything but 0xFF; the data-file reader keeps it.
    std::size_t m_DataBufferFilled = kDataBufferSize;
    PortRecord m_RefPort;
    PortRecord m_TargetPort;
    // The meter's setup as last read from it, and as the operator wants it.
    CInstrStatus m_InstrStatus;
    CInstrStatus m_EditStatus;
    // Samples per record page of a live recording; the monitoring options change it.
    int m_nPagingSize = 10000;
    // Where a download of the meter's memory goes (MonitoringSession::OpenDumpFile).
    acquisition::DumpFile m_DumpFile;
    // The graphs' markers, labels and events, and the record whose labels they show.
    graph::GraphMarks m_GraphMarks;
    int m_bAbortWait = 0;

    static constexpr size_t kDataBufferSize = records::kDataBufferSize;

private:
    // The start-up check's steps: the settings file and the refresh it may call for, and the
    // instrument booking, which lapses after its days.
    bool IsInternetChecked() const;
    void ApplyStartupSettings(const platform::DateTime& now);
    void ExpireBooking(const platform::DateTime& now);

    bool m_bModuleInitialised = false;
    // Shared only in that its deleter comes with it: this file never sees the frame whole.
    std::shared_ptr<CMainFrame> m_frame;
    StartupHost* m_pStartupHost = nullptr;
    std::function<void(const std::string&)> m_benchLog;
};

// The application object of the running program.
CKX9MonitorApp& TheApp();
