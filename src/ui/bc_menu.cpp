#include "ui/bc_menu.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <algorithm>

#include "ui/bc_menu_style.h"
#include "ui/menu_image_store.h"
#include "ui/toolbar_resource.h"

namespace ui {

namespace {
QMenu* NewQtMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    menu->setStyle(BCMenuStyle::Instance());
    return menu;
}

std::u16string FromLatin1(const char* text) {
    std::u16string wide;
    for (; *text; ++text)
        wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(*text)));
    return wide;
}
}  // namespace

BCMenu::BCMenu() = default;

BCMenu::~BCMenu() {
    DestroyMenu();
}

QMenu* BCMenu::EnsureMenu() {
    if (!m_menu) {
        m_menu = NewQtMenu(nullptr);
        m_menu->setProperty(kEmbossProperty, m_bEmbossDisabled);
        m_bOwnsMenu = true;
    }
    return m_menu;
}

BOOL BCMenu::DestroyMenu() {
    m_SubMenus.clear();
    m_MenuList.clear();
    m_found.clear();
    if (m_bOwnsMenu && m_menu)
        delete m_menu;
    m_menu = nullptr;
    m_bMenuBar = false;
    return TRUE;
}

QMenu* BCMenu::Detach() {
    QMenu* menu = m_menu;
    m_menu = nullptr;
    m_bOwnsMenu = true;
    return menu;
}

void BCMenu::SetEmbossDisabled(bool emboss) {
    m_bEmbossDisabled = emboss;
    if (m_menu)
        m_menu->setProperty(kEmbossProperty, emboss);
    for (auto& sub : m_SubMenus)
        sub->SetEmbossDisabled(emboss);
}

BOOL BCMenu::LoadMenu(int resourceId) {
    const MenuTemplate* found = FindMenuResource(resourceId & 0xFFFF);
    return found ? LoadMenu(*found) : FALSE;
}

BOOL BCMenu::LoadMenu(const MenuTemplate& menuTemplate) {
    if (menuTemplate.empty())
        return FALSE;
    DestroyMenu();
    EnsureMenu();
    struct Level {
        BCMenu* menu;
        bool ended;
    };
    std::vector<Level> open{{this, false}};
    for (const MenuTemplateItem& item : menuTemplate) {
        if (open.empty())
            break;
        const unsigned flags = item.flags & ~MF_END;
        const bool ends = (item.flags & MF_END) != 0;
        if (item.flags & MF_POPUP) {
            BCMenu* sub = open.back().menu->AppendPopup(item.text, flags);
            if (ends)
                open.back().ended = true;
            open.push_back({sub, false});
            continue;
        }
        open.back().menu->AppendItem(item.text, flags, item.id, -1);
        if (ends)
            open.back().ended = true;
        while (!open.empty() && open.back().ended) {
            open.back().menu->AlignAccelerators();
            open.pop_back();
        }
    }
    for (auto& record : m_MenuList) {
        record->m_nFlags = MF_BYPOSITION | (record->m_pSubMenu ? MF_POPUP : 0);
        SyncAction(*record);
    }
    m_bMenuBar = true;
    return TRUE;
}

bool BCMenu::WantVariants() {
    return IsXPLook() && s_bXP3dImages;
}

BOOL BCMenu::AppendItem(std::u16string_view text, unsigned flags, unsigned id, int toolbarId) {
    auto record = std::make_unique<BCMenuData>();
    if (id != 0)
        flags |= MF_OWNERDRAW;
    else
        flags = (flags & MF_BYPOSITION) | MF_SEPARATOR | MF_OWNERDRAW;
    record->m_nFlags = flags;
    record->m_nID = id;
    record->SetWideString(text);
    MenuImageStore& store = MenuImageStore::Shared();
    if (id != 0 && toolbarId == -1) {
        record->m_nSharedImage = store.FirstIndexOf(id);
    } else if (id != 0) {
        // A command without a button on the tool bar gets no image rather than the first one.
        if (const ToolbarResource* toolbar = FindToolbarResource(toolbarId)) {
            const int image = toolbar->ImageIndexOf(id);
            if (image >= 0) {
                s_bHiColorImages = true;
                record->m_nSharedImage =
                    store.Add(toolbar->Images().Image(image), id, WantVariants(), IsLunaTheme());
            }
        }
    }
    QMenu* menu = EnsureMenu();
    record->m_pAction = id != 0 ? menu->addAction(QString()) : menu->addSeparator();
    Append(std::move(record));
    return TRUE;
}

