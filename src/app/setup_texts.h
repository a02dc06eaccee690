#pragma once
// Texts made from the instrument setup: the display names of measured parameters and the
// parameter list that describes the stored setup of a recording.

#include <string>
#include <string_view>
#include <vector>

#include "records/record_layout.h"

class CInstrStatus;

// The display name of a parameter code as the setup stores it ("Leq:LIN" -> "LZeq",
// "LFmx:A" -> "LAFmax"); the percentile levels "L1" to "L4" take their level from `current`.
std::string ParameterDisplayName(std::string_view code, const CInstrStatus& current);

// The parameter list's lines for a stored setup, in list order. Some of them also become
// current setup values: the date and time lines, the gain, profile and spectrum times, the
// integration time and mode, the percentile levels, the spectrum mean weighting and shift.
std::vector<std::string> BuildSetupLines(const records::SetupBlock& block, CInstrStatus& current);

// "Repeat.Time: %dh-%dm-%ds" or "Acq.Time: ..." for a duration in days; hours within the day.
std::string ScheduleDurationLine(const char* label, double days);
