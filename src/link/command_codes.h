#pragma once
// Names for the command codes that the program's logic singles out. The command table holds
// every code with its text; these are the ones other code compares with or sends by name.

#include <array>

namespace command_code {

constexpr int kModelQuery = 0;
constexpr int kSerialNumberQuery = 1;
constexpr int kFirmwareQuery = 2;
constexpr int kMicModelQuery = 3;
constexpr int kMicTypeQuery = 4;
constexpr int kMicNumberQuery = 5;
constexpr int kDateQuery = 6;
constexpr int kTimeQuery = 7;
constexpr int kAcquisitionQuery = 11;
constexpr int kRunKey = 12;
constexpr int kAutoPowerOffQuery = 17;
constexpr int kInputGainQuery = 21;
constexpr int kProfileTimeQuery = 22;
constexpr int kSpectrumTimeQuery = 23;
constexpr int kIntegrationTimeQuery = 24;
// "SET:PROF_D:?", "SET:SLM_D:?", "SET:OCT_D:?", "SET:TOCT_D:?".
constexpr int kProfileDataloggerQuery = 45;
constexpr int kSlmDataloggerQuery = 46;
constexpr int kOctaveDataloggerQuery = 47;
constexpr int kThirdOctaveDataloggerQuery = 48;
constexpr int kBaudChange = 53;
constexpr int kDisplayContrastQuery = 83;
constexpr int kDataLogKey = 85;
constexpr int kStopDataLogging = 86;
constexpr int kEnterKey = 87;
constexpr int kRecordFileStart = 95;
constexpr int kMonitorOn = 96;
constexpr int kMonitorOff = 97;
constexpr int kMonitorQuery = 98;
constexpr int kRunAcquisitionSlow = 99;  // sent without awaiting a reply
constexpr int kDisplayQuery = 100;
constexpr int kLeftKey = 102;
constexpr int kRightKey = 103;
constexpr int kProgKey = 104;
constexpr int kMenuKey = 105;
constexpr int kCursorKey = 106;
constexpr int kStopAcquisition = 107;
constexpr int kRunAcquisition = 108;
constexpr int kRecordingQuery = 109;
constexpr int kDumpOn = 110;
constexpr int kDumpRepeat = 111;
constexpr int kDumpNext = 112;
constexpr int kDumpClear = 113;
constexpr int kIntegrationModeQuery = 127;
constexpr int kReportTimeQuery = 143;
constexpr int kDumpOff = 115;
constexpr int kOptionsQuery = 120;
constexpr int kExtendedRangeQuery = 121;
constexpr int kPowerOff = 122;
constexpr int kPrintValueKey = 123;
constexpr int kStartCalibrationKey = 124;
constexpr int kStartDiagnosticKey = 125;
constexpr int kStartFrequencyCheckKey = 126;
constexpr int kIntegrationModeWrite = 128;
constexpr int kGainQuery = 131;
constexpr int kGainWrite = 132;
constexpr int kElectricCalQuery = 133;
constexpr int kMicCalPrintValueKey = 135;
constexpr int kProtectionCodeQuery = 136;
constexpr int kFactoryCommand = 137;
constexpr int kMicNumberWrite = 139;
constexpr int kEventTriggerQuery = 181;
constexpr int kClassQuery = 205;
constexpr int kSlmDataloggingQuery = 206;
constexpr int kElectricCalStepQuery = 1340;
// Sent past the queue only: the start of the meter's recording, the identification probe of a
// fresh link (its reply is the model's), a protected field's query and write.
constexpr int kRecordOn = 208;
constexpr int kIdentificationProbe = 209;
constexpr int kProtectedFieldQuery = 210;
constexpr int kProtectedFieldWrite = 211;

// What the instrument status window shows, asked in this order: the screen, the auto power-off,
// the acquisition state and the recording state, whose reply fills the window. The status poll,
// the window's Refresh, the identification chain and a datalogging start or stop ask them all.
inline constexpr std::array<int, 4> kStatusQueries = {kDisplayQuery, kAutoPowerOffQuery,
                                                      kAcquisitionQuery, kRecordingQuery};

}  // namespace command_code
