#pragma once
// The frame's commands: the image menu with the tool bar's images, the command table that runs
// each entry in the part that serves it, the update handlers that set the entries' states as a
// menu opens, and the hot keys.

#include <functional>

#include "app/cmd_ui.h"
#include "app/window_commands.h"
#include "ui/bc_menu.h"

class CFrameDataViewCommands;
class FrameBench;
class FrameWindowHolder;
class MaintenanceCommands;
class MeterMode;
class ViewLookup;
class VerificationWorkflow;

namespace web {
class InstrumentBooking;
class ServerDatabases;
}  // namespace web

class FrameCommands : public WindowCommands {
public:
    // What the command table's entries run, none of it owned.
    struct Parts {
        VerificationWorkflow& verification;
        MaintenanceCommands& maintenance;
        // "Aggiornamento database strumenti / utenti" and "Prenotazione strumenti".
        web::ServerDatabases& databases;
        web::InstrumentBooking& booking;
        // Opening a report waits for the bench window to go; Alt+D shows its debug controls.
        FrameBench& bench;
        // The tool-bar commands on the loaded data.
        CFrameDataViewCommands& dataView;
        // Leaving and saving are disabled while something long runs.
        const MeterMode& mode;
        // The view that has the first say on a command, whose report list the report commands
        // need.
        const ViewLookup& views;
        // "&Esci".
        std::function<void()> exit;
    };

    // `window` (not owned) holds the window whose bar shows the menu.
    FrameCommands(const Parts& parts, const FrameWindowHolder& window)
        : m_parts(parts), m_window(window) {}
    FrameCommands(const FrameCommands&) = delete;
    FrameCommands& operator=(const FrameCommands&) = delete;

    // The image menu built and shown on the frame window's bar, which keeps it.
    void InstallMenu();
    // A menu or tool-bar command; false when the frame has none of that id.
    bool OnCommand(unsigned id) override;
    // The command's update handler; false when it has none.
    bool OnUpdateCommandUi(CCmdUI& cmdUi);
    // Runs every update handler into the image menu.
    void UpdateMenu() override;
    // Alt+R, Alt+D and Alt+L (Qt key codes); true when the key was the frame's.
    bool OnHotKey(int key) override;

    // The tool-bar commands on the loaded data.
    CFrameDataViewCommands& DataView() { return m_parts.dataView; }

private:
    Parts m_parts;
    const FrameWindowHolder& m_window;
    ui::BCMenu m_menu;
};
