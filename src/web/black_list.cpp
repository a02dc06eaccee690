#include "web/black_list.h"

#include "platform/files.h"
#include "platform/text.h"

namespace web {

bool BlackListHolds(const std::string& listPath, const std::string& serial) {
    if (serial.empty())
        return false;
    platform::LineReader reader(listPath);
    std::string line;
    while (reader.ReadLine(line, 2048)) {
        // Entries may carry notes around the serial number, so a part of the line is enough.
        if (platform::Contains(platform::Remove(platform::Remove(line, '\r'), '\n'), serial))
            return true;
    }
    return false;
}

}  // namespace web
