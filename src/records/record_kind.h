#pragma once
// The kinds of recording a meter makes, one row of traits per kind: what a record holds and
// how it is laid out, what the kind is called, where its sampling interval comes from, its
// band set (labelled in band_labels), the baud rates its live records need, and its shape, which
// decides how the program reads its live records and which data-list rows, graphs and charts show
// it. Everything that differs between kinds asks its row. The meter's number of a kind (the channel
// mode) and the word that names it in a page file are mapped to a kind here and nowhere else.

#include <optional>
#include <span>
#include <string_view>

#include "records/band_labels.h"

namespace records {

// What a record holds, which decides its live text, its data-list rows and its displays.
enum class RecordShape {
    Levels,    // one sample of the channels' levels: a level graph with its legend
    Profile,   // samples of one level, several a record at the short profile times: a graph
    Spectrum,  // band levels, the overall level last: band charts, navigator and 3-D window
};

// Where the sampling interval comes from: half a second, or the setup's profile or spectrum
// time ("0.125s", "1s", "2m", ...).
enum class IntervalSource { HalfSecond, ProfileTime, SpectrumTime };

// The live records of a kind need at least `baud` at this spectrum time; `name` is how the
// refusal names the kind when it differs from the kind's own name.
struct MonitoringRate {
    std::string_view spectrumTime;
    int baud = 0;
    std::string_view name;
};

struct RecordKindTraits {
    int channelMode = 0;          // the meter's number of the kind
    std::string_view name;        // "SLM", "PROFILE", "OCTAVE", "THIRD OCTAVE"
    std::string_view modeWord;    // what names it in a page file's acquisition mode field
    std::string_view recordWord;  // the argument of the scheduler's record-file start
    RecordShape shape = RecordShape::Levels;
    int valuesPerSample = 0;
    bool samplesByProfileStep = false;  // 4, 2 or 1 samples a record by the profile time
    IntervalSource interval = IntervalSource::HalfSecond;
    BandSet bands = BandSet::None;  // their labels: BandLabel(bands, ...)
    std::span<const MonitoringRate> monitoringRates;
    // The meter sends its first record again; once a run is going it is dropped.
    bool repeatsFirstRecord = false;
};

class RecordKind {
public:
    // Every kind, in the order of the meter's numbers.
    static std::span<const RecordKind> All();
    // The kind of the meter's number; nothing for -1 or a number no kind has.
    static std::optional<RecordKind> OfChannelMode(int mode);
    // The kind a page file's acquisition mode field names: the last kind whose word the text
    // holds ("THIRD OCTAVE" holds "OCTAVE" too), the sound level meter's when it holds none.
    static RecordKind OfModeText(std::string_view text);

    const RecordKindTraits& Traits() const;
    const RecordKindTraits* operator->() const { return &Traits(); }
    int ChannelMode() const { return Traits().channelMode; }
    bool IsSpectrum() const { return Traits().shape == RecordShape::Spectrum; }

    bool operator==(const RecordKind&) const = default;

private:
    constexpr explicit RecordKind(int row) : m_row(row) {}

    int m_row = 0;
};

// The setup text that gives a kind's sampling interval, with its unit letter; nothing for a
// fixed half second.
std::optional<std::string_view> IntervalSetting(RecordKind kind, std::string_view profileTime,
                                                std::string_view spectrumTime);
// The sampling interval in seconds: 0.5, or the leading number of the interval's setting.
double IntervalSeconds(RecordKind kind, std::string_view profileTime,
                       std::string_view spectrumTime);

}  // namespace records
