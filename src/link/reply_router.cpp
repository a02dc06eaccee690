#include "link/reply_router.h"

#include <utility>

#include "link/command.h"

void ReplyRouter::Register(int code, Handler handler) {
    m_byCode[code] = std::move(handler);
}

void ReplyRouter::Register(std::initializer_list<int> codes, const Handler& handler) {
    for (int code : codes)
        Register(code, handler);
}

void ReplyRouter::RegisterFamily(Family family, Handler handler) {
    m_families.emplace_back(std::move(family), std::move(handler));
}

const ReplyRouter::Handler* ReplyRouter::OwnerOf(int code) const {
    if (const auto it = m_byCode.find(code); it != m_byCode.end())
        return &it->second;
    for (const auto& [family, handler] : m_families)
        if (family(code))
            return &handler;
    return nullptr;
}

bool ReplyRouter::Owns(int code) const {
    return OwnerOf(code) != nullptr;
}

bool ReplyRouter::Route(const CCommand& command, const std::string& reply) const {
    const Handler* owner = OwnerOf(command.GetCode());
    if (!owner)
        return false;
    (*owner)(command, reply);
    return true;
}
