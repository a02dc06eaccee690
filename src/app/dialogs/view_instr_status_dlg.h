#pragma once
// The "Instrument Status" window: screen, acquisition, integration, battery, memory and the
// recorder, from the replies that the frame appends to m_strStatusText. Refresh asks the meter
// again through the frame's command queue.

#include <functional>
#include <string>

#include "app/dialogs/instr_status_view.h"
#include "app/dialogs/modeless_dialog.h"

class CViewInstrStatusDlg : public dialogs::ModelessDialog {
public:
    static constexpr int IDD = 368;
    static constexpr int IDC_RECORDER = 1631;
    static constexpr int IDC_MEMORY_BAR = 1627;
    static constexpr int IDC_BATTERY_BAR = 1626;
    static constexpr int IDC_ACQUISITION = 1624;
    static constexpr int IDC_DISPLAY = 1625;
    static constexpr int IDC_OCTAVE = 1567;
    static constexpr int IDC_PROFILE = 1566;
    static constexpr int IDC_SLM = 1565;
    static constexpr int IDC_THIRD_OCTAVE = 1568;
    static constexpr int IDC_FFT = 1635;
    static constexpr int IDC_SHORT_LEQ = 1634;
    static constexpr int IDC_BATTERY = 1629;
    static constexpr int IDC_MEMORY = 1630;
    static constexpr int IDC_INFORMATION = 1615;
    static constexpr int IDC_AUTO_POWER_OFF = 1632;
    static constexpr int IDC_INTEGRATION = 1628;
    static constexpr int IDC_STATUS_LABEL = 1603;
    static constexpr int IDC_REFRESH = 1616;

    // What the window needs of the frame.
    struct Hooks {
        std::function<std::string()> modelText;     // value 0 of the current record
        std::function<bool()> isDownloading;        // a memory download runs
        std::function<void(int code)> sendCommand;  // CMainFrame::SendCommand(code)
        std::function<void()> onClosed;             // clears the mode's status-window flag
    };

    explicit CViewInstrStatusDlg(Hooks hooks = {});
    void SetHooks(Hooks hooks) { m_hooks = std::move(hooks); }

    // Parses m_strStatusText into the controls.
    void ShowStatus();
    void OnRefresh();
    void OnShowWindow(BOOL show, unsigned status) override;
    const InstrStatusFields& Fields() const { return m_fields; }

    std::string m_strStatusText;

protected:
    void BuildControls(QDialog& dialog) override;
    void OnOK() override;

private:
    std::string Model() const;
    bool Downloading() const;
    // The fields into the controls.
    void UpdateControls();

    Hooks m_hooks;
    InstrStatusFields m_fields;
};
