#pragma once
// The small entry form for a technician code (six characters) or for the serial number of the
// calibrator associated with a meter.

#include <string>

#include "platform/operator.h"

class CSetLabelDlg : public platform::ModalDialog {
public:
    enum Mode { kTechnicianCode = 0, kCalibratorSerial = 1 };

    explicit CSetLabelDlg(int mode = kTechnicianCode) : m_nMode(mode) {}

    std::string DialogName() const override { return "CSetLabelDlg"; }
    int RunOnScreen() override;

    std::string Prompt() const;
    // The OK button: true when the text is acceptable and the form closes with OK.
    bool OnOK();

    std::string m_strUnused;  // kept for the callers that fill it; the form does not use it
    int m_nMode = kTechnicianCode;
    std::string m_strText;
};
