#pragma once
// Where the meter's replies go. The link session matches a reply to the command it answers and
// hands it here; whoever owns the command's code has it. Each part of the program registers the
// replies it owns when it is built: a handler for one code, or for a family of codes (the setup
// value table's queries and settings) that no code's own handler takes. The replies that no
// command awaits have their owners here too: the live records while the meter streams them,
// and the replies to nothing that the program drops on purpose (what a stopped run still
// sends); LinkSession::TakeUnawaitedReply asks them in that order, drops the late answers and
// reports anything else.

#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

class CCommand;

class ReplyRouter {
public:
    // A good reply to `command`, without its ETX.
    using Handler = std::function<void(const CCommand& command, const std::string& reply)>;
    using Family = std::function<bool(int code)>;
    // A reply that no command awaits; true when it was taken.
    using Taker = std::function<bool(const std::string& reply)>;

    // `handler` takes the good replies to `code`. A code has one owner: a second registration
    // takes the code over.
    void Register(int code, Handler handler);
    void Register(std::initializer_list<int> codes, const Handler& handler);
    // `handler` takes the good replies to the codes `family` holds that have no handler of
    // their own; families are asked in the order they were registered.
    void RegisterFamily(Family family, Handler handler);
    // Whether a reply to `code` has an owner.
    bool Owns(int code) const;
    // Hands the reply to the owner of its command's code; false, and nothing done, when the
    // code has none.
    bool Route(const CCommand& command, const std::string& reply) const;

    // While the meter streams live records, every reply is one (the record keeps its ETX).
    void SetRecordTaker(Taker taker) { m_records = std::move(taker); }
    // A reply to nothing that is dropped on purpose.
    void SetStrayTaker(Taker taker) { m_strays = std::move(taker); }
    bool TakeRecord(const std::string& reply) const { return m_records && m_records(reply); }
    bool TakeStray(const std::string& reply) const { return m_strays && m_strays(reply); }

private:
    const Handler* OwnerOf(int code) const;

    std::map<int, Handler> m_byCode;
    std::vector<std::pair<Family, Handler>> m_families;
    Taker m_records;
    Taker m_strays;
};
