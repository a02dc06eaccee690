#pragma once
// The record of a calibration-expiry change under way, kept in the program folder from before
// the meter's first protected write until the server has the change on record. A run cut short
// in between (a crash, a kill, a power cut) leaves it behind, and the next update of that
// meter records on the server what the meter was found to hold from it. One file serves every
// meter, one record each, as KEY=value lines (a value's bytes that a line cannot hold escaped as
// %XX); it is written whole and only its owner may read it.

#include <optional>
#include <string>
#include <vector>

namespace maintenance {

inline constexpr const char* kExpiryJournalFile = "\\calib_expiry_pending.txt";

struct JournalField {
    std::string name;
    std::string before;  // as the meter held it
    std::string after;   // as the change writes it
    bool operator==(const JournalField&) const = default;
};

struct PendingChange {
    std::string serial;
    std::string technician;
    std::vector<JournalField> fields;
};

class ExpiryJournal {
public:
    explicit ExpiryJournal(std::string path) : m_path(std::move(path)) {}

    const std::string& Path() const { return m_path; }
    // Why the last call failed, in words for the operator.
    const std::string& Problem() const { return m_problem; }

    // The record kept for the meter, in `found` (nothing when there is none). False when the
    // file is there but cannot be read as records.
    bool Find(const std::string& serial, std::optional<PendingChange>& found);
    // Keeps the change as the meter's record, in place of any earlier one.
    bool Keep(const PendingChange& change);
    bool Remove(const std::string& serial);

private:
    std::optional<std::vector<PendingChange>> ReadAll();
    bool WriteAll(const std::vector<PendingChange>& changes);

    std::string m_path;
    std::string m_problem;
};

}  // namespace maintenance
