#pragma once
// The bytes of the meters' text protocol that frame a reply, and what they make of one.

#include <string>
#include <string_view>

namespace protocol {

// The meter's refusal: a reply that begins with it was not understood.
inline constexpr char kNak = 0x15;
// The end of every reply.
inline constexpr char kEtx = 0x03;
// The end of every command line.
inline constexpr std::string_view kLineEnd = "\r\n";

inline bool IsRefusal(std::string_view reply) {
    return !reply.empty() && reply.front() == kNak;
}

// A reply with nothing before its ETX: the meter answered without saying anything, which
// confirms nothing.
inline bool IsEmptyReply(std::string_view reply) {
    return reply.find_first_not_of(kEtx) == std::string_view::npos;
}

// A reply that arrived and is no refusal. An ETX alone passes: the direct exchanges end their
// attempts on it, and their callers find in it no key, text or frame they take.
inline bool IsUsable(std::string_view reply) {
    return !reply.empty() && reply.front() != kNak;
}

// The last whole reply of bytes that may hold several: a meter answers in order, so replies
// before it are late answers to earlier sends, and bytes after its ETX begin another one.
// Bytes without an ETX come back as they are.
std::string_view LastWholeReply(std::string_view bytes);

// The reply without its ETX bytes.
std::string WithoutEtx(std::string_view reply);
// The reply without its ETX bytes and the blanks around it.
std::string CleanReply(std::string_view reply);

}  // namespace protocol
