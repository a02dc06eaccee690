#pragma once
// The list of the audio recordings of monitoring sessions, "AudioFileList.txt" in the program
// folder: one line per recording, its fields separated by "#", the recorded wave file's name
// after the last "#" (what removes the recordings of earlier sessions reads).

#include <string>
#include <string_view>
#include <vector>

namespace sound {

inline constexpr const char* kAudioFileList = "AudioFileList.txt";

// One recording: when it ran, the records of the session it covers and its wave file.
struct AudioRecordingEntry {
    std::string startTime;  // "%Y/%m/%d %H:%M:%S"
    std::string stopTime;
    int firstRecord = 0;
    int lastRecord = 0;
    std::string fileName;
};

// "%s#%s#%d#%d#%s": start, stop, first and last record, file.
std::string AudioFileListLine(const AudioRecordingEntry& entry);
// Appends the entry's line (CR LF ended) to the list in `folder`; false when the list could not
// be written, which leaves it as it was.
bool AppendAudioFileListLine(const std::string& folder, const AudioRecordingEntry& entry);
// The wave file a list line names.
std::string RecordedFileOfLine(std::string_view line);
// The wave files of earlier recordings that the list in `folder` names and that may be
// removed with it: "Audio_*.wav" files of that folder itself, named bare or with the folder.
// Anything else a list line names stays.
std::vector<std::string> EarlierRecordings(const std::string& folder);

}  // namespace sound
