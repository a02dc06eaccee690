#pragma once
// Which pages the "Setup Instrument" sheet holds for a meter, in tab order, and which tab image
// each tab position shows.

#include <string>
#include <string_view>
#include <vector>

namespace setup {

enum class SetupPageKind { Current, General, Channels, Spectrum, DataLogging, Options };

struct SetupPageInfo {
    SetupPageKind kind;
    int templateId;      // the page's dialog template
    const char* title;   // its tab's text
    bool swallowsEnter;  // Enter does not close the sheet while the page is shown
};

const SetupPageInfo& PageInfo(SetupPageKind kind);

// The pages for the decorated model text of the current setup: "Current", "General" and
// "Channels" always; "Spectrum" without "p", "q" and "r"; "DataLogging" without "p"; "Options"
// always.
std::vector<SetupPageKind> SheetPagesFor(std::string_view model);

// The image of the tab at `position` (0 first): images go by position, so a page that moves up
// takes the image of its new place.
int TabImageAt(int position);

}  // namespace setup
