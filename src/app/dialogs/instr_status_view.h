#pragma once
// What the instrument status window shows, worked out from the meter's replies and its model:
// the parse of the accumulated status text and the layout of the recorder area.

#include <map>
#include <string>
#include <string_view>

struct InstrStatusFields {
    std::string display;
    std::string autoPowerOff;
    std::string acquisition;
    std::string integration;
    std::string battery;
    std::string memory;
    std::string information;  // three lines joined with CR LF
    int batteryBar = 0;       // 0 to 100
    int memoryBar = 0;
    bool slm = false;
    bool profile = false;
    bool octave = false;
    bool thirdOctave = false;
    bool fft = false;
    bool shortLeq = false;
    std::string recorderCaption = "Recorder";
};

// Takes the status text line by line (lines end with CR LF): display, auto power-off,
// acquisition, integration, battery, memory, three lines of information, recorder. The parse
// stops at the first line without its CR LF, so a partial text changes only the fields before
// it. `model` is the instrument model text.
void ParseInstrStatus(std::string_view text, std::string_view model, InstrStatusFields& fields);

// Which recorder boxes and labels the model has. Controls go by name: the ids of the six boxes,
// the ids of five labels and "PROF." for the label without an id.
struct RecorderLayout {
    struct Control {
        bool visible = true;
        bool enabled = true;
    };
    std::map<std::string, Control> controls;
    std::string slmCaption;   // the SLM box's caption
    std::string statusLabel;  // the text of label 1603
};
RecorderLayout LayoutRecorderArea(std::string_view model);

// The names of the recorder controls and the status label.
namespace recorder {
inline constexpr const char* kSlmBox = "1565";
inline constexpr const char* kProfileBox = "1566";
inline constexpr const char* kOctaveBox = "1567";
inline constexpr const char* kThirdOctaveBox = "1568";
inline constexpr const char* kShortLeqBox = "1634";
inline constexpr const char* kFftBox = "1635";
inline constexpr const char* kSlmLabel = "1598";
inline constexpr const char* kProfileLabel = "PROF.";
inline constexpr const char* kThirdOctaveLabel = "1599";
inline constexpr const char* kOctaveLabel = "1600";
inline constexpr const char* kFftLabel = "1601";
inline constexpr const char* kShortLeqLabel = "1602";
inline constexpr const char* kStatusLabel = "1603";
}  // namespace recorder
