#pragma once
// The command ids of the frame's menu and tool bar, and the menu itself.

#include "ui/menu_template.h"

namespace cmd {
constexpr unsigned ID_FILE_OPEN = 57601;
constexpr unsigned ID_EDIT_REPORT_HEADER = 33026;
constexpr unsigned ID_VALIDATE_REPORT = 33024;
constexpr unsigned ID_FILE_PRINT = 57607;
// The view's: print without the dialog, and the print preview.
constexpr unsigned ID_FILE_PRINT_DIRECT = 57608;
constexpr unsigned ID_FILE_PRINT_PREVIEW = 57609;
constexpr unsigned ID_APP_EXIT = 57665;
constexpr unsigned ID_NEW_VERIFICATION = 32862;
constexpr unsigned ID_CONTINUE_VERIFICATION = 33023;
constexpr unsigned ID_UPDATE_CALIB_EXPIRY = 33034;
constexpr unsigned ID_CONNECTION_SETTINGS = 32935;
constexpr unsigned ID_UPDATE_DATABASES = 33029;
constexpr unsigned ID_BOOK_INSTRUMENTS = 33030;
constexpr unsigned ID_REPLACE_MICROPHONE = 33037;
constexpr unsigned ID_SOFTWARE_UPDATE = 33025;
constexpr unsigned ID_FIRMWARE_UPGRADE = 33033;
constexpr unsigned ID_AUDIO_CARD_SETTINGS = 33028;
constexpr unsigned ID_UNUSED_33032 = 33032;
constexpr unsigned ID_APP_ABOUT = 57664;
constexpr unsigned ID_HELP_HANDBOOK = 57670;
// Tool bar only.
constexpr unsigned ID_SAVE = 32782;
constexpr unsigned ID_VIEW_3DGRAPH = 32962;
constexpr unsigned ID_3DGRAPH_PROPERTIES = 32964;
constexpr unsigned ID_VIEW_CROSS_REFERENCE = 32966;
constexpr unsigned ID_DATA_PRESENT = 32978;
}  // namespace cmd

// "File", "Verifica periodica", "Strumenti" and "?".
ui::MenuTemplate FrameMenuTemplate();
