#include "maintenance/protected_fields.h"

#include "link/protocol_bytes.h"
#include "platform/date_time.h"
#include "platform/files.h"
#include "platform/text.h"

namespace maintenance {

namespace {
constexpr const char* kProtectedPrefix = "SET:PROT:";
constexpr size_t kSetupLineChars = 2048;
}  // namespace

const std::vector<ProtectedField>& ProtectedFields() {
    static const std::vector<ProtectedField> fields = {
        {"CERT_DATE", "Data certificato di taratura fonometro", FieldSource::InstrumentCertificate,
         ""},
        {"CALIB_CERT_DATE", "Data certificato calibratore associato",
         FieldSource::CalibratorCertificate, ""},
        {"HOMOLOGATION", "Omologazione", FieldSource::SetupIni, "HOMOLOGATION"},
        {"MAKER", "Costruttore", FieldSource::SetupIni, "MAKER"},
    };
    return fields;
}

std::string ProtectedQuery(const std::string& name) {
    return platform::Format("SET:PROT:%s:?", name.c_str());
}

std::string ProtectedWrite(const std::string& name, const std::string& value) {
    return platform::Format("SET:PROT:%s:%s", name.c_str(), value.c_str());
}

std::optional<std::string> ProtectedValue(const std::string& reply, const std::string& name) {
    const std::string key = kProtectedPrefix + name + ":";
    const int at = platform::Find(reply, key);
    if (at < 0)
        return std::nullopt;
    const std::string value = platform::Mid(reply, at + static_cast<int>(key.size()));
    return protocol::CleanReply(value);
}

std::optional<std::string> CertificateDate(const std::string& answer) {
    const auto date = platform::DateTime::Parse(platform::Trim(answer));
    if (!date || !date->IsValid())
        return std::nullopt;
    return date->Format(kCertificateDateFormat);
}

std::map<std::string, std::string> ReadSetupIni(const std::string& path) {
    std::map<std::string, std::string> values;
    platform::LineReader reader(path);
    std::string line;
    while (reader.ReadLine(line, kSetupLineChars)) {
        const int equals = platform::Find(line, '=');
        if (equals <= 0)
            continue;
        const std::string key = platform::Trim(platform::Left(line, equals));
        if (!key.empty())
            values[key] = platform::Trim(platform::Mid(line, equals + 1));
    }
    return values;
}

}  // namespace maintenance
