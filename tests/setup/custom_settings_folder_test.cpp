// Named custom settings in a scratch program folder: saving, choosing, loading and deleting
// through the "Options" page and its two dialogs, names that are refused, and the list that
// survives every failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "fake_setup_host.h"
#include "platform/files.h"
#include "setup/custom_settings_dialogs.h"
#include "setup/custom_settings_folder.h"
#include "setup/options_page.h"
#include "setup/options_prop_page.h"
#include "support/test_env.h"
#include "ui/button_st.h"

using setup::CSaveCustomSettingsDlg;
using setup::CSelCustomSettingDlg;
using setup::CustomSettingsFolder;
using setuptest::FakeSetupHost;

namespace {

class CustomSettingsTest : public ::testing::Test {
protected:
    CustomSettingsTest() {
        host.programDir = scratch.Path();
        host.ReadAs("QS4060_n0$1");
        setuptest::FillAsRead(host.edited);
    }

    // "Save Setup" with `name` typed.
    void Save(const std::string& name) {
        op.ExpectDialog("CSaveCustomSettingsDlg", [name](platform::ModalDialog& d) {
            auto& dialog = static_cast<CSaveCustomSettingsDlg&>(d);
            dialog.m_strName = name;
            return dialog.OnOK() ? IDOK : IDCANCEL;
        });
        page.OnSaveSetup();
    }
    // "Load Setup" choosing the entry `name`; `press` is the button pressed then.
    std::vector<std::string> Select(const std::string& name,
                                    std::function<bool(CSelCustomSettingDlg&)> press) {
        std::vector<std::string> shown;
        op.ExpectDialog("CSelCustomSettingDlg", [&, name](platform::ModalDialog& d) {
            auto& dialog = static_cast<CSelCustomSettingDlg&>(d);
            shown = dialog.m_names;
            EXPECT_FALSE(dialog.LoadEnabled());
            const auto it = std::ranges::find(dialog.m_names, name);
            dialog.OnSelChangeSetupList(
                it == dialog.m_names.end() ? -1 : static_cast<int>(it - dialog.m_names.begin()));
            return press(dialog) ? IDOK : IDCANCEL;
        });
        page.OnLoadSetup();
        return shown;
    }
    std::string List() const { return scratch.Read("CustomSettings/ConfigFileList.inf"); }
    bool Exists(const std::string& name) const {
        return platform::FileExists(scratch.File("CustomSettings/" + name));
    }
    static bool Load(CSelCustomSettingDlg& d) { return d.OnOK(); }
    static bool Delete(CSelCustomSettingDlg& d) { return d.OnDeleteSetup(); }

    testenv::ScratchFolder scratch;
    testenv::TestOperator op;
    FakeSetupHost host;
    setup::OptionsPage page{host};
};

}  // namespace

TEST_F(CustomSettingsTest, SavedSettingsAreListedInSaveOrderAndSavingAgainAsksAndMovesTheName) {
    Save("Bench A");
    Save("Site.cnf");  // its extension is not doubled
    EXPECT_EQ(List(), "Bench A.cnf\r\nSite.cnf\r\n");
    EXPECT_TRUE(scratch.Read("CustomSettings/Bench A.cnf").starts_with("AUTO_PWR_OFF=AUTO_"));

    // Sorted names; an existing one asks before it is overwritten, also typed with its
    // extension; No keeps the dialog.
    op.ExpectDialog("CSaveCustomSettingsDlg", [](platform::ModalDialog& d) {
        auto& dialog = static_cast<CSaveCustomSettingsDlg&>(d);
        EXPECT_EQ(dialog.m_names, (std::vector<std::string>{"Bench A", "Site"}));
        dialog.m_strName = "Bench A.cnf";
        EXPECT_FALSE(dialog.OnOK());
        dialog.m_strName = "Bench A";
        return dialog.OnOK() ? IDOK : IDCANCEL;
    });
    op.ExpectBox("Custom setup already present.\nDo you want overwrite it ?", IDNO);
    op.ExpectBox("Custom setup already present.\nDo you want overwrite it ?", IDYES);
    host.edited.m_strAutoPowerOff = "30";
    page.OnSaveSetup();
    EXPECT_EQ(List(), "Site.cnf\r\nBench A.cnf\r\n");
    EXPECT_TRUE(scratch.Read("CustomSettings/Bench A.cnf").starts_with("AUTO_PWR_OFF=30\r\n"));
}

