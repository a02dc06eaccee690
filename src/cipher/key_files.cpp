#include "cipher/key_files.h"

#include "cipher/key_data.h"
#include "platform/files.h"
#include "platform/text.h"

namespace cipher {

namespace {

// Key lines are about 1100 characters; they are taken whole, whatever their length.
constexpr size_t kWholeLine = 1 << 20;

}  // namespace

KeyFileSearch SearchKeyFile(const std::string& path, const std::string& serial,
                            bool skipFirstLine) {
    KeyFileSearch search;
    platform::LineReader reader(path);
    if (!reader.IsOpen())
        return search;
    search.opened = true;
    std::string line;
    if (skipFirstLine && !reader.ReadLine(line, kWholeLine))
        return search;
    while (reader.ReadLine(line, kWholeLine)) {
        line = platform::TrimRight(line);
        const auto first = KeyLineSerial(line);
        if (!first)
            continue;
        search.serials += *first + "\n";
        if (auto fields = KeyFieldsOf(line, serial)) {
            search.fields = std::move(fields);
            break;
        }
    }
    return search;
}

bool AppendKeyLine(const std::string& path, const std::string& line) {
    std::optional<std::string> content = platform::ReadWholeFile(path);
    if (!content) {
        // A file that is there but cannot be read must not be replaced by the new line alone.
        if (platform::FileExists(path))
            return false;
        content.emplace();
    }
    *content += line + "\n";
    return platform::WriteFileAtomic(path, *content, platform::FileAccess::OwnerOnly);
}

}  // namespace cipher
