#pragma once
// The "Current" page's window: the sixteen summary texts in their group boxes.

#include "setup/setup_prop_page.h"

namespace setup {

class CurrentSettings;

class CCurSettingPropPage : public CSetupPropPage {
public:
    explicit CCurSettingPropPage(CurrentSettings& model, QWidget* parent = nullptr);
};

}  // namespace setup
