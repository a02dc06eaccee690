#include "setup/spectrum_page.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "link/instr_status.h"
#include "link/model_rules.h"
#include "platform/text.h"

namespace setup {

using namespace spectrum_ids;

namespace {

constexpr const char* kAverage = "AVERAGE";
constexpr const char* kLinear = "LIN";
constexpr const char* kShortestStep = "0.5s";

const std::vector<std::string> kEverySteps = {"0.5s", "1s", "2s", "5s",  "10s", "20s", "30s",
                                              "1m",   "2m", "5m", "10m", "20m", "30m", "1h"};
const std::vector<std::string> kEveryMeans = {kLinear, "EXP"};
const std::vector<std::string> kMeanWeights = {"FAST", "SLOW"};
const std::vector<std::string> kFftBands = {"LF", "MF", "HF"};

bool ContainsAny(std::string_view model, std::initializer_list<std::string_view> parts) {
    for (std::string_view part : parts)
        if (platform::Contains(model, part))
            return true;
    return false;
}

}  // namespace

SpectrumPage::SpectrumPage(SetupHost& host) : SetupPage(host, SetupPageKind::Spectrum) {}

void SpectrumPage::OnInitDialog() {
    PageControls& c = Controls();
    const bool qs4160 = model_rules::IsQS4160(Model());
    if (qs4160) {
        c.FillList(kStep, kEverySteps);
    } else {
        c.FillList(kStep, {kShortestStep});
        c.Select(kStep, 0);
    }
    FillTableLists();
    if (qs4160) {
        c.FillList(kMean, kEveryMeans);
        c.FillList(kMeanWeight, kMeanWeights);
    } else {
        c.FillList(kMean, {kLinear});
        c.Select(kMean, 0);
    }
    for (int id : {kMeanWeight, kMeanWeightLabel, kBandShift})
        c.Show(id, qs4160);
}

void SpectrumPage::KeepToAverage() {
    PageControls& c = Controls();
    c.FillList(kMean, {kLinear});
    c.Select(kMean, 0);
    c.FillList(kStep, {kShortestStep});
    c.Select(kStep, 0);
    c.Enable(kStep, false);
    c.Enable(kMeanWeight, false);
}

void SpectrumPage::OfferEveryStepAndMean() {
    PageControls& c = Controls();
    c.FillList(kMean, kEveryMeans);
    c.FillList(kStep, kEverySteps);
}

void SpectrumPage::OnSetActive() {
    PageControls& c = Controls();
    const CInstrStatus& edited = Edited();
    const bool qs4160 = model_rules::IsQS4160(Model());

    ShowTableValues();
    c.SelectPrefix(kStep, edited.m_strProfileSpectrumTime);

    if (edited.m_strAutoStore == "ON") {
        c.FillList(kType, {kAverage});
        c.Select(kType, 0);
    } else if (edited.m_strAutoStore == "OFF") {
        if (qs4160) {
            c.FillList(kType, {kAverage, "MULTISP", "MAXIMUM", "MINIMUM"});
            c.SelectPrefix(kType, edited.m_strSpectType);
        } else {
            c.FillList(kType, {kAverage});
            c.Select(kType, 0);
        }
    }

    // The mean and step follow the type the list shows, which the page stores on leaving.
    const std::string type = c.SelectedText(kType).value_or(edited.m_strSpectType);
    if (type == kAverage) {
        KeepToAverage();
    } else {
        c.Enable(kStep, true);
        c.Enable(kMeanWeight, true);
        // After an "AVERAGE" the lists hold one entry each; a step or mean loaded since must
        // find its entry, not be overwritten by the one left.
        if (qs4160) {
            OfferEveryStepAndMean();
            c.SelectPrefix(kStep, edited.m_strProfileSpectrumTime);
        }
        if (edited.m_strSpectMean == kLinear) {
            c.Enable(kMeanWeight, false);
            c.Select(kMeanWeight, -1);
            c.SelectPrefix(kMean, edited.m_strSpectMean);
        } else {
            c.SelectPrefix(kMean, edited.m_strSpectMean);
            c.SelectPrefix(kMeanWeight, edited.m_strSpectMeanWeighting);
        }
    }
    if (!qs4160)
        for (int id : {kType, kStep, kMean})
            c.Enable(id, false);

    const std::string& model = Model();
    if (model_rules::HasShortLeqAndFft(model)) {
        c.FillList(kFftBand, kFftBands);
        c.SelectPrefix(kFftBand, edited.m_strFftBand);
        for (int id : {kFftBand, kFftBandLabel, kFftGroup}) {
            c.Show(id, true);
            c.Enable(id, true);
        }
    } else if (ContainsAny(model, {"QS4160_I", "QS4160_M", "QS4060"})) {
        for (int id : {kFftBand, kFftBandLabel, kFftGroup})
            c.Show(id, false);
    } else {
        c.ClearList(kFftBand);
        for (int id : {kFftBand, kFftBandLabel, kFftGroup})
            c.Enable(id, false);
    }

    c.SetText(kBandShift, "Band Shift: " + Current().m_strHalfBandShift);
}

void SpectrumPage::OnSelChangeMeanType() {
    PageControls& c = Controls();
    const std::optional<std::string> type = c.SelectedText(kType);
    if (!type)
        return;
    if (*type == kAverage) {
        KeepToAverage();
        return;
    }
    c.Enable(kStep, true);
    c.Enable(kMeanWeight, true);
    OfferEveryStepAndMean();
    c.Select(kMean, 0);
    c.Select(kStep, 0);
}

void SpectrumPage::OnSelChangeMean() {
    PageControls& c = Controls();
    const int mean = c.Selected(kMean);
    if (mean < 0)
        return;
    const bool linear = mean == 0;
    c.Enable(kMeanWeight, !linear);
    c.Select(kMeanWeight, linear ? -1 : 0);
}

bool SpectrumPage::OnKillActive() {
    const PageControls& c = Controls();
    CInstrStatus& edited = Edited();
    auto store = [&c](int list, std::string& value) {
        if (const std::optional<std::string> text = c.SelectedText(list))
            value = *text;
    };
    StoreTableValues();
    store(kStep, edited.m_strProfileSpectrumTime);
    store(kType, edited.m_strSpectType);
    store(kMean, edited.m_strSpectMean);
    store(kMeanWeight, edited.m_strSpectMeanWeighting);
    if (model_rules::HasShortLeqAndFft(Model()))
        store(kFftBand, edited.m_strFftBand);
    return true;
}

}  // namespace setup
