#pragma once
// The laboratory choice: a technician who works for several laboratories picks the one the
// work is done for.

#include <string>
#include <vector>

#include "platform/operator.h"

class CSetLimitDlg : public platform::ModalDialog {
public:
    std::string DialogName() const override { return "CSetLimitDlg"; }
    int RunOnScreen() override;

    // The entries of the list, each up to its ";".
    std::vector<std::string> Entries() const;

    // Zero-based index of the chosen entry; -1 when none was chosen.
    int m_nChoice = -1;
    // Entries each followed by ";", filled by the caller.
    std::string m_strList;
};
