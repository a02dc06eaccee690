#pragma once
// The two dialogs of named custom settings, as objects that keep their controls' states and
// run through the operator; a script fills their fields and presses their buttons by their
// handlers, the screen windows (custom_settings_windows.cpp) do the same for the operator.
// Both read the list afresh each time they open.

#include <string>
#include <vector>

#include "platform/operator.h"
#include "setup/custom_settings_folder.h"

namespace setup {

class SetupHost;

// "Save custom Setup": a name typed over the list of those saved.
class CSaveCustomSettingsDlg : public platform::ModalDialog {
public:
    static constexpr int IDD = 264;
    static constexpr int IDC_SETUP_NAME = 1354;
    static constexpr int IDC_SETUP_LIST = 1355;

    explicit CSaveCustomSettingsDlg(const CustomSettingsFolder& folder) : m_folder(folder) {}

    std::string DialogName() const override { return "CSaveCustomSettingsDlg"; }
    int RunOnScreen() override;
    // Fills the list, then runs through the operator; read m_strName after IDOK.
    int DoModal();

    // The saved names, sorted; a list that cannot be read is said so and shown empty.
    void OnInitDialog();
    // True when the dialog may close with OK: the name is one a setting can be saved under,
    // and for each saved setting of that name the operator agreed to overwrite it.
    bool OnOK();

    std::string m_strName;
    std::vector<std::string> m_names;

private:
    CustomSettingsFolder m_folder;  // a path: held by value, so a temporary folder is safe
};

// "Select Custom Setup": the saved names in the list's order; "Load Setup" loads the chosen
// one into the edited setup, "Delete Setup" deletes it. Both close the dialog.
class CSelCustomSettingDlg : public platform::ModalDialog {
public:
    static constexpr int IDD = 263;
    static constexpr int IDC_SETUP_LIST = 1353;
    static constexpr int IDC_DELETE_SETUP = 1357;

    CSelCustomSettingDlg(const CustomSettingsFolder& folder, SetupHost& host)
        : m_folder(folder), m_host(host) {}

    std::string DialogName() const override { return "CSelCustomSettingDlg"; }
    int RunOnScreen() override;
    int DoModal();

    void OnInitDialog();
    // The operator chose entry `index` (-1: none); it enables both buttons.
    void OnSelChangeSetupList(int index);
    bool LoadEnabled() const { return m_selected >= 0; }
    bool DeleteEnabled() const { return m_selected >= 0; }
    // "Load Setup": loads the chosen setting; the dialog then closes (true).
    bool OnOK();
    // "Delete Setup": after the operator confirms, the setting leaves the list and the
    // folder and the dialog closes (true); false keeps it open.
    bool OnDeleteSetup();

    std::vector<std::string> m_names;
    int m_selected = -1;

private:
    CustomSettingsFolder m_folder;  // a path: held by value, so a temporary folder is safe
    SetupHost& m_host;
};

// The messages of custom settings.
inline constexpr const char* kListUnreadable = "ERROR: Unable to open custom settings file list";
inline constexpr const char* kSettingUnwritable = "ERROR: Unable to create custom settings file";
inline constexpr const char* kSettingUnreadable = "ERROR: Unable to open Custom settings file";
inline constexpr const char* kListUnwritableOnDelete =
    "ERROR: Unable to open Custom Setting list file";
inline constexpr const char* kNameRefused =
    "ERROR: Invalid custom setup name.\nA name holds 1 to 120 characters, "
    "without \".\", \"/\", \"\\\" or control characters.";

}  // namespace setup
