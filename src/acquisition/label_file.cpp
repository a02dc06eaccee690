#include "acquisition/label_file.h"

#include <cerrno>
#include <cstring>

#include "platform/files.h"
#include "platform/text.h"
#include "records/record_layout.h"

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

namespace {

LabelFileContents ParseLabelText(std::string_view text) {
    LabelFileContents contents;
    std::vector<std::string> lines = platform::Split(text, '\n');
    // What follows the last line end is a line only when it holds something: a file read and
    // saved again keeps its lines, blank ones included, and gains none.
    if (!lines.empty() && platform::TrimRight(lines.back()).empty())
        lines.pop_back();
    for (const std::string& line : lines) {
        std::string label = platform::TrimRight(line);
        contents.hasAudioLabels = contents.hasAudioLabels || IsAudioLabel(label);
        contents.labels.push_back(std::move(label));
    }
    return contents;
}

}  // namespace

LabelFileContents ReadLabelFile(const std::string& path) {
    if (path.empty())
        return {};
    const auto text = platform::ReadWholeFile(path);
    return text ? ParseLabelText(*text) : LabelFileContents{};
}

const LabelFileContents& LabelFileCache::Read(const std::string& path, bool knownCurrent) {
    if (m_path && *m_path == path &&
        (m_file.IsOpen() ? (knownCurrent || m_file.IsCurrent(path)) && m_file.Reads(m_text)
                         : knownCurrent || !platform::FileExists(path)))
        return m_contents;
    m_path = path;
    m_contents = {};
    m_text.clear();
    if (path.empty() || !m_file.Open(path))
        return m_contents;
    if (!m_file.ReadAll(m_text)) {
        Forget();
        return m_contents;
    }
    m_contents = ParseLabelText(m_text);
    return m_contents;
}

void LabelFileCache::Forget() {
    m_path.reset();
    m_file.Close();
    m_text.clear();
}

LabelFileSave SaveLabelFile(std::string_view dataPath, const std::vector<std::string>& labels) {
    if (dataPath.empty())
        return {"no data file is open"};
    const std::string path = LabelFilePath(dataPath);
    if (path.empty())
        return {std::string(dataPath) + " has no extension"};
    std::string text;
    for (const std::string& label : labels)
        text += label + std::string(records::kDoubleCrLineEnd);
    if (!platform::WriteFileAtomic(path, text))
        return {path + ": " + std::strerror(errno)};
    return {};
}

}  // namespace acquisition
