#pragma once
// The live "Spectrum" window of the chart windows as the live recorder feeds it.

#include "acquisition/live_spectrum_window.h"

namespace charts {
class CDemoDlg;
}

class LiveSpectrumChart : public acquisition::LiveSpectrumWindow {
public:
    explicit LiveSpectrumChart(charts::CDemoDlg& window) : m_window(window) {}

    bool HasWindow() const override;
    void Hide() override;
    void AddRow(std::span<const std::uint16_t> bands) override;
    void ClearRows() override;

private:
    charts::CDemoDlg& m_window;
};
