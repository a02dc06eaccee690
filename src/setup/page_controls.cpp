#include "setup/page_controls.h"

#include "setup/combo_search.h"

namespace setup {

const ControlState& PageControls::Item(int id) const {
    static const ControlState untouched;
    const auto it = m_items.find(id);
    return it == m_items.end() ? untouched : it->second;
}

void PageControls::FillList(int id, std::vector<std::string> entries) {
    ControlState& list = Item(id);
    list.entries = std::move(entries);
    list.selected = -1;
}

void PageControls::Select(int id, int index) {
    ControlState& list = Item(id);
    list.selected = index >= 0 && index < static_cast<int>(list.entries.size()) ? index : -1;
}

bool PageControls::SelectPrefix(int id, std::string_view text) {
    ControlState& list = Item(id);
    const int found = FindPrefix(list.entries, text);
    if (found < 0)
        return false;
    list.selected = found;
    return true;
}

std::optional<std::string> PageControls::SelectedText(int id) const {
    const ControlState& list = Item(id);
    if (list.selected < 0 || list.selected >= static_cast<int>(list.entries.size()))
        return std::nullopt;
    return list.entries[static_cast<size_t>(list.selected)];
}

}  // namespace setup
