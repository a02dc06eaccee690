#pragma once
// The "Spectrum" page: how the meter computes its octave and third-octave spectra (type, mean,
// mean weighting, time step, auxiliary weighting), the band of its FFT analysis on the models
// that have one, and the meter's half-band shift, shown but not edited. An "AVERAGE" spectrum
// has a single step (0.5 s) and a linear mean; a linear mean has no weighting.

#include "setup/setup_page.h"

namespace setup {

namespace spectrum_ids {
constexpr int kType = 1575;
constexpr int kAuxWeighting = 1574;
constexpr int kStep = 1572;
constexpr int kMean = 1576;
constexpr int kMeanWeight = 1577;
constexpr int kMeanWeightLabel = 1607;
constexpr int kBandShift = 1593;  // framed static
constexpr int kFftGroup = 1601;
constexpr int kFftBand = 1712;
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