BCMenu* BCMenu::AppendPopup(std::u16string_view text, unsigned flags) {
    QMenu* menu = EnsureMenu();
    auto sub = std::make_unique<BCMenu>();
    sub->m_menu = NewQtMenu(menu);
    sub->m_bOwnsMenu = false;  // the parent's Qt menu owns it
    sub->m_bEmbossDisabled = m_bEmbossDisabled;
    sub->m_menu->setProperty(kEmbossProperty, m_bEmbossDisabled);
    auto record = std::make_unique<BCMenuData>();
    record->m_nFlags = (flags & ~MF_SEPARATOR) | MF_POPUP | MF_OWNERDRAW;
    record->SetWideString(text);
    record->m_pSubMenu = sub.get();
    record->m_pAction = menu->addMenu(sub->m_menu);
    BCMenu* result = sub.get();
    m_SubMenus.push_back(std::move(sub));
    Append(std::move(record));
    return result;
}

void BCMenu::Append(std::unique_ptr<BCMenuData> record) {
    SyncAction(*record);
    m_MenuList.push_back(std::move(record));
    if (m_bMenuBar)
        SyncTopLevel();
}

void BCMenu::SyncTopLevel() {
    for (auto& record : m_MenuList)
        if (record->m_pSubMenu) {
            record->m_nFlags = MF_BYPOSITION | MF_POPUP;
            SyncAction(*record);
        }
}

void BCMenu::SyncAction(BCMenuData& record) const {
    QAction* action = record.m_pAction;
    if (!action)
        return;
    const auto& text = record.GetWideString();
    action->setText(text ? QString::fromStdU16String(*text) : QString());
    action->setEnabled((record.m_nFlags & (MF_GRAYED | MF_DISABLED)) == 0);
    if (record.m_pSubMenu || (record.m_nFlags & MF_SEPARATOR))
        return;
    action->setData(record.m_nID);
    const bool checked = (record.m_nFlags & MF_CHECKED) != 0;
    if (checked || action->isCheckable()) {
        action->setCheckable(true);
        action->setChecked(checked);
    }
    const QImage image = MenuImageStore::Shared().Image(record.m_nSharedImage);
    action->setIcon(image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image)));
}

