#pragma once
// The frame's commands: the image menu with the tool bar's images, the command table that runs
// each entry in the part of the frame that serves it, the update handlers that set the
// entries' states as a menu opens, and the hot keys.

#include "app/cmd_ui.h"
#include "app/frame_data_view_commands.h"
#include "ui/bc_menu.h"

class CMainFrame;
class QMenu;

class FrameCommands {
public:
    explicit FrameCommands(CMainFrame& frame) : m_frame(frame), m_dataView(frame) {}
    FrameCommands(const FrameCommands&) = delete;
    FrameCommands& operator=(const FrameCommands&) = delete;

    // The image menu built and shown on the frame window's bar, which keeps it.
    void InstallMenu();
    // A menu or tool-bar command; false when the frame has none of that id.
    bool OnCommand(unsigned id);
    // The command's update handler; false when it has none.
    bool OnUpdateCommandUi(CCmdUI& cmdUi);
    // Runs every update handler into the image menu.
    void UpdateMenu();
    // Alt+R, Alt+D and Alt+L (Qt key codes); true when the key was the frame's.
    bool OnHotKey(int key);

    // The tool-bar commands on the loaded data.
    CFrameDataViewCommands& DataView() { return m_dataView; }

    // The display-mode word: the view sets it to 0 when first shown, nothing to 3; the 3-D
    // properties command is enabled only at 3.
    void SetDisplayMode(int mode) { m_displayMode = mode; }
    int DisplayMode() const { return m_displayMode; }

private:
    CMainFrame& m_frame;
    ui::BCMenu m_menu;
    CFrameDataViewCommands m_dataView;
    int m_displayMode = 0;
};
