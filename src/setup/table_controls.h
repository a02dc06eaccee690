#pragma once
// The value controls that a page shows and stores by the table's rule (ControlRule::Table in
// setup/value_controls.h): a list takes the value with its search and gives back the entry
// chosen, a check box is ticked for "ON" and gives "ON" or "OFF", an edit shows the text and
// gives back what was typed. A control whose value the meter lacks (the row's gate on the
// current model) is hidden. Every page calls these at its initialisation, activation and
// leaving, so that a value bound to such a control needs no page code.

#include <span>
#include <string_view>

#include "link/setup_value_table.h"
#include "setup/page_controls.h"
#include "setup/value_controls.h"

namespace setup {

// The controls of `page` that `bindings` bind to values of `rows`.
struct TableControls {
    std::span<const SetupValueRow> rows;
    std::span<const ValueControl> bindings;
    SetupPageKind page;
};

// Fills the lists whose entries the bindings give.
void FillTableLists(const TableControls& table, PageControls& c);
// Shows the edited values.
void ShowTableValues(const TableControls& table, std::string_view model, const CInstrStatus& edited,
                     PageControls& c);
// Stores the operator's choices, of the values numbered `first` to before `end`; a list without
// a choice leaves its value.
void StoreTableValues(const TableControls& table, const PageControls& c, CInstrStatus& edited,
                      int first = 0, int end = CInstrStatus::kValueCount);

}  // namespace setup
