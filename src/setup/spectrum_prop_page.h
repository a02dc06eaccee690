#pragma once
// The "Spectrum" page's window: the octave and third-octave lists with the band shift line,
// and the FFT band in its own group.

#include "setup/setup_prop_page.h"

namespace setup {

class SpectrumPage;

class CSpectrrumPropPage : public CSetupPropPage {
public:
    explicit CSpectrrumPropPage(SpectrumPage& model, QWidget* parent = nullptr);
};

}  // namespace setup
