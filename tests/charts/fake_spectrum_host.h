#pragma once
// A stand-in for the application behind the "Spectrum" window: a loaded record of synthetic
// spectra, the meter mode (octave spectra unless the test says otherwise) and the recording
// whose timebase the test may set; every spectrum asked for is recorded.

#include <map>
#include <vector>

#include "acquisition/recording.h"
#include "charts/demo_dlg.h"
#include "charts/spectrum_window_host.h"
#include "link/link_reply_state.h"
#include "link/meter_mode.h"
#include "support/record_kinds.h"

namespace chartstest {

class FakeSpectrumHost : public charts::SpectrumWindowHost {
public:
    FakeSpectrumHost() {
        mode.ChooseChannel(testkinds::kOctave);
        recording.SelectSegment(0);
    }
    int LoadedSpectra() const override { return static_cast<int>(spectra.size()); }
    std::optional<charts::StoredSpectrum> LoadedSpectrum(int index) const override {
        asked.push_back(index);
        if (index < 0 || index >= static_cast<int>(spectra.size()))
            return std::nullopt;
        return spectra[static_cast<std::size_t>(index)];
    }

    // `count` spectra of `bands` bands; spectrum i has band b at (40 + i + 3b) dB and the
    // time of day i seconds.
    void MakeSpectra(int count, int bands) {
        spectra.clear();
        for (int i = 0; i < count; ++i) {
            charts::StoredSpectrum s;
            for (int b = 0; b < bands; ++b)
                s.bands.push_back(static_cast<std::uint16_t>((40 + i + 3 * b) * 10 + 4));
            s.timeSeconds = i;
            spectra.push_back(s);
        }
    }

    LinkReplyState listeners;
    MeterMode mode{listeners};
    acquisition::Recording recording;
    std::vector<charts::StoredSpectrum> spectra;
    mutable std::vector<int> asked;
};

}  // namespace chartstest
