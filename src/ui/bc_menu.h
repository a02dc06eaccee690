#pragma once
// An image menu: a Qt menu whose items carry item records (text, flags, command, image from the
// shared image store) and are drawn by BCMenuStyle in the 3-D or the XP look.
//
// The object owns its Qt menu until Detach() hands it to a window; the records and sub-menu
// objects stay with the object. Everything a detached menu needs to draw itself lives in its Qt
// actions and in the shared image store, so it outlives the object safely.

#include <QMenu>
#include <QPointer>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/win_types.h"
#include "ui/bc_menu_data.h"
#include "ui/image_list.h"
#include "ui/menu_flags.h"
#include "ui/menu_item_plan.h"
#include "ui/menu_template.h"

class QMenuBar;

namespace ui {

class BCMenu {
public:
    BCMenu();
    virtual ~BCMenu();
    BCMenu(const BCMenu&) = delete;
    BCMenu& operator=(const BCMenu&) = delete;

    // A registered menu resource; FALSE, with nothing changed, when there is none.
    virtual BOOL LoadMenu(int resourceId);
    // Replaces the contents with the template's items; its top-level entries become the
    // entries of a menu bar. An empty template gives FALSE and changes nothing.
    virtual BOOL LoadMenu(const MenuTemplate& menuTemplate);
    virtual BOOL DestroyMenu();

    // Gives every item of this menu whose command has a button on the tool bar that button's
    // image. FALSE when the tool bar is unknown or has no images.
    BOOL LoadToolbar(int toolbarId);
    // Id 0 makes a separator. With a tool-bar id the item takes the command's image from that
    // tool bar; with -1 the image the store already holds for the command, if any.
    BOOL AppendItem(std::u16string_view text, unsigned flags = MF_STRING, unsigned id = 0,
                    int toolbarId = -1);
    // Appends a popup entry and gives its new image menu, which this menu owns.
    BCMenu* AppendPopup(std::u16string_view text, unsigned flags = 0);
    // Changes every item of the command in this menu and its sub-menus: the text when one is
    // given, the image when an image list is given. FALSE when no item has the command.
    BOOL ModifyItem(std::optional<std::u16string_view> text, unsigned id,
                    const ImageList* images = nullptr, int imageIndex = 0);
    // The same with program text (Latin-1); nullptr keeps the text.
    BOOL ModifyItemAnsi(const char* text, unsigned id, const ImageList* images = nullptr,
                        int imageIndex = 0);
    // The menu (this or a sub-menu, depth first) that holds the command, with its position;
    // nullptr and -1 when none does.
    BCMenu* FindItemById(unsigned id, int& position);
    // As FindItemById, skipping every (menu, position) found by earlier calls since the last
    // ResetFindNext.
    BCMenu* FindNextItemById(unsigned id, int& position);
    void ResetFindNext() { m_found.clear(); }

    // The framework's menu operations, by command, on every item of the command.
    unsigned GetMenuState(unsigned id);
    BOOL EnableMenuItem(unsigned id, bool enable);
    BOOL CheckMenuItem(unsigned id, bool check);

    int GetMenuItemCount() const { return static_cast<int>(m_MenuList.size()); }
    BCMenuData* GetItemData(int position) const;
    BCMenu* GetSubMenu(int position) const;
    QMenu* GetMenu() const { return m_menu; }
    bool IsMenuBar() const { return m_bMenuBar; }
    // Hands the Qt menu over to the caller, who owns it from now on.
    QMenu* Detach();
    // Draw the images of disabled items embossed (this menu and its sub-menus).
    void SetEmbossDisabled(bool emboss);

    // Puts the entries of a (detached) menu on a window's menu bar, in place of what it had.
    static void InstallOnMenuBar(QMenu& menu, QMenuBar& bar);
    // The command id of a menu entry; 0 for separators, popups and foreign actions.
    static unsigned CommandIdOf(const QAction* action);

    // This platform counts as an XP-class shell (version class 7), so the look follows the
    // classic-theme setting alone.
    static int GetWinVersion();
    // Read once per run from the theme setting (see ReadThemeSetting).
    static BOOL IsClassicTheme();
    static BOOL IsLunaTheme();
    static BOOL IsXPLook();
    static BOOL IsNewShell();
    static COLORREF LightenColor(COLORREF colour, double factor);
    static COLORREF DarkenColor(COLORREF colour, double factor);
    // The switches drawing reads, as they stand now.
    static MenuLookFlags LookFlags();
    // Makes the next IsClassicTheme read the setting again.
    static void ResetThemeTest();

    static inline int s_nLunaLookMode = 1;
    static inline int s_nOtherLookMode = 0;
    static inline bool s_bXP3dImages = true;
    static inline bool s_bXPAlignAccelerators1 = true;
    static inline bool s_bXPAlignAccelerators2 = true;
    static inline bool s_bHighlightDisabled3D = true;
    static inline bool s_bHighlightDisabledXP = false;
    static inline bool s_bHiColorImages = false;

    // The QMenu property that carries the embossed-disabled flag to the drawing.
    static constexpr const char* kEmbossProperty = "bcmenuEmbossDisabled";

private:
    QMenu* EnsureMenu();
    void Append(std::unique_ptr<BCMenuData> record);
    void SyncAction(BCMenuData& record) const;
    void SyncTopLevel();
    void AlignAccelerators();
    BCMenu* FindItem(unsigned id, int& position, const std::vector<std::pair<BCMenu*, int>>* skip);
    template <typename Change>
    BOOL ForEachItem(unsigned id, Change change);
    static bool WantVariants();

    QPointer<QMenu> m_menu;
    bool m_bOwnsMenu = true;
    std::vector<std::unique_ptr<BCMenuData>> m_MenuList;
    std::vector<std::unique_ptr<BCMenu>> m_SubMenus;
    bool m_bMenuBar = false;
    bool m_bEmbossDisabled = false;
    std::vector<std::pair<BCMenu*, int>> m_found;
};

}  // namespace ui
