#include "app/port_setup_dlg.h"

#include <array>

#include "app/kx9monitor_app.h"
#include "link/meter_probe.h"
#include "link/modem_link.h"
#include "link/port_record.h"
#include "link/serial_port_list.h"
#include "platform/com_ports.h"
#include "platform/text.h"

namespace {

constexpr std::array<int, 11> kRates{300,   600,   1200,  2400,   4800,  9600,
                                     19200, 38400, 57600, 115200, 230400};

int RateSelection(int rate) {
    for (size_t i = 0; i < kRates.size(); ++i)
        if (kRates[i] == rate)
            return static_cast<int>(i);
    return CPortSetupDlg::kNoSelection;
}

}  // namespace

const std::vector<std::string>& CPortSetupDlg::RateEntries() {
    static const std::vector<std::string> entries{"300",   "600",    "1200",        "2400",
                                                  "4800",  "9600",   "19200",       "38400",
                                                  "57600", "115200", "230400 (usb)"};
    return entries;
}

int CPortSetupDlg::DoModal() {
    OnInitDialog();
    const int result = platform::ModalDialog::DoModal();
    if (result == IDOK)
        OnOK();
    return result;
}

void CPortSetupDlg::OnInitDialog() {
    CKX9MonitorApp& app = TheApp();
    app.LoadPortIni();

    std::vector<SerialPortInfo> ports;
    try {
        EnumSerialPorts(ports, FALSE);
    } catch (const SerialPortListError& error) {
        platform::AfxMessageBox(error.what(), MB_ICONEXCLAMATION);
    }
    m_portEntries.clear();
    for (const SerialPortInfo& port : ports)
        if (platform::Contains(port.strFriendlyName, "COM"))
            m_portEntries.push_back(meter_probe::WorkingPortName(port.strFriendlyName));
    // Ports mapped to a device of their own (KX9_COM_MAP) are offered too, so that choosing
    // one keeps the port that works.
    for (int number : platform::MappedComNumbers())
        if (FindPortEntry(platform::Format("COM%d", number)) == kNoSelection)
            m_portEntries.push_back(platform::Format("COM%d", number));

    // A stored port is selected by its whole name: COM1 is not COM10.
    m_nRefPortSel = FindPortEntry(platform::Format("COM%d", app.m_RefPort.m_nComPort));
    m_nRefRateSel = RateSelection(app.m_RefPort.m_nBaudRate);
    m_nTargetPortSel = FindPortEntry(platform::Format("COM%d", app.m_TargetPort.m_nComPort));
    m_nTargetRateSel = RateSelection(app.m_TargetPort.m_nBaudRate);

    m_bAutoDetect = app.m_bAutoDetectPort ? TRUE : FALSE;
    m_nConnectionType = app.m_bModemLink == 1 ? kModem : kCable;
    m_strModemNumber = app.m_strModemNumber;
    EnableItem(IDC_MODEM_NUMBER, m_nConnectionType != kCable);

    // The reference meter is the bench's: only the instrument under test is chosen here.
    for (int id : {IDC_REF_RATE, IDC_TARGET_RATE, IDC_AUTO_DETECT})
        ShowItem(id, false);
    EnableItem(IDC_REF_PORT, false);
    EnableItem(IDC_TARGET_CHECK, false);
    for (int id : {IDC_REF_PORT, IDC_REF_GROUP, IDC_REF_NAME, IDC_REF_PORT_LABEL, IDC_REF_FORMAT})
        ShowItem(id, false);
    ShowItem(IDC_PICTURE, true);
}

void CPortSetupDlg::OnOK() {
    CKX9MonitorApp& app = TheApp();
    auto store = [this](int selection, PortRecord& record) {
        if (selection == kNoSelection)
            return;
        record.m_nComPort = platform::Atoi(platform::ReplaceAll(EntryText(selection), "COM", ""));
        record.m_nBaudRate = kPortIniBaudRate;
    };
    store(m_nRefPortSel, app.m_RefPort);
    store(m_nTargetPortSel, app.m_TargetPort);

    const bool modem = m_nConnectionType == kModem;
    const std::string number = platform::Trim(m_strModemNumber);
    // A number the modem could not dial is refused; the link stays as it was.
    if (modem && !modem_link::IsDialNumber(number)) {
        platform::AfxMessageBox(
            "Numero del modem non valido: sono ammessi solo cifre e i "
            "caratteri di composizione (* # , W P T).",
            MB_ICONEXCLAMATION);
        return;
    }
    app.m_bModemLink = modem ? 1 : 0;
    app.m_strModemNumber = modem ? number : std::string();
}

void CPortSetupDlg::OnTargetCheck() {
    if (!m_bTargetCheck)
        platform::AfxMessageBox(
            "ATTENZIONE:\nPer strumenti NON Corvanex l'inserimento dei valori misurati dovra' "
            "essere eseguito manualmente",
            MB_ICONEXCLAMATION);
    EnableItem(IDC_TARGET_PORT, m_bTargetCheck != FALSE);
}

void CPortSetupDlg::OnAutoDetect() {
    TheApp().m_bAutoDetectPort = m_bAutoDetect ? 1 : 0;
    EnableItem(IDC_REF_PORT, !m_bAutoDetect);
    EnableItem(IDC_REF_RATE, !m_bAutoDetect);
}

void CPortSetupDlg::OnCable() {
    OnModem();
}

void CPortSetupDlg::OnModem() {
    EnableItem(IDC_MODEM_NUMBER, m_nConnectionType != kCable);
    if (m_nConnectionType == kCable)
        m_strModemNumber.clear();
}

int CPortSetupDlg::FindPortEntry(const std::string& text) const {
    for (size_t i = 0; i < m_portEntries.size(); ++i)
        if (m_portEntries[i] == text)
            return static_cast<int>(i);
    return kNoSelection;
}

std::string CPortSetupDlg::EntryText(int selection) const {
    if (selection < 0 || static_cast<size_t>(selection) >= m_portEntries.size())
        return std::string();
    return m_portEntries[static_cast<size_t>(selection)];
}

void CPortSetupDlg::ShowItem(int id, bool show) {
    if (show)
        m_hidden.erase(id);
    else
        m_hidden.insert(id);
}

void CPortSetupDlg::EnableItem(int id, bool enable) {
    if (enable)
        m_disabled.erase(id);
    else
        m_disabled.insert(id);
}
