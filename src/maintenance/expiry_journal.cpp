#include "maintenance/expiry_journal.h"

#include <cctype>
#include <cerrno>
#include <cstring>

#include "platform/files.h"
#include "platform/text.h"

namespace maintenance {

namespace {
constexpr const char* kSerialKey = "SN";
constexpr const char* kTechnicianKey = "TECNICO";
constexpr const char* kFieldKey = "CAMPO";  // name;before;after
// A record takes a few hundred bytes; a file this large is no record of changes under way.
constexpr size_t kMaxJournalBytes = 1024 * 1024;

// Values come from the meter and from "setup.ini": whatever they hold stays in its place.
std::string Escape(const std::string& value) {
    std::string out;
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        out += byte < 0x20 || byte > 0x7E || c == '%' || c == ';' ? platform::Format("%%%02X", byte)
                                                                  : std::string(1, c);
    }
    return out;
}

std::optional<std::string> Unescape(const std::string& text) {
    std::string out;
    for (size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '%') {
            out += text[at];
            continue;
        }
        const std::string hex = text.substr(at + 1, 2);
        if (hex.size() != 2 || !std::isxdigit(static_cast<unsigned char>(hex[0])) ||
            !std::isxdigit(static_cast<unsigned char>(hex[1])))
            return std::nullopt;
        out += static_cast<char>(std::stoi(hex, nullptr, 16));
        at += 2;
    }
    return out;
}

// One record line into the records; false when it is none.
bool ReadLine(const std::string& line, std::vector<PendingChange>& changes) {
    const int equals = platform::Find(line, '=');
    const std::string key = platform::Left(line, equals);
    const std::vector<std::string> parts = platform::Split(platform::Mid(line, equals + 1), ';');
    std::vector<std::string> values;
    for (const std::string& part : parts) {
        auto value = Unescape(part);
        if (!value)
            return false;
        // The CR of a desktop editor's line end, escaped when the program rewrote such a file.
        if (value->ends_with('\r'))
            value->pop_back();
        values.push_back(*value);
    }
    if (equals > 0 && key == kSerialKey && values.size() == 1) {
        changes.push_back({values[0], {}, {}});
        return true;
    }
    if (changes.empty())
        return false;
    if (key == kTechnicianKey && values.size() == 1) {
        changes.back().technician = values[0];
        return true;
    }
    if (key == kFieldKey && values.size() == 3) {
        changes.back().fields.push_back({values[0], values[1], values[2]});
        return true;
    }
    return false;
}

std::string TooLarge() {
    return platform::Format("troppo grande (oltre %zu byte) per un registro delle modifiche",
                            kMaxJournalBytes);
}

std::string FormatJournal(const std::vector<PendingChange>& changes) {
    std::string text;
    for (const PendingChange& change : changes) {
        text += std::string(kSerialKey) + "=" + Escape(change.serial) + "\n";
        text += std::string(kTechnicianKey) + "=" + Escape(change.technician) + "\n";
        for (const JournalField& field : change.fields)
            text += std::string(kFieldKey) + "=" + Escape(field.name) + ";" + Escape(field.before) +
                    ";" + Escape(field.after) + "\n";
    }
    return text;
}

// Nothing, with `problem` set, when a line is not part of a whole record.
std::optional<std::vector<PendingChange>> ParseJournal(const std::string& text,
                                                       std::string& problem) {
    std::vector<PendingChange> changes;
    int number = 0;
    for (std::string line : platform::Split(text, '\n')) {
        ++number;
        // A desktop editor ends its lines with CR LF.
        if (line.ends_with('\r'))
            line.pop_back();
        if (!line.empty() && !ReadLine(line, changes)) {
            problem = platform::Format("riga %d non valida", number);
            return std::nullopt;
        }
    }
    for (const PendingChange& change : changes) {
        if (change.serial.empty() || change.fields.empty()) {
            problem = "registrazione incompleta";
            return std::nullopt;
        }
    }
    return changes;
}
}  // namespace

std::optional<std::vector<PendingChange>> ExpiryJournal::ReadAll() {
    if (!platform::FileExists(m_path))
        return std::vector<PendingChange>{};
    errno = 0;
    const std::optional<std::string> text = platform::ReadFileHead(m_path, kMaxJournalBytes + 1);
    if (!text) {
        m_problem = m_path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    if (text->size() > kMaxJournalBytes) {
        m_problem = m_path + ": " + TooLarge();
        return std::nullopt;
    }
    std::string problem;
    auto changes = ParseJournal(*text, problem);
    if (!changes)
        m_problem = m_path + ": " + problem;
    return changes;
}

bool ExpiryJournal::WriteAll(const std::vector<PendingChange>& changes) {
    const std::string text = FormatJournal(changes);
    // What could not be read back is not kept.
    if (text.size() > kMaxJournalBytes) {
        m_problem = m_path + ": " + TooLarge();
        return false;
    }
    const bool written =
        changes.empty() ? !platform::FileExists(m_path) || platform::RemoveFile(m_path)
                        : platform::WriteFileAtomic(m_path, text, platform::FileAccess::OwnerOnly);
    if (!written)
        m_problem = m_path + ": " + std::strerror(errno);
    return written;
}

bool ExpiryJournal::Find(const std::string& serial, std::optional<PendingChange>& found) {
    found.reset();
    const auto changes = ReadAll();
    if (!changes)
        return false;
    for (const PendingChange& change : *changes)
        if (change.serial == serial)
            found = change;
    return true;
}

bool ExpiryJournal::Keep(const PendingChange& change) {
    auto changes = ReadAll();
    if (!changes)
        return false;
    std::erase_if(*changes,
                  [&](const PendingChange& kept) { return kept.serial == change.serial; });
    changes->push_back(change);
    return WriteAll(*changes);
}

bool ExpiryJournal::Remove(const std::string& serial) {
    auto changes = ReadAll();
    if (!changes)
        return false;
    const size_t before = changes->size();
    std::erase_if(*changes, [&](const PendingChange& kept) { return kept.serial == serial; });
    return changes->size() == before || WriteAll(*changes);
}

}  // namespace maintenance
