#pragma once
// What the "Spectrum" windows need of the application, as the running program has it: the
// spectra of the recording in the data buffer.

#include <vector>

#include "charts/spectrum_window_host.h"

class MeterMode;
namespace acquisition {
class Recording;
}

class FrameSpectrumHost : public charts::SpectrumWindowHost {
public:
    // The loaded page of `recording` lies in `dataBuffer`; its records are spectra when they
    // are of the kind `mode` acquires.
    FrameSpectrumHost(const acquisition::Recording& recording, const MeterMode& mode,
                      const std::vector<unsigned char>& dataBuffer)
        : m_recording(recording), m_mode(mode), m_dataBuffer(dataBuffer) {}

    int LoadedSpectra() const override;
    std::optional<charts::StoredSpectrum> LoadedSpectrum(int index) const override;

private:
    const acquisition::Recording& m_recording;
    const MeterMode& m_mode;
    const std::vector<unsigned char>& m_dataBuffer;
};
