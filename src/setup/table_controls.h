#pragma once
// The value controls that a page shows and stores as the setup value table describes them
// (ControlRule::Table in link/setup_value_table.h): a list takes the value with its search and
// gives back the entry chosen, a check box is ticked for "ON" and gives "ON" or "OFF", an edit
// shows the text and gives back what was typed. A control whose value the meter lacks (the
// row's gate on the current model) is hidden. Every page calls these at its initialisation,
// activation and leaving, so that a value given a control in the table needs no page code.

#include <span>
#include <string_view>

#include "link/setup_value_table.h"
#include "setup/page_controls.h"

namespace setup {

// Fills the lists whose entries the table gives.
void FillTableLists(std::span<const SetupValueRow> rows, SetupPageKind page, PageControls& c);
// Shows the edited values.
void ShowTableValues(std::span<const SetupValueRow> rows, SetupPageKind page,
                     std::string_view model, const CInstrStatus& edited, PageControls& c);
// Stores the operator's choices, of the values numbered `first` to before `end`; a list without
// a choice leaves its value.
void StoreTableValues(std::span<const SetupValueRow> rows, SetupPageKind page,
                      const PageControls& c, CInstrStatus& edited, int first = 0,
                      int end = CInstrStatus::kValueCount);

}  // namespace setup
