#include "web/technician_database.h"

#include "platform/files.h"
#include "platform/text.h"

namespace web {

namespace {
constexpr size_t kLineLimit = 1023;
}

std::optional<TechnicianEntry> ParseTechnicianLine(const std::string& line) {
    const std::string text = platform::TrimRight(line);
    std::vector<std::string> fields;
    int start = 0;
    for (int i = 0; i < 8; ++i) {
        const int end = platform::Find(text, ';', start);
        if (end < 0) {
            fields.push_back(platform::Mid(text, start));
            start = static_cast<int>(text.size()) + 1;
            break;
        }
        fields.push_back(platform::Mid(text, start, end - start));
        start = end + 1;
    }
    if (fields.size() < 8)
        return std::nullopt;
    TechnicianEntry entry;
    for (size_t k = 0; k < 6; ++k)
        entry.lab[k] = fields[k];
    entry.name = fields[6];
    entry.code = fields[7];
    // A line that ends with the code lists no reference instrument.
    entry.references = platform::Mid(text, start);
    return entry;
}

std::optional<std::vector<TechnicianEntry>> FindTechnicianEntries(const std::string& path,
                                                                  const std::string& code) {
    platform::LineReader reader(path);
    if (!reader.IsOpen())
        return std::nullopt;
    std::vector<TechnicianEntry> entries;
    std::string line;
    while (reader.ReadLine(line, kLineLimit)) {
        auto entry = ParseTechnicianLine(line);
        if (entry && !code.empty() && entry->code == code)
            entries.push_back(std::move(*entry));
    }
    return entries;
}

bool TechnicianMayUse(const std::string& record, const std::string& serial) {
    if (serial.empty() || record == "-1")
        return false;
    for (const std::string& entry : platform::Split(record, '&'))
        for (const std::string& reference : platform::Split(entry, '+'))
            if (platform::Trim(reference) == serial)
                return true;
    return false;
}

}  // namespace web
