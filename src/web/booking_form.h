#pragma once
// The booking form: up to six serial numbers of instruments to verify where there is no
// internet connection.

#include <array>
#include <string>

#include "platform/operator.h"

class CAudioTriggerEvDlg : public platform::ModalDialog {
public:
    // The edit ids of the six serial numbers, in field order.
    static constexpr std::array<int, 6> kSerialIds = {1789, 1731, 1790, 1732, 1733, 1734};

    explicit CAudioTriggerEvDlg(std::string bookingPath) : m_bookingPath(std::move(bookingPath)) {}

    std::string DialogName() const override { return "CAudioTriggerEvDlg"; }
    int RunOnScreen() override;

    // The OK button: true when the form closes with OK. An earlier booking is replaced only
    // once the operator agrees.
    bool OnOK();

    std::array<std::string, 6> m_strSerials;

private:
    std::string m_bookingPath;
};
