#include "link/protocol_bytes.h"

#include "platform/text.h"

namespace protocol {

std::string_view LastWholeReply(std::string_view bytes) {
    const size_t end = bytes.rfind(kEtx);
    if (end == std::string_view::npos)
        return bytes;
    const size_t previous = end == 0 ? std::string_view::npos : bytes.rfind(kEtx, end - 1);
    const size_t start = previous == std::string_view::npos ? 0 : previous + 1;
    return bytes.substr(start, end + 1 - start);
}

std::string WithoutEtx(std::string_view reply) {
    return platform::Remove(std::string(reply), kEtx);
}

std::string CleanReply(std::string_view reply) {
    return platform::Trim(WithoutEtx(reply));
}

}  // namespace protocol
