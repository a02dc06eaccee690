#pragma once
// Where the pages of the "Setup Instrument" sheet show the setup values: each value control is
// bound to its value by the name of the value's row (link/setup_value_rows.h), with its page,
// dialog id and form, and whether the table's rule shows and stores it (setup/table_controls.h)
// or the page's own rules do. The bindings are constant expressions, so that the pages name
// their value controls by the value (ControlOf("INPUT_CH").id) and each dialog id stands here
// only.

#include <span>
#include <string_view>

#include "link/setup_value_rows.h"
#include "link/setup_value_table.h"
#include "setup/sheet_pages.h"

namespace setup {

// How a page control shows a value.
enum class ControlForm {
    None,
    List,       // the entry found by the list's search for the text; stored as the entry reads
    Check,      // ticked for "ON"; stored "ON" or "OFF"
    Edit,       // the text as typed
    Date,       // a date picker
    Time,       // a time picker
    Text,       // a caption showing the meter's value
    ListPair,   // "parameter:band": a parameter list (`id`) and its band list (`second`)
    CheckList,  // a check box (`id`) and, while ticked, a list (`second`) whose entry is the
                // value; "OFF" unticked
    RadioPair,  // "ON" one radio button (`id`), "OFF" the other (`second`)
};

// Who shows and stores the value. The page shows the table's values when it is activated and
// stores them when it is left: a list takes the value with its search and gives the entry
// chosen, a check box ticks for "ON", an edit shows the text; a control whose value the model
// lacks (the row's gate) is hidden. A page with rules of its own for a control (lists by model,
// numbers offset into a list, a checked level) shows and stores it itself.
enum class ControlRule { Table, Page };

struct PageControl {
    SetupPageKind page = SetupPageKind::Current;
    int id = 0;  // the dialog id on its page
    ControlForm form = ControlForm::None;
    ControlRule rule = ControlRule::Table;
    int second = 0;                             // the second control of a pair
    std::span<const char* const> entries = {};  // a list's fixed entries; empty: the page's
};
constexpr PageControl ByPage(PageControl control) {
    control.rule = ControlRule::Page;
    return control;
}

// A value's control.
struct ValueControl {
    const char* value = "";  // the name of the value's row
    PageControl control;
};

namespace value_controls {

using P = SetupPageKind;
constexpr PageControl List(P page, int id, std::span<const char* const> entries = {}) {
    return {.page = page, .id = id, .form = ControlForm::List, .entries = entries};
}
constexpr PageControl Check(P page, int id) {
    return {.page = page, .id = id, .form = ControlForm::Check};
}
constexpr PageControl Edit(P page, int id) {
    return {.page = page, .id = id, .form = ControlForm::Edit};
}
constexpr PageControl Date(P page, int id) {
    return {.page = page, .id = id, .form = ControlForm::Date};
}
constexpr PageControl Time(P page, int id) {
    return {.page = page, .id = id, .form = ControlForm::Time};
}
constexpr PageControl Text(P page, int id) {
    return {.page = page, .id = id, .form = ControlForm::Text};
}
constexpr PageControl ListPair(P page, int parameters, int bands) {
    return {.page = page, .id = parameters, .form = ControlForm::ListPair, .second = bands};
}
constexpr PageControl CheckList(P page, int check, int list) {
    return {.page = page, .id = check, .form = ControlForm::CheckList, .second = list};
}
constexpr PageControl RadioPair(P page, int on, int off) {
    return {.page = page, .id = on, .form = ControlForm::RadioPair, .second = off};
}
inline constexpr auto kGeneralPage = P::General;
inline constexpr auto kChannelsPage = P::Channels;
inline constexpr auto kSpectrumPage = P::Spectrum;
inline constexpr auto kLoggingPage = P::DataLogging;

inline constexpr const char* kContrasts[] = {"3", "4", "5", "6", "7", "8", "9"};
inline constexpr const char* kOnOff[] = {"ON", "OFF"};
inline constexpr const char* kEraseTimes[] = {"5s", "10s", "30s", "60s"};
inline constexpr const char* kMicResponses[] = {"FF", "RI"};
inline constexpr const char* kWindShields[] = {"OFF", "SAV", "WME"};
inline constexpr const char* kAuxWeightings[] = {"Z", "C", "A"};

// By page, in the values' order.
// clang-format off
inline constexpr ValueControl kBindings[] = {
    // "General"
    {"DATE", ByPage(Date(kGeneralPage, 1110))},
    {"TIME", ByPage(Time(kGeneralPage, 1111))},
    {"DISP_C", List(kGeneralPage, 1543, kContrasts)},
    {"AUTO_PWR_OFF", List(kGeneralPage, 1544, kOnOff)},
    {"INPUT_CH", ByPage(List(kGeneralPage, 1545))},
    {"DA_OUTPUT", ByPage(List(kGeneralPage, 1547))},
    {"BAUD", List(kGeneralPage, 1552)},
    {"INPUT_GAIN", ByPage(List(kGeneralPage, 1546))},
    {"INTEGRATION_TIME", ByPage(List(kGeneralPage, 1555))},
    {"ERASE_TIME", List(kGeneralPage, 1556, kEraseTimes)},
    {"OVERLOAD_LEV", ByPage(List(kGeneralPage, 1560))},
    {"CAL_L", ByPage(Edit(kGeneralPage, 1594))},
    {"MIC_RESP", List(kGeneralPage, 1558, kMicResponses)},
    {"WIND_SHIELD", List(kGeneralPage, 1561, kWindShields)},
    {"AMB_CORR", List(kGeneralPage, 1559)},
    {"INTEGR_MODE", List(kGeneralPage, 1557)},
    // "Channels"
    {"PROFILE_TIME", ByPage(List(kChannelsPage, 1571))},
    {"EXCHANGE_RATE", ByPage(List(kChannelsPage, 1557))},
    {"DOSE_THRESHOLD", ByPage(List(kChannelsPage, 1558))},
    {"CRITERION_LEV", ByPage(List(kChannelsPage, 1559))},
    {"PERC1_LEV", ByPage(List(kChannelsPage, 1561))},
    {"PERC2_LEV", ByPage(List(kChannelsPage, 1562))},
    {"PERC3_LEV", ByPage(List(kChannelsPage, 1563))},
    {"PERC4_LEV", ByPage(List(kChannelsPage, 1564))},
    {"SLM1_PAR", ByPage(ListPair(kChannelsPage, 1566, 1578))},
    {"SLM2_PAR", ByPage(ListPair(kChannelsPage, 1567, 1579))},
    {"SLM3_PAR", ByPage(ListPair(kChannelsPage, 1568, 1580))},
    {"SLM4_PAR", ByPage(ListPair(kChannelsPage, 1569, 1582))},
    {"SLM5_PAR", ByPage(ListPair(kChannelsPage, 1570, 1581))},
    {"PROFILE_PARAM", ByPage(ListPair(kChannelsPage, 1573, 1583))},
    {"STAT_PAR", ByPage(ListPair(kChannelsPage, 1565, 1572))},
    // "Spectrum"
    {"PROFILE_SPECTRUM_TIME", ByPage(List(kSpectrumPage, 1572))},
    {"SPECT_AUX_POND", List(kSpectrumPage, 1574, kAuxWeightings)},
    {"SPECT_TYPE", ByPage(List(kSpectrumPage, 1575))},
    {"SPECT_MEAN", ByPage(List(kSpectrumPage, 1576))},
    {"SPECT_MEAN_WEIGHT", ByPage(List(kSpectrumPage, 1577))},
    {"SPECT_SHIFT", ByPage(Text(kSpectrumPage, 1593))},
    {"FFT_BAND", ByPage(List(kSpectrumPage, 1712))},
    // "DataLogging"
    {"PROF_DLOGGER", ByPage(Check(kLoggingPage, 1566))},
    {"SLM_DLOGGER", ByPage(Check(kLoggingPage, 1565))},
    {"OCT_DLOGGER", ByPage(Check(kLoggingPage, 1567))},
    {"TOCT_DLOGGER", ByPage(Check(kLoggingPage, 1568))},
    {"SHORTLEQ_DLOGGER", ByPage(CheckList(kLoggingPage, 1634, 1637))},
    {"FFT_DLOGGER", ByPage(Check(kLoggingPage, 1635))},
    {"AUTOSTORE", ByPage(RadioPair(kLoggingPage, 1718, 1717))},
    {"REPORT_TIME", ByPage(List(kLoggingPage, 1652))},
    {"1_REPORT_PAR", ByPage(ListPair(kLoggingPage, 1638, 1643))},
    {"2_REPORT_PAR", ByPage(ListPair(kLoggingPage, 1639, 1644))},
    {"3_REPORT_PAR", ByPage(ListPair(kLoggingPage, 1640, 1645))},
    {"4_REPORT_PAR", ByPage(ListPair(kLoggingPage, 1641, 1646))},
    {"5_REPORT_PAR", ByPage(ListPair(kLoggingPage, 1642, 1647))},
    {"STORE_REP_PAR", ByPage(Check(kLoggingPage, 1648))},
    {"STORE_REP_OCT", ByPage(Check(kLoggingPage, 1649))},
    {"STORE_REP_TOCT", ByPage(Check(kLoggingPage, 1650))},
    {"STORE_REP_STAT", ByPage(Check(kLoggingPage, 1651))},
    {"1_EVENT_PAR", ByPage(ListPair(kLoggingPage, 1658, 1663))},
    {"2_EVENT_PAR", ByPage(ListPair(kLoggingPage, 1659, 1664))},
    {"3_EVENT_PAR", ByPage(ListPair(kLoggingPage, 1660, 1665))},
    {"4_EVENT_PAR", ByPage(ListPair(kLoggingPage, 1661, 1666))},
    {"5_EVENT_PAR", ByPage(ListPair(kLoggingPage, 1662, 1667))},
    {"STORE_EVN_PAR", ByPage(Check(kLoggingPage, 1668))},
    {"STORE_EVN_OCT", ByPage(Check(kLoggingPage, 1669))},
    {"STORE_EVN_TOCT", ByPage(Check(kLoggingPage, 1670))},
    {"STORE_EVN_STAT", ByPage(Check(kLoggingPage, 1671))},
    {"EVN_TRIG", ByPage(List(kLoggingPage, 1673))},
    {"EVN_TRIG_POL", ByPage(List(kLoggingPage, 1675))},
    {"EVN_TRIG_ON_LEV", ByPage(List(kLoggingPage, 1680))},
    {"EVN_TRIG_OFF_LEV", ByPage(List(kLoggingPage, 1681))},
    {"EVN_TRIG_ON_TIME", ByPage(List(kLoggingPage, 1684))},
    {"EVN_TRIG_OFF_TIME", ByPage(List(kLoggingPage, 1685))},
    {"EVN_TRIG_PRINT", ByPage(List(kLoggingPage, 1677))},
};
// clang-format on

// Every binding names a row; a name no row has does not compile.
consteval bool NamesRows(std::span<const ValueControl> bindings) {
    for (const ValueControl& binding : bindings)
        static_cast<void>(RowOf(binding.value));
    return true;
}
static_assert(NamesRows(kBindings));

}  // namespace value_controls

constexpr std::span<const ValueControl> ValueControls() {
    return value_controls::kBindings;
}

// The control of the value named `name`; a value without one does not compile.
consteval const PageControl& ControlOf(std::string_view name) {
    for (const ValueControl& binding : value_controls::kBindings)
        if (std::string_view(binding.value) == name)
            return binding.control;
    throw "no control for a value of that name";
}

// The row in `rows` that `binding` names; nullptr when none.
const SetupValueRow* BoundRow(const ValueControl& binding, std::span<const SetupValueRow> rows);

// The row in `rows` of the value that control `id` of `page` shows (either control of a pair),
// as `bindings` bind them; nullptr when none.
const SetupValueRow* ValueOfControl(SetupPageKind page, int id,
                                    std::span<const SetupValueRow> rows = SetupValueRows(),
                                    std::span<const ValueControl> bindings = ValueControls());

}  // namespace setup
