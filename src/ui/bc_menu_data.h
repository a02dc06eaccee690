#pragma once
// The record of one image-menu item: its text, flags, command and image.

#include <QAction>
#include <QPointer>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "ui/image_list.h"

namespace ui {

class BCMenu;

class BCMenuData {
public:
    // No text stays no text.
    void SetWideString(std::optional<std::u16string_view> text);
    // Program text (Latin-1).
    void SetAnsiString(std::string_view text);
    // As program text; characters outside Latin-1 become '?', no text gives "".
    std::string GetAnsiString() const;
    const std::optional<std::u16string>& GetWideString() const { return m_text; }

    int m_nImageOffset = -1;
    int m_nSharedImage = -1;  // index into the shared image store
    int m_nNormalIcon = -1;
    unsigned m_nFlags = 0;
    unsigned m_nID = 0;
    int m_nSyncFlag = 0;
    std::unique_ptr<ImageList> m_pOwnImages;
    void* m_pContext = nullptr;

    // The menu entry that shows the record, and for a popup its image menu.
    QPointer<QAction> m_pAction;
    BCMenu* m_pSubMenu = nullptr;

private:
    std::optional<std::u16string> m_text;
};

}  // namespace ui
