#include "web/black_list.h"

#include <cctype>

#include "platform/files.h"
#include "platform/text.h"

namespace web {

namespace {
bool IsSerialCharacter(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x80 || std::isalnum(byte) || c == '-' || c == '_';
}
}  // namespace

bool LineNamesSerial(std::string_view line, std::string_view serial) {
    if (serial.empty())
        return false;
    for (size_t at = line.find(serial); at != std::string_view::npos;
         at = line.find(serial, at + 1)) {
        const size_t end = at + serial.size();
        const bool startsField = at == 0 || !IsSerialCharacter(line[at - 1]);
        const bool endsField = end == line.size() || !IsSerialCharacter(line[end]);
        if (startsField && endsField)
            return true;
    }
    return false;
}

bool BlackListHolds(const std::string& listPath, const std::string& serial) {
    platform::LineReader reader(listPath);
    std::string line;
    while (reader.ReadLine(line, 2048)) {
        if (LineNamesSerial(platform::Remove(platform::Remove(line, '\r'), '\n'), serial))
            return true;
    }
    return false;
}

}  // namespace web
