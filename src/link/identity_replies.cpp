#include "link/identity_replies.h"

#include "link/command_codes.h"
#include "link/model_rules.h"
#include "link/protocol_bytes.h"
#include "link/setup_replies.h"
#include "link/setup_value_table.h"
#include "platform/text.h"

using namespace command_code;

namespace {}  // namespace

std::vector<FollowUp> OnInstrModelReply(std::string_view reply, CInstrStatus& current,
                                        CInstrStatus& edited) {
    StoreQueryReply(kModelQuery, reply, current, edited);
    // Urgent commands go out last queued first: the options query is queued before the
    // extended-range query so that the flag is known when the options reply decorates.
    std::vector<FollowUp> chain = {{kOptionsQuery, true}};
    if (current.m_strModel == "QS4060")
        chain.push_back({kExtendedRangeQuery, true});
    for (int code : {kFirmwareQuery, kSerialNumberQuery, kIntegrationTimeQuery})
        chain.push_back({code, false});
    for (int code : kStatusQueries)
        chain.push_back({code, false});
    return chain;
}

std::vector<FollowUp> OnOptionsReply(std::string_view reply, CInstrStatus& current,
                                     CInstrStatus& edited) {
    const std::string text = protocol::WithoutEtx(reply);
    const std::string found =
        platform::TrimRight(platform::Mid(text, platform::ReverseFind(text, ':') + 1));
    const std::string options = found.empty() ? std::string("0") : found;
    std::string& model = current.m_strModel;
    model.append("_").append(options).append(current.m_nExtendedRange ? "1" : "0");
    edited.m_strModel = current.m_strModel;

    std::vector<FollowUp> next = {{kClassQuery, true}};
    if (model_rules::HasReports(current.m_strModel))
        next.push_back({kSlmDataloggingQuery, false});
    return next;
}

void OnClassReply(std::string_view reply, CInstrStatus& current, CInstrStatus& edited) {
    StoreQueryReply(kClassQuery, reply, current, edited);
    current.m_strModel.append("$").append(current.m_strClass);
    edited.m_strModel = current.m_strModel;
}

std::optional<std::string> IdentityReplyKey(int code) {
    const SetupValueRow* row =
        code >= kModelQuery && code <= kMicNumberQuery ? FindSetupValueByQuery(code) : nullptr;
    if (!row || row->query.form != ReplyForm::AfterKey || !row->query.key)
        return std::nullopt;
    return row->query.key;
}
