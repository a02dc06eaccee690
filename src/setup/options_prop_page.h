#pragma once
// The "Options" page's window: the "Custom Setup" group with its two raised icon buttons.

#include <QImage>

#include "setup/setup_prop_page.h"

namespace setup {

class OptionsPage;

class COptionsPropPage : public CSetupPropPage {
public:
    explicit COptionsPropPage(OptionsPage& model, QWidget* parent = nullptr);
};

// The buttons' icons (32 by 32): 356 an open folder (load), 357 a disk (save).
QImage CustomSetupIcon(int id);

}  // namespace setup
