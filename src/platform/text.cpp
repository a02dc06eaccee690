#include "platform/text.h"

#include <locale.h>
#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {
bool IsSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// C's own locale, made once and kept for the life of the process.
locale_t CNotation() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
    return c;
}

// Switches the calling thread alone to C's notation for printf-family calls, which have no
// variant taking a locale.
class CNotationScope {
public:
    CNotationScope() : m_previous(uselocale(CNotation())) {}
    ~CNotationScope() { uselocale(m_previous); }
    CNotationScope(const CNotationScope&) = delete;
    CNotationScope& operator=(const CNotationScope&) = delete;

private:
    locale_t m_previous;
};
}  // namespace

std::string Mid(std::string_view s, int start, int count) {
    const int size = static_cast<int>(s.size());
    start = std::clamp(start, 0, size);
    if (count < 0 || count > size - start)
        count = size - start;
    return std::string(s.substr(static_cast<size_t>(start), static_cast<size_t>(count)));
}

std::string Left(std::string_view s, int count) {
    return Mid(s, 0, std::max(count, 0));
}

std::string Right(std::string_view s, int count) {
    const int size = static_cast<int>(s.size());
    count = std::clamp(count, 0, size);
    return std::string(s.substr(static_cast<size_t>(size - count)));
}

int Find(std::string_view s, std::string_view what, int start) {
    if (start < 0 || start > static_cast<int>(s.size()))
        return -1;
    const size_t at = s.find(what, static_cast<size_t>(start));
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

int Find(std::string_view s, char what, int start) {
    return Find(s, std::string_view(&what, 1), start);
}

int ReverseFind(std::string_view s, char what) {
    const size_t at = s.rfind(what);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

bool Contains(std::string_view s, std::string_view what) {
    return s.find(what) != std::string_view::npos;
}
bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.starts_with(prefix);
}
bool EndsWith(std::string_view s, std::string_view suffix) {
    return s.ends_with(suffix);
}

std::string TrimLeft(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && IsSpace(s[i]))
        ++i;
    return std::string(s.substr(i));
}

std::string TrimRight(std::string_view s) {
    size_t n = s.size();
    while (n > 0 && IsSpace(s[n - 1]))
        --n;
    return std::string(s.substr(0, n));
}

std::string Trim(std::string_view s) {
    return TrimLeft(TrimRight(s));
}

std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to) {
    if (from.empty())
        return std::string(s);
    std::string out;
    size_t pos = 0;
    for (size_t at; (at = s.find(from, pos)) != std::string_view::npos; pos = at + from.size()) {
        out.append(s.substr(pos, at - pos));
        out.append(to);
    }
    out.append(s.substr(pos));
    return out;
}

std::string Remove(std::string_view s, char c) {
    std::string out;
    out.reserve(s.size());
    for (char ch : s)
        if (ch != c)
            out.push_back(ch);
    return out;
}

std::string ToUpper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string ToLower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::vector<std::string> Split(std::string_view s, char separator) {
    std::vector<std::string> parts;
    size_t pos = 0;
    for (size_t at; (at = s.find(separator, pos)) != std::string_view::npos; pos = at + 1)
        parts.emplace_back(s.substr(pos, at - pos));
    parts.emplace_back(s.substr(pos));
    return parts;
}

int Atoi(std::string_view s) {
    return static_cast<int>(Atoll(s));
}

long long Atoll(std::string_view s) {
    const std::string copy(s);  // strtoll needs a terminated string
    return strtoll_l(copy.c_str(), nullptr, 10, CNotation());
}

double Atof(std::string_view s) {
    const std::string copy(s);
    return StrToD(copy.c_str(), nullptr);
}

double StrToD(const char* text, char** end) {
    return strtod_l(text, end, CNotation());
}

std::string Format(const char* format, ...) {
    const CNotationScope notation;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (needed > 0) {
        out.resize(static_cast<size_t>(needed) + 1);
        std::vsnprintf(out.data(), out.size(), format, args);
        out.resize(static_cast<size_t>(needed));
    }
    va_end(args);
    return out;
}

std::string Latin1ToUtf8(std::string_view latin1) {
    std::string out;
    out.reserve(latin1.size());
    for (unsigned char c : latin1) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::string Utf8ToLatin1(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        int length = c < 0x80           ? 1
                     : (c >> 5) == 0x6  ? 2
                     : (c >> 4) == 0xE  ? 3
                     : (c >> 3) == 0x1E ? 4
                                        : 1;
        if (i + static_cast<size_t>(length) > utf8.size())
            length = 1;
        if (length == 1) {
            out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
        } else if (length == 2) {
            const unsigned code =
                ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
            out.push_back(code <= 0xFF ? static_cast<char>(code) : '?');
        } else {
            out.push_back('?');
        }
        i += static_cast<size_t>(length);
    }
    return out;
}

}  // namespace platform