void BCMenu::AlignAccelerators() {
    if (IsXPLook() && !(s_bXPAlignAccelerators1 && s_bXPAlignAccelerators2))
        return;
    std::vector<std::u16string> texts;
    for (auto& record : m_MenuList)
        texts.push_back(record->GetWideString().value_or(std::u16string()));
    const QFontMetrics metrics(QApplication::font("QMenu"));
    ui::AlignAccelerators(texts, [&metrics](std::u16string_view text) {
        return metrics.horizontalAdvance(
            QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
    });
    for (size_t i = 0; i < m_MenuList.size(); ++i) {
        BCMenuData& record = *m_MenuList[i];
        if (!record.GetWideString() || *record.GetWideString() == texts[i])
            continue;
        record.SetWideString(texts[i]);
        SyncAction(record);
    }
}

BCMenu* BCMenu::FindItem(unsigned id, int& position,
                         const std::vector<std::pair<BCMenu*, int>>* skip) {
    for (int i = 0; i < GetMenuItemCount(); ++i) {
        BCMenuData& record = *m_MenuList[static_cast<size_t>(i)];
        if (record.m_pSubMenu) {
            if (BCMenu* found = record.m_pSubMenu->FindItem(id, position, skip))
                return found;
            continue;
        }
        if ((record.m_nFlags & MF_SEPARATOR) || record.m_nID != id)
            continue;
        if (skip && std::find(skip->begin(), skip->end(), std::make_pair(this, i)) != skip->end())
            continue;
        position = i;
        return this;
    }
    position = -1;
    return nullptr;
}

BCMenu* BCMenu::FindItemById(unsigned id, int& position) {
    return FindItem(id, position, nullptr);
}

BCMenu* BCMenu::FindNextItemById(unsigned id, int& position) {
    BCMenu* found = FindItem(id, position, &m_found);
    if (found)
        m_found.emplace_back(found, position);
    return found;
}

template <typename Change>
BOOL BCMenu::ForEachItem(unsigned id, Change change) {
    ResetFindNext();
    bool any = false;
    int position = -1;
    while (BCMenu* menu = FindNextItemById(id, position)) {
        any = true;
        BCMenuData& record = *menu->m_MenuList[static_cast<size_t>(position)];
        change(record);
        menu->SyncAction(record);
    }
    ResetFindNext();
    return any ? TRUE : FALSE;
}

BOOL BCMenu::ModifyItem(std::optional<std::u16string_view> text, unsigned id,
                        const ImageList* images, int imageIndex) {
    // Without an item for the command nothing is added: a record without an item would put
    // the records out of step with the menu's positions.
    return ForEachItem(id, [&](BCMenuData& record) {
        if (text)
            record.SetWideString(*text);
        record.m_nImageOffset = -1;
        record.m_nNormalIcon = -1;
        if (images) {
            record.m_pOwnImages.reset();
            record.m_nSharedImage = MenuImageStore::Shared().Add(images->Image(imageIndex), id,
                                                                 WantVariants(), IsLunaTheme());
        }
        record.m_nFlags = (record.m_nFlags & ~MF_BYPOSITION) | MF_OWNERDRAW;
    });
}

BOOL BCMenu::ModifyItemAnsi(const char* text, unsigned id, const ImageList* images,
                            int imageIndex) {
    if (!text)
        return ModifyItem(std::nullopt, id, images, imageIndex);
    const std::u16string wide = FromLatin1(text);
    return ModifyItem(wide, id, images, imageIndex);
}

BOOL BCMenu::LoadToolbar(int toolbarId) {
    const ToolbarResource* toolbar = FindToolbarResource(toolbarId);
    if (!toolbar)
        return FALSE;
    const ImageList images = toolbar->Images();
    if (images.Count() == 0)
        return FALSE;
    s_bHiColorImages = true;
    for (unsigned id : toolbar->buttons) {
        int position = -1;
        if (id != 0 && FindItemById(id, position))
            ModifyItemAnsi(nullptr, id, &images, toolbar->ImageIndexOf(id));
    }
    return TRUE;
}

unsigned BCMenu::GetMenuState(unsigned id) {
    int position = -1;
    BCMenu* menu = FindItemById(id, position);
    if (!menu)
        return kNoMenuItem;
    return menu->m_MenuList[static_cast<size_t>(position)]->m_nFlags &
           (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR | MF_OWNERDRAW);
}

BOOL BCMenu::EnableMenuItem(unsigned id, bool enable) {
    return ForEachItem(id, [enable](BCMenuData& record) {
        record.m_nFlags =
            enable ? record.m_nFlags & ~(MF_GRAYED | MF_DISABLED) : record.m_nFlags | MF_GRAYED;
    });
}

BOOL BCMenu::CheckMenuItem(unsigned id, bool check) {
    return ForEachItem(id, [check](BCMenuData& record) {
        record.m_nFlags = check ? record.m_nFlags | MF_CHECKED : record.m_nFlags & ~MF_CHECKED;
    });
}

BCMenuData* BCMenu::GetItemData(int position) const {
    if (position < 0 || position >= GetMenuItemCount())
        return nullptr;
    return m_MenuList[static_cast<size_t>(position)].get();
}

BCMenu* BCMenu::GetSubMenu(int position) const {
    BCMenuData* record = GetItemData(position);
    return record ? record->m_pSubMenu : nullptr;
}

void BCMenu::InstallOnMenuBar(QMenu& menu, QMenuBar& bar) {
    bar.clear();
    for (QAction* action : menu.actions())
        bar.addAction(action);
}

unsigned BCMenu::CommandIdOf(const QAction* action) {
    if (!action || action->isSeparator() || action->menu())
        return 0;
    return action->data().toUInt();
}

}  // namespace ui
