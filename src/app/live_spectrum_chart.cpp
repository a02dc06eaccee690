#include "app/live_spectrum_chart.h"

#include "charts/demo_dlg.h"

bool LiveSpectrumChart::HasWindow() const {
    return m_window.HasWindow();
}

void LiveSpectrumChart::Hide() {
    m_window.ShowWindow(false);
}

void LiveSpectrumChart::AddRow(std::span<const std::uint16_t> bands) {
    m_window.AddSpectrumRow(bands);
}

void LiveSpectrumChart::ClearRows() {
    m_window.ClearRows();
}
