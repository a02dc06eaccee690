#include "setup/table_controls.h"

#include <string>
#include <vector>

#include "link/instr_status.h"

namespace setup {

namespace {

constexpr const char* kOn = "ON";
constexpr const char* kOff = "OFF";

// The text values that `page` shows by the table's rule.
template <typename Visit>
void ForTableControls(std::span<const SetupValueRow> rows, SetupPageKind page, Visit visit) {
    for (const SetupValueRow& row : rows) {
        const PageControl& control = row.control;
        if (row.text && control.id > 0 && control.page == page &&
            control.rule == ControlRule::Table)
            visit(row, control);
    }
}

}  // namespace

void FillTableLists(std::span<const SetupValueRow> rows, SetupPageKind page, PageControls& c) {
    ForTableControls(rows, page, [&c](const SetupValueRow&, const PageControl& control) {
        if (control.form == ControlForm::List && !control.entries.empty())
            c.FillList(control.id,
                       std::vector<std::string>(control.entries.begin(), control.entries.end()));
    });
}

void ShowTableValues(std::span<const SetupValueRow> rows, SetupPageKind page,
                     std::string_view model, const CInstrStatus& edited, PageControls& c) {
    ForTableControls(rows, page, [&](const SetupValueRow& row, const PageControl& control) {
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

void StoreTableValues(std::span<const SetupValueRow> rows, SetupPageKind page,
                      const PageControls& c, CInstrStatus& edited, int first, int end) {
    ForTableControls(rows, page, [&](const SetupValueRow& row, const PageControl& control) {
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
