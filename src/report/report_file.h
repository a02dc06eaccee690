#pragma once
// Reading a verification file whole, refused unless its seal holds, and rewriting its header.

#include <string>
#include <utility>
#include <vector>

#include "report/verification_file.h"

namespace report {

struct LoadedReport {
    std::string error;  // what to tell the operator; empty when the file was read
    std::vector<FileSection> sections;
    ReportVerdict verdict;

    bool Loaded() const { return error.empty(); }
};

LoadedReport ReadVerificationFile(const std::string& path);

// Sets the header values of a sealed file and seals it again, written whole; the error to tell
// the operator, empty on success. A file whose seal does not hold is left as it is.
std::string RewriteHeader(const std::string& path,
                          const std::vector<std::pair<std::string, std::string>>& values);

}  // namespace report
