#include "link/setup_value_replies.h"

#include <utility>

#include "link/command.h"
#include "link/reply_router.h"
#include "link/setup_replies.h"
#include "link/setup_value_table.h"

SetupValueReplies::SetupValueReplies(CInstrStatus& current, CInstrStatus& edited,
                                     BlockFieldFn blockField)
    : m_current(current), m_edited(edited), m_blockField(std::move(blockField)) {}

void SetupValueReplies::Register(ReplyRouter& router) {
    router.RegisterFamily(
        [](int code) { return FindSetupValueByQuery(code) || FindSetupValueBySetCode(code); },
        [this](const CCommand& command, const std::string& reply) {
            const int code = command.GetCode();
            // The date and time settings have nothing to acknowledge: their edited texts are
            // emptied once sent.
            if (FindSetupValueByQuery(code))
                Store(code, reply);
            else
                AcknowledgeSetting(code, m_current, m_edited);
        });
}

bool SetupValueReplies::Store(int code, const std::string& reply) {
    const auto stored = StoreQueryReply(code, reply, m_current, m_edited);
    if (!stored)
        return false;
    if (stored->block >= 0 && m_blockField)
        m_blockField(stored->block, stored->text);
    return true;
}
