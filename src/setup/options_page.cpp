#include "setup/options_page.h"

#include "link/instr_status.h"
#include "platform/operator.h"
#include "setup/custom_settings_dialogs.h"
#include "setup/custom_settings_file.h"
#include "setup/custom_settings_folder.h"
#include "setup/setup_host.h"

namespace setup {

OptionsPage::OptionsPage(SetupHost& host) : SetupPage(host, SetupPageKind::Options) {}

void OptionsPage::OnLoadSetup() {
    const CustomSettingsFolder folder(Host().ProgramDir());
    folder.Prepare();
    CSelCustomSettingDlg dialog(folder, Host());
    dialog.DoModal();
    OnSetActive();
}

void OptionsPage::OnSaveSetup() {
    const CustomSettingsFolder folder(Host().ProgramDir());
    folder.Prepare();
    CSaveCustomSettingsDlg dialog(folder);
    if (dialog.DoModal() != IDOK)
        return;
    OnKillActive();
    // The dialog let only a savable name through; a script may have changed it since.
    const auto fileName = SettingFileName(dialog.m_strName);
    if (!fileName) {
        platform::AfxMessageBox(kNameRefused, MB_ICONEXCLAMATION);
        return;
    }
    if (!folder.WriteSetting(*fileName, WriteCustomSettings(Edited(), Model()))) {
        platform::AfxMessageBox(kSettingUnwritable, MB_ICONEXCLAMATION);
        return;
    }
    if (!folder.AddToList(*fileName))
        platform::AfxMessageBox(kListUnreadable, MB_ICONEXCLAMATION);
}

}  // namespace setup
