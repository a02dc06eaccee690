#include "report/report_age.h"

#include "platform/files.h"
#include "platform/operator.h"
#include "platform/text.h"
#include "report/verification_file.h"

namespace report {

namespace {
// The program has always read the file in lines of this size.
constexpr size_t kLineChars = 1024;
}  // namespace

std::optional<platform::DateTime> FirstSectionTime(std::string_view text) {
    for (const std::string& raw : platform::Split(text, '\n')) {
        const std::string line = platform::Left(platform::Remove(raw, '\r'), kLineChars);
        if (IsSectionHeader(line))
            return platform::DateTime::Parse(platform::Left(line, kStampChars));
    }
    return std::nullopt;
}

bool IsWithin7Days(const platform::DateTime& started, const platform::DateTime& now) {
    return platform::WholeDaysBetween(started, now) < kContinueDays;
}

BOOL IsReportWithin7Days(const std::string& path) {
    const auto text = platform::ReadWholeFile(platform::ToNativePath(path));
    if (!text) {
        platform::AfxMessageBox("Error 15");
        return TRUE;
    }
    const auto started = FirstSectionTime(*text);
    return !started || IsWithin7Days(*started, platform::DateTime::Now()) ? TRUE : FALSE;
}

}  // namespace report
