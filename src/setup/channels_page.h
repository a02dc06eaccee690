#pragma once
// The "Channels" page: the parameters of the five sound level meter channels with their
// weighting or band, the level profile's parameter, band and time step, the statistics
// parameter and its four percentiles, and the dose integration. Its lists follow the model and
// the meter's half-band shift; it shows the edited setup when activated and stores the
// operator's choices when left, a list without a choice leaving its value as it was.

#include <array>
#include <string>
#include <string_view>

#include "setup/setup_page.h"
#include "setup/value_controls.h"

namespace setup {

namespace channels_ids {
constexpr std::array<int, 5> kSlmParams = {ControlOf("SLM1_PAR").id, ControlOf("SLM2_PAR").id,
                                           ControlOf("SLM3_PAR").id, ControlOf("SLM4_PAR").id,
                                           ControlOf("SLM5_PAR").id};
constexpr std::array<int, 5> kSlmBands = {
    ControlOf("SLM1_PAR").second, ControlOf("SLM2_PAR").second, ControlOf("SLM3_PAR").second,
    ControlOf("SLM4_PAR").second, ControlOf("SLM5_PAR").second};
constexpr int kSlm4Label = 1606;
constexpr int kSlm5Label = 1598;
constexpr int kProfileGroup = 1703;
constexpr int kProfileParamLabel = 1763;
constexpr int kProfileParam = ControlOf("PROFILE_PARAM").id;
constexpr int kProfileBand = ControlOf("PROFILE_PARAM").second;
constexpr int kProfileTimeLabel = 1515;
constexpr int kProfileTime = ControlOf("PROFILE_TIME").id;
constexpr int kStatParam = ControlOf("STAT_PAR").id;
constexpr int kStatBand = ControlOf("STAT_PAR").second;
constexpr std::array<int, 4> kPercentiles = {ControlOf("PERC1_LEV").id, ControlOf("PERC2_LEV").id,
                                             ControlOf("PERC3_LEV").id, ControlOf("PERC4_LEV").id};
constexpr int kExchangeRate = ControlOf("EXCHANGE_RATE").id;
constexpr int kDoseThreshold = ControlOf("DOSE_THRESHOLD").id;
constexpr int kDoseCriterion = ControlOf("CRITERION_LEV").id;
constexpr int kQS4160Picture = 1604;
constexpr int kQS4060Picture = 1605;
}  // namespace channels_ids

class ChannelsPage : public SetupPage {
public:
    explicit ChannelsPage(SetupHost& host);

    // Fills the lists for the model and band shift of the current setup.
    void OnInitDialog() override;
    void OnSetActive() override;
    bool OnKillActive() override;

    // A new parameter chosen for channel `slm` (1..5), the profile or the statistics: its
    // weighting or band list (and the profile's time steps) refilled, the first entry chosen.
    void OnSelChangeSlm(int slm);
    void OnSelChangeProfileParam();
    void OnSelChangeStatParam();

private:
    bool IsQS4160() const;
    bool HasFullStatistics() const;
    bool StoresStatistics() const;
    const std::string& BandShift() const;

    // Shows a stored "parameter:band" value in a parameter list and its band list.
    void ShowParameter(int paramList, int bandList, const std::string& stored);
    // Refills `bandList` for the parameter chosen in `paramList`, as a new choice offers it or,
    // `shown`, as a stored value is shown.
    void FillBands(int paramList, int bandList, bool shown = false);
    void FillProfileTimes();
    void ShowStatistics();
    void FillStatisticsBands();
    // Stores the chosen parameter and band into `value`; no choice keeps it, and so does the
    // choice the value was shown as.
    void StoreParameter(int paramList, int bandList, std::string& value) const;
    // Shows a number stored as text at list position `number - first`.
    void ShowNumber(int list, const std::string& value, int first);
    void StoreNumber(int list, std::string& value, int first) const;
};

}  // namespace setup
