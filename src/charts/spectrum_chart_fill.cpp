#include "charts/spectrum_chart_fill.h"

#include <cmath>

#include "charts/bar_chart.h"
#include "charts/spectrum_bands.h"
#include "platform/text.h"
#include "records/band_labels.h"

namespace charts {

namespace {

constexpr std::uint16_t kStoredMissing = 0xFF9C;
constexpr COLORREF kBandColour = 0xFF0000;
constexpr COLORREF kOverallColour = 0x00FF00;
constexpr int kNarrowScreen = 800;
constexpr int kLevelField = 5;

}  // namespace

float StoredBandLevel(std::uint16_t word) {
    return word == kStoredMissing ? kMissingBandLevel : word / 10.0f;
}

void ScaleValueAxis(CChartWnd& chart) {
    const float range = chart.Maximum() - chart.Minimum();
    const int step = range > 70 ? 20 : range > 35 ? 10 : 5;
    const int divisions = static_cast<int>(range / step);
    // A chart narrower than one step keeps its range.
    chart.SetRange(chart.Minimum(), chart.Minimum() + divisions * step, divisions);
}

void SetBandLayout(CChartWnd& chart, std::optional<records::RecordKind> kind, int screenWidth) {
    const ChartBands* bands = BandsOf(kind);
    if (!bands)
        return;
    chart.SetBarInset(bands->bars.inset);
    chart.SetLabelStep(bands->bars.labelStep);
    chart.SetBarPitch(screenWidth == kNarrowScreen ? bands->bars.narrowPitch : bands->bars.pitch);
}

void AddSpectrumBars(CChartWnd& chart, std::optional<records::RecordKind> kind,
                     std::span<const float> levels, const std::string& auxWeighting) {
    const ChartBands* bands = BandsOf(kind);
    if (!bands)
        return;
    const int count = (*kind)->valuesPerSample;
    const int shown = std::min(count, static_cast<int>(levels.size()));
    for (int b = 0; b < shown; ++b)
        chart.AddItem(records::BandLabel((*kind)->bands, b, records::kNoBandShift, auxWeighting),
                      levels[b], -1, b == count - 1 ? kOverallColour : kBandColour);
}

std::vector<float> LiveSpectrumLevels(std::string_view reply,
                                      std::optional<records::RecordKind> kind) {
    std::vector<float> levels;
    if (!BandsOf(kind))
        return levels;
    const int count = (*kind)->valuesPerSample;
    const int lastBand = count - 2;
    std::string text(reply);
    for (int b = 0; b < count; ++b) {
        const size_t end = text.find("\r\n");
        if (end == std::string::npos)
            continue;
        const size_t start = end >= kLevelField ? end - kLevelField : 0;
        levels.push_back(static_cast<float>(platform::Atof(text.substr(start, end - start))));
        text.erase(0, end + 2);
        if (b == lastBand) {
            const size_t first = text.find_first_not_of(' ');
            text.erase(0, first == std::string::npos ? text.size() : first);
        }
    }
    return levels;
}

std::vector<float> ReportRowLevels(std::string_view text) {
    std::vector<float> levels;
    while (!text.empty()) {
        const size_t end = text.find("\r\n");
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 2);
        const size_t tab = line.rfind('\t');
        const std::string field(line.substr(tab == std::string_view::npos ? 0 : tab + 1));
        char* stop = nullptr;
        const double value = platform::StrToD(field.c_str(), &stop);
        const bool number = stop != field.c_str() && std::isfinite(value);
        levels.push_back(number ? static_cast<float>(value) : kMissingBandLevel);
    }
    return levels;
}

}  // namespace charts
