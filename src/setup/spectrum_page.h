#pragma once
// The "Spectrum" page: how the meter computes its octave and third-octave spectra (type, mean,
// mean weighting, time step, auxiliary weighting), the band of its FFT analysis on the models
// that have one, and the meter's half-band shift, shown but not edited. An "AVERAGE" spectrum
// has a single step (0.5 s) and a linear mean; a linear mean has no weighting.

#include "setup/setup_page.h"
#include "setup/value_controls.h"

namespace setup {

namespace spectrum_ids {
constexpr int kType = ControlOf("SPECT_TYPE").id;
constexpr int kAuxWeighting = ControlOf("SPECT_AUX_POND").id;
constexpr int kStep = ControlOf("PROFILE_SPECTRUM_TIME").id;
constexpr int kMean = ControlOf("SPECT_MEAN").id;
constexpr int kMeanWeight = ControlOf("SPECT_MEAN_WEIGHT").id;
constexpr int kMeanWeightLabel = 1607;
constexpr int kBandShift = ControlOf("SPECT_SHIFT").id;  // framed static
constexpr int kFftGroup = 1601;
constexpr int kFftBand = ControlOf("FFT_BAND").id;
constexpr int kFftBandLabel = 1713;
}  // namespace spectrum_ids

class SpectrumPage : public SetupPage {
public:
    explicit SpectrumPage(SetupHost& host);

    void OnInitDialog() override;
    void OnSetActive() override;
    bool OnKillActive() override;

    // The operator picked a spectrum type, or a mean.
    void OnSelChangeMeanType();
    void OnSelChangeMean();

private:
    // "AVERAGE": one step and a linear mean, neither step nor weighting to choose.
    void KeepToAverage();
    // Any other type: every step and mean offered.
    void OfferEveryStepAndMean();
};

}  // namespace setup
