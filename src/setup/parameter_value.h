#pragma once
// A measured parameter as the setup stores it: the parameter and its weighting or band joined
// by ":" ("Leq:A", "LOeq:1k", "L1:"). The band holds no ':', so the text splits at its last
// one. Pages show it in two lists, a parameter list and its weighting or band list.

#include <optional>
#include <string>
#include <string_view>

namespace setup {

class PageControls;

struct ParameterValue {
    std::string parameter;
    std::string band;  // empty when the text has no ':'
};

ParameterValue SplitParameterValue(std::string_view stored);
std::string JoinParameterValue(std::string_view parameter, std::string_view band);

// The value chosen in a parameter list and its band list; an empty band list gives an empty
// band ("L1:"). nullopt when either list has entries but no choice: the stored value stays.
std::optional<std::string> ChosenParameterValue(const PageControls& controls, int paramList,
                                                int bandList);

}  // namespace setup
