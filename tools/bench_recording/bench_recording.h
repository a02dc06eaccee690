#pragma once
// The pages of a bench's recording: records of the benches' own levels, as the meter stores them,
// behind the start text of each page.

#include <string>
#include <vector>

#include "records/record_layout.h"

namespace bench {

// Pages of `layout` holding `pageSize` records, until the data bytes reach `recordingBytes`.
std::vector<std::string> RecordingPages(const records::RecordLayout& layout, long long pageSize,
                                        long long recordingBytes);

}  // namespace bench
