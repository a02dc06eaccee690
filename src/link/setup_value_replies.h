#pragma once
// The replies of the setup value table's queries and settings, registered with the link's
// router as one family: a query's reply is stored into the records its row names
// (StoreQueryReply) and its text handed on for the recording's setup block; an acknowledged
// setting makes the current record take the edited text. Codes with more to do than that have
// handlers of their own, which store through Store.

#include <functional>
#include <string>

class CInstrStatus;
class ReplyRouter;

class SetupValueReplies {
public:
    // A stored value's field of the setup block and its text.
    using BlockFieldFn = std::function<void(int field, const std::string& text)>;

    SetupValueReplies(CInstrStatus& current, CInstrStatus& edited, BlockFieldFn blockField);

    void Register(ReplyRouter& router);
    // Stores the reply to the query `code`; false when it carried no value.
    bool Store(int code, const std::string& reply);

private:
    CInstrStatus& m_current;
    CInstrStatus& m_edited;
    BlockFieldFn m_blockField;
};
