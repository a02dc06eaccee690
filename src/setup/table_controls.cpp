#include "setup/table_controls.h"

#include <string>
#include <vector>

#include "link/instr_status.h"

namespace setup {

namespace {

constexpr const char* kOn = "ON";
constexpr const char* kOff = "OFF";

// The text values that the page shows by the table's rule.
template <typename Visit>
void ForTableControls(const TableControls& table, Visit visit) {
    for (const ValueControl& binding : table.bindings) {
        const PageControl& control = binding.control;
        if (control.id <= 0 || control.page != table.page || control.rule != ControlRule::Table)
            continue;
        const SetupValueRow* row = BoundRow(binding, table.rows);
        if (row && row->text)
            visit(*row, control);
    }
}

}  // namespace

void FillTableLists(const TableControls& table, PageControls& c) {
    ForTableControls(table, [&c](const SetupValueRow&, const PageControl& control) {
        if (control.form == ControlForm::List && !control.entries.empty())
            c.FillList(control.id,
                       std::vector<std::string>(control.entries.begin(), control.entries.end()));
    });
}

void ShowTableValues(const TableControls& table, std::string_view model, const CInstrStatus& edited,
                     PageControls& c) {
    ForTableControls(table, [&](const SetupValueRow& row, const PageControl& control) {
        if (!SetupGateHolds(row.gate, model))
            c.Show(control.id, false);
        const std::string& text = edited.*row.text;
        switch (control.form) {
            case ControlForm::List:
                c.SelectPrefix(control.id, text);
                break;
            case ControlForm::Check:
                c.Check(control.id, text == kOn);
                break;
            case ControlForm::Edit:
                c.SetText(control.id, text);
                break;
            default:
                break;
        }
    });
}

void StoreTableValues(const TableControls& table, const PageControls& c, CInstrStatus& edited,
                      int first, int end) {
    ForTableControls(table, [&](const SetupValueRow& row, const PageControl& control) {
        if (row.value < first || row.value >= end)
            return;
        std::string& text = edited.*row.text;
        switch (control.form) {
            case ControlForm::List:
                if (const auto chosen = c.SelectedText(control.id))
                    text = *chosen;
                break;
            case ControlForm::Check:
                text = c.IsChecked(control.id) ? kOn : kOff;
                break;
            case ControlForm::Edit:
                text = c.Text(control.id);
                break;
            default:
                break;
        }
    });
}

}  // namespace setup
