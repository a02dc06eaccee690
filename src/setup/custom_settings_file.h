#pragma once
// A named custom setting as text: lines KEY=value, one for each custom-settings key of the
// setup-value table, in the order of the keys' lines, from the edited setup; and those lines
// read back into the edited setup. The meter's model (the current setup's) decides which lines
// a file carries and which it takes: the report and event settings only where the meter has
// them, the level trigger's settings only with the trigger "LEV", its external polarity
// otherwise.

#include <string>
#include <string_view>
#include <vector>

class CInstrStatus;

namespace setup {

// The meter holds report and event settings (the setup values' gate setup_gate::kReports): a
// QS4160 of variant L, H, I or M, or a model whose text holds one of the report letters. Its
// setup read and send handle them, so its custom settings keep them too.
bool HasCustomReportSettings(std::string_view model);

// The text of a settings file, each line ending in CR LF.
std::string WriteCustomSettings(const CInstrStatus& edited, std::string_view model);

// Stores each line's value in the edited setup. A line is KEY=value with a key of the table;
// the value is trimmed. Lines with no such key, with a key the model does not take or with a
// value its form refuses change nothing; values not named keep their texts.
void LoadCustomSettings(const std::vector<std::string>& lines, std::string_view model,
                        CInstrStatus& edited);

}  // namespace setup
