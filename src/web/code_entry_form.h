#pragma once
// The small entry form for a technician code (six characters) or for the serial number of the
// calibrator associated with a meter. Its sound pipe is built and destroyed with it and never
// used.

#include <string>

#include "platform/operator.h"
#include "sound/pipe.h"

class CSetLabelDlg : public platform::ModalDialog, public sound::CPipe {
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
