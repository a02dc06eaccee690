#pragma once
// The "Current" page: a read-only summary of the setup as last read from the meter, in sixteen
// texts grouped like the meter's menus. What each text holds depends on the model variant; it
// writes nothing back.

#include <string>
#include <string_view>

#include "setup/setup_page.h"

namespace setup {

// The page's texts and the group boxes the model rules reach, by dialog id.
namespace current_ids {
constexpr int kInstrument = 1530;
constexpr int kMicrophone = 1532;
constexpr int kGeneral = 1533;
constexpr int kInOut = 1534;
constexpr int kMeasurement = 1535;
constexpr int kSlm = 1538;
constexpr int kProfile = 1536;
constexpr int kSpectrum = 1539;
constexpr int kStatistics = 1537;
constexpr int kDose = 1592;
constexpr int kLogging = 1543;
constexpr int kLoggingLeft = 1541;
constexpr int kLoggingRight = 1542;
constexpr int kReport = 1705;
constexpr int kEvent = 1706;
constexpr int kCalibration = 1540;
// group boxes
constexpr int kProfileGroup = 1703;
constexpr int kSpectrumGroup = 1762;
constexpr int kLoggingGroup = 1761;
constexpr int kReportGroup = 1707;
constexpr int kEventGroup = 1708;
}  // namespace current_ids

class CurrentSettings : public SetupPage {
public:
    explicit CurrentSettings(SetupHost& host);

    // Builds every text from the current setup and applies the visibility rules.
    void OnSetActive() override;

    std::string Text(int id) const { return Controls().Text(id); }
};

// The model value with its class turned into words: "QS4060_00$2" -> "QS4060_00 Cl2".
std::string ModelDisplayText(std::string_view model);

}  // namespace setup
