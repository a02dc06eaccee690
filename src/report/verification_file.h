#pragma once
// The verification file (".vpg"), described once here. It is text in CR LF lines, grouped in
// sections. Each section begins with a dated header line,
//     "2025/04/10 09:30:00 --- INTESTAZIONE ---"
// (the local time as "%Y/%m/%d %H:%M:%S", then the section's name between "---" marks), and
// holds KEY=value lines. The data sheet writes the header section, the bench one section per
// test it ran and the verdict; the seal line (report_seal.h) closes the file.
//
// The table below is the layout: which keys each section holds, which of them carry the
// verdict, and the rows the report list shows for them.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/date_time.h"

namespace report {

inline constexpr const char* kSectionMark = "---";
inline constexpr const char* kStampFormat = "%Y/%m/%d %H:%M:%S";
inline constexpr int kStampChars = 19;

inline constexpr const char* kHeaderSection = "INTESTAZIONE";
inline constexpr const char* kVerdictSection = "ESITO";
// The result key of every test section, and its two values.
inline constexpr const char* kResultKey = "RESULT";
inline constexpr const char* kPassed = "SUPERATA";
inline constexpr const char* kFailed = "FALLITA";

// Header keys that the program fills or reads itself.
inline constexpr const char* kLabNameKey = "LAB_NAME";
inline constexpr const char* kTechnicianKey = "TECH_NAME";
inline constexpr const char* kMeterModelKey = "CUST_FON_MODEL";
inline constexpr const char* kMeterSerialKey = "CUST_FON_SN";
// The customer keys that continuing a verification hands to the bench window.
inline constexpr const char* kCustomerNameKey = "CUST_NAME";
inline constexpr const char* kMeterMakerKey = "CUST_FON_PROD";
inline constexpr const char* kCalibratorMakerKey = "CUST_CAL_PROD";

enum class Role {
    HeaderValue,     // a line of the data sheet, listed with its label
    TestResult,      // a test's kResultKey in the test's own section
    Complete,        // "1" when every test of the verification ran
    Positive,        // "1" when every test that ran was passed
    CalibratorOnly,  // "1" when the file holds only the associated calibrator's check
};

struct LayoutEntry {
    const char* section;
    const char* key;
    Role role;
    const char* label;  // the report list's first cell; "" for the verdict keys
};

// Header values in the data sheet's order, then the seven tests in the bench's order (its test
// index), then the verdict.
const std::vector<LayoutEntry>& VerificationFileLayout();
// The header section's entries, in order.
std::vector<LayoutEntry> HeaderEntries();

// "<stamp> --- <name> ---"
std::string SectionHeaderLine(const platform::DateTime& when, std::string_view name);
// A line that holds ':', '/' and "---", as every section header does.
bool IsSectionHeader(std::string_view line);

struct FileSection {
    std::string stamp;  // the header line's first kStampChars characters
    std::string name;
    std::vector<std::pair<std::string, std::string>> values;  // in file order

    // The last value of `key` in the section; nothing when it has none.
    std::optional<std::string> Value(std::string_view key) const;
};

// The sections of a file's text (the seal line, being no KEY=value line, is left out). Lines
// before the first header and lines without '=' are skipped.
std::vector<FileSection> ReadSections(std::string_view text);

// The last section of that name; nullptr when there is none.
const FileSection* FindSection(const std::vector<FileSection>& sections, std::string_view name);

struct ReportVerdict {
    bool complete = false;
    bool positive = false;
    bool calibratorOnly = false;
};
ReportVerdict ReadVerdict(const std::vector<FileSection>& sections);

// The file's text with the header section's values set: existing lines of a key get the new
// value, keys the section lacks are added at its end. Other sections and lines stay as they
// are. Nothing when the text has no header section.
std::optional<std::string> WithHeaderValues(
    std::string_view text, const std::vector<std::pair<std::string, std::string>>& values);

// The customer keys a continued verification takes from its file, line by line: a key's value
// runs from its "KEY=" to the next of the three keys on the line, or to the line's end, and is
// trimmed at the right. What a line does not hold stays as it was.
struct CustomerKeys {
    std::optional<std::string> customerName;
    std::optional<std::string> meterMaker;
    std::optional<bool> calibratorPresent;  // the calibrator maker is not empty
};
void ScanCustomerKeys(std::string_view line, CustomerKeys& keys);

}  // namespace report
