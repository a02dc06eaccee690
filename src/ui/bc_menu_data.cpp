#include "ui/bc_menu_data.h"

#include <QAction>

namespace ui {

void BCMenuData::SetWideString(std::optional<std::u16string_view> text) {
    if (text)
        m_text = std::u16string(*text);
    else
        m_text.reset();
}

void BCMenuData::SetAnsiString(std::string_view text) {
    std::u16string wide;
    wide.reserve(text.size());
    for (char c : text)
        wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    m_text = std::move(wide);
}

std::string BCMenuData::GetAnsiString() const {
    std::string ansi;
    if (!m_text)
        return ansi;
    for (char16_t c : *m_text)
        ansi.push_back(c < 256 ? static_cast<char>(c) : '?');
    return ansi;
}

}  // namespace ui
