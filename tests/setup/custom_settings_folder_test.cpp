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
    // Every file below the program folder, relative.
    std::vector<std::string> Files() const {
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(scratch.Path()))
            files.push_back(std::filesystem::relative(entry.path(), scratch.Path()).string());
        std::ranges::sort(files);
        return files;
    }

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
    EXPECT_EQ(scratch.Read("CustomSettings/Bench A.cnf").substr(0, 28),
              "AUTO_PWR_OFF=AUTO_PWR_OFF\r\nI");

    // The save dialog shows the names sorted; an existing one asks before it is overwritten,
    // also when typed with its extension.
    op.ExpectDialog("CSaveCustomSettingsDlg", [](platform::ModalDialog& d) {
        auto& dialog = static_cast<CSaveCustomSettingsDlg&>(d);
        EXPECT_EQ(dialog.m_names, (std::vector<std::string>{"Bench A", "Site"}));
        dialog.m_strName = "Bench A.cnf";
        EXPECT_FALSE(dialog.OnOK());  // No: the dialog stays
        dialog.m_strName = "Bench A";
        return dialog.OnOK() ? IDOK : IDCANCEL;
    });
    op.ExpectBox("Custom setup already present.\nDo you want overwrite it ?", IDNO);
    op.ExpectBox("Custom setup already present.\nDo you want overwrite it ?", IDYES);
    host.edited.m_strAutoPowerOff = "30";
    page.OnSaveSetup();
    EXPECT_EQ(List(), "Site.cnf\r\nBench A.cnf\r\n");
    EXPECT_TRUE(scratch.Read("CustomSettings/Bench A.cnf").starts_with("AUTO_PWR_OFF=30\r\n"));

    // Cancel writes nothing.
    op.ExpectDialog("CSaveCustomSettingsDlg", [](platform::ModalDialog&) { return IDCANCEL; });
    page.OnSaveSetup();
    EXPECT_EQ(List(), "Site.cnf\r\nBench A.cnf\r\n");
}

TEST_F(CustomSettingsTest, LoadingChangesTheEditedSetupOnlyAndDeletingRemovesLineThenFile) {
    host.edited.m_strReportTime = "MM:15";
    host.edited.m_strStoreRepThirdOctaves = "ON";
    Save("Night");
    host.ReadAs("QS4060_n0$1");
    const CInstrStatus current = host.current;

    // A list written by hand: a line without "." is not offered, one with blanks is.
    scratch.Write("CustomSettings/ConfigFileList.inf",
                  "Night.cnf\r\nno extension\r\nDay.cnf  \r\n");
    EXPECT_EQ(Select("Night",
                     [](CSelCustomSettingDlg& d) {
                         EXPECT_TRUE(d.LoadEnabled() && d.DeleteEnabled());
                         return d.OnOK();
                     }),
              (std::vector<std::string>{"Night", "Day"}));
    EXPECT_EQ(host.edited.m_strReportTime, "MM:15");
    EXPECT_EQ(host.edited.m_strStoreRepThirdOctaves, "ON");
    EXPECT_EQ(host.edited.m_strSlm1Param, "SLM1_PAR");
    EXPECT_EQ(host.current.m_strReportTime, current.m_strReportTime);

    // A listed setting whose file is gone: said so, nothing changes.
    op.ExpectBox("ERROR: Unable to open Custom settings file");
    const CInstrStatus before = host.edited;
    Select("Day", [](CSelCustomSettingDlg& d) { return d.OnOK(); });
    EXPECT_EQ(host.edited.m_strSlm1Param, before.m_strSlm1Param);

    // Delete asks; No keeps everything and the dialog.
    op.ExpectBox("Confirm deleting Night settings", IDNO);
    Select("Night", [](CSelCustomSettingDlg& d) { return d.OnDeleteSetup(); });
    EXPECT_TRUE(Exists("Night.cnf"));
    op.ExpectBox("Confirm deleting Night settings", IDYES);
    Select("Night", [](CSelCustomSettingDlg& d) {
        const bool closes = d.OnDeleteSetup();
        EXPECT_EQ(d.m_names, (std::vector<std::string>{"Day"}));
        return closes;
    });
    EXPECT_FALSE(Exists("Night.cnf"));
    EXPECT_EQ(List(), "no extension\r\nDay.cnf  \r\n");
    op.ExpectBox("Confirm deleting Day settings", IDYES);
    Select("Day", [](CSelCustomSettingDlg& d) { return d.OnDeleteSetup(); });
    EXPECT_EQ(List(), "no extension\r\n");
}

