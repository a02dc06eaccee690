#pragma once
// The work of the calibration-expiry update, without its window: read the identity and the
// protected fields of the instrument under test straight from its port, look up the new values
// (certificate dates on the web service, homologation and maker data in "setup.ini"), write
// the changed fields after an enciphered unlock each, read them back, and record the change on
// the web service. From before the first write until the server has the change, the change is
// kept in the program folder (expiry_journal.h): a run cut short is recorded by the next one.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "maintenance/protected_fields.h"

class InstrLog;
class LinkPort;
class LinkSession;

namespace web {
class WebClient;
}

namespace maintenance {

// What the update needs of the program that no object of its own tells.
class CalibExpiryHost {
public:
    virtual ~CalibExpiryHost() = default;
    // Whether the main view and its window exist: once they are gone (the program is leaving)
    // the meter's port is left alone.
    virtual bool ViewPresent() = 0;
};

// What became of a field's write, as far as the meter told.
enum class WriteOutcome {
    NotSent,
    // Neither acknowledged nor read back: the meter may hold the value or not.
    Unconfirmed,
    // The meter holds the value: read back, or acknowledged where nothing could be read back.
    Written,
    // Read back without the value.
    NotHeld,
};

struct FieldState {
    const ProtectedField* field = nullptr;
    std::string inMeter;  // as read before the update
    std::string fresh;    // the value to write; empty: the field stays as it is
    std::string after;    // as read back after the writing
    WriteOutcome outcome = WriteOutcome::NotSent;
    bool Changes() const { return !fresh.empty() && fresh != inMeter; }
};

class CalibExpiryUpdate {
public:
    // What the update uses, none of it owned.
    struct Uses {
        CalibExpiryHost& host;
        // The port of the instrument under test and the direct exchange past its listener.
        LinkSession& link;
        web::WebClient& web;
        // The daily log of the instrument under test.
        InstrLog& log;
        // The program folder: "setup.ini" and the journal of a change under way.
        const std::string& programDir;
        // The technician logged in, whom the server's record names.
        const std::string& technicianId;
        // The bench window's enciphered unlock of the meter's protected fields: "1" when the
        // meter unlocked.
        std::function<std::string()> unlockTarget;
    };

    explicit CalibExpiryUpdate(const Uses& uses) : m_uses(uses) {}

    // Identity and protected fields of the meter; the server's record of what the meter holds
    // from a change of it that was cut short; then the new values. False, with Error() telling
    // the operator why, when the meter could not be read, the cut-short change could not be
    // recorded, or a certificate look-up failed or found no certificate of the meter.
    bool ReadInstrument();
    // Keeps the change under way, writes every field that changes and reads them all back.
    // False, with Error(), when the change could not be kept (nothing is written then), or the
    // meter refused to unlock or to take a value, or could not be read back; Error() then
    // names the fields the meter took, those it may hold and those it does not.
    bool WriteInstrument();
    // Whether a write went out and the fields could not be read back afterwards: what the meter
    // holds of the change is not known, so it is not recorded now but stays kept, for the next
    // update of the meter to record from what it finds.
    bool LeftForNextUpdate() const { return m_leftForNextUpdate; }
    // HttpLogUser with the old and new values of the changed fields; those the meter was read
    // back without, or was never sent, are marked, and so is the change as a whole when it is
    // incomplete. The change kept under way goes once the server confirmed it.
    bool RecordChange();
    // After a RecordChange the server confirmed: empty, or why the change kept under way could
    // not go (naming its file), so that the meter's next update would record it again.
    const std::string& JournalKept() const { return m_journalKept; }

    const std::string& Model() const { return m_model; }
    const std::string& Serial() const { return m_serial; }
    const std::vector<FieldState>& Fields() const { return m_fields; }
    bool AnyChange() const;
    // Whether the meter took at least one new value.
    bool AnyWritten() const;
    const std::string& Error() const { return m_error; }
    // The server log the change is recorded in, and the line.
    std::string RecordLogName() const;
    std::string RecordText() const;

private:
    bool Fail(const std::string& error);
    // The port of the instrument under test, talked through past its listener; nullptr once
    // the view is gone.
    LinkPort* TargetPort() const;
    // The reply that carries `replyKey`; another field's answer is skipped.
    std::optional<std::string> Ask(LinkPort& port, const std::string& command,
                                   const std::string& replyKey, int attempts = 3);
    bool ReadFields(LinkPort& port, bool after);
    // Records on the server what the meter holds from a change of it that an earlier run kept
    // under way and never recorded, and lets that record go once the server has it.
    bool SettleInterruptedChange();
    bool LookUpNewValues();
    std::string JournalPath() const;
    // Writes the changed fields in order up to the first the meter refuses; the refusal, or
    // nothing.
    std::optional<std::string> WriteChangedFields(LinkPort& port);
    bool AnySent() const;
    // The fields written, those the meter may hold and those it does not, for a change it
    // took in part or may have.
    std::string WhatTheMeterHolds() const;

    Uses m_uses;
    std::string m_model;
    std::string m_serial;
    std::vector<FieldState> m_fields;
    std::string m_error;
    std::string m_journalKept;
    bool m_leftForNextUpdate = false;
};

}  // namespace maintenance
