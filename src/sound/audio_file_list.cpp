#include "sound/audio_file_list.h"

#include <cctype>

#include "platform/files.h"
#include "platform/text.h"

namespace sound {

namespace {

// Lines of the list as its readers take them.
constexpr size_t kListLineChars = 256;

// "Audio_" and ".wav" around a name of letters, digits, '_' and '-'.
bool IsAudioFileName(std::string_view name) {
    constexpr std::string_view prefix = "Audio_";
    constexpr std::string_view suffix = ".wav";
    if (name.size() <= prefix.size() + suffix.size() || !name.starts_with(prefix) ||
        !name.ends_with(suffix))
        return false;
    const std::string_view stem =
        name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    for (const char c : stem)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-')
            return false;
    return true;
}

}  // namespace

std::string AudioFileListLine(const AudioRecordingEntry& entry) {
    return platform::Format("%s#%s#%d#%d#%s", entry.startTime.c_str(), entry.stopTime.c_str(),
                            entry.firstRecord, entry.lastRecord, entry.fileName.c_str());
}

bool AppendAudioFileListLine(const std::string& folder, const AudioRecordingEntry& entry) {
    const std::string path = platform::JoinPath(folder, kAudioFileList);
    const std::string list = platform::ReadWholeFile(path).value_or(std::string());
    return platform::WriteFileAtomic(path, list + AudioFileListLine(entry) + "\r\n");
}

std::vector<std::string> EarlierRecordings(const std::string& folder) {
    std::vector<std::string> files;
    platform::LineReader reader(platform::JoinPath(folder, kAudioFileList));
    const std::string ownFolder = platform::JoinPath(folder, "");
    std::string line;
    while (reader.ReadLine(line, kListLineChars - 1)) {
        const std::string named =
            platform::ToNativePath(platform::TrimRight(RecordedFileOfLine(line)));
        const size_t slash = named.rfind('/');
        const std::string name = slash == std::string::npos ? named : named.substr(slash + 1);
        if (slash != std::string::npos &&
            platform::JoinPath(named.substr(0, slash), "") != ownFolder)
            continue;
        if (!IsAudioFileName(name))
            continue;
        files.push_back(platform::JoinPath(folder, name));
    }
    return files;
}

std::string RecordedFileOfLine(std::string_view line) {
    const size_t hash = line.rfind('#');
    return std::string(hash == std::string_view::npos ? line : line.substr(hash + 1));
}

}  // namespace sound
