#include "charts/demo_dlg.h"

#include <algorithm>

#include "charts/spectrum_bands.h"
#include "link/meter_mode.h"
#include "platform/operator.h"
#include "platform/text.h"
#include "ui/hooked_dialog.h"

namespace charts {

namespace {

constexpr int kAuto = 0;
constexpr int kTopLevel = 160;
constexpr int kBottomLevel = -10;
constexpr int kDefaultXMax = 11;
constexpr int kDefaultYMax = 130;
constexpr short kElementLine = 2;

// The amplitude boxes' entry k >= 1 stands for (k - 1) x 10 dB.
int AmplitudeOf(int entry) {
    return (entry - 1) * 10;
}

}  // namespace

std::optional<COLORREF> LevelColour(int level, int yMin, int yMax) {
    const int step = (yMax - yMin) / 13;
    const int last = static_cast<int>(kLevelColours.size()) - 1;
    for (int k = 0; k < last; ++k)
        if (yMin + k * step <= level && level < yMin + (k + 1) * step)
            return kLevelColours[k];
    if (level >= yMin + last * step)
        return kLevelColours[last];
    return std::nullopt;
}

int PlottedLevel(std::uint16_t word) {
    const int level = word / 10;
    return level > kTopLevel || level < kBottomLevel ? 0 : level;
}

CDemoDlg::CDemoDlg(SpectrumWindowHost& host, const MeterMode& mode,
                   const acquisition::Recording& recording, CDemoDlg* loadedDataWindow)
    : m_host(host), m_loadedDataWindow(loadedDataWindow), m_mode(mode), m_recording(recording) {}

CDemoDlg::~CDemoDlg() {
    DestroyWindow();
}

void CDemoDlg::OnDestroy() {
    m_graph.SetChangedHandler(nullptr);
    m_graphWindow = nullptr;
}

void CDemoDlg::OnInitDialog() {
    const std::optional<records::RecordKind> kind = m_mode.ChannelMode();
    m_bAutoRange = 1;
    m_nXMin = 0;
    m_nXMax = kDefaultXMax;
    m_nYMin = 0;
    m_nYMax = kDefaultYMax;
    m_nZMin = 0;
    m_nZMax = m_host.LoadedSpectra();

    m_graph.SetCaption("");
    m_graph.SetViewStyle(CGraph3D::kHiddenLines);
    m_graph.SetShowGrid(1);
    m_graph.SetBackColor(0);
    m_graph.SetXCaption("Freq");
    m_graph.SetYCaption("Ampl");
    m_graph.SetZCaption("Time");
    const ChartBands& axis = WindowBandsOf(kind);
    m_graph.SetXTicks(axis.xTicks);
    m_graph.SetBandScale(axis.bandScale);
    m_graph.SetZTicks(5);
    m_graph.SetYTicks(5);

    // At opening each text names its interval's upper limit in steps of 10 dB; "Apply" writes
    // the lower limits of the scale it sets.
    for (int k = 0; k < kLegendEntries; ++k)
        m_legend[IDC_LEGEND_BOTTOM - IDC_LEGEND_TOP - k] = std::to_string(m_nYMin + 10 * (k + 1));
    for (RangeBox* box : {&m_amplMax, &m_amplMin}) {
        box->entries = {"AUTO"};
        for (int entry = 1; entry < kAmplitudeEntries; ++entry)
            box->entries.push_back(std::to_string(AmplitudeOf(entry)));
        box->selection = 0;
    }
    const auto bands = BandPositions(kind);
    for (RangeBox* box : {&m_freqMax, &m_freqMin}) {
        box->entries.assign(bands.begin(), bands.end());
        box->selection = box->entries.empty() ? -1 : 0;
    }
    m_strTimeMax = std::to_string(m_nZMax);
    m_strTimeMin = std::to_string(m_nZMin);
    m_bControlsEnabled = !m_mode.IsLive();
    Sync();
}

const CDemoDlg::RangeBox& CDemoDlg::Box(int id) const {
    return const_cast<CDemoDlg*>(this)->MutableBox(id);
}

CDemoDlg::RangeBox& CDemoDlg::MutableBox(int id) {
    switch (id) {
        case IDC_FREQ_MAX:
            return m_freqMax;
        case IDC_FREQ_MIN:
            return m_freqMin;
        case IDC_AMPL_MAX:
            return m_amplMax;
        default:
            return m_amplMin;
    }
}

const std::string& CDemoDlg::LegendText(int id) const {
    static const std::string none;
    const int index = id - IDC_LEGEND_TOP;
    return index >= 0 && index < kLegendEntries ? m_legend[index] : none;
}

void CDemoDlg::SetAllBoxesAuto() {
    for (RangeBox* box : {&m_freqMax, &m_freqMin, &m_amplMax, &m_amplMin})
        if (!box->entries.empty())
            box->selection = kAuto;
}

void CDemoDlg::OnRangeSelChange(int id, int selection) {
    MutableBox(id).selection = selection;
    if (selection == kAuto) {
        SetAllBoxesAuto();
        m_bAutoRange = 1;
    }
    Sync();
}

void CDemoDlg::OnApply() {
    if (m_recording.SelectedSegment() == -1 &&
        platform::AfxMessageBox("WARNING:\nChanging graph setting will clear current "
                                "graph.\nDo you want to proceed?",
                                MB_YESNO | MB_ICONEXCLAMATION) == IDNO)
        return;
    ApplyGraphSettings();
}

void CDemoDlg::ApplyGraphSettings() {
    int xMin = m_freqMin.selection;
    int xMax = m_freqMax.selection;
    int yMax = AmplitudeOf(m_amplMax.selection);
    int yMin = AmplitudeOf(m_amplMin.selection);
    int zMax = m_nZMax;
    int zMin = m_nZMin;
    const bool automatic = xMin == kAuto || xMax == kAuto || m_amplMax.selection == kAuto ||
                           m_amplMin.selection == kAuto;
    if (automatic) {
        SetAllBoxesAuto();
    } else {
        if (xMax <= xMin) {
            platform::AfxMessageBox("ERROR: X axis Min value  >  X axis  Max Value", MB_ICONSTOP);
            return;
        }
        if (yMax <= yMin) {
            platform::AfxMessageBox("ERROR: Y axis Min value  > Y axis Max Value", MB_ICONSTOP);
            return;
        }
        zMax = platform::Atoi(m_strTimeMax);
        zMin = platform::Atoi(m_strTimeMin);
        if (zMax <= zMin) {
            platform::AfxMessageBox("ERROR: Z axis Min value  > Z axis Max Value", MB_ICONSTOP);
            return;
        }
    }

    m_bAutoRange = automatic ? 1 : 0;
    ClearRows();
    if (automatic) {
        xMin = 0;
        xMax = kDefaultXMax;
        yMin = 0;
        yMax = kDefaultYMax;
        zMin = 0;
        zMax = m_host.LoadedSpectra();
    }
    m_nXMin = xMin;
    m_nXMax = xMax;
    m_nYMin = yMin;
    m_nYMax = yMax;
    m_nZMin = zMin;
    m_nZMax = zMax;
    SetLegend();
    Replay();
    Sync();
}

// The loaded record's spectra Z min .. Z max - 1 into the frame's window of loaded data. The
// range never goes past the spectra the data buffer holds.
void CDemoDlg::Replay() {
    if (!BandsOf(m_mode.ChannelMode()))
        return;
    CDemoDlg& target = m_loadedDataWindow ? *m_loadedDataWindow : *this;
    // The live window's replay goes to the other window, which must not keep its old rows.
    if (&target != this)
        target.ClearRows();
    m_nZMax = std::min(m_nZMax, m_host.LoadedSpectra());
    target.AddLoadedSpectra(std::max(m_nZMin, 0), m_nZMax, true);
}

void CDemoDlg::ReloadLoadedSpectra() {
    ClearRows();
    AddLoadedSpectra(0, m_host.LoadedSpectra(), !m_mode.IsLive());
}

// Spectra first .. last - 1 of the loaded record, and ten gap rows after each from the fourth
// on that starts a scheduled acquisition's report interval.
void CDemoDlg::AddLoadedSpectra(int first, int last, bool gaps) {
    const std::optional<records::RecordKind> kind = m_mode.ChannelMode();
    if (!BandsOf(kind))
        return;
    const int count = (*kind)->valuesPerSample;
    const std::vector<std::uint16_t> gap(count, 0);
    for (int i = std::max(first, 0); i < last; ++i) {
        const std::optional<StoredSpectrum> spectrum = m_host.LoadedSpectrum(i);
        if (!spectrum)
            break;
        AddSpectrum(spectrum->bands, count);
        if (gaps && i > 2 && m_recording.Time().IsReportIntervalIndex(spectrum->timeSeconds))
            for (int k = 0; k < kSeparatorRows; ++k)
                AddSpectrum(gap, count);
    }
}

void CDemoDlg::SetLegend() {
    const int step = (m_nYMax - m_nYMin) / 13;
    for (int k = 0; k < kLegendEntries; ++k)
        m_legend[IDC_LEGEND_BOTTOM - IDC_LEGEND_TOP - k] = std::to_string(m_nYMin + k * step);
}

void CDemoDlg::AddOctaveSpectrum(std::span<const std::uint16_t> bands) {
    AddSpectrum(bands, kOctaveBands);
}

void CDemoDlg::AddThirdOctaveSpectrum(std::span<const std::uint16_t> bands) {
    AddSpectrum(bands, kThirdOctaveBands);
}

void CDemoDlg::AddSpectrumRow(std::span<const std::uint16_t> bands) {
    AddSpectrum(bands, static_cast<int>(bands.size()));
}

void CDemoDlg::AddSpectrum(std::span<const std::uint16_t> bands, int count) {
    const int n = std::min(count, static_cast<int>(bands.size()));
    for (int b = 1; b <= n; ++b) {
        const int level = PlottedLevel(bands[b - 1]);
        m_graph.BeginPoint();
        m_graph.SetElementType(m_nRow, kElementLine);
        if (const auto colour = LevelColour(level, m_nYMin, m_nYMax)) {
            m_graph.SetElementLineColor(m_nRow, *colour);
            m_graph.SetElementPointColor(m_nRow, *colour);
        }
        m_graph.SetElementLineWidth(m_nRow, kRowWidth);
        m_graph.PlotXYZ(b, level, m_nRow, m_nRow);
    }
    ++m_nRow;
    if (m_bAutoRange)
        m_graph.AutoRange();
    else
        m_graph.SetRange(m_nXMin, m_nXMax, m_nYMin, m_nYMax, 0, m_nZMax - m_nZMin);
}

void CDemoDlg::ClearRows() {
    m_nRow = 0;
    m_nHighlightedRow = -1;
    m_graph.ClearGraph();
}

void CDemoDlg::HighlightRow(int row) {
    if (m_nHighlightedRow != -1) {
        m_graph.SetElementLineColor(m_nHighlightedRow, m_lSavedColour);
        m_graph.SetElementPointColor(m_nHighlightedRow, m_lSavedColour);
        m_graph.SetElementLineWidth(m_nHighlightedRow, kRowWidth);
        m_nHighlightedRow = -1;
    }
    if (row < 0)
        return;
    m_lSavedColour = m_graph.GetElementLineColor(row);
    m_graph.SetElementLineColor(row, kHighlightColour);
    m_graph.SetElementPointColor(row, kHighlightColour);
    m_graph.SetElementLineWidth(row, kHighlightWidth);
    m_nHighlightedRow = row;
}

}  // namespace charts