TEST_F(CustomSettingsTest, HostileNamesAreRefusedAndNothingIsWrittenOutsideTheFolder) {
    for (const std::string& name :
         {std::string(), std::string("../evil"), std::string("a/b"), std::string("a\\b"),
          std::string(".hidden"), std::string(".."), std::string("tab\there"), std::string("a.b"),
          std::string(".cnf"), std::string(121, 'x')}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(setup::SettingFileName(name));
        op.ExpectDialog("CSaveCustomSettingsDlg", [name](platform::ModalDialog& d) {
            auto& dialog = static_cast<CSaveCustomSettingsDlg&>(d);
            dialog.m_strName = name;
            EXPECT_FALSE(dialog.OnOK());
            return IDCANCEL;
        });
        op.ExpectBox("ERROR: Invalid custom setup name");
        page.OnSaveSetup();
    }
    EXPECT_EQ(Files(),
              (std::vector<std::string>{"CustomSettings", "CustomSettings/ConfigFileList.inf"}));
    EXPECT_EQ(setup::SettingFileName(std::string(120, 'x')), std::string(120, 'x') + ".cnf");

    // A list line that points elsewhere is neither read nor deleted.
    scratch.Write("victim.cnf", "AUTO_PWR_OFF=99\r\n");
    scratch.Write("CustomSettings/ConfigFileList.inf", scratch.Path() + "victim.cnf\r\n");
    op.ExpectBox("ERROR: Unable to open Custom settings file");
    Select(scratch.Path() + "victim", [](CSelCustomSettingDlg& d) { return d.OnOK(); });
    EXPECT_EQ(host.edited.m_strAutoPowerOff, "AUTO_PWR_OFF");
    op.ExpectBox("Confirm deleting", IDYES);
    Select(scratch.Path() + "victim", [](CSelCustomSettingDlg& d) { return d.OnDeleteSetup(); });
    EXPECT_TRUE(platform::FileExists(scratch.File("victim.cnf")));
    EXPECT_EQ(List(), "");
}

TEST_F(CustomSettingsTest, AListThatCannotBeRewrittenKeepsEverySettingAndSaysSo) {
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

TEST_F(CustomSettingsTest, AFolderThatCannotBeMadeShowsEmptyListsAndSavesNothing) {
    scratch.Write("notafolder", "");
    host.programDir = scratch.File("notafolder");
    op.ExpectBox("ERROR: Unable to open custom settings file list");
    op.ExpectBox("ERROR: Unable to open custom settings file list");
    Select("any", [](CSelCustomSettingDlg& d) {
        EXPECT_TRUE(d.m_names.empty());
        return d.OnOK();
    });
    op.ExpectBox("ERROR: Unable to create custom settings file");
    Save("Lost");
    EXPECT_EQ(Files(), std::vector<std::string>{"notafolder"});
}

TEST_F(CustomSettingsTest, OnScreenTheTwoRaisedButtonsOpenTheDialogs) {
    setup::COptionsPropPage window(page);
    auto* load = window.findChild<ui::CButtonST*>("1585");
    auto* save = window.findChild<ui::CButtonST*>("1586");
    ASSERT_NE(load, nullptr);
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(load->text(), "Load Setup");
    EXPECT_EQ(save->text(), "Save Setup");
    EXPECT_FALSE(load->IsFlat() || save->IsFlat() || load->autoDefault());
    op.ExpectDialog("CSelCustomSettingDlg", [](platform::ModalDialog&) { return IDCANCEL; });
    load->click();
    op.ExpectDialog("CSaveCustomSettingsDlg", [](platform::ModalDialog&) { return IDCANCEL; });
    save->click();
    EXPECT_TRUE(op.Unmet().empty());
}
