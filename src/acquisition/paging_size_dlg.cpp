#include "acquisition/paging_size_dlg.h"

#include <QButtonGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/text.h"
#include "ui/hooked_dialog.h"

namespace acquisition {

const std::array<const char*, CPageningSizeDlg::kChoices>& CPageningSizeDlg::ChoiceTexts() {
    static const std::array<const char*, kChoices> texts = {
        "Inserire nuovo certificato di taratura",
        "Usare ultimo certificato disponibile sul server",
        "1000 Samples",
        "2000 Samples",
        "5000 Samples",
        "10000 Samples"};
    return texts;
}

int CPageningSizeDlg::DoModal() {
    OnInitDialog();
    return platform::ModalDialog::DoModal();
}

int CPageningSizeDlg::PageSize() const {
    return m_nChoice >= 0 && m_nChoice < kChoices ? kPageSizes[static_cast<size_t>(m_nChoice)]
                                                  : kPageSizes[0];
}

int CPageningSizeDlg::RunOnScreen() {
    QDialog dialog;
    dialog.setWindowTitle("QS4060KRTN_AD");
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel("Selezionare operazione", &dialog));
    auto* group = new QButtonGroup(&dialog);
    for (int choice = 0; choice < kChoices; ++choice) {
        auto* radio =
            new QRadioButton(ui::ToQt(ChoiceTexts()[static_cast<size_t>(choice)]), &dialog);
        radio->setObjectName(ui::IdName(IDC_FIRST_CHOICE + choice));
        radio->setChecked(choice == m_nChoice);
        group->addButton(radio, choice);
        layout->addWidget(radio);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return IDCANCEL;
    m_nChoice = std::max(group->checkedId(), 0);
    return IDOK;
}

std::string PagingSizeText(int pageSize) {
    return platform::Format("Pagening Size: %d samples", pageSize);
}

}  // namespace acquisition
