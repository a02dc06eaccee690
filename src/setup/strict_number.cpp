#include "setup/strict_number.h"

namespace setup {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool AllDigits(std::string_view text) {
    if (text.empty())
        return false;
    for (char c : text)
        if (!IsDigit(c))
            return false;
    return true;
}

}  // namespace

std::optional<int> ParseWholeNumber(std::string_view text) {
    if (!AllDigits(text) || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (char c : text)
        value = value * 10 + (c - '0');
    return value;
}

std::optional<double> ParseDecimal(std::string_view text) {
    const size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (!AllDigits(whole) || whole.size() > 9)
        return std::nullopt;
    if (point != std::string_view::npos && (!AllDigits(fraction) || fraction.size() > 9))
        return std::nullopt;
    double value = 0.0;
    for (char c : whole)
        value = value * 10.0 + (c - '0');
    double scale = 1.0;
    double tenths = 0.0;
    for (char c : fraction) {
        tenths = tenths * 10.0 + (c - '0');
        scale *= 10.0;
    }
    return value + tenths / scale;
}

}  // namespace setup
