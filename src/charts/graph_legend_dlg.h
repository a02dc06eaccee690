#pragma once
// The floating legend of the level graph of a recording ("Legend"): one line per instrument
// channel with its colour, its parameter and a box that shows or hides its curve. The object
// keeps the boxes and texts; its window, while there is one, shows them.

#include <QDialog>
#include <array>
#include <memory>
#include <string>

#include "acquisition/recording.h"
#include "charts/charts_host.h"
#include "platform/win_types.h"
#include "ui/modeless_window.h"

class CInstrStatus;

namespace charts {

class CGraphLegendDlg : public ui::ModelessWindow {
public:
    static constexpr int IDD = 329;
    // Channel 0 to 4, top to bottom.
    static constexpr std::array<int, kLegendChannels> IDC_LABELS = {1512, 1511, 1510, 1513, 1514};
    static constexpr std::array<int, kLegendChannels> IDC_CHECKS = {1518, 1519, 1520, 1521, 1522};
    static constexpr int IDC_SWATCH_4 = 1713;
    static constexpr int IDC_SWATCH_5 = 1712;
    static constexpr int IDC_TITLE = 1515;

    // The boxes follow the selected segment of `recording` (-1: the last or live one); the
    // lines show the channels' parameters of `setup`, the meter's current setup (setup values
    // SLM1_PAR to SLM5_PAR), and its model tells how many channels there are.
    CGraphLegendDlg(ChartsHost& host, const acquisition::Recording& recording,
                    const CInstrStatus& setup);
    ~CGraphLegendDlg() override;

    // Every box checked; the window is placed at its first showing.
    void OnInitDialog();
    // The window shows up: the channels' parameters, the boxes enabled for a recorded segment,
    // lines 4 and 5 only for a five-channel meter (no "QS4060" in the model).
    void OnShowWindow();
    // The operator ticked or cleared a channel's box: a ticked one loads the selected segment
    // again, a cleared one empties the channel's curve.
    void OnChannelCheck(int channel, bool checked);

    // The read-out of the level graph: the time of the point under the pointer on the title
    // line and each channel's level on its line; RefreshControls shows them.
    void SetTimeLine(const std::string& text) { m_strTitle = text; }
    void SetChannelLine(int channel, const std::string& text);
    void RefreshControls() { Sync(); }
    const std::string& TimeLine() const { return m_strTitle; }

    bool IsChecked(int channel) const;
    const std::string& ChannelLabel(int channel) const;
    bool BoxesEnabled() const { return m_bBoxesEnabled; }
    bool FiveChannels() const { return m_bFiveChannels; }

private:
    ui::HookedDialog::Hooks WindowHooks() override;
    void BuildWindow(QDialog& dialog) override;
    void Sync();
    // The window's size is known once its lines hold their texts: at the first showing its
    // bottom-right corner goes on the report list's, and at every showing it is kept on the
    // screen.
    void Place();

    ChartsHost& m_host;
    const acquisition::Recording& m_recording;
    const CInstrStatus& m_setup;
    std::array<int, kLegendChannels> m_nChecked{};
    std::array<std::string, kLegendChannels> m_strLabels;
    std::string m_strTitle = "Channels";
    bool m_bBoxesEnabled = false;
    bool m_bFiveChannels = false;
    bool m_bPlaced = false;
};

}  // namespace charts
