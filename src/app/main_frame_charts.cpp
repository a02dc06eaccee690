// The frame's part in the charts: the equal-loudness contour of a spectrum, the graph legend
// and the "Spectrum" windows.
#include <cmath>
#include <span>

#include "acquisition/data_buffer.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"
#include "charts/spectrum_bands.h"

namespace {

charts::LoudnessEdition ViewEdition() {
    const CKX9MonitorView* view = TheApp().m_pView;
    return static_cast<charts::LoudnessEdition>(view ? view->m_nIsophone : 0);
}

bool HalfBandShift() {
    return TheApp().m_InstrStatus.m_strHalfBandShift == "ON";
}

}  // namespace

void CMainFrame::ComputeIsophoneForBand(int record) {
    const std::vector<unsigned char>& buffer = TheApp().m_DataBuffer;
    const std::span<const unsigned char> loaded(
        buffer.data(), std::min(buffer.size(), CKX9MonitorApp::kDataBufferSize));
    const charts::ChartBands* bands = charts::BandsOf(m_recording.Layout().Kind());
    if (!bands || !bands->equalLoudness)
        return;
    const std::vector<uint16_t> words = m_recording.View(loaded).Values(record);
    // A record the loaded page does not hold whole has no spectrum to go through.
    if (static_cast<int>(words.size()) < charts::kSpectrumLevels)
        return;
    m_Isophone.Compute(ViewEdition(), HalfBandShift(), charts::LevelsFromRecord(words));
}

void CMainFrame::ComputeIsophoneForLevels(const std::string& text) {
    m_Isophone.Compute(ViewEdition(), HalfBandShift(), charts::LevelsFromText(text));
}

void CMainFrame::ComputeIsophoneForLevels(std::span<const float> levels) {
    charts::SpectrumLevels tenths;
    tenths.fill(charts::kMissingLevel);
    for (size_t band = 0; band < std::min(levels.size(), tenths.size()); ++band)
        tenths[band] = static_cast<int>(std::lround(levels[band] * 10));
    m_Isophone.Compute(ViewEdition(), HalfBandShift(), tenths);
}

void CMainFrame::ShowGraphLegend() {
    if (m_GraphLegendDlg.HasWindow())
        m_GraphLegendDlg.ShowWindow(true);
}

void CMainFrame::ShowLoadedSpectra() {
    const bool made = m_DemoDlg.HasWindow();
    m_DemoDlg.Create();
    if (!made)
        m_DemoDlg.ReloadLoadedSpectra();
    m_DemoDlg.ShowWindow(true);
}

void CMainFrame::ReloadLoadedSpectra() {
    if (m_DemoDlg.HasWindow())
        m_DemoDlg.ReloadLoadedSpectra();
}

void CMainFrame::HideDemoWindows() {
    m_LiveDemoDlg.ShowWindow(false);
    m_DemoDlg.ShowWindow(false);
}
