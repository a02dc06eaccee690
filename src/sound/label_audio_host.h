#pragma once
// What the audio-label window needs of the application: the label table, the record whose
// labels the graph shows, and what follows when labels are removed.

#include <string>
#include <vector>

namespace sound {

class LabelAudioHost {
public:
    virtual ~LabelAudioHost() = default;
    // The application's label table, one "%d#%s#%s#%s#%s#%s" record per label.
    virtual std::vector<std::string>& Labels() = 0;
    // -1: none.
    virtual int CurrentRecord() const = 0;
    // Labels left the table: the label file is saved again and the graphs repainted.
    virtual void LabelsRemoved() = 0;
};

}  // namespace sound
