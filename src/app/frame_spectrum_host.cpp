#include "app/frame_spectrum_host.h"

#include <algorithm>
#include <climits>

#include "acquisition/recording.h"
#include "link/meter_mode.h"
#include "records/record_layout.h"

namespace {

// The loaded page's records, when they are spectra of the mode's kind.
std::optional<acquisition::DataBufferView> Spectra(const acquisition::Recording& recording,
                                                   const MeterMode& mode,
                                                   const std::vector<unsigned char>& buffer) {
    const std::optional<records::RecordKind> kind = recording.Layout().Kind();
    if (kind != mode.ChannelMode() || !kind || !kind->IsSpectrum())
        return std::nullopt;
    return recording.View({buffer.data(), std::min(buffer.size(), records::kDataBufferSize)});
}

}  // namespace

int FrameSpectrumHost::LoadedSpectra() const {
    const auto spectra = Spectra(m_recording, m_mode, m_dataBuffer);
    return spectra ? static_cast<int>(std::min<long long>(spectra->SampleCount(), INT_MAX)) : 0;
}

std::optional<charts::StoredSpectrum> FrameSpectrumHost::LoadedSpectrum(int index) const {
    const auto spectra = Spectra(m_recording, m_mode, m_dataBuffer);
    if (!spectra)
        return std::nullopt;
    const auto seconds = spectra->TimeSeconds(index);
    if (!seconds)
        return std::nullopt;
    return charts::StoredSpectrum{spectra->Values(index), *seconds};
}
