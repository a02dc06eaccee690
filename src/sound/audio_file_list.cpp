#include "sound/audio_file_list.h"

#include "platform/files.h"
#include "platform/text.h"

namespace sound {

std::string AudioFileListLine(const AudioRecordingEntry& entry) {
    return platform::Format("%s#%s#%d#%d#%s", entry.startTime.c_str(), entry.stopTime.c_str(),
                            entry.firstRecord, entry.lastRecord, entry.fileName.c_str());
}

bool AppendAudioFileListLine(const std::string& folder, const AudioRecordingEntry& entry) {
    const std::string path = platform::JoinPath(folder, kAudioFileList);
    const std::string list = platform::ReadWholeFile(path).value_or(std::string());
    return platform::WriteFileAtomic(path, list + AudioFileListLine(entry) + "\r\n");
}

std::string RecordedFileOfLine(std::string_view line) {
    const size_t hash = line.rfind('#');
    return std::string(hash == std::string_view::npos ? line : line.substr(hash + 1));
}

}  // namespace sound
