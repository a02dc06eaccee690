#include "report/verification_file.h"

#include <algorithm>

#include "platform/text.h"

namespace report {

namespace {
constexpr std::string_view kLineEnd = "\r\n";

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// The name of a header line written as SectionHeaderLine writes it; nothing for any other line,
// so that a value holding a date and dashes never starts a section.
std::optional<std::string> SectionName(std::string_view line) {
    const std::string marks = std::string(" ") + kSectionMark + " ";
    if (line.size() < static_cast<size_t>(kStampChars) + marks.size() ||
        line.substr(kStampChars, marks.size()) != marks ||
        !platform::EndsWith(line, std::string(" ") + kSectionMark) ||
        !platform::DateTime::Parse(line.substr(0, kStampChars)))
        return std::nullopt;
    const std::string_view rest = line.substr(kStampChars + marks.size());
    return platform::Trim(rest.substr(0, rest.size() - 1 - std::string_view(kSectionMark).size()));
}

// A value is one line of the file.
std::string OneLine(std::string value) {
    for (char& c : value)
        if (c == '\r' || c == '\n')
            c = ' ';
    return value;
}
}  // namespace

const std::vector<LayoutEntry>& VerificationFileLayout() {
    static const std::vector<LayoutEntry> layout = {
        {kHeaderSection, "REPORT_NUM", Role::HeaderValue, "Rapporto n."},
        {kHeaderSection, kLabNameKey, Role::HeaderValue, "Laboratorio"},
        {kHeaderSection, kTechnicianKey, Role::HeaderValue, "Tecnico"},
        {kHeaderSection, kCustomerNameKey, Role::HeaderValue, "Cliente"},
        {kHeaderSection, kMeterMakerKey, Role::HeaderValue, "Costruttore fonometro"},
        {kHeaderSection, kMeterModelKey, Role::HeaderValue, "Modello fonometro"},
        {kHeaderSection, kMeterSerialKey, Role::HeaderValue, "Matricola fonometro"},
        {kHeaderSection, kCalibratorMakerKey, Role::HeaderValue, "Costruttore calibratore"},
        {kHeaderSection, "CUST_CAL_SN", Role::HeaderValue, "Matricola calibratore"},
        {"LIVELLO 94 DB", kResultKey, Role::TestResult, "Livello di riferimento 94 dB"},
        {"RISPOSTA IN FREQUENZA", kResultKey, Role::TestResult, "Risposta in frequenza"},
        {"LINEARITA", kResultKey, Role::TestResult, "Linearita' dei campi di misura"},
        {"PONDERAZIONI TEMPORALI", kResultKey, Role::TestResult, "Ponderazioni temporali"},
        {"SOVRACCARICO", kResultKey, Role::TestResult, "Indicatore di sovraccarico"},
        {"RUMORE AUTOGENERATO", kResultKey, Role::TestResult, "Rumore autogenerato"},
        {"CALIBRATORE ASSOCIATO", kResultKey, Role::TestResult, "Calibratore associato"},
        {kVerdictSection, "COMPLETE", Role::Complete, ""},
        {kVerdictSection, "POSITIVE", Role::Positive, ""},
        {kVerdictSection, "CALIBRATOR_ONLY", Role::CalibratorOnly, ""},
    };
    return layout;
}

std::vector<LayoutEntry> HeaderEntries() {
    std::vector<LayoutEntry> entries;
    for (const LayoutEntry& entry : VerificationFileLayout())
        if (entry.role == Role::HeaderValue)
            entries.push_back(entry);
    return entries;
}

std::string SectionHeaderLine(const platform::DateTime& when, std::string_view name) {
    return when.Format(kStampFormat) + " " + kSectionMark + " " + std::string(name) + " " +
           kSectionMark;
}

bool IsSectionHeader(std::string_view line) {
    return platform::Contains(line, ":") && platform::Contains(line, "/") &&
           platform::Contains(line, kSectionMark);
}

std::optional<std::string> FileSection::Value(std::string_view key) const {
    std::optional<std::string> found;
    for (const auto& [k, v] : values)
        if (k == key)
            found = v;
    return found;
}

std::vector<FileSection> ReadSections(std::string_view text) {
    std::vector<FileSection> sections;
    for (const std::string_view line : Lines(text)) {
        if (const auto name = SectionName(line)) {
            sections.push_back({std::string(line.substr(0, kStampChars)), *name, {}});
            continue;
        }
        const size_t equals = line.find('=');
        if (sections.empty() || equals == std::string_view::npos || equals == 0)
            continue;
        sections.back().values.emplace_back(std::string(line.substr(0, equals)),
                                            platform::TrimRight(line.substr(equals + 1)));
    }
    return sections;
}

const FileSection* FindSection(const std::vector<FileSection>& sections, std::string_view name) {
    for (auto it = sections.rbegin(); it != sections.rend(); ++it)
        if (it->name == name)
            return &*it;
    return nullptr;
}

ReportVerdict ReadVerdict(const std::vector<FileSection>& sections) {
    ReportVerdict verdict;
    for (const LayoutEntry& entry : VerificationFileLayout()) {
        const FileSection* section = FindSection(sections, entry.section);
        const bool set = section && platform::Trim(section->Value(entry.key).value_or("")) == "1";
        switch (entry.role) {
            case Role::Complete:
                verdict.complete = set;
                break;
            case Role::Positive:
                verdict.positive = set;
                break;
            case Role::CalibratorOnly:
                verdict.calibratorOnly = set;
                break;
            case Role::HeaderValue:
            case Role::TestResult:
                break;
        }
    }
    return verdict;
}

std::optional<std::string> WithHeaderValues(
    std::string_view text, const std::vector<std::pair<std::string, std::string>>& values) {
    std::vector<bool> written(values.size(), false);
    std::string result;
    bool inHeader = false;
    bool sawHeader = false;
    auto addMissing = [&] {
        for (size_t i = 0; i < values.size(); ++i)
            if (!written[i]) {
                result += values[i].first + "=" + OneLine(values[i].second) + std::string(kLineEnd);
                written[i] = true;
            }
    };
    for (const std::string_view line : Lines(text)) {
        if (const auto name = SectionName(line)) {
            if (inHeader)
                addMissing();
            inHeader = *name == kHeaderSection;
            sawHeader = sawHeader || inHeader;
        } else if (inHeader) {
            const size_t equals = line.find('=');
            const std::string_view key = line.substr(0, equals);
            bool replaced = false;
            for (size_t i = 0; equals != std::string_view::npos && i < values.size(); ++i)
                if (values[i].first == key) {
                    result +=
                        values[i].first + "=" + OneLine(values[i].second) + std::string(kLineEnd);
                    written[i] = true;
                    replaced = true;
                    break;
                }
            if (replaced)
                continue;
        }
        result += std::string(line) + std::string(kLineEnd);
    }
    if (!sawHeader)
        return std::nullopt;
    if (inHeader)
        addMissing();
    return result;
}

void ScanCustomerKeys(std::string_view line, CustomerKeys& keys) {
    const std::string names[] = {std::string(kCustomerNameKey) + "=",
                                 std::string(kMeterMakerKey) + "=",
                                 std::string(kCalibratorMakerKey) + "="};
    std::optional<std::string> values[3];
    for (size_t i = 0; i < 3; ++i) {
        const size_t at = line.find(names[i]);
        if (at == std::string_view::npos)
            continue;
        const size_t start = at + names[i].size();
        size_t end = line.size();
        for (const std::string& other : names) {
            const size_t next = line.find(other, start);
            if (next != std::string_view::npos)
                end = std::min(end, next);
        }
        values[i] = platform::TrimRight(line.substr(start, end - start));
    }
    if (values[0])
        keys.customerName = values[0];
    if (values[1])
        keys.meterMaker = values[1];
    if (values[2])
        keys.calibratorPresent = !values[2]->empty();
}

}  // namespace report
