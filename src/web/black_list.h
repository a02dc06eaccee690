#pragma once
// The local copy of the black list: one barred instrument per line.

#include <string>

namespace web {

// Whether a line of the list holds the serial number. An empty serial number names no
// instrument and is never listed; a missing list bars nothing.
bool BlackListHolds(const std::string& listPath, const std::string& serial);

}  // namespace web
