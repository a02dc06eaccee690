#pragma once
// The local copy of the black list: one barred instrument per line.

#include <string>
#include <string_view>

namespace web {

// Whether the line names the serial number as a whole field: where the serial number stands,
// the line ends or holds a separator (a blank, ";", ",", "#", brackets...) on either side, so
// that notes may surround it but "T2001" never names "T200". Letters, digits, "-", "_" and
// non-ASCII bytes belong to a serial number. An empty serial number is named by no line.
bool LineNamesSerial(std::string_view line, std::string_view serial);

// Whether a line of the list names the serial number. A missing list bars nothing.
bool BlackListHolds(const std::string& listPath, const std::string& serial);

}  // namespace web
