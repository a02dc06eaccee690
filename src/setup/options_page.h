#pragma once
// "Options": keeps the whole edited setup under a name and brings it back. "Save Setup" asks
// for a name and writes the edited setup as that custom setting; "Load Setup" offers the saved
// ones to load into the edited setup (never the current one) or to delete. A loaded setting
// reaches the meter only with "Apply All"; the other pages show it when next shown.

#include "setup/setup_page.h"

namespace setup {

namespace options_ids {
constexpr int kLoadSetup = 1585;
constexpr int kSaveSetup = 1586;
}  // namespace options_ids

class OptionsPage : public SetupPage {
public:
    explicit OptionsPage(SetupHost& host);

    void OnLoadSetup();
    void OnSaveSetup();
};

}  // namespace setup
