#pragma once
// The verification bench window, one object that the main frame keeps while its window comes
// and goes. It holds the bench's two meters (their cipher states, serial numbers and
// counters), the members the frame's commands write before showing it, its event log and the
// value fields of its two meter boxes. Its first showing connects the two meters.
//
// The key and reading methods forward to cipher::BenchKeys; everything the bench needs of the
// application, the frame and the view comes through its BenchHost and BenchTools.

#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "cipher/bench_keys.h"
#include "cipher/bench_state.h"
#include "platform/win_types.h"
#include "ui/modeless_window.h"
#include "verification/bench_host.h"
#include "verification/set_vscale_dlg.h"

class CSoundDlg : public ui::ModelessWindow {
public:
    static constexpr int IDD = 396;
    // The value fields of the two meter boxes, channels 1 to 3.
    static constexpr std::array<int, 3> IDC_REF_VALUES = {1777, 1355, 1356};
    static constexpr std::array<int, 3> IDC_TARGET_VALUES = {1778, 1357, 1358};
    // The two controls that Alt+D swaps: the event log, shown while debugging, and the line
    // with the latest step otherwise.
    static constexpr const char* kEventLogName = "eventLog";
    static constexpr const char* kRunStatusName = "runStatus";
    // Lines the window's event log keeps; the instrument log keeps them all.
    static constexpr size_t kShownLogLines = 1000;

    CSoundDlg(verification::BenchHost& host, const verification::BenchTools& tools,
              verification::BenchInstruments& instruments);
    ~CSoundDlg() override;

    // --- the window
    // Alt+D: the event log while debugging, the latest step otherwise.
    void ShowDebugControls(bool debug);
    // A scheduled run records audio: the window made again and shown with the
    // scheduler-recording flag set, which skips the start-up of a verification.
    void ShowForSchedulerRecording();

    // --- written by the frame's commands before the window is shown
    // The serial number of the connected instrument under test; its counters are those of its
    // "port.ini" record when that names it.
    void SetTargetSerial(const std::string& serial);
    int m_bKeyAlignOnly = 0;  // the first showing then connects nothing
    BYTE m_bFirstShow = 1;    // the next showing runs the start-up
    BYTE m_bNewVerification = 1;
    int m_bUnattendedRun = 0;
    int m_bSchedulerRecording = 0;
    std::string m_strResumeFolder;
    std::string m_strResumeFile;  // empty for a new verification
    std::string m_strCustomerName;
    std::string m_strMeterMaker;
    int m_bCalibratorPresent = 0;
    BYTE m_bRunning = 0;  // set while a verification runs: the window will not close

    // --- the bench
    void AddLog(const std::string& text);
    std::string SendRefCommand(const std::string& command, const std::string& statusQuery,
                               const std::string& expected, unsigned waitMs);
    std::string SendTargetCommand(const std::string& command, const std::string& statusQuery,
                                  const std::string& expected, unsigned waitMs);
    bool RefNewKey() { return m_keys.Exchange().RefNewKey(); }
    bool TargetNewKey() { return m_keys.Exchange().TargetNewKey(); }
    std::string TargetGetValCrypt() { return m_keys.Exchange().TargetGetValCrypt(); }
    std::string RefGetExtCrypt() { return m_keys.Exchange().RefGetExtCrypt(); }
    std::string UnlockTargetCryp() { return m_keys.Exchange().UnlockTargetCryp(); }
    bool InitRefCrypt() { return m_keys.InitRefCrypt(); }
    bool InitTargetCrypt() { return m_keys.InitTargetCrypt(); }
    bool AlignTargetKeys() { return m_keys.AlignTargetKeys(); }
    // The two further texts are ignored, as they always were.
    std::string RefInstr_Write_and_Check_CRYPT(const std::string& command, const std::string& = {},
                                               const std::string& = {}) {
        return m_keys.RefInstr_Write_and_Check_CRYPT(command);
    }
    std::string TargetInstr_Write_and_Check_CRYPT(const std::string& command,
                                                  const std::string& = {},
                                                  const std::string& = {}) {
        return m_keys.TargetInstr_Write_and_Check_CRYPT(command);
    }

    // The start-up of the first showing: unless only the keys are to be aligned, the operator
    // switches the instruments on and both meters are connected and identified. False when a
    // meter could not be connected.
    bool RunStartup();

    cipher::BenchState& Bench() { return m_bench; }
    CSet_VScale_Dlg& ManualReadingDlg() { return m_ManualReadingDlg; }
    const std::deque<std::string>& EventLog() const { return m_eventLog; }
    std::string ValueText(cipher::Meter meter, int channel) const;
    // The challenges' random numbers, 0 to 32767; tests make them predictable.
    void SetRandomSource(std::function<int()> random) { m_random = std::move(random); }

private:
    class CipherHost;

    ui::HookedDialog::Hooks WindowHooks() override;
    void BuildWindow(QDialog& dialog) override;
    void OnDestroy() override;
    void LayOutControls(QDialog& dialog);
    void OnShown();
    void OnCancel();
    void ShowValue(cipher::Meter meter, int channel, const std::string& text);
    cipher::ManualReadingEntry EnterManualReading(const cipher::ManualReadingLabels& labels);
    void SyncWindow();
    void AppendToLogControl(const std::string& text);

    verification::BenchHost& m_host;
    const verification::BenchTools m_tools;
    verification::BenchInstruments& m_instruments;
    cipher::BenchState m_bench;
    std::unique_ptr<CipherHost> m_cipherHost;
    cipher::BenchKeys m_keys;
    CSet_VScale_Dlg m_ManualReadingDlg;
    std::array<std::array<std::string, 3>, 2> m_values;
    std::deque<std::string> m_eventLog;
    bool m_debugControls = false;
    std::function<int()> m_random;
    // Lets work posted to the user-interface thread see whether the object still exists.
    std::shared_ptr<CSoundDlg*> m_self;
};
