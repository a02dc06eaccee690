#include "link/setup_replies.h"

#include "link/protocol_bytes.h"
#include "platform/text.h"

namespace {

std::string AfterKey(const std::string& reply, const char* key) {
    const int at = platform::Find(reply, key);
    if (at < 0)
        return platform::Trim(reply);
    return platform::Trim(
        platform::Mid(reply, at + static_cast<int>(std::string_view(key).size())));
}

std::string AfterLastColon(const std::string& reply) {
    return platform::Trim(platform::Mid(reply, platform::ReverseFind(reply, ':') + 1));
}

std::optional<std::string> Extract(const ReplyRule& rule, const std::string& reply) {
    switch (rule.form) {
        case ReplyForm::None:
            return std::nullopt;
        case ReplyForm::AfterKey:
            return AfterKey(reply, rule.key);
        case ReplyForm::AtOffset:
            if (static_cast<int>(reply.size()) < rule.minLength)
                return std::nullopt;
            return ValueAtOffset(reply, rule.offset);
        case ReplyForm::AfterLastColon:
            return AfterLastColon(reply);
        case ReplyForm::Choice:
            for (const ReplyChoice& choice : rule.choices) {
                if (platform::Contains(reply, choice.contains))
                    return std::string(choice.stored);
            }
            return std::nullopt;
        case ReplyForm::OnFlag:
            return std::string(platform::Contains(reply, "ON") ? "1" : "0");
    }
    return std::nullopt;
}

void Store(CInstrStatus& status, const SetupValueRow& row, const std::string& text) {
    if (row.text)
        status.*row.text = text;
    else
        status.*row.number = platform::Atoi(text);
}

}  // namespace

std::string ValueAtOffset(std::string_view reply, int offset) {
    return platform::Trim(platform::Mid(reply, offset));
}

std::string CleanValue(std::string_view text, ValueCleanup cleanup) {
    switch (cleanup) {
        case ValueCleanup::None:
            return std::string(text);
        case ValueCleanup::NoDecibel:
            // "85 dB" would keep a blank at its end once the unit is gone.
            return platform::Trim(platform::Remove(platform::Remove(text, 'd'), 'B'));
        case ValueCleanup::NoBlanks:
            return platform::Remove(text, ' ');
        case ValueCleanup::NoSeconds:
            return platform::Trim(platform::Remove(text, 's'));
        case ValueCleanup::DateSlashes:
            return platform::ReplaceAll(text, ":", "/");
        case ValueCleanup::DegreeSign:
            return platform::ReplaceAll(text, "\xF8", "\xB0");
    }
    return std::string(text);
}

std::optional<StoredValue> StoreQueryReply(int code, std::string_view reply, CInstrStatus& current,
                                           CInstrStatus& edited) {
    const SetupValueRow* row = FindSetupValueByQuery(code);
    if (!row)
        return std::nullopt;
    const std::string text = protocol::WithoutEtx(reply);
    const std::optional<std::string> found = Extract(*ReplyRuleFor(*row, code), text);
    if (!found)
        return std::nullopt;
    const std::string value = CleanValue(*found, row->cleanup);
    Store(current, *row, value);
    if (row->scope == RecordScope::Both)
        Store(edited, *row, value);
    return StoredValue{row->value, value, row->block};
}

int AcknowledgeSetting(int code, CInstrStatus& current, const CInstrStatus& edited) {
    const SetupValueRow* row = FindSetupValueBySetCode(code);
    if (!row || !row->text || row->clearedAfterSend || ReplyRuleFor(*row, code))
        return -1;
    current.*row->text = edited.*row->text;
    return row->value;
}

std::vector<FollowUp> EventTriggerQueries(std::string_view trigger) {
    if (trigger == "LEV")
        return {{183, true}, {187, true}, {189, true}, {191, true}, {193, true}};
    if (trigger == "MAN")
        return {{193, true}};
    if (trigger == "EXT")
        return {{185, true}};
    return {};
}
