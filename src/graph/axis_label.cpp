#include "graph/axis_label.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace graph {

namespace {
// More decimals than a double holds would only print noise.
constexpr int kMostDecimals = 17;
}  // namespace

std::string FormatFixed(double value, int decimals) {
    // The widest double in fixed notation has 309 digits before the point.
    std::array<char, 400> text;
    const auto result =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed,
                      std::clamp(decimals, 0, kMostDecimals));
    return std::string(text.data(), result.ptr);
}

void CGraphAxisLabel::Clear() {
    m_name.clear();
    m_unit.clear();
    m_decimals = kDefaultDecimals;
}

std::string CGraphAxisLabel::FormatValue(double value, int style) const {
    switch (style) {
        case kValue:
            return FormatFixed(value, m_decimals);
        case kValueAndUnit:
            return FormatFixed(value, m_decimals) + " " + m_unit;
        case kNameValueUnit:
            return m_name + ": " + FormatFixed(value, m_decimals) + " " + m_unit;
        default:
            return {};
    }
}

std::string CGraphAxisLabel::GetCaption() const {
    return m_name + ", " + m_unit;
}

}  // namespace graph
