#pragma once
// The label file beside a data file: the data file's name with the extension ".lbl", one label
// per line. A graph label ends in "#" (its empty sixth field); a line that does not is an audio
// label, and its presence is what shows the audio-label window.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "acquisition/kept_file.h"

namespace acquisition {

// The data file's path with its extension replaced by ".lbl"; empty when the file's name has
// no extension (a "." in a folder's name is no extension).
std::string LabelFilePath(std::string_view dataPath);

bool IsAudioLabel(std::string_view label);

struct LabelFileContents {
    std::vector<std::string> labels;
    bool hasAudioLabels = false;
};
// One label per line, each with its trailing white space cut, blank ones included; after the
// last line end only a line that holds something. A missing file has none.
LabelFileContents ReadLabelFile(const std::string& path);

// The label file of the data set whose pages are being loaded, kept while the path names it
// unchanged (or still names no file): it is parsed again only when it changed on disk or was
// forgotten, as a save does. Its bytes are compared at every read, being few: a rewrite through
// a shared mapping changes nothing else that can be seen.
class LabelFileCache {
public:
    // `knownCurrent`: the caller knows that nothing happened under the path since the last
    // read (PathWatch), which spares the look up of the path.
    const LabelFileContents& Read(const std::string& path, bool knownCurrent = false);
    void Forget();

private:
    std::optional<std::string> m_path;
    KeptFile m_file;
    std::string m_text;
    LabelFileContents m_contents;
};

// What saving the labels came to: saved, or why nothing was written (no data file, a data file
// without a label file, the write's error).
struct LabelFileSave {
    std::optional<std::string> failure;

    explicit operator bool() const { return !failure; }
};
// Writes every label as a line ending in CR CR LF, the file whole or not at all.
LabelFileSave SaveLabelFile(std::string_view dataPath, const std::vector<std::string>& labels);

}  // namespace acquisition
