#include "maintenance/protected_fields.h"

#include "link/command.h"
#include "link/command_codes.h"
#include "link/protocol_bytes.h"
#include "platform/date_time.h"
#include "platform/files.h"
#include "platform/text.h"

namespace maintenance {

namespace {
constexpr size_t kSetupLineChars = 2048;
// "%Y/%m/%d"
constexpr size_t kDateChars = 10;
constexpr size_t kTextFieldChars = 32;
}  // namespace

const std::vector<ProtectedField>& ProtectedFields() {
    static const std::vector<ProtectedField> fields = {
        {"CERT_DATE", "Data certificato di taratura fonometro", FieldSource::InstrumentCertificate,
         "", kDateChars},
        {"CALIB_CERT_DATE", "Data certificato calibratore associato",
         FieldSource::CalibratorCertificate, "", kDateChars},
        {"HOMOLOGATION", "Omologazione", FieldSource::SetupIni, "HOMOLOGATION", kTextFieldChars},
        {"MAKER", "Costruttore", FieldSource::SetupIni, "MAKER", kTextFieldChars},
    };
    return fields;
}

std::string ProtectedQuery(const std::string& name) {
    return CommandText(command_code::kProtectedFieldQuery, name);
}

std::string ProtectedWrite(const std::string& name, const std::string& value) {
    return CommandText(command_code::kProtectedFieldWrite, name, value);
}

std::string ProtectedReplyKey(const std::string& name) {
    return ProtectedWrite(name, "");
}

std::optional<std::string> ProtectedValue(const std::string& reply, const std::string& name) {
    const std::string key = ProtectedReplyKey(name);
    const int at = platform::Find(reply, key);
    if (at < 0)
        return std::nullopt;
    const std::string value = platform::Mid(reply, at + static_cast<int>(key.size()));
    return protocol::CleanReply(value);
}

std::optional<std::string> ValueProblem(const ProtectedField& field, const std::string& value) {
    if (value.size() > field.maxChars)
        return platform::Format("troppo lungo (%zu caratteri, massimo %zu)", value.size(),
                                field.maxChars);
    for (const char c : value) {
        // Control characters would end or cut the command line and its reply; bytes beyond
        // ASCII would reach the meter in whatever encoding the file happened to use.
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E)
            return std::string("contiene caratteri di controllo o non ASCII");
    }
    return std::nullopt;
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
