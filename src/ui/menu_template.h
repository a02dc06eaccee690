#pragma once
// Menu templates: the items of a menu and its popups in one flat list, each level closed by the
// end flag on its last item, as menu resources lay them out. MenuTemplateBuilder writes them.

#include <string>
#include <string_view>
#include <vector>

namespace ui {

struct MenuTemplateItem {
    unsigned flags = 0;  // MF_POPUP for a popup, MF_END on the last item of a level
    unsigned id = 0;     // 0 for popups and separators
    std::u16string text;
};
using MenuTemplate = std::vector<MenuTemplateItem>;

class MenuTemplateBuilder {
public:
    MenuTemplateBuilder& Item(unsigned id, std::u16string_view text, unsigned flags = 0);
    MenuTemplateBuilder& Separator();
    MenuTemplateBuilder& Popup(std::u16string_view text, unsigned flags = 0);
    // Closes the innermost open popup; a popup without items gets a separator, since every
    // level needs an item to carry its end.
    MenuTemplateBuilder& EndPopup();
    // Closes every open level and gives the template.
    MenuTemplate Build();

private:
    void Add(MenuTemplateItem item);
    void CloseLevel();

    MenuTemplate m_items;
    // Per open level (the menu itself first): the index of its last item, or -1.
    std::vector<int> m_lastOfLevel{-1};
};

void RegisterMenuResource(int id, MenuTemplate menuTemplate);
// nullptr when no menu has the id.
const MenuTemplate* FindMenuResource(int id);

}  // namespace ui
