#pragma once
// The verification data sheet: the header of a verification file (report number, laboratory,
// technician, customer and the instruments under verification), one field per header entry
// of the file's layout, in its order.

#include <string>
#include <utility>
#include <vector>

#include "platform/operator.h"

class CInstrInfoDlg : public platform::ModalDialog {
public:
    // Every header field, empty.
    CInstrInfoDlg();

    std::string DialogName() const override { return "CInstrInfoDlg"; }
    int RunOnScreen() override;

    // A key that is no header field is ignored.
    void SetValue(const std::string& key, const std::string& value);
    std::string Value(const std::string& key) const;
    // (key, value) in the layout's order.
    const std::vector<std::pair<std::string, std::string>>& Values() const { return m_values; }

private:
    std::vector<std::pair<std::string, std::string>> m_values;
};
