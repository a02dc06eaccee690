#pragma once
// "Impostazioni connessione": the COM port of the instrument under test, chosen from the PC's
// serial ports, and how the monitoring link reaches its meter (cable, or modem and number).
// The reference meter's controls stay hidden, as do its rates and the auto-detect check.
//
// The object holds every control's state, so that the logic and the tests work without a
// window; RunOnScreen shows that state and hands the buttons to the handlers here.

#include <set>
#include <string>
#include <vector>

#include "platform/operator.h"
#include "platform/win_types.h"

class CPortSetupDlg : public platform::ModalDialog {
public:
    static constexpr int IDD = 130;
    static constexpr int IDC_REF_PORT = 1002;
    static constexpr int IDC_REF_RATE = 1003;
    static constexpr int IDC_TARGET_PORT = 1004;
    static constexpr int IDC_TARGET_RATE = 1005;
    static constexpr int IDC_AUTO_DETECT = 1077;
    static constexpr int IDC_CABLE = 1612;
    static constexpr int IDC_MODEM = 1613;
    static constexpr int IDC_MODEM_NUMBER = 1614;
    static constexpr int IDC_TARGET_CHECK = 1776;
    static constexpr int IDC_REF_GROUP = 1791;
    static constexpr int IDC_REF_NAME = 1792;
    static constexpr int IDC_REF_PORT_LABEL = 1793;
    static constexpr int IDC_REF_FORMAT = 1794;
    static constexpr int IDC_PICTURE = 1796;
    static constexpr int kNoSelection = -1;
    // Connection types of the radios.
    static constexpr int kCable = 0;
    static constexpr int kModem = 1;

    std::string DialogName() const override { return "CPortSetupDlg"; }
    int RunOnScreen() override;

    // What the frame runs: the initialisation, the dialog through the operator, and OnOK's
    // storing when it ended with OK. Returns the dialog's result.
    int DoModal();

    // Re-reads "port.ini", lists the ports and selects the stored ones.
    void OnInitDialog();
    // Stores the selected ports in the port records and the connection type and number in the
    // application.
    void OnOK();
    void OnTargetCheck();
    void OnAutoDetect();
    void OnCable();
    void OnModem();

    // The entries of both port combos ("COM3", ...) and of both rate combos.
    const std::vector<std::string>& PortEntries() const { return m_portEntries; }
    static const std::vector<std::string>& RateEntries();
    // The index of the entry that is exactly `text`, or kNoSelection.
    int FindPortEntry(const std::string& text) const;
    // The selected entry's text; empty when nothing is selected.
    std::string EntryText(int selection) const;

    bool IsItemVisible(int id) const { return !m_hidden.count(id); }
    bool IsItemEnabled(int id) const { return !m_disabled.count(id); }
    void ShowItem(int id, bool show);
    void EnableItem(int id, bool enable);

    // The controls' values, in the order of the dialog data exchange.
    BOOL m_bAutoDetect = FALSE;
    int m_nRefPortSel = kNoSelection;
    int m_nRefRateSel = kNoSelection;
    BOOL m_bTargetCheck = TRUE;
    int m_nTargetPortSel = kNoSelection;
    int m_nTargetRateSel = kNoSelection;
    int m_nConnectionType = -1;
    std::string m_strModemNumber;

private:
    std::vector<std::string> m_portEntries;
    std::set<int> m_hidden;
    std::set<int> m_disabled;
};
