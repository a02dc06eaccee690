#pragma once
// "Selezionare operazione" (dialog 381): one group of six radio buttons. As the paging dialog
// it chooses how many records make a page of a recording; its first two buttons also carry
// the maintenance functions' choice between a new calibration certificate and the last one on
// the server. It always opens on the first button.

#include <array>
#include <string>

#include "platform/operator.h"

namespace acquisition {

class CPageningSizeDlg : public platform::ModalDialog {
public:
    static constexpr int IDD = 381;
    static constexpr int IDC_FIRST_CHOICE = 1684;
    static constexpr int kChoices = 6;
    static constexpr std::array<int, kChoices> kPageSizes = {200, 500, 1000, 2000, 5000, 10000};

    CPageningSizeDlg() = default;

    std::string DialogName() const override { return "CPageningSizeDlg"; }
    int RunOnScreen() override;

    // The first button checked, the operator's choice through the operator, then stored when
    // the dialog ended with OK. Returns the dialog's result.
    int DoModal();
    void OnInitDialog() { m_nChoice = 0; }

    // The records per page of the choice (200 for any choice out of range).
    int PageSize() const;
    static const std::array<const char*, kChoices>& ChoiceTexts();

    // The checked button, 0 to 5.
    int m_nChoice = 0;
};

// "Pagening Size: %d samples".
std::string PagingSizeText(int pageSize);

}  // namespace acquisition
