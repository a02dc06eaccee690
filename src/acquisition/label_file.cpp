#include "acquisition/label_file.h"

#include "platform/files.h"
#include "platform/text.h"

namespace acquisition {

std::string LabelFilePath(std::string_view dataPath) {
    const size_t name = dataPath.find_last_of("/\\");
    const size_t dot = dataPath.rfind('.');
    if (dot == std::string_view::npos || (name != std::string_view::npos && dot < name))
        return std::string();
    return std::string(dataPath.substr(0, dot)) + ".lbl";
}

bool IsAudioLabel(std::string_view label) {
    return !label.empty() && label.back() != '#';
}

LabelFileContents ReadLabelFile(const std::string& path) {
    LabelFileContents contents;
    if (path.empty())
        return contents;
    const auto text = platform::ReadWholeFile(path);
    if (!text)
        return contents;
    for (const std::string& line : platform::Split(*text, '\n')) {
        std::string label = platform::TrimRight(line);
        if (label.empty())
            continue;
        contents.hasAudioLabels = contents.hasAudioLabels || IsAudioLabel(label);
        contents.labels.push_back(std::move(label));
    }
    return contents;
}

bool SaveLabelFile(std::string_view dataPath, const std::vector<std::string>& labels) {
    const std::string path = LabelFilePath(dataPath);
    if (path.empty())
        return false;
    std::string text;
    for (const std::string& label : labels)
        text += label + "\r\n";
    return platform::WriteFileAtomic(path, text);
}

}  // namespace acquisition
