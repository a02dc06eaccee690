#pragma once
// The "Spectrum" window: a sequence of octave or third-octave spectra as a 3-D waterfall (band
// across, level up, spectrum number into the depth), each level in one of 13 colours by its
// place in the amplitude range, with the colour legend beside it and the range boxes under
// it. The main frame keeps two: one fed by live monitoring and one by the loaded data.
//
// The object keeps the graph, the ranges and the boxes; its window, while there is one, shows
// them. The acquisition's kind and whether it runs are the link's meter mode.

#include <QDialog>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "acquisition/recording.h"
#include "charts/graph_3d.h"
#include "charts/spectrum_window_host.h"
#include "platform/win_types.h"
#include "ui/modeless_window.h"

class MeterMode;

namespace charts {

class Graph3DWindow;

// The 13 colours of the level scale, from the lowest interval up (Windows colour values).
inline constexpr std::array<COLORREF, 13> kLevelColours = {
    0xFF0000, 0xFF5500, 0xFF9600, 0xFFFF00, 0x005500, 0x009600, 0x00FF00,
    0x00FF55, 0x00FF96, 0x000096, 0x0096FF, 0x00FFFF, 0x0000FF};

// The colour of a level of whole dB in the range yMin..yMax: the first of 13 intervals of
// (yMax - yMin) / 13 dB that holds it, the last one open upwards; nothing below yMin.
std::optional<COLORREF> LevelColour(int level, int yMin, int yMax);
// The plotted level of a band word: whole dB (tenths cut), 0 outside -10..160 dB.
int PlottedLevel(std::uint16_t word);

class CDemoDlg : public ui::ModelessWindow {
public:
    static constexpr int IDD = 379;
    static constexpr int IDC_GRAPH = 1000;
    static constexpr int IDC_AMPL_MAX = 1677;
    static constexpr int IDC_AMPL_MIN = 1678;
    static constexpr int IDC_FREQ_MAX = 1679;
    static constexpr int IDC_FREQ_MIN = 1680;
    static constexpr int IDC_TIME_MAX = 1681;
    static constexpr int IDC_TIME_MIN = 1682;
    static constexpr int IDC_APPLY = 1674;
    // The legend's texts, top to bottom.
    static constexpr int IDC_LEGEND_TOP = 1688;
    static constexpr int IDC_LEGEND_BOTTOM = 1700;
    static constexpr int kLegendEntries = 13;
    static constexpr int kOctaveBands = 12;  // the overall level included
    static constexpr int kThirdOctaveBands = 33;
    static constexpr int kAmplitudeEntries = 15;  // "AUTO", "0" .. "130"
    static constexpr int kSeparatorRows = 10;
    static constexpr float kRowWidth = 3.5f;
    static constexpr COLORREF kHighlightColour = 100;
    static constexpr float kHighlightWidth = 6.0f;

    // A range box: its entries and the chosen one (-1 none).
    struct RangeBox {
        std::vector<std::string> entries;
        int selection = -1;
    };

    // "Apply" asks first while the selected segment of `recording` is the live one (-1); its
    // timebase tells where a report interval starts. A replay of the loaded spectra fills
    // `loadedDataWindow`, the window of the loaded data; nullptr: this window itself.
    CDemoDlg(SpectrumWindowHost& host, const MeterMode& mode,
             const acquisition::Recording& recording, CDemoDlg* loadedDataWindow = nullptr);
    ~CDemoDlg() override;

    // Default ranges, the graph's axes for the acquisition mode, the legend and the boxes.
    void OnInitDialog();
    // A range box's choice (CBN_SELCHANGE): "AUTO" in any box puts all four on "AUTO".
    void OnRangeSelChange(int id, int selection);
    // "Apply": asks first when the live segment is shown, then ApplyGraphSettings.
    void OnApply();
    // Checks the ranges, clears the graph and draws the loaded record again.
    void ApplyGraphSettings();

    // One spectrum as the next row: 12 (octave) or 33 (third octave) band words, tenths of dB.
    void AddOctaveSpectrum(std::span<const std::uint16_t> bands);
    void AddThirdOctaveSpectrum(std::span<const std::uint16_t> bands);
    // One spectrum of any band set, every band given, the overall level last.
    void AddSpectrumRow(std::span<const std::uint16_t> bands);
    // Every spectrum of the loaded record afresh, with the gaps where a scheduled
    // acquisition starts unless the meter is acquiring.
    void ReloadLoadedSpectra();
    // No rows: the graph cleared, the next row 0, no row highlighted.
    void ClearRows();
    // The row of the selected record drawn wide in the highlight colour; the row highlighted
    // before gets back its colour and width.
    void HighlightRow(int row);

    CGraph3D& Graph() { return m_graph; }
    const CGraph3D& Graph() const { return m_graph; }
    int Row() const { return m_nRow; }
    int HighlightedRow() const { return m_nHighlightedRow; }
    bool IsAutoRange() const { return m_bAutoRange != 0; }
    int XMin() const { return m_nXMin; }
    int XMax() const { return m_nXMax; }
    int YMin() const { return m_nYMin; }
    int YMax() const { return m_nYMax; }
    int ZMin() const { return m_nZMin; }
    int ZMax() const { return m_nZMax; }
    const RangeBox& Box(int id) const;
    // The legend's text at `id` (1688..1700).
    const std::string& LegendText(int id) const;
    bool ControlsEnabled() const { return m_bControlsEnabled; }

    // The time range edits, as the operator types them.
    std::string m_strTimeMax;
    std::string m_strTimeMin;

private:
    void AddSpectrum(std::span<const std::uint16_t> bands, int count);
    RangeBox& MutableBox(int id);
    void SetAllBoxesAuto();
    void SetLegend();
    void Replay();
    void AddLoadedSpectra(int first, int last, bool gaps);
    void Sync();
    void BuildWindow(QDialog& dialog) override;
    void OnDestroy() override;

    SpectrumWindowHost& m_host;
    CDemoDlg* m_loadedDataWindow;
    const MeterMode& m_mode;
    const acquisition::Recording& m_recording;
    CGraph3D m_graph;
    int m_nRow = 0;
    int m_nXMin = 0;
    int m_nXMax = 11;
    int m_nYMin = 0;
    int m_nYMax = 130;
    int m_nZMin = 0;
    int m_nZMax = 0;
    int m_bAutoRange = 1;
    int m_nHighlightedRow = -1;
    COLORREF m_lSavedColour = 0;
    RangeBox m_freqMax;
    RangeBox m_freqMin;
    RangeBox m_amplMax;
    RangeBox m_amplMin;
    std::array<std::string, kLegendEntries> m_legend;
    bool m_bControlsEnabled = true;
    Graph3DWindow* m_graphWindow = nullptr;
};

}  // namespace charts
