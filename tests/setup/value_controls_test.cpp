// The bindings of the setup values to the pages' controls.
#include "setup/value_controls.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>

using setup::ControlForm;
using setup::ControlRule;
using setup::PageControl;
using setup::SetupPageKind;
using setup::ValueControl;

// A control is one value's on its page, a value has one control, and the table's rule shows
// only lists, check boxes and edits.
TEST(ValueControls, EveryControlShowsOneValue) {
    std::map<std::pair<SetupPageKind, int>, std::string> controls;
    std::set<std::string> values;
    for (const ValueControl& binding : setup::ValueControls()) {
        SCOPED_TRACE(binding.value);
        EXPECT_TRUE(values.insert(binding.value).second);
        const PageControl& control = binding.control;
        const SetupValueRow* row = FindSetupValueByName(binding.value);
        ASSERT_TRUE(row);
        EXPECT_GT(control.id, 0);
        EXPECT_NE(control.form, ControlForm::None);
        for (int id : {control.id, control.second}) {
            if (id == 0)
                continue;
            EXPECT_TRUE(controls.emplace(std::pair(control.page, id), binding.value).second)
                << id << " also " << controls[{control.page, id}];
            EXPECT_EQ(setup::ValueOfControl(control.page, id), row);
        }
        if (control.rule == ControlRule::Table) {
            EXPECT_TRUE(row->text);
            EXPECT_TRUE(control.form == ControlForm::List || control.form == ControlForm::Check ||
                        control.form == ControlForm::Edit);
            EXPECT_EQ(control.second, 0);
            EXPECT_FALSE(row->gate.Names(setup_gate::kEditedSetup));
        }
    }
    EXPECT_EQ(setup::ValueOfControl(SetupPageKind::General, 1545),
              FindSetupValueByName("INPUT_CH"));
    EXPECT_EQ(setup::ValueOfControl(SetupPageKind::Options, 1545), nullptr);
    EXPECT_EQ(setup::ValueOfControl(SetupPageKind::General, 0), nullptr);
}
