#pragma once
// The controls of a setup page as its model keeps them, by dialog id: texts, visibility,
// enabling, check marks and the entries and selection of lists. The page's rules change these;
// the page's window, when it has one, shows them and reports the operator's choices back.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace setup {

struct ControlState {
    std::optional<std::string> text;  // unset: the control keeps its own caption
    bool shown = true;
    bool enabled = true;
    bool checked = false;
    std::vector<std::string> entries;  // a list's entries
    int selected = -1;                 // a list's selection, -1 none
};

class PageControls {
public:
    // The state of control `id`, made on first use.
    ControlState& Item(int id) { return m_items[id]; }
    // A control never touched has the default state.
    const ControlState& Item(int id) const;
    const std::map<int, ControlState>& Items() const { return m_items; }

    void SetText(int id, std::string text) { Item(id).text = std::move(text); }
    std::string Text(int id) const { return Item(id).text.value_or(std::string()); }
    void Show(int id, bool shown) { Item(id).shown = shown; }
    bool IsShown(int id) const { return Item(id).shown; }
    void Enable(int id, bool enabled) { Item(id).enabled = enabled; }
    bool IsEnabled(int id) const { return Item(id).enabled; }
    void Check(int id, bool checked) { Item(id).checked = checked; }
    bool IsChecked(int id) const { return Item(id).checked; }

    // Lists: filling replaces the entries and clears the selection.
    void FillList(int id, std::vector<std::string> entries);
    void ClearList(int id) { FillList(id, {}); }
    const std::vector<std::string>& Entries(int id) const { return Item(id).entries; }
    // Selects `index`; -1 (or an index outside the list) clears the selection.
    void Select(int id, int index);
    int Selected(int id) const { return Item(id).selected; }
    // Selects the entry the list's search finds for `text` (combo_search.h) and answers
    // whether one was found; without one the selection stays as it was.
    bool SelectPrefix(int id, std::string_view text);
    // The selected entry's text; nullopt when nothing is selected.
    std::optional<std::string> SelectedText(int id) const;

private:
    std::map<int, ControlState> m_items;
};

}  // namespace setup
