#pragma once
// What a meter can do, told by substring tests on its model text (case matters; a single
// letter matches anywhere in the text, the class and option parts included). The text is the
// decorated model of the current record: model, "_", option letters, extended-range digit,
// "$", class, as "QS4060_rn0$1".

#include <string_view>

namespace model_rules {

// The larger family, with input channel, D/A output, profile, spectrum and logging settings.
bool IsQS4160(std::string_view model);
// A QS4060 with one of the option letters "a" to "g" right after the model: its microphone's
// response and wind shield are not settable, and its calibration level is fixed.
bool HasFixedMicrophone(std::string_view model);
// No "p", "q" or "r": the meter has the spectrum settings.
bool HasSpectrum(std::string_view model);
// No "p": the meter has the data logging settings.
bool HasDataLogging(std::string_view model);
// Any of "r", "n", "k", "j", "N", "K", "J": report and event sections.
bool HasReports(std::string_view model);
// Reports store octave and third-octave spectra ("n", "k", "N", "K").
bool ReportsStoreThirdOctaves(std::string_view model);
// Reports store octave spectra only ("j", "J") when they do not store third octaves.
bool ReportsStoreOctavesOnly(std::string_view model);
// "j" or "J": the letters of octave reports, whether or not the model has third octaves too.
bool HasOctaveReportLetters(std::string_view model);
// A QS4160 variant with reports and events: "QS4160_L", "QS4160_H", "QS4160_I", "QS4160_M".
bool IsQS4160WithReports(std::string_view model);
// The variants that also log short Leq and FFT: "QS4160_L", "QS4160_H".
bool HasShortLeqAndFft(std::string_view model);
// Report and event settings of either family: HasReports or IsQS4160WithReports.
bool HasReportSettings(std::string_view model);
// A QS4060's reports and events store no spectra ("r"), or no third octaves ("r", "j", "J").
bool ReportsLackSpectra(std::string_view model);
bool ReportsLackThirdOctaves(std::string_view model);
// A QS4060 with the data logger option ("B", "C", "F", "G" in either case right after the
// model) or "q" anywhere.
bool HasDataLoggerOption(std::string_view model);

}  // namespace model_rules
