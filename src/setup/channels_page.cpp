#include "setup/channels_page.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "link/instr_status.h"
#include "link/model_rules.h"
#include "platform/text.h"
#include "setup/channel_lists.h"
#include "setup/combo_search.h"
#include "setup/parameter_value.h"

namespace setup {

using namespace channels_ids;
using namespace channel_lists;

namespace {

constexpr const char* kShiftOn = "ON";
// The parameter "E" is stored with its only weighting, and shown again from that text.
constexpr const char* kEnergy = "E";
constexpr const char* kEnergyStored = "EA:";
constexpr const char* kEnergyParameter = "EA";
constexpr const char* kPeak = "Lpk";

constexpr int kFirstPercentile = 1;
constexpr int kFirstExchangeRate = 3;
constexpr int kFirstThreshold = 0;
constexpr int kFirstCriterion = 60;

std::vector<std::string> Numbers(int first, int last, const char* format) {
    std::vector<std::string> list;
    for (int n = first; n <= last; ++n)
        list.push_back(platform::Format(format, n));
    return list;
}

// The whole text as a decimal integer; a value never read ("") or garbled is none.
std::optional<int> WholeNumber(std::string_view text) {
    int number = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (text.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return number;
}

int IndexOf(const std::vector<std::string>& entries, std::string_view text) {
    const auto it = std::find(entries.begin(), entries.end(), text);
    return it == entries.end() ? -1 : static_cast<int>(it - entries.begin());
}

// The list's prefix search repeated until it meets the text itself, or has been tried once
// per entry: "LE" passes "Leq" and "LeqS" on its way. The last entry found stays chosen.
void SelectParameterText(PageControls& c, int list, std::string_view text) {
    const std::vector<std::string>& entries = c.Entries(list);
    int found = -1;
    for (size_t tries = 0; tries < entries.size(); ++tries) {
        const int next = FindPrefix(entries, text, found);
        if (next < 0)
            break;
        found = next;
        if (entries[static_cast<size_t>(found)] == text)
            break;
    }
    c.Select(list, found);
}

}  // namespace

ChannelsPage::ChannelsPage(SetupHost& host) : SetupPage(host, SetupPageKind::Channels) {}

bool ChannelsPage::IsQS4160() const {
    return model_rules::IsQS4160(Model());
}

bool ChannelsPage::HasFullStatistics() const {
    const std::string& model = Model();
    return platform::Contains(model, "QS4160_L") || platform::Contains(model, "QS4160_H") ||
           platform::Contains(model, "QS4160_I") || model_rules::HasReports(model);
}

// Every meter whose page offers a choice of statistics keeps it, and so do the QS4160 variants
// whose statistics the meter reads and takes.
bool ChannelsPage::StoresStatistics() const {
    return HasFullStatistics() || model_rules::IsQS4160WithReports(Model());
}

const std::string& ChannelsPage::BandShift() const {
    return Current().m_strHalfBandShift;
}

void ChannelsPage::OnInitDialog() {
    PageControls& c = Controls();
    FillTableLists();
    for (int slm = 1; slm <= 5; ++slm)
        c.FillList(kSlmParams[slm - 1], SlmParameters(slm, Model(), BandShift()));

    const bool shifted = BandShift() == kShiftOn;
    for (int id : {kProfileParam, kProfileBand, kProfileTime}) {
        c.ClearList(id);
        c.Enable(id, !shifted && IsQS4160());
    }
    if (!shifted && IsQS4160()) {
        c.FillList(kProfileParam, ProfileParameters());
        c.FillList(kProfileTime, ProfileTimes({}));
    } else if (!shifted) {
        // Other models profile one fixed level.
        c.FillList(kProfileParam, {"LFmx"});
        c.FillList(kProfileBand, {"A"});
        c.FillList(kProfileTime, {"0.125s"});
        for (int id : {kProfileParam, kProfileBand, kProfileTime})
            c.Select(id, 0);
    }

    for (int id : kPercentiles)
        c.FillList(id, Numbers(1, 99, "%d"));
    c.FillList(kExchangeRate, Numbers(3, 5, "%ddB"));
    c.FillList(kDoseThreshold, Numbers(0, 140, "%ddB"));
    c.FillList(kDoseCriterion, Numbers(60, 140, "%ddB"));

    if (!model_rules::HasDataLogging(Model()))
        for (int id : {kProfileGroup, kProfileParamLabel, kProfileParam, kProfileBand,
                       kProfileTimeLabel, kProfileTime})
            c.Show(id, false);
}

void ChannelsPage::OnSetActive() {
    PageControls& c = Controls();
    const CInstrStatus& e = Edited();
    ShowTableValues();
    const bool qs4160 = IsQS4160();
    for (int id : {kQS4160Picture, kSlm4Label, kSlm5Label})
        c.Show(id, qs4160);
    c.Show(kQS4060Picture, !qs4160);

    for (size_t i = 0; i < 5; ++i) {
        const bool shown = i < 3 || qs4160;
        c.Show(kSlmParams[i], shown);
        c.Show(kSlmBands[i], shown);
        if (shown)
            ShowParameter(kSlmParams[i], kSlmBands[i], EditedText(kSlmParams[i]));
    }
    if (qs4160 && !c.Entries(kProfileParam).empty()) {
        ShowParameter(kProfileParam, kProfileBand, e.m_strProfileParam);
        FillProfileTimes();
        c.SelectPrefix(kProfileTime, e.m_strProfileTime);
    }
    ShowStatistics();

    for (int percentile : kPercentiles)
        ShowNumber(percentile, EditedText(percentile), kFirstPercentile);
    ShowNumber(kExchangeRate, e.m_strExchangeRate, kFirstExchangeRate);
    ShowNumber(kDoseThreshold, e.m_strDoseThreshold, kFirstThreshold);
    ShowNumber(kDoseCriterion, e.m_strCriterionLevel, kFirstCriterion);
}

bool ChannelsPage::OnKillActive() {
    const PageControls& c = Controls();
    CInstrStatus& e = Edited();
    StoreTableValues();
    const size_t channels = IsQS4160() ? 5 : 3;
    for (size_t i = 0; i < channels; ++i)
        StoreParameter(kSlmParams[i], kSlmBands[i], EditedText(kSlmParams[i]));
    StoreParameter(kProfileParam, kProfileBand, e.m_strProfileParam);
    if (const auto time = c.SelectedText(kProfileTime))
        e.m_strProfileTime = *time;
    if (StoresStatistics())
        StoreParameter(kStatParam, kStatBand, e.m_strStatParam);

    for (int percentile : kPercentiles)
        StoreNumber(percentile, EditedText(percentile), kFirstPercentile);
    StoreNumber(kExchangeRate, e.m_strExchangeRate, kFirstExchangeRate);
    StoreNumber(kDoseThreshold, e.m_strDoseThreshold, kFirstThreshold);
    StoreNumber(kDoseCriterion, e.m_strCriterionLevel, kFirstCriterion);
    return true;
}

void ChannelsPage::OnSelChangeSlm(int slm) {
    if (slm < 1 || slm > 5)
        return;
    const int bands = kSlmBands[static_cast<size_t>(slm - 1)];
    FillBands(kSlmParams[static_cast<size_t>(slm - 1)], bands);
    Controls().Select(bands, 0);
}

void ChannelsPage::OnSelChangeProfileParam() {
    // Other models profile a fixed level.
    if (!IsQS4160())
        return;
    FillBands(kProfileParam, kProfileBand);
    Controls().Select(kProfileBand, 0);
    FillProfileTimes();
    Controls().Select(kProfileTime, 0);
}

void ChannelsPage::OnSelChangeStatParam() {
    // Without a choice of statistics the fixed "LFp" keeps its fixed "A".
    if (!HasFullStatistics())
        return;
    FillStatisticsBands();
    Controls().Select(kStatBand, 0);
}

void ChannelsPage::ShowParameter(int paramList, int bandList, const std::string& stored) {
    PageControls& c = Controls();
    const ParameterValue value = SplitParameterValue(stored);
    if (value.parameter == kEnergyParameter)
        c.Select(paramList, IndexOf(c.Entries(paramList), kEnergy));
    else
        SelectParameterText(c, paramList, value.parameter);
    FillBands(paramList, bandList, true);
    c.Select(bandList, FindBand(c.Entries(bandList), value.band));
}

void ChannelsPage::FillBands(int paramList, int bandList, bool shown) {
    PageControls& c = Controls();
    const BandKind kind = BandKindOf(c.SelectedText(paramList).value_or(std::string()));
    c.FillList(bandList, shown && bandList == kProfileBand
                             ? ShownProfileBandEntries(kind, BandShift())
                             : BandEntries(kind, BandShift()));
    c.Enable(bandList, kind != BandKind::None);
}

void ChannelsPage::FillProfileTimes() {
    PageControls& c = Controls();
    c.FillList(kProfileTime, ProfileTimes(c.SelectedText(kProfileParam).value_or(std::string())));
}

void ChannelsPage::ShowStatistics() {
    PageControls& c = Controls();
    if (HasFullStatistics()) {
        const ParameterValue value = SplitParameterValue(Edited().m_strStatParam);
        c.FillList(kStatParam, {kPeak, "Leq", "LFp"});
        c.SelectPrefix(kStatParam, value.parameter);
        FillStatisticsBands();
        c.SelectPrefix(kStatBand, value.band);
    } else {
        c.FillList(kStatParam, {"LFp"});
        c.FillList(kStatBand, {"A"});
        c.Select(kStatParam, 0);
        c.Select(kStatBand, 0);
    }
    c.Enable(kStatParam, true);
    c.Enable(kStatBand, true);
}

// The peak has no "A" weighting.
void ChannelsPage::FillStatisticsBands() {
    PageControls& c = Controls();
    const bool peak = c.SelectedText(kStatParam) == kPeak;
    c.FillList(kStatBand,
               peak ? std::vector<std::string>{"Z", "C"} : std::vector<std::string>{"Z", "C", "A"});
}

void ChannelsPage::StoreParameter(int paramList, int bandList, std::string& value) const {
    const PageControls& c = Controls();
    if (c.SelectedText(paramList) == kEnergy)
        value = kEnergyStored;
    else if (const auto chosen = ChosenParameterValue(c, paramList, bandList);
             chosen && !SameParameterValue(*chosen, value))
        value = *chosen;
}

void ChannelsPage::ShowNumber(int list, const std::string& value, int first) {
    const std::optional<int> number = WholeNumber(value);
    Controls().Select(list, number ? *number - first : -1);
}

void ChannelsPage::StoreNumber(int list, std::string& value, int first) const {
    const int selected = Controls().Selected(list);
    if (selected >= 0)
        value = platform::Format("%d", selected + first);
}

}  // namespace setup
