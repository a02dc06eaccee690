// The frame's part in the charts: the equal-loudness contour of a spectrum and the graph
// legend.
#include <span>

#include "acquisition/data_buffer.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"

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
    const std::vector<uint16_t> words =
        acquisition::DataBufferView(loaded, acquisition::RecordLayout(acquisition::kThirdOctave))
            .Values(record);
    // A record the loaded page does not hold whole has no spectrum to go through.
    if (static_cast<int>(words.size()) < charts::kSpectrumLevels)
        return;
    m_Isophone.Compute(ViewEdition(), HalfBandShift(), charts::LevelsFromRecord(words));
}

void CMainFrame::ComputeIsophoneForLevels(const std::string& text) {
    m_Isophone.Compute(ViewEdition(), HalfBandShift(), charts::LevelsFromText(text));
}

void CMainFrame::ShowGraphLegend() {
    if (m_GraphLegendDlg.HasWindow())
        m_GraphLegendDlg.ShowWindow(true);
}
