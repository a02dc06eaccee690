#include "link/protocol_bytes.h"

#include "platform/text.h"

namespace protocol {

std::string WithoutEtx(std::string_view reply) {
    return platform::Remove(std::string(reply), kEtx);
}

std::string CleanReply(std::string_view reply) {
    return platform::Trim(WithoutEtx(reply));
}

}  // namespace protocol
