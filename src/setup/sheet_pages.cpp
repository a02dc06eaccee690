#include "setup/sheet_pages.h"

#include <array>

#include "link/model_rules.h"

namespace setup {

namespace {

constexpr std::array<SetupPageInfo, 6> kPages = {{
    {SetupPageKind::Current, 196, "Current", true},
    {SetupPageKind::General, 186, "General", true},
    {SetupPageKind::Channels, 185, "Channels", true},
    {SetupPageKind::Spectrum, 357, "Spectrum", false},
    {SetupPageKind::DataLogging, 358, "DataLogging", false},
    {SetupPageKind::Options, 278, "Options", false},
}};

constexpr std::array<int, 6> kTabImages = {1, 3, 5, 4, 2, 0};

}  // namespace

const SetupPageInfo& PageInfo(SetupPageKind kind) {
    return kPages[static_cast<size_t>(kind)];
}

std::vector<SetupPageKind> SheetPagesFor(std::string_view model) {
    std::vector<SetupPageKind> pages = {SetupPageKind::Current, SetupPageKind::General,
                                        SetupPageKind::Channels};
    if (model_rules::HasSpectrum(model))
        pages.push_back(SetupPageKind::Spectrum);
    if (model_rules::HasDataLogging(model))
        pages.push_back(SetupPageKind::DataLogging);
    pages.push_back(SetupPageKind::Options);
    return pages;
}

int TabImageAt(int position) {
    return position >= 0 && position < static_cast<int>(kTabImages.size())
               ? kTabImages[static_cast<size_t>(position)]
               : -1;
}

}  // namespace setup
