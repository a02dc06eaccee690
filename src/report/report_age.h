#pragma once
// How old a verification is: the date and time of its file's first section. A verification
// can be continued, and its header edited, for seven days.

#include <optional>
#include <string>
#include <string_view>

#include "platform/date_time.h"
#include "platform/win_types.h"

namespace report {

inline constexpr int kContinueDays = 7;

// The first section header's date and time in the text; nothing when no line looks like one
// or its first 19 characters are no date and time.
std::optional<platform::DateTime> FirstSectionTime(std::string_view text);

// Whether fewer than seven whole days have passed since `started`.
bool IsWithin7Days(const platform::DateTime& started, const platform::DateTime& now);

// 0 when the file's first section is seven or more whole days old; 1 otherwise, also when the
// file has no dated section. A file that cannot be read shows "Error 15" and counts as young.
BOOL IsReportWithin7Days(const std::string& path);

}  // namespace report
