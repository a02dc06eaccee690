#pragma once
// The instrument's protected fields that the calibration-expiry update reads and rewrites,
// described once here: their names in the meter's "SET:PROT:<name>:..." commands, what the
// dialog calls them and where their new values come from.

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace maintenance {

enum class FieldSource {
    InstrumentCertificate,  // the meter's latest certificate date (HttpFindCertifDate)
    CalibratorCertificate,  // its associated calibrator's (HttpFindCertifDateCalib)
    SetupIni,               // a KEY=value line of "setup.ini"
};

struct ProtectedField {
    const char* name;
    const char* label;
    FieldSource source;
    const char* setupKey;  // the "setup.ini" key of a SetupIni field
    size_t maxChars;       // the longest value the meter's field holds
};

const std::vector<ProtectedField>& ProtectedFields();

// Certificate dates are written to the meter as "%Y/%m/%d".
inline constexpr const char* kCertificateDateFormat = "%Y/%m/%d";
inline constexpr const char* kSetupIniFile = "\\setup.ini";

std::string ProtectedQuery(const std::string& name);
std::string ProtectedWrite(const std::string& name, const std::string& value);
// What stands before the value in the meter's reply to a query or write of the field: the
// field named as its write names it.
std::string ProtectedReplyKey(const std::string& name);
// The value in the meter's reply to a query or write of the field; nothing when the reply is
// not that field's.
std::optional<std::string> ProtectedValue(const std::string& reply, const std::string& name);

// Why the meter's field cannot take `value`, in words for the operator ("troppo lungo ...",
// control or non-ASCII characters); nothing when it can.
std::optional<std::string> ValueProblem(const ProtectedField& field, const std::string& value);

// A certificate look-up's answer as the date the meter keeps; nothing when the answer is no
// date (not found, busy, no connection).
std::optional<std::string> CertificateDate(const std::string& answer);
// The server's answer when it holds no such certificate.
inline constexpr const char* kCertificateNotFound = "NOT_FOUND";

// The KEY=value lines of "setup.ini"; empty when there is no such file. Keys and values are
// trimmed; lines without '=' are skipped.
std::map<std::string, std::string> ReadSetupIni(const std::string& path);

}  // namespace maintenance
