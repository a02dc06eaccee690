#include "ui/menu_template.h"

#include <map>

#include "ui/menu_flags.h"

namespace ui {

void MenuTemplateBuilder::Add(MenuTemplateItem item) {
    m_items.push_back(std::move(item));
    m_lastOfLevel.back() = static_cast<int>(m_items.size()) - 1;
}

MenuTemplateBuilder& MenuTemplateBuilder::Item(unsigned id, std::u16string_view text,
                                               unsigned flags) {
    Add({flags & ~(MF_END | MF_POPUP), id, std::u16string(text)});
    return *this;
}

MenuTemplateBuilder& MenuTemplateBuilder::Separator() {
    Add({MF_SEPARATOR, 0, {}});
    return *this;
}

MenuTemplateBuilder& MenuTemplateBuilder::Popup(std::u16string_view text, unsigned flags) {
    Add({(flags & ~MF_END) | MF_POPUP, 0, std::u16string(text)});
    m_lastOfLevel.push_back(-1);
    return *this;
}

void MenuTemplateBuilder::CloseLevel() {
    if (m_lastOfLevel.back() < 0)
        Separator();
    m_items[static_cast<size_t>(m_lastOfLevel.back())].flags |= MF_END;
    m_lastOfLevel.pop_back();
}

MenuTemplateBuilder& MenuTemplateBuilder::EndPopup() {
    if (m_lastOfLevel.size() > 1)
        CloseLevel();
    return *this;
}

MenuTemplate MenuTemplateBuilder::Build() {
    while (m_lastOfLevel.size() > 1)
        CloseLevel();
    if (m_lastOfLevel.back() >= 0)
        m_items[static_cast<size_t>(m_lastOfLevel.back())].flags |= MF_END;
    MenuTemplate result = std::move(m_items);
    m_items.clear();
    m_lastOfLevel = {-1};
    return result;
}

namespace {
std::map<int, MenuTemplate>& Registry() {
    static std::map<int, MenuTemplate> registry;
    return registry;
}
}  // namespace

void RegisterMenuResource(int id, MenuTemplate menuTemplate) {
    Registry()[id] = std::move(menuTemplate);
}

const MenuTemplate* FindMenuResource(int id) {
    auto it = Registry().find(id);
    return it == Registry().end() ? nullptr : &it->second;
}

}  // namespace ui
