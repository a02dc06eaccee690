#include "charts/equal_loudness.h"

#include <charconv>
#include <cmath>

namespace charts {

namespace {

constexpr int kFirstContourLevel = 1;  // the spectrum level of contour band 0 (20 Hz)

// The level of one report line in tenths; nothing when the line holds no number.
std::optional<int> LineLevel(std::string_view line) {
    const size_t tab = line.rfind('\t');
    std::string_view field = tab == std::string_view::npos ? line : line.substr(tab + 1);
    while (!field.empty() && (field.front() == ' ' || field.front() == '\t'))
        field.remove_prefix(1);
    while (!field.empty() && (field.back() == ' ' || field.back() == '\r' || field.back() == '\n'))
        field.remove_suffix(1);
    double value = 0;
    const auto [end, error] =
        std::from_chars(field.data(), field.data() + field.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != field.data() + field.size() || !std::isfinite(value) ||
        std::fabs(value) > 10000.0)
        return std::nullopt;
    return static_cast<int>(std::lround(value * 10.0));
}

}  // namespace

SpectrumLevels LevelsFromRecord(std::span<const uint16_t> words) {
    SpectrumLevels levels;
    levels.fill(kMissingLevel);
    for (size_t n = 0; n < levels.size() && n < words.size(); ++n)
        levels[n] = static_cast<int16_t>(words[n]);
    return levels;
}

SpectrumLevels LevelsFromText(std::string_view text) {
    SpectrumLevels levels;
    levels.fill(kMissingLevel);
    for (int& level : levels) {
        if (text.empty())
            break;
        const size_t end = text.find("\r\n");
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 2);
        level = LineLevel(line).value_or(kMissingLevel);
    }
    return levels;
}

std::optional<std::array<int, kContourBands>> ComputeContour(
    LoudnessEdition edition, bool halfBandShift, std::span<const int, kContourBands> levels,
    int band) {
    const ContourTable* table = ContourTableOf(edition);
    const ThresholdRow* threshold = ThresholdRowOf(edition, halfBandShift);
    if (!table || !threshold || band < 1 || band > kContourBands)
        return std::nullopt;
    const ContourTable& V = *table;
    const int j = band - 1;
    const int level = levels[j];

    // The number of contours at or below the level at the chosen band.
    int k = 0;
    while (k < kContourCount && V[j][k] <= level)
        ++k;

    std::array<int, kContourBands> result;
    if (k == 0)  // below the 0-phon contour: the threshold row, the chosen band's too
        return *threshold;
    if (k == kContourCount) {
        for (int n = 0; n < kContourBands; ++n)
            result[n] = V[n][kContourCount - 1];
    } else {
        // Down from contour k in eighths of the gap to contour k - 1, then back up in
        // sixty-fourths, and every band takes the same share of its own gap (plus half a
        // sixty-fourth, so that the steps round instead of truncating).
        auto gap = [&](int n) { return V[n][k] - V[n][k - 1]; };
        const int top = V[j][k];
        const int d = gap(j);
        int i = 1;
        while (i < 9 && level < top - ((i * d) >> 3))
            ++i;
        int m = 1;
        while (m <= 8 && top - ((i * d) >> 3) + ((m * d) >> 6) <= level)
            ++m;
        for (int n = 0; n < kContourBands; ++n) {
            const int dn = gap(n);
            result[n] = V[n][k] - ((i * dn) >> 3) + (((m - 1) * dn) >> 6) + (dn >> 7);
        }
    }
    result[j] = level;
    return result;
}

void IsophoneContour::SelectBand(int band) {
    m_band = band >= 1 && band <= kContourBands ? band : 0;
}

bool IsophoneContour::Compute(LoudnessEdition edition, bool halfBandShift,
                              const SpectrumLevels& spectrum) {
    if (!ContourTableOf(edition)) {
        m_contour.reset();
        return false;
    }
    if (m_band == 0)
        return false;
    const std::span<const int, kContourBands> bands(spectrum.data() + kFirstContourLevel,
                                                    kContourBands);
    const auto contour = ComputeContour(edition, halfBandShift, bands, m_band);
    if (!contour)
        return false;
    m_contour = contour;
    m_wholeDb = halfBandShift;
    return true;
}

std::optional<double> IsophoneContour::LevelDb(int contourBand) const {
    if (!m_contour || contourBand < 0 || contourBand >= kContourBands)
        return std::nullopt;
    const int tenths = (*m_contour)[contourBand];
    // The half-band-shifted contour is shown in whole dB, cut toward zero.
    return m_wholeDb ? static_cast<double>(tenths / 10) : tenths / 10.0;
}

}  // namespace charts
