// The value controls a page takes from the setup value table: a setting given a list, a check
// box or an edit on a page is filled, shown, hidden and stored with no page code of its own.
#include "setup/table_controls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/instr_status.h"
#include "setup/value_controls.h"

using namespace setup::value_controls;
using setup::ControlOf;
using setup::PageControls;
using setup::SetupPageKind;
using setup::TableControls;

namespace {

constexpr const char* kModes[] = {"SLOW", "FAST", "FASTER"};

// Three more settings bound to controls of the General page and one the page rules itself (in
// the fields of values the page has no control for), beside the program's own.
struct TableWithNewSettings {
    TableWithNewSettings() {
        rows.push_back({.value = 3,
                        .name = "MODE",
                        .text = &CInstrStatus::m_strClass,
                        .gate = setup_gate::kQS4160});
        rows.push_back({.value = 4, .name = "BEEP", .text = &CInstrStatus::m_strMicModel});
        rows.push_back({.value = 6, .name = "LABEL", .text = &CInstrStatus::m_strMicType});
        rows.push_back({.value = 5, .name = "OWN", .text = &CInstrStatus::m_strMicSerialNumber});
        bindings.push_back({"MODE", List(kGeneralPage, 1900, kModes)});
        bindings.push_back({"BEEP", Check(kGeneralPage, 1901)});
        bindings.push_back({"LABEL", Edit(kGeneralPage, 1902)});
        bindings.push_back({"OWN", ByPage(List(kGeneralPage, 1903, kModes))});
    }
    TableControls General() const { return {rows, bindings, SetupPageKind::General}; }

    std::vector<SetupValueRow> rows{SetupValueRows().begin(), SetupValueRows().end()};
    std::vector<setup::ValueControl> bindings{setup::ValueControls().begin(),
                                              setup::ValueControls().end()};
};

}  // namespace

TEST(TableControls, ANewSettingIsFilledShownAndStoredByItsRow) {
    const TableWithNewSettings table;
    PageControls c;
    CInstrStatus edited;
    edited.m_strClass = "fast";
    edited.m_strMicModel = "ON";
    edited.m_strMicType = "Lab 3";
    edited.m_strMicSerialNumber = "FAST";

    setup::FillTableLists(table.General(), c);
    setup::ShowTableValues(table.General(), "QS4160_00$1", edited, c);
    EXPECT_EQ(c.Entries(1900), (std::vector<std::string>{"SLOW", "FAST", "FASTER"}));
    EXPECT_EQ(c.SelectedText(1900), "FAST");
    EXPECT_TRUE(c.IsShown(1900));
    EXPECT_TRUE(c.IsChecked(1901));
    EXPECT_EQ(c.Text(1902), "Lab 3");
    // The page's own control, and the controls of another page, are not the table's to touch.
    EXPECT_TRUE(c.Entries(1903).empty());
    EXPECT_TRUE(c.Entries(ControlOf("SPECT_AUX_POND").id).empty());

    c.Select(1900, 2);
    c.Check(1901, false);
    c.SetText(1902, "Lab 4");
    setup::StoreTableValues(table.General(), c, edited);
    EXPECT_EQ(edited.m_strClass, "FASTER");
    EXPECT_EQ(edited.m_strMicModel, "OFF");
    EXPECT_EQ(edited.m_strMicType, "Lab 4");
    EXPECT_EQ(edited.m_strMicSerialNumber, "FAST");

    // A list without a choice leaves its value; only the values in the range are stored.
    c.Select(1900, -1);
    c.Check(1901, true);
    setup::StoreTableValues(table.General(), c, edited, 0, 4);
    EXPECT_EQ(edited.m_strClass, "FASTER");
    EXPECT_EQ(edited.m_strMicModel, "OFF");
}

TEST(TableControls, AControlOfAValueTheMeterLacksIsHidden) {
    const TableWithNewSettings table;
    PageControls c;
    CInstrStatus edited;
    setup::FillTableLists(table.General(), c);
    setup::ShowTableValues(table.General(), "QS4060_n0$1", edited, c);
    EXPECT_FALSE(c.IsShown(1900));
    EXPECT_TRUE(c.IsShown(1901));
    // The ambient correction is a QS4160's, its other fields every meter's.
    EXPECT_FALSE(c.IsShown(ControlOf("AMB_CORR").id));
    EXPECT_TRUE(c.IsShown(ControlOf("WIND_SHIELD").id));
}
