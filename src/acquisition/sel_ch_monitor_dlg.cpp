#include "acquisition/sel_ch_monitor_dlg.h"

#include <QButtonGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/text.h"
#include "ui/hooked_dialog.h"

namespace acquisition {

namespace {

constexpr const char* kCaption = "KX9 Monitor";

}  // namespace

CSelCHMonitorDlg::CSelCHMonitorDlg(std::optional<records::RecordKind> channelMode, int pageSize)
    : m_channelMode(channelMode) {
    const auto& sizes = CPageningSizeDlg::kPageSizes;
    const auto found = std::find(sizes.begin(), sizes.end(), pageSize);
    m_nChoice = found == sizes.end() ? 0 : static_cast<int>(found - sizes.begin());
}

std::string CSelCHMonitorDlg::ChannelModeText() const {
    return m_channelMode ? std::string((*m_channelMode)->name) : "NONE";
}

int CSelCHMonitorDlg::PageSize() const {
    CPageningSizeDlg paging;
    paging.m_nChoice = m_nChoice;
    return paging.PageSize();
}

std::string CSelCHMonitorDlg::ChoiceText(int choice) {
    const auto& sizes = CPageningSizeDlg::kPageSizes;
    const int clamped = std::clamp(choice, 0, CPageningSizeDlg::kChoices - 1);
    return platform::Format("%d Samples", sizes[static_cast<size_t>(clamped)]);
}

int CSelCHMonitorDlg::RunOnScreen() {
    QDialog dialog;
    dialog.setWindowTitle(kCaption);
    auto* layout = new QVBoxLayout(&dialog);
    auto* mode = new QLabel(ui::ToQt("Channel Mode: " + ChannelModeText()), &dialog);
    mode->setObjectName(ui::IdName(IDC_CHANNEL_MODE));
    layout->addWidget(mode);
    auto* paging = new QGroupBox("Pagening Size", &dialog);
    auto* pagingLayout = new QVBoxLayout(paging);
    auto* group = new QButtonGroup(&dialog);
    for (int choice = 0; choice < CPageningSizeDlg::kChoices; ++choice) {
        auto* radio = new QRadioButton(ui::ToQt(ChoiceText(choice)), paging);
        radio->setObjectName(ui::IdName(CPageningSizeDlg::IDC_FIRST_CHOICE + choice));
        radio->setChecked(choice == m_nChoice);
        group->addButton(radio, choice);
        pagingLayout->addWidget(radio);
    }
    layout->addWidget(paging);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return IDCANCEL;
    m_nChoice = std::max(group->checkedId(), 0);
    return IDOK;
}

}  // namespace acquisition
