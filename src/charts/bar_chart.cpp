#include "charts/bar_chart.h"

#include <QFontMetrics>
#include <algorithm>
#include <array>
#include <cmath>

#include "charts/equal_loudness.h"
#include "charts/spectrum_bands.h"
#include "platform/qt_text.h"
#include "platform/text.h"

using platform::Format;

namespace charts {

namespace {

constexpr int kOctaveOverallItem = 11;
constexpr int kThirdOctaveOverallItem = 32;

// The meters of these variants measure neither the lowest nor the highest bands.
constexpr std::array<const char*, 7> kNarrowBandVariants = {
    "QS4060_a", "QS4060_b", "QS4060_c", "QS4060_d", "QS4060_e", "QS4060_f", "QS4060_g"};

bool Contains(const ui::Rect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

int Trunc(double value) {
    return static_cast<int>(value);
}

bool IsUnmeasuredBand(int index, const BarChartContext& context) {
    const bool narrow = std::ranges::any_of(kNarrowBandVariants, [&](const char* variant) {
        return platform::Contains(context.model, variant);
    });
    const ChartBands* bands = BandsOf(context.liveKind);
    return narrow && bands &&
           std::ranges::find(bands->unmeasuredBands, index) != bands->unmeasuredBands.end();
}

// The live kind's bands carry the equal-loudness contour.
bool HasContourBands(const BarChartContext& context) {
    const ChartBands* bands = BandsOf(context.liveKind);
    return bands && bands->equalLoudness;
}

bool ShowsContour(const BarChartContext& context) {
    return HasContourBands(context) && context.edition != 0 && context.contour &&
           context.contour->HasContour();
}

}  // namespace

int CChartWnd::s_nHoverLock = -1;

CChartWnd::CChartWnd() {
    m_font.setFamily("Arial");
    m_font.setPixelSize(14);
    m_font.setWeight(QFont::Light);
}

CChartWnd::~CChartWnd() = default;

BarChartContext CChartWnd::Context() const {
    return m_host ? m_host->BarChart() : BarChartContext{};
}

// --- bars

int CChartWnd::AddItem(const std::string& label, float level, int image, COLORREF colour) {
    m_items.push_back(
        std::make_unique<CChartItemInfo>(CChartItemInfo{label, level, image, colour}));
    const int added = GetItemCount() - 1;
    if (m_nLongestItem < 0 || label.size() > m_items[m_nLongestItem]->label.size())
        m_nLongestItem = added;
    return 1;
}

void CChartWnd::RemoveAllItems() {
    m_items.clear();
    m_nLongestItem = -1;
    // A tip of a bar that is gone would be read for the bars that come.
    if (s_nHoverLock >= 0 && !m_strTip.empty())
        s_nHoverLock = -1;
    m_strTip.clear();
}

const CChartItemInfo* CChartWnd::Item(int index) const {
    return index >= 0 && index < GetItemCount() ? m_items[index].get() : nullptr;
}

std::string CChartWnd::GetItemLabel(int index) const {
    const CChartItemInfo* item = Item(index);
    return item ? item->label : std::string();
}

float CChartWnd::GetItemLevel(int index) const {
    const CChartItemInfo* item = Item(index);
    return item ? item->level : 0.0f;
}

int CChartWnd::GetItemImage(int index) const {
    const CChartItemInfo* item = Item(index);
    return item ? item->image : -1;
}

COLORREF CChartWnd::GetItemColour(int index) const {
    const CChartItemInfo* item = Item(index);
    return item ? item->colour : 0;
}

// --- range and layout

int CChartWnd::SetRange(float minimum, float maximum, int divisions) {
    // The layout divides by the range and the labels by the divisions.
    if (!(maximum > minimum) || divisions < 1)
        return 0;
    m_fMin = minimum;
    m_fMax = maximum;
    m_nDivisions = divisions;
    return 1;
}

int CChartWnd::InitDefault() {
    const int result = SetRange(0.0f, 130.0f, 6);
    EnableToolTips(1);
    RecalcLayout();
    return result;
}

void CChartWnd::EnableToolTips(int on) {
    m_bToolTips = on;
    if (on)
        m_bTipCreated = true;
}

void CChartWnd::SetTextMeasure(std::function<int(const std::string&)> measure) {
    m_measure = std::move(measure);
}

int CChartWnd::RecalcLayout() {
    if (GetItemCount() + 1 < 2)
        return 1;
    const std::string widest = Format("%f", static_cast<double>(m_fMax));
    const int width = m_measure ? m_measure(widest)
                                : QFontMetrics(m_font).horizontalAdvance(platform::ToQt(widest));
    if (width > m_nLeftMargin)
        m_nLeftMargin = width + 10;
    const double range = m_fMax - m_fMin;
    // A window too small for the margins draws no bars rather than bars turned over.
    m_dHorzScale = std::max(0.0, (m_client.right - m_nLabelWidth - m_client.left - 24) / range);
    m_dVertScale = std::max(0.0, (m_client.bottom - m_nBarPitch - m_client.top - 20) / range);
    return 1;
}

// --- the layout

int CChartWnd::BaseLineY() const {
    return m_client.bottom - m_nBarPitch - 8;
}

int CChartWnd::LevelY(double level) const {
    const double above = std::max(level, static_cast<double>(m_fMin)) - m_fMin;
    return BaseLineY() - Trunc(above * m_dVertScale);
}

int CChartWnd::BarHeight(int index) const {
    const double above =
        std::max(static_cast<double>(GetItemLevel(index)), static_cast<double>(m_fMin)) - m_fMin;
    return Trunc(above * (m_nOrientation == kVertical ? m_dVertScale : m_dHorzScale));
}

ui::Rect CChartWnd::BarRect(int index) const {
    const int h = BarHeight(index);
    if (m_nOrientation == kHorizontal)
        return {m_nLabelWidth + 5, m_nTopMargin + index * m_nBarPitch + 4, h + m_nLabelWidth + 4,
                m_nTopMargin + (index + 1) * m_nBarPitch - 4};
    ui::Rect bar{index * m_nBarPitch + m_nLeftMargin + 4 + m_nBarInset, BaseLineY() - h,
                 (index + 1) * m_nBarPitch + m_nLeftMargin + 4, BaseLineY()};
    if (bar.Width() < 1)
        bar.right = bar.left + 2;
    return bar;
}

ui::Rect CChartWnd::BarHitRect(int index) const {
    const int h = BarHeight(index);
    return {index * m_nBarPitch + m_nLeftMargin + 10, BaseLineY() - h,
            (index + 1) * m_nBarPitch + m_nLeftMargin + 4, BaseLineY()};
}

ui::Rect CChartWnd::LabelCell(int index) const {
    return {4, m_nTopMargin + index * m_nBarPitch, m_nLabelWidth,
            m_nTopMargin + (index + 1) * m_nBarPitch};
}

ui::Rect CChartWnd::BandLabelRect(int index) const {
    return {index * m_nBarPitch + m_nLeftMargin, m_client.bottom - m_nBarPitch - 3,
            (index + 1) * m_nBarPitch + m_nLeftMargin + 14, m_client.bottom - m_nBarPitch + 17};
}

int CChartWnd::GridLinePos(int k) const {
    const double share = static_cast<double>(m_fMax - m_fMin) * k / m_nDivisions;
    if (m_nOrientation == kHorizontal)
        return Trunc(share * m_dHorzScale) + m_nLabelWidth + 4;
    return BaseLineY() - Trunc(share * m_dVertScale);
}

ui::Rect CChartWnd::ValueLabelRect(int k) const {
    const double share = static_cast<double>(m_fMax - m_fMin) * k / m_nDivisions;
    if (m_nOrientation == kHorizontal) {
        const int x = Trunc(share * m_dHorzScale) + m_nLabelWidth + 4;
        return {x - 46, 2, x + 50, 30};
    }
    const int y = m_client.bottom - Trunc(share * m_dVertScale) - m_nBarPitch - 18;
    return {2, y, m_nLeftMargin - 8, y + m_nBarPitch};
}

std::string CChartWnd::ValueLabelText(int k) const {
    const double value = m_fMin + static_cast<double>(m_fMax - m_fMin) * k / m_nDivisions;
    return Format("%d dB", Trunc(value)) + (m_bPercent ? "%" : "");
}

std::optional<ui::Rect> CChartWnd::MarkerRect(int index, double level) const {
    if (level < m_fMin)
        return std::nullopt;
    ui::Rect marker{index * m_nBarPitch + m_nLeftMargin + 4, LevelY(level + 1.0),
                    (index + 1) * m_nBarPitch + m_nLeftMargin + 4, LevelY(level)};
    // On a short chart one dB is less than a pixel: the marker is still seen.
    if (marker.Height() < 2)
        marker.top = marker.bottom - 2;
    return marker;
}

// --- what the program's state makes of a bar

COLORREF CChartWnd::BarColour(int index, const BarChartContext& context) const {
    if (IsUnmeasuredBand(index, context))
        return kUnmeasuredBand;
    if (HasContourBands(context) && context.edition != 0 && context.contour &&
        context.contour->SelectedBand() == index)
        return kChosenBand;
    if (context.selectedRecordInGraphLabel)
        return kRed;
    return GetItemColour(index);
}

bool CChartWnd::ShowsBandLabel(int index, const BarChartContext& context) const {
    if (m_nLabelStep <= 0 || index % m_nLabelStep != 0)
        return false;
    if (context.spectrumKind == "OCTAVE" && index == kOctaveOverallItem)
        return false;
    return !(context.spectrumKind == "TOCTAVE" && index == kThirdOctaveOverallItem);
}

std::optional<double> CChartWnd::MarkerLevel(int index, const BarChartContext& context) const {
    if (!ShowsContour(context) || index < 1 || index > kContourBands)
        return std::nullopt;
    return context.contour->LevelDb(index - 1);
}

std::string CChartWnd::TooltipText(int index, const BarChartContext& context) const {
    const int n = GetItemCount();
    const std::string label = GetItemLabel(index);
    const double level = GetItemLevel(index);
    const double below = index - 1 >= 0 ? level - GetItemLevel(index - 1) : level;
    const double above = level - GetItemLevel(index + 1);
    std::string text;
    if (context.edition == 0) {
        if (index == 0)
            text =
                Format("fc=%sHz Lev=%.1f dB\n\nDelta fc+1 = %.1f dB", label.c_str(), level, above);
        else if (index == n - 2)
            text =
                Format("fc=%sHz Lev=%.1f dB\n\nDelta fc-1 = %.1f dB", label.c_str(), level, below);
        else if (index == n - 1)
            text = Format("%s: Lev=%.1f dB\n", label.c_str(), level);
        else
            text = Format("fc=%sHz Lev=%.1f dB\n\nDelta fc-1 = %.1f dB\nDelta fc+1 = %.1f dB",
                          label.c_str(), level, below, above);
    } else if (const auto contour = MarkerLevel(index, context)) {
        text = Format("fc=%sHz Lev=%.1f dB\n\nIsophone: %.1f dB\n\nDelta: %.1f dB", label.c_str(),
                      level, *contour, level - *contour);
    } else if (index == 0 || index > kContourBands || !HasContourBands(context)) {
        // The contour belongs to the third-octave bands: the bars of an octave chart show
        // their level alone.
        text = Format("fc=%sHz Lev=%.1f dB", label.c_str(), level);
    }
    if (!text.empty() && m_bPercent)
        text += "%";
    return text;
}

// --- the pointer

int CChartWnd::HitTest(int x, int y) const {
    for (int i = -1; i < GetItemCount(); ++i)
        if (Contains(LabelCell(i), x, y))
            return i;
    return -1;
}

bool CChartWnd::OnMouseMove(int x, int y, bool leftButtonHeld) {
    if (m_nOrientation != kVertical || !m_bToolTips || leftButtonHeld) {
        m_nHovered = HitTest(x, y);
        return false;
    }
    // The tip of another chart's bar that this chart does not have.
    if (s_nHoverLock >= GetItemCount())
        s_nHoverLock = -1;
    if (s_nHoverLock == -1) {
        for (int i = 0; i < GetItemCount(); ++i) {
            if (!Contains(BarHitRect(i), x, y))
                continue;
            s_nHoverLock = i;
            m_nHovered = i;
            if (!m_bToolTipTexts)
                return false;
            m_strTip = TooltipText(i, Context());
            return true;
        }
        return false;
    }
    if (Contains(BarHitRect(s_nHoverLock), x, y))
        return false;
    s_nHoverLock = -1;
    m_strTip.clear();
    return true;
}

bool CChartWnd::OnMouseLeave() {
    if (m_strTip.empty())
        return false;
    s_nHoverLock = -1;
    m_strTip.clear();
    return true;
}

void CChartWnd::OnLButtonDown(int x, int y) {
    Invalidate();
    const ui::Rect cells{4, m_nBarPitch, m_nLabelWidth,
                         (GetItemCount() + 1) * m_nBarPitch + m_nTopMargin};
    if (m_nHovered >= 0 && Contains(cells, x, y)) {
        m_nSelected = m_nHovered;
        Invalidate();
    }
    const BarChartContext context = Context();
    if (!HasContourBands(context) || context.edition == 0 || !m_host)
        return;
    for (int band = 1; band <= kContourBands && band < GetItemCount(); ++band) {
        if (Contains(BarHitRect(band), x, y)) {
            m_host->OnIsophoneBandChosen(band);
            Invalidate();
            return;
        }
    }
}

void CChartWnd::Invalidate() const {
    if (m_onRedraw)
        m_onRedraw();
}

}  // namespace charts
