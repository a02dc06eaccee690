#include "setup/value_controls.h"

namespace setup {

const SetupValueRow* BoundRow(const ValueControl& binding, std::span<const SetupValueRow> rows) {
    for (const SetupValueRow& row : rows)
        if (std::string_view(row.name) == binding.value)
            return &row;
    return nullptr;
}

const SetupValueRow* ValueOfControl(SetupPageKind page, int id, std::span<const SetupValueRow> rows,
                                    std::span<const ValueControl> bindings) {
    if (id <= 0)
        return nullptr;
    for (const ValueControl& binding : bindings) {
        const PageControl& control = binding.control;
        if (control.page == page && (control.id == id || control.second == id))
            return BoundRow(binding, rows);
    }
    return nullptr;
}

}  // namespace setup
