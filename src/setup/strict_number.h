#pragma once
// Numbers typed by the operator or kept as setup texts, read strictly: the whole text must be
// the number, in C's notation whatever the locale, or it is no number at all. A text that only
// begins with a number ("95.x") must not pass for it, since what passes goes to the meter.

#include <optional>
#include <string_view>

namespace setup {

// Digits only, at most nine ("140", "05"); nullopt for anything else, signs and blanks
// included.
std::optional<int> ParseWholeNumber(std::string_view text);

// Digits with an optional decimal point followed by at least one digit ("94.0", "130");
// nullopt for anything else ("95.x", "94.", ".5", "9 4.0", "1e2", "94,0").
std::optional<double> ParseDecimal(std::string_view text);

}  // namespace setup
