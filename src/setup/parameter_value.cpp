#include "setup/parameter_value.h"

#include "setup/page_controls.h"

namespace setup {

ParameterValue SplitParameterValue(std::string_view stored) {
    const size_t colon = stored.rfind(':');
    if (colon == std::string_view::npos)
        return {std::string(stored), {}};
    return {std::string(stored.substr(0, colon)), std::string(stored.substr(colon + 1))};
}

std::string JoinParameterValue(std::string_view parameter, std::string_view band) {
    std::string joined(parameter);
    joined += ':';
    joined += band;
    return joined;
}

std::optional<std::string> ChosenParameterValue(const PageControls& controls, int paramList,
                                                int bandList) {
    const auto parameter = controls.SelectedText(paramList);
    const auto band = controls.SelectedText(bandList);
    if (!parameter || (!band && !controls.Entries(bandList).empty()))
        return std::nullopt;
    return JoinParameterValue(*parameter, band.value_or(std::string()));
}

}  // namespace setup
