#include "app/chart_windows.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "acquisition/recording.h"
#include "app/kx9monitor_view.h"
#include "app/view_lookup.h"
#include "charts/spectrum_bands.h"
#include "link/instr_status.h"
#include "records/record_layout.h"

ChartWindows::ChartWindows(const Uses& uses)
    : m_uses(uses),
      m_host(FrameChartsHost::Uses{
          .mode = uses.mode,
          .isophone = m_isophone,
          .setup = uses.setup,
          .spectrumKind = uses.spectrumKind,
          .views = uses.views,
          .recording = uses.recording,
          .openSegment = uses.openSegment,
      }),
      m_legend(m_host, uses.recording, uses.setup),
      m_setup3D(m_host, uses.spectrumKind),
      m_spectrumHost(uses.recording, uses.mode, uses.dataBuffer),
      m_loadedSpectra(m_spectrumHost, uses.mode, uses.recording),
      m_liveSpectra(m_spectrumHost, uses.mode, uses.recording, &m_loadedSpectra) {}

void ChartWindows::ComputeIsophone(const charts::SpectrumLevels& levels) {
    const CKX9MonitorView* view = m_uses.views.Current();
    const auto edition = static_cast<charts::LoudnessEdition>(view ? view->m_nIsophone : 0);
    m_isophone.Compute(edition, m_uses.setup.m_strHalfBandShift == "ON", levels);
}

void ChartWindows::ComputeIsophoneForBand(int record) {
    const std::vector<unsigned char>& buffer = m_uses.dataBuffer;
    const std::span<const unsigned char> loaded(buffer.data(),
                                                std::min(buffer.size(), records::kDataBufferSize));
    const charts::ChartBands* bands = charts::BandsOf(m_uses.recording.Layout().Kind());
    if (!bands || !bands->equalLoudness)
        return;
    const std::vector<uint16_t> words = m_uses.recording.View(loaded).Values(record);
    // A record the loaded page does not hold whole has no spectrum to go through.
    if (static_cast<int>(words.size()) < charts::kSpectrumLevels)
        return;
    ComputeIsophone(charts::LevelsFromRecord(words));
}

void ChartWindows::ComputeIsophoneForLevels(const std::string& text) {
    ComputeIsophone(charts::LevelsFromText(text));
}

void ChartWindows::ComputeIsophoneForLevels(std::span<const float> levels) {
    charts::SpectrumLevels tenths;
    tenths.fill(charts::kMissingLevel);
    for (size_t band = 0; band < std::min(levels.size(), tenths.size()); ++band)
        tenths[band] = static_cast<int>(std::lround(levels[band] * 10));
    ComputeIsophone(tenths);
}

void ChartWindows::ShowLegend() {
    if (m_legend.HasWindow())
        m_legend.ShowWindow(true);
}

void ChartWindows::ShowLoadedSpectra() {
    const bool made = m_loadedSpectra.HasWindow();
    m_loadedSpectra.Create();
    if (!made)
        m_loadedSpectra.ReloadLoadedSpectra();
    m_loadedSpectra.ShowWindow(true);
}

void ChartWindows::ReloadLoadedSpectra() {
    if (m_loadedSpectra.HasWindow())
        m_loadedSpectra.ReloadLoadedSpectra();
}

void ChartWindows::HideSpectrumWindows() {
    m_liveSpectra.ShowWindow(false);
    m_loadedSpectra.ShowWindow(false);
}
