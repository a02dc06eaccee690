#pragma once
// What the frame's window hands on: its menu's commands, the menu opening, its hot keys. The
// frame's commands take them (FrameCommands); the window knows no more of them.

class WindowCommands {
public:
    virtual ~WindowCommands() = default;

    // A menu or tool-bar command; false when there is none of that id.
    virtual bool OnCommand(unsigned id) = 0;
    // A menu opens: every entry's state set afresh.
    virtual void UpdateMenu() = 0;
    // A key pressed with the window active (Qt key codes); true when it was taken.
    virtual bool OnHotKey(int key) = 0;
};
