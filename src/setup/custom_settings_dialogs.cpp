#include "setup/custom_settings_dialogs.h"

#include <algorithm>

#include "link/instr_status.h"
#include "platform/text.h"
#include "setup/custom_settings_file.h"
#include "setup/custom_settings_folder.h"
#include "setup/setup_host.h"

namespace setup {

namespace {

std::vector<std::string> ListedNames(const CustomSettingsFolder& folder) {
    auto names = folder.Names();
    if (!names) {
        platform::AfxMessageBox(kListUnreadable, MB_ICONEXCLAMATION);
        return {};
    }
    return *names;
}

}  // namespace

int CSaveCustomSettingsDlg::DoModal() {
    OnInitDialog();
    return platform::ModalDialog::DoModal();
}

void CSaveCustomSettingsDlg::OnInitDialog() {
    m_names = ListedNames(m_folder);
    std::ranges::sort(m_names);
}

bool CSaveCustomSettingsDlg::OnOK() {
    if (!SettingFileName(m_strName)) {
        platform::AfxMessageBox(kNameRefused, MB_ICONEXCLAMATION);
        return false;
    }
    // A name typed with its extension names the same setting as without it.
    const std::string name = ListedName(m_strName);
    for (const std::string& saved : m_names) {
        if (saved == name &&
            platform::AfxMessageBox("Custom setup already present.\nDo you want overwrite it ?",
                                    MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
            return false;
    }
    return true;
}

int CSelCustomSettingDlg::DoModal() {
    OnInitDialog();
    return platform::ModalDialog::DoModal();
}

void CSelCustomSettingDlg::OnInitDialog() {
    m_names = ListedNames(m_folder);
    m_selected = -1;
}

void CSelCustomSettingDlg::OnSelChangeSetupList(int index) {
    m_selected = index >= 0 && index < static_cast<int>(m_names.size()) ? index : -1;
}

bool CSelCustomSettingDlg::OnOK() {
    if (m_selected < 0 || m_names[static_cast<size_t>(m_selected)].empty())
        return true;
    const auto lines = m_folder.ReadSetting(m_names[static_cast<size_t>(m_selected)]);
    if (!lines) {
        platform::AfxMessageBox(kSettingUnreadable, MB_ICONEXCLAMATION);
        return true;
    }
    LoadCustomSettings(*lines, m_host.Current().m_strModel, m_host.Edited());
    return true;
}

bool CSelCustomSettingDlg::OnDeleteSetup() {
    if (m_selected < 0)
        return false;
    const std::string name = m_names[static_cast<size_t>(m_selected)];
    if (platform::AfxMessageBox(platform::Format("Confirm deleting %s settings", name.c_str()),
                                MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return false;
    if (!m_folder.Remove(name)) {
        platform::AfxMessageBox(kListUnwritableOnDelete, MB_OK);
        return false;
    }
    m_names.erase(m_names.begin() + m_selected);
    m_selected = -1;
    return true;
}

}  // namespace setup
