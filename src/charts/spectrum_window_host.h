#pragma once
// What the "Spectrum" window needs of the application: the spectra of the loaded recording.
// The acquisition's kind and state it reads from the meter mode, the schedule's report
// intervals from the recording's timebase.

#include <cstdint>
#include <optional>
#include <vector>

#include "records/record_kind.h"

namespace charts {

// One stored spectrum: its band levels (tenths of dB, the overall level last) and the time
// of day of its record in seconds.
struct StoredSpectrum {
    std::vector<std::uint16_t> bands;
    int timeSeconds = 0;
};

class SpectrumWindowHost {
public:
    virtual ~SpectrumWindowHost() = default;

    // The number of spectra of the loaded record.
    virtual int LoadedSpectra() const = 0;
    // Spectrum `index` of the loaded record, of the frame's kind; nothing for one
    // the data buffer does not hold.
    virtual std::optional<StoredSpectrum> LoadedSpectrum(int index) const = 0;
};

}  // namespace charts
