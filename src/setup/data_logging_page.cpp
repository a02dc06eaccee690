#include "setup/data_logging_page.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>

#include "link/instr_status.h"
#include "link/model_rules.h"
#include "platform/text.h"
#include "setup/parameter_value.h"

namespace setup {

using namespace data_logging_ids;

namespace {

using List = std::vector<std::string>;

constexpr const char* kOn = "ON";
constexpr const char* kOff = "OFF";
constexpr const char* kLevelTrigger = "LEV";
constexpr const char* kManualTrigger = "MAN";

const List kIntervals = {"OFF", "1s", "2s", "5s",  "10s", "20s", "30s",
                         "1m",  "2m", "5m", "10m", "20m", "30m", "1h"};
const List kEventParameters = {"Lpk", "Leq", "LFmx", "LSmx", "LImx", "LFmn", "LSmn", "LImn", "LE"};

// Reports also store the percentile levels, and a QS4060 as its report is first shown the
// overload.
List ReportParameters(bool withOverload) {
    List list = kEventParameters;
    list.insert(list.end(), {"L1", "L2", "L3", "L4"});
    if (withOverload)
        list.push_back("OL");
    return list;
}

List WeightingsOf(std::string_view parameter) {
    if (parameter == "Lpk")
        return {"C", "Z"};
    if (parameter == "LE")
        return {"A"};
    for (const char* level : {"Leq", "LFmx", "LSmx", "LImx", "LFmn", "LSmn", "LImn"})
        if (parameter == level)
            return {"A", "C", "Z"};
    return {};
}

List Numbers(int first, int last, const char* format) {
    List list;
    for (int n = first; n <= last; ++n)
        list.push_back(platform::Format(format, n));
    return list;
}

const char* OnOff(bool on) {
    return on ? kOn : kOff;
}

// The entry that is the text itself, else the first that begins with it: "LE" is not "Leq".
void SelectValue(PageControls& c, int list, const std::string& text) {
    const List& entries = c.Entries(list);
    const auto exact = std::find(entries.begin(), entries.end(), text);
    if (exact != entries.end())
        c.Select(list, static_cast<int>(exact - entries.begin()));
    else
        c.SelectPrefix(list, text);
}

// A level or time list entry as the meter takes it: "80dB" / "80 dB" -> "80", "5 s" -> "5".
std::string Bare(const std::string& entry, std::initializer_list<char> units) {
    std::string text = entry;
    for (char unit : units)
        text = platform::Remove(text, unit);
    return platform::Trim(text);
}

// Every list of a section's parameters with their weightings.
std::vector<int> ParamLists(const SectionIds& s) {
    std::vector<int> ids(s.params.begin(), s.params.end());
    ids.insert(ids.end(), s.weightings.begin(), s.weightings.end());
    return ids;
}

std::vector<int> StoreChecks(const SectionIds& s) {
    return {s.storeParams, s.storeOctaves, s.storeThirdOctaves, s.storeStatistics};
}

constexpr std::array<int, 6> kTriggerLists = {kPolarity, kOnLevel, kOffLevel,
                                              kOnTime,   kOffTime, kNotify};

// Every list and store check of both sections.
std::vector<int> SectionInputs() {
    std::vector<int> ids = {kReportInterval, kTrigger};
    for (const SectionIds* s : {&kReport, &kEvent}) {
        for (int id : ParamLists(*s))
            ids.push_back(id);
        for (int id : StoreChecks(*s))
            ids.push_back(id);
    }
    ids.insert(ids.end(), kTriggerLists.begin(), kTriggerLists.end());
    return ids;
}

// Every control of both sections, frames and labels included.
std::vector<int> SectionControls() {
    std::vector<int> ids = SectionInputs();
    ids.insert(ids.end(), {kReportIntervalLabel, kTriggerGroup});
    for (const SectionIds* s : {&kReport, &kEvent}) {
        ids.insert(ids.end(), s->paramLabels.begin(), s->paramLabels.end());
        ids.insert(ids.end(), {s->group, s->paramsGroup, s->storeGroup});
    }
    ids.insert(ids.end(), kTriggerLabels.begin(), kTriggerLabels.end());
    return ids;
}

}  // namespace

DataLoggingPage::DataLoggingPage(SetupHost& host) : SetupPage(host, SetupPageKind::DataLogging) {}

// --- the model variant

bool DataLoggingPage::IsQS4060() const {
    return platform::Contains(Model(), "QS4060");
}

bool DataLoggingPage::HasQS4060Reports() const {
    return IsQS4060() && model_rules::HasReports(Model());
}

bool DataLoggingPage::HasQS4160Reports() const {
    return model_rules::IsQS4160WithReports(Model());
}

bool DataLoggingPage::HasSections() const {
    return HasQS4060Reports() || HasQS4160Reports();
}

bool DataLoggingPage::StoresOctaves() const {
    return HasQS4160Reports() ||
           (HasQS4060Reports() && (model_rules::ReportsStoreThirdOctaves(Model()) ||
                                   model_rules::HasOctaveReportLetters(Model())));
}

bool DataLoggingPage::StoresThirdOctaves() const {
    return HasQS4160Reports() ||
           (HasQS4060Reports() && model_rules::ReportsStoreThirdOctaves(Model()));
}

// With the half-band shift the meter logs neither the profile nor octaves.
bool DataLoggingPage::IsBandShifted() const {
    return Current().m_strHalfBandShift == kOn;
}

// --- control groups

void DataLoggingPage::EnableChannelChecks(bool enabled) {
    PageControls& c = Controls();
    c.Enable(kSlm, enabled);
    c.Enable(kThirdOctaves, enabled);
    c.Enable(kProfile, enabled && !IsBandShifted());
    c.Enable(kOctaves, enabled && !IsBandShifted());
}

// The octave and third-octave stores as far as the model has them.
void DataLoggingPage::EnableStoreChecks(const SectionIds& s, bool enabled) {
    PageControls& c = Controls();
    bool octaves = enabled;
    bool thirdOctaves = enabled;
    if (IsQS4060()) {
        octaves = enabled && !model_rules::ReportsLackSpectra(Model());
        thirdOctaves = enabled && !model_rules::ReportsLackThirdOctaves(Model());
    }
    c.Enable(s.storeParams, enabled);
    c.Enable(s.storeOctaves, octaves);
    c.Enable(s.storeThirdOctaves, thirdOctaves);
    c.Enable(s.storeStatistics, enabled);
}

void DataLoggingPage::EnableParams(const SectionIds& s, bool enabled) {
    for (int id : ParamLists(s))
        Controls().Enable(id, enabled);
}

void DataLoggingPage::EmptyParams(const SectionIds& s) {
    for (int id : ParamLists(s))
        Controls().ClearList(id);
}

void DataLoggingPage::ClearStoreChecks(const SectionIds& s) {
    for (int id : StoreChecks(s))
        Controls().Check(id, false);
}

void DataLoggingPage::FillWeightings(const SectionIds& s, int n) {
    PageControls& c = Controls();
    const auto parameter = c.SelectedText(s.params[static_cast<size_t>(n)]);
    c.FillList(s.weightings[static_cast<size_t>(n)], WeightingsOf(parameter.value_or("")));
}

// Each parameter "Lpk" with the weighting "Z".
void DataLoggingPage::RefillParams(const SectionIds& s, const List& entries) {
    PageControls& c = Controls();
    for (int n = 0; n < 5; ++n) {
        c.FillList(s.params[static_cast<size_t>(n)], entries);
        c.Select(s.params[static_cast<size_t>(n)], 0);
        FillWeightings(s, n);
        c.SelectPrefix(s.weightings[static_cast<size_t>(n)], "Z");
    }
}

void DataLoggingPage::EmptyTriggerLists() {
    for (int id : {kPolarity, kOnLevel, kOffLevel, kOnTime, kOffTime})
        Controls().ClearList(id);
}

// --- activation

void DataLoggingPage::OnInitDialog() {
    FillTableLists();
    Controls().Enable(kOctaves, !IsBandShifted());
    Controls().Enable(kProfile, !IsBandShifted());
}

void DataLoggingPage::ApplyModelVisibility() {
    PageControls& c = Controls();
    const std::string& model = Model();
    c.Show(kProfileLabel, false);
    if (IsQS4060()) {
        for (int id :
             {kSlm, kProfile, kOctaves, kThirdOctaves, kShortLeq, kFft, kShortLeqWeighting})
            c.Show(id, false);
        const bool reports = model_rules::HasReports(model);
        if (reports) {
            c.Show(kSlm, true);
            c.SetText(kSlm, "SLM +");
            c.Show(kProfileLabel, true);
        }
        c.Show(kLoggerLabel, !reports);
        for (int id : SectionControls()) {
            c.Show(id, reports);
            c.Enable(id, reports);
        }
        if (reports) {
            EnableStoreChecks(kReport, true);
            EnableStoreChecks(kEvent, true);
        }
        const bool enabled = reports || model_rules::HasDataLoggerOption(model);
        c.SetText(kLoggerLabel, enabled ? "ENABLED" : "DISABLED");
    }
    if (model_rules::IsQS4160(model)) {
        const bool shortLeq = model_rules::HasShortLeqAndFft(model);
        for (int id : {kShortLeq, kFft, kShortLeqWeighting}) {
            c.Show(id, shortLeq || !HasQS4160Reports());
            c.Enable(id, shortLeq);
        }
        for (int id : SectionControls())
            c.Enable(id, HasQS4160Reports());
    }
}

void DataLoggingPage::OnSetActive() {
    PageControls& c = Controls();
    const CInstrStatus& e = Edited();
    ApplyModelVisibility();
    ShowTableValues();

    const bool normal = e.m_strAutoStore == kOff;
    if (e.m_strAutoStore == kOn) {
        c.Check(kModeAutoStore, true);
        c.Check(kModeNormal, false);
        c.Check(kSlm, true);
        for (int id : {kProfile, kOctaves, kThirdOctaves})
            c.Check(id, false);
        EnableChannelChecks(false);
        if (HasQS4160Reports()) {
            for (int id : {kShortLeq, kFft, kShortLeqWeighting})
                c.Enable(id, false);
            ClearStoreChecks(kReport);
            ClearStoreChecks(kEvent);
            EmptyParams(kReport);
            EmptyParams(kEvent);
            c.ClearList(kTrigger);
            EmptyTriggerLists();
            for (int id : SectionInputs())
                c.Enable(id, false);
        }
    } else if (normal) {
        c.Check(kModeNormal, true);
        c.Check(kModeAutoStore, false);
        EnableChannelChecks(true);
        if (HasQS4160Reports()) {
            c.Enable(kShortLeq, true);
            c.Enable(kFft, true);
        }
        c.Check(kSlm, e.m_strSlmDatalogger == kOn);
        c.Check(kProfile, e.m_strProfDatalogger == kOn && !IsBandShifted());
        c.Check(kOctaves, e.m_strOctDatalogger == kOn && !IsBandShifted());
        c.Check(kThirdOctaves, e.m_strToctDatalogger == kOn);
    }

    if (HasQS4160Reports() && normal)
        ShowShortLeqAndFft();
    // A QS4060 stores its reports and events whatever its storing mode, and is sent them so.
    if ((HasQS4160Reports() && normal) || HasQS4060Reports()) {
        ShowReport();
        ShowEvent();
        // Storing automatically is for a meter whose reports and events rest.
        auto runs = [&c](int list) {
            const auto chosen = c.SelectedText(list);
            return chosen && *chosen != kOff;
        };
        c.Enable(kModeAutoStore, !runs(kReportInterval) && !runs(kTrigger));
    }
}

void DataLoggingPage::ShowShortLeqAndFft() {
    PageControls& c = Controls();
    const CInstrStatus& e = Edited();
    const bool shortLeq = e.m_strShortLeqDatalogger != kOff;
    c.Check(kShortLeq, shortLeq);
    c.Enable(kShortLeqWeighting, shortLeq);
    c.ClearList(kShortLeqWeighting);
    if (shortLeq) {
        c.FillList(kShortLeqWeighting, {"A", "C", "Z"});
        c.SelectPrefix(kShortLeqWeighting, e.m_strShortLeqDatalogger);
    }
    c.Check(kFft, e.m_strFftDatalogger == kOn);
}

void DataLoggingPage::ShowSection(const SectionIds& s, const List& entries) {
    PageControls& c = Controls();
    for (int n = 0; n < 5; ++n) {
        const ParameterValue value =
            SplitParameterValue(EditedText(s.params[static_cast<size_t>(n)]));
        c.FillList(s.params[static_cast<size_t>(n)], entries);
        SelectValue(c, s.params[static_cast<size_t>(n)], value.parameter);
        FillWeightings(s, n);
        c.SelectPrefix(s.weightings[static_cast<size_t>(n)], value.band);
    }
    // Ticked as the value says, where the model stores it at all.
    c.Check(s.storeParams, EditedText(s.storeParams) == kOn);
    c.Check(s.storeOctaves, StoresOctaves() && EditedText(s.storeOctaves) == kOn);
    c.Check(s.storeThirdOctaves, StoresThirdOctaves() && EditedText(s.storeThirdOctaves) == kOn);
    c.Check(s.storeStatistics, EditedText(s.storeStatistics) == kOn);
    EnableParams(s, c.IsChecked(s.storeParams));
}

void DataLoggingPage::ShowReport() {
    PageControls& c = Controls();
    const CInstrStatus& e = Edited();
    c.FillList(kReportInterval, kIntervals);
    SelectValue(c, kReportInterval, e.m_strReportTime);
    ShowSection(kReport, ReportParameters(IsQS4060()));
    if (e.m_strReportTime == kOff) {
        ClearStoreChecks(kReport);
        EmptyParams(kReport);
        EnableParams(kReport, false);
        EnableStoreChecks(kReport, false);
    }
}

void DataLoggingPage::ShowEvent() {
    PageControls& c = Controls();
    const CInstrStatus& e = Edited();
    List triggers = {"OFF", "LEV", "MAN"};
    if (model_rules::IsQS4160(Model()))
        triggers.push_back("EXT");
    c.FillList(kTrigger, triggers);
    SelectValue(c, kTrigger, e.m_strEventTrigger);
    ShowSection(kEvent, kEventParameters);
    c.FillList(kPolarity, {"POS", "NEG"});
    SelectValue(c, kPolarity, e.m_strTriggerPolarity);
    c.FillList(kNotify, {"OFF"});
    SelectValue(c, kNotify, e.m_strTriggerPrint);

    const bool level = e.m_strEventTrigger == kLevelTrigger;
    for (int id : {kOnLevel, kOffLevel, kOnTime, kOffTime}) {
        c.ClearList(id);
        c.Enable(id, level);
    }
    if (level) {
        c.FillList(kOnLevel, Numbers(10, 140, "%ddB"));
        c.FillList(kOffLevel, Numbers(10, 140, "%ddB"));
        c.FillList(kOnTime, Numbers(0, 10, "%d s"));
        c.FillList(kOffTime, Numbers(0, 255, "%d s"));
        SelectValue(c, kOnLevel, e.m_strTriggerOnLevel + "dB");
        SelectValue(c, kOffLevel, e.m_strTriggerOffLevel + "dB");
        SelectValue(c, kOnTime, e.m_strTriggerOnTime + " s");
        SelectValue(c, kOffTime, e.m_strTriggerOffTime + " s");
    }
    if (e.m_strEventTrigger == kOff) {
        ClearStoreChecks(kEvent);
        EmptyParams(kEvent);
        EmptyTriggerLists();
        c.ClearList(kNotify);
        EnableParams(kEvent, false);
        EnableStoreChecks(kEvent, false);
        for (int id : kTriggerLists)
            c.Enable(id, false);
    }
}

// --- leaving

bool DataLoggingPage::OnKillActive() {
    const PageControls& c = Controls();
    CInstrStatus& e = Edited();
    StoreTableValues();
    e.m_strSlmDatalogger = OnOff(c.IsChecked(kSlm));
    e.m_strProfDatalogger = OnOff(c.IsChecked(kProfile) && !IsBandShifted());
    e.m_strOctDatalogger = OnOff(c.IsChecked(kOctaves) && !IsBandShifted());
    e.m_strToctDatalogger = OnOff(c.IsChecked(kThirdOctaves));

    if (model_rules::HasShortLeqAndFft(Model())) {
        const auto weighting = c.SelectedText(kShortLeqWeighting);
        if (!c.IsChecked(kShortLeq) || c.Entries(kShortLeqWeighting).empty())
            e.m_strShortLeqDatalogger = kOff;
        else if (weighting)
            e.m_strShortLeqDatalogger = *weighting;
        e.m_strFftDatalogger = OnOff(c.IsChecked(kFft));
    }
    // A meter without reports and events keeps their values untouched.
    if (!HasSections())
        return true;

    if (const auto interval = c.SelectedText(kReportInterval))
        e.m_strReportTime = *interval;
    StoreSection(kReport);

    auto store = [&c](int list, std::string& value, std::initializer_list<char> units) {
        if (const auto chosen = c.SelectedText(list))
            value = Bare(*chosen, units);
    };
    store(kTrigger, e.m_strEventTrigger, {});
    store(kPolarity, e.m_strTriggerPolarity, {});
    store(kNotify, e.m_strTriggerPrint, {});
    store(kOnLevel, e.m_strTriggerOnLevel, {'d', 'B'});
    store(kOffLevel, e.m_strTriggerOffLevel, {'d', 'B'});
    store(kOnTime, e.m_strTriggerOnTime, {'s'});
    store(kOffTime, e.m_strTriggerOffTime, {'s'});
    StoreSection(kEvent);
    return true;
}

void DataLoggingPage::StoreSection(const SectionIds& s) {
    const PageControls& c = Controls();
    const bool params = c.IsChecked(s.storeParams);
    EditedText(s.storeParams) = OnOff(params);
    if (params)
        for (size_t n = 0; n < 5; ++n)
            if (const auto chosen = ChosenParameterValue(c, s.params[n], s.weightings[n]))
                EditedText(s.params[n]) = *chosen;
    if (StoresOctaves())
        EditedText(s.storeOctaves) = OnOff(c.IsChecked(s.storeOctaves));
    if (StoresThirdOctaves())
        EditedText(s.storeThirdOctaves) = OnOff(c.IsChecked(s.storeThirdOctaves));
    EditedText(s.storeStatistics) = OnOff(c.IsChecked(s.storeStatistics));
}

// --- handlers

void DataLoggingPage::OnModeNormal() {
    PageControls& c = Controls();
    CInstrStatus& e = Edited();
    c.Check(kModeNormal, true);
    c.Check(kModeAutoStore, false);
    // Choosing the mode again would throw the reports and events away.
    if (e.m_strAutoStore == kOff)
        return;
    e.m_strAutoStore = kOff;
    EnableChannelChecks(true);
    if (!HasQS4160Reports())
        return;
    for (int id : {kShortLeq, kFft, kShortLeqWeighting})
        c.Enable(id, true);
    c.Check(kSlm, true);
    c.Check(kThirdOctaves, true);
    c.Check(kProfile, !IsBandShifted());
    c.Check(kOctaves, !IsBandShifted());

    c.FillList(kReportInterval, kIntervals);
    c.Select(kReportInterval, 0);
    for (const SectionIds* s : {&kReport, &kEvent}) {
        EmptyParams(*s);
        ClearStoreChecks(*s);
        EnableParams(*s, false);
        EnableStoreChecks(*s, false);
    }
    c.FillList(kTrigger, {"OFF", "LEV", "MAN", "EXT"});
    c.Select(kTrigger, 0);
    EmptyTriggerLists();
    for (int id : kTriggerLists)
        c.Enable(id, false);
    c.Enable(kReportInterval, true);
    c.Enable(kTrigger, true);
}

void DataLoggingPage::OnModeAutoStore() {
    PageControls& c = Controls();
    CInstrStatus& e = Edited();
    c.Check(kModeAutoStore, true);
    c.Check(kModeNormal, false);
    if (e.m_strAutoStore == kOn)
        return;
    e.m_strAutoStore = kOn;
    c.Check(kSlm, true);
    for (int id : {kProfile, kOctaves, kThirdOctaves})
        c.Check(id, false);
    EnableChannelChecks(false);
    if (!HasQS4160Reports())
        return;
    for (int id : {kShortLeq, kFft, kShortLeqWeighting})
        c.Enable(id, false);
    c.ClearList(kReportInterval);
    c.ClearList(kTrigger);
    for (const SectionIds* s : {&kReport, &kEvent}) {
        EmptyParams(*s);
        ClearStoreChecks(*s);
    }
    EmptyTriggerLists();
    c.ClearList(kNotify);
    for (int id : SectionInputs())
        c.Enable(id, false);
}

void DataLoggingPage::OnShortLeqCheck() {
    PageControls& c = Controls();
    const bool ticked = c.IsChecked(kShortLeq);
    c.Enable(kShortLeqWeighting, ticked);
    c.ClearList(kShortLeqWeighting);
    if (ticked) {
        c.FillList(kShortLeqWeighting, {"A", "C", "Z"});
        c.Select(kShortLeqWeighting, 0);
    }
}

void DataLoggingPage::OnReportParamsCheck() {
    EnableParams(kReport, Controls().IsChecked(kReport.storeParams));
}

void DataLoggingPage::OnEventParamsCheck() {
    const bool ticked = Controls().IsChecked(kEvent.storeParams);
    if (ticked)
        RefillParams(kEvent, kEventParameters);
    EnableParams(kEvent, ticked);
}

// A report interval or a trigger set or turned off: its section's checks and parameters follow,
// and the auto-store mode is offered only while both are off.
void DataLoggingPage::SwitchSection(const SectionIds& s, bool on, int otherSelector,
                                    const List& parameters) {
    PageControls& c = Controls();
    if (!on) {
        if (c.SelectedText(otherSelector) == kOff)
            c.Enable(kModeAutoStore, true);
        ClearStoreChecks(s);
        EmptyParams(s);
        EnableParams(s, false);
        EnableStoreChecks(s, false);
        return;
    }
    c.Enable(kModeAutoStore, false);
    if (!c.IsChecked(s.storeParams))
        RefillParams(s, parameters);
    EnableParams(s, c.IsChecked(s.storeParams));
    EnableStoreChecks(s, true);
}

void DataLoggingPage::OnReportIntervalChange() {
    const auto interval = Controls().SelectedText(kReportInterval);
    if (!interval)
        return;
    SwitchSection(kReport, *interval != kOff, kTrigger, ReportParameters(false));
}

void DataLoggingPage::OnTriggerTypeChange() {
    PageControls& c = Controls();
    const auto trigger = c.SelectedText(kTrigger);
    if (!trigger)
        return;
    const bool on = *trigger != kOff;
    SwitchSection(kEvent, on, kReportInterval, kEventParameters);
    for (int id : kTriggerLists)
        c.Enable(id, on);
    if (!on) {
        EmptyTriggerLists();
        c.ClearList(kNotify);
        return;
    }
    c.FillList(kPolarity, {"POS", "NEG"});
    c.Select(kPolarity, 0);
    c.FillList(kNotify, {"OFF"});
    c.Select(kNotify, 0);
    if (*trigger == kLevelTrigger) {
        c.FillList(kOnLevel, Numbers(10, 140, "%d dB"));
        c.FillList(kOffLevel, Numbers(10, 140, "%d dB"));
        c.FillList(kOnTime, Numbers(0, 10, "%d s"));
        c.FillList(kOffTime, Numbers(0, 255, "%d s"));
        for (int id : {kOnLevel, kOffLevel, kOnTime, kOffTime})
            c.Select(id, 0);
        return;
    }
    // The minimum off time is what a manual trigger sends: it stays to be chosen.
    for (int id : {kOnLevel, kOffLevel, kOnTime}) {
        c.ClearList(id);
        c.Enable(id, false);
    }
    if (c.Entries(kOffTime).empty()) {
        c.FillList(kOffTime, Numbers(0, 255, "%d s"));
        c.Select(kOffTime, 0);
    }
    if (*trigger == kManualTrigger) {
        c.ClearList(kPolarity);
        c.Enable(kPolarity, false);
    }
}

void DataLoggingPage::OnReportParamChange(int n) {
    if (n < 0 || n >= 5)
        return;
    FillWeightings(kReport, n);
    Controls().Select(kReport.weightings[static_cast<size_t>(n)], 0);
}

void DataLoggingPage::OnEventParamChange(int n) {
    if (n < 0 || n >= 5)
        return;
    FillWeightings(kEvent, n);
    Controls().Select(kEvent.weightings[static_cast<size_t>(n)], 0);
}

}  // namespace setup
