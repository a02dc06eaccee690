#pragma once
// The chart windows on the frame: the graph legend, the 3-D settings window and the two
// "Spectrum" windows (fed by live monitoring and by the loaded data), what they need of the
// program, and the equal-loudness contour that the view's band charts and data list show.

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "app/frame_charts_host.h"
#include "app/frame_spectrum_host.h"
#include "charts/demo_dlg.h"
#include "charts/equal_loudness.h"
#include "charts/graph_legend_dlg.h"
#include "charts/setup_3d_graph_dlg.h"

class CInstrStatus;
class MeterMode;
class ViewLookup;
namespace acquisition {
class Recording;
}

class ChartWindows {
public:
    // What the chart windows use, none of it owned.
    struct Uses {
        // The recording the view shows: the legend follows its selected segment, the contour
        // and the "Spectrum" windows read its loaded page.
        const acquisition::Recording& recording;
        // The acquisition's kind and state.
        const MeterMode& mode;
        // The view whose switches, graphs and 3-D chart the charts read.
        const ViewLookup& views;
        // The meter's current setup: the channels' parameters, the model, the half-band shift.
        const CInstrStatus& setup;
        // The record kind of the loaded data ("OCTAVE", "TOCTAVE", ...).
        const std::string& spectrumKind;
        // Where the loaded page lies.
        const std::vector<unsigned char>& dataBuffer;
        // Loads segment `segment` of the current data file again.
        std::function<void(int segment)> openSegment;
    };

    explicit ChartWindows(const Uses& uses);
    ChartWindows(const ChartWindows&) = delete;
    ChartWindows& operator=(const ChartWindows&) = delete;

    // What the view's band charts need of the program.
    charts::ChartsHost& Host() { return m_host; }

    // The chosen band and the last equal-loudness contour.
    charts::IsophoneContour& Isophone() { return m_isophone; }
    // The contour through the chosen band of spectrum record `record` of the loaded data, or
    // of a report row's level text ("heading\tlevel\r\n" per band), in the view's edition; the
    // half-band shift of the current setup picks the shifted thresholds.
    void ComputeIsophoneForBand(int record);
    void ComputeIsophoneForLevels(const std::string& text);
    // The same of a live spectrum's levels in dB.
    void ComputeIsophoneForLevels(std::span<const float> levels);

    charts::CGraphLegendDlg& Legend() { return m_legend; }
    // Shows the graph legend again when it was created.
    void ShowLegend();
    charts::CSetup3DGraphDlg& Setup3D() { return m_setup3D; }

    charts::CDemoDlg& LiveSpectra() { return m_liveSpectra; }
    charts::CDemoDlg& LoadedSpectra() { return m_loadedSpectra; }
    // The "Spectrum" window of the loaded data: made on first use, given every spectrum of
    // the loaded page and shown (command ID_VIEW_3DGRAPH).
    void ShowLoadedSpectra();
    // A spectrum page was loaded: the window of the loaded data, when there is one, shows it.
    void ReloadLoadedSpectra();
    void HideSpectrumWindows();

private:
    // The contour through `levels` in the view's edition, under the setup's half-band shift.
    void ComputeIsophone(const charts::SpectrumLevels& levels);

    Uses m_uses;
    charts::IsophoneContour m_isophone;
    // Before the windows that use it.
    FrameChartsHost m_host;
    charts::CGraphLegendDlg m_legend;
    charts::CSetup3DGraphDlg m_setup3D;
    FrameSpectrumHost m_spectrumHost;
    // The live window replays into the loaded data's.
    charts::CDemoDlg m_loadedSpectra;
    charts::CDemoDlg m_liveSpectra;
};