TEST_F(CustomSettingsTest, LoadingChangesTheEditedSetupOnlyAndDeletingRemovesLineThenFile) {
    host.edited.m_strReportTime = "MM:15";
    Save("Night");
    host.ReadAs("QS4060_n0$1");
    // A list written by hand: a line without "." is not offered, one with blanks is.
    scratch.Write("CustomSettings/ConfigFileList.inf", "Night.cnf\r\nno dot\r\nDay.cnf  \r\n");
    EXPECT_EQ(Select("Night", Load), (std::vector<std::string>{"Night", "Day"}));
    EXPECT_EQ(host.edited.m_strReportTime, "MM:15");
    EXPECT_EQ(host.edited.m_strSlm1Param, "SLM1_PAR");
    EXPECT_EQ(host.current.m_strReportTime, "");

    // A listed setting whose file is gone changes nothing.
    op.ExpectBox("ERROR: Unable to open Custom settings file");
    host.edited.m_strSlm1Param = "LAeq";
    Select("Day", Load);
    EXPECT_EQ(host.edited.m_strSlm1Param, "LAeq");

    op.ExpectBox("Confirm deleting Night settings", IDNO);
    Select("Night", Delete);
    EXPECT_TRUE(Exists("Night.cnf"));
    op.ExpectBox("Confirm deleting Night settings", IDYES);
    op.ExpectBox("Confirm deleting Day settings", IDYES);
    Select("Night", Delete);
    EXPECT_FALSE(Exists("Night.cnf"));
    Select("Day", Delete);
    EXPECT_EQ(List(), "no dot\r\n");
}

TEST_F(CustomSettingsTest, HostileNamesAreRefusedAndNothingIsWrittenOutsideTheFolder) {
    for (const std::string name :
         {"", "../evil", "a/b", "a\\b", ".hidden", "..", "tab\there", "a.b", ".cnf"}) {
        EXPECT_FALSE(setup::SettingFileName(name)) << name;
        op.ExpectBox("ERROR: Invalid custom setup name");
        Save(name);
    }
    EXPECT_FALSE(setup::SettingFileName(std::string(121, 'x')));
    EXPECT_TRUE(setup::SettingFileName(std::string(120, 'x')));
    const auto entries = [](const std::string& folder) {
        return std::distance(std::filesystem::directory_iterator(folder), {});
    };
    EXPECT_EQ(entries(scratch.Path()), 1);  // "CustomSettings" with its list alone
    EXPECT_EQ(entries(scratch.File("CustomSettings")), 1);

    // A list line that points elsewhere is neither read nor deleted.
    scratch.Write("victim.cnf", "AUTO_PWR_OFF=99\r\n");
    scratch.Write("CustomSettings/ConfigFileList.inf", scratch.Path() + "victim.cnf\r\n");
    op.ExpectBox("ERROR: Unable to open Custom settings file");
    op.ExpectBox("Confirm deleting", IDYES);
    Select(scratch.Path() + "victim", Load);
    Select(scratch.Path() + "victim", Delete);
    EXPECT_EQ(host.edited.m_strAutoPowerOff, "AUTO_PWR_OFF");
    EXPECT_TRUE(platform::FileExists(scratch.File("victim.cnf")));
    EXPECT_EQ(List(), "");
}

TEST_F(CustomSettingsTest, FilesThatCannotBeWrittenKeepEverySettingAndSaySo) {
    Save("Keep");
    // The list's place taken by a folder that cannot be replaced.
    platform::RemoveFile(scratch.File("CustomSettings/ConfigFileList.inf"));
    platform::MakeDirectories(scratch.File("CustomSettings/ConfigFileList.inf/x"));
    op.ExpectBox("ERROR: Unable to open custom settings file list");
    Save("Other");  // written, left unlisted
    EXPECT_TRUE(Exists("Other.cnf"));

    CSelCustomSettingDlg dialog(CustomSettingsFolder(scratch.Path()), host);
    dialog.m_names = {"Keep"};
    dialog.OnSelChangeSetupList(0);
    op.ExpectBox("Confirm deleting Keep settings", IDYES);
    op.ExpectBox("ERROR: Unable to open Custom Setting list file");
    EXPECT_FALSE(dialog.OnDeleteSetup());
    EXPECT_TRUE(Exists("Keep.cnf"));
    EXPECT_EQ(dialog.m_names, std::vector<std::string>{"Keep"});
}
