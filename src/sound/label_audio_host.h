#pragma once
// What the audio-label window needs of the application: the record whose labels the graph
// shows, and what follows when labels are removed.

namespace sound {

class LabelAudioHost {
public:
    virtual ~LabelAudioHost() = default;
    // -1: none.
    virtual int CurrentRecord() const = 0;
    // Labels left the table: the label file is saved again and the graphs repainted.
    virtual void LabelsRemoved() = 0;
};

}  // namespace sound
