#include "link/setup_value_table.h"

#include <algorithm>
#include <array>

namespace {

using S = CInstrStatus;

constexpr const char* kUnset = "-1";  // not read from a meter yet
constexpr const char* kZero = "0";
constexpr const char* kKept = nullptr;

constexpr ReplyRule At(int code, int offset, int minLength = 0) {
    return {.code = code, .form = ReplyForm::AtOffset, .offset = offset, .minLength = minLength};
}
constexpr ReplyRule After(int code, const char* key) {
    return {.code = code, .form = ReplyForm::AfterKey, .key = key};
}
constexpr ReplyRule AfterLastColon(int code) {
    return {.code = code, .form = ReplyForm::AfterLastColon};
}

constexpr ReplyChoice kIntegrationModes[] = {{"INT_MODE:SING", "SINGLE"},
                                             {"INT_MODE:MULT", "MULTI"}};
constexpr ReplyChoice kAutoStoreStates[] = {{"AUTO_STORE:ON", "ON"}, {"AUTO_STORE:OFF", "OFF"}};

constexpr auto kSaved = CustomKeyUse::LoadAndSave;
constexpr auto kReports = CustomKeyGate::Reports;
constexpr auto kLevelTrigger = CustomKeyGate::LevelTrigger;

// clang-format off
const std::array<SetupValueRow, CInstrStatus::kValueCount> kValues = {{
    {.value = 0, .name = "INSTR_M", .text = &S::m_strModel,
     .query = After(0, "SET:INSTR_MODEL:"), .block = 0, .afterReset = kKept},
    {.value = 1, .name = "INSTR_N", .text = &S::m_strSerialNumber,
     .query = After(1, "SET:INSTR_NUMBER:"), .block = 1},
    {.value = 2, .name = "INSTR_V", .text = &S::m_strFirmwareVersion,
     .query = After(2, "SET:INSTR_VERSION:"), .block = 2},
    {.value = 3, .name = "CLASS", .text = &S::m_strClass,
     .query = AfterLastColon(205)},
    {.value = 4, .name = "MIC_M", .text = &S::m_strMicModel,
     .query = After(3, "SET:MIC_MODEL:"), .block = 3},
    {.value = 5, .name = "MIC_N", .text = &S::m_strMicSerialNumber,
     .query = After(5, "SET:MIC_NUMBER:"), .block = 5},
    {.value = 6, .name = "MIC_T", .text = &S::m_strMicType,
     .query = After(4, "SET:MIC_TYPE:"), .block = 4},
    {.value = 7, .name = "DATE", .text = &S::m_strDate, .query = At(6, 9, 10),
     .cleanup = ValueCleanup::DateSlashes, .block = 6, .setCode = 9, .clearedAfterSend = true,
     .initial = "2000/01/01", .afterReset = "2000/01/01"},
    {.value = 8, .name = "TIME", .text = &S::m_strTime, .query = At(7, 9, 10),
     .block = 7, .setCode = 10, .clearedAfterSend = true,
     .initial = "00:00", .afterReset = "00:00"},
    {.value = 9, .name = "MEM_S", .text = &S::m_strMemorySize, .query = At(16, 13, 14),
     .block = 8, .initial = kUnset},
    {.value = 10, .name = "DISP_C", .text = &S::m_strDisplayContrast, .query = At(83, 18, 19),
     .setCode = 84, .initial = kUnset, .afterReset = kZero},
    {.value = 11, .name = "AUTO_PWR_OFF", .text = &S::m_strAutoPowerOff, .query = At(17, 18, 18),
     .block = 9, .setCode = 50, .key = "AUTO_PWR_OFF", .keyUse = kSaved, .keyLine = 1,
     .initial = kUnset, .afterReset = kZero},
    {.value = 12, .name = "INPUT_CH", .text = &S::m_strInputChannel, .query = At(18, 15, 16),
     .block = 10, .setCode = 51, .key = "INPUT_CH", .keyUse = kSaved, .keyLine = 2,
     .initial = kUnset, .afterReset = kZero},
    {.value = 13, .name = "DA_OUTPUT", .text = &S::m_strDaOutput, .query = At(19, 14, 15),
     .block = 11, .setCode = 52, .key = "DA_OUTPUT", .keyUse = kSaved, .keyLine = 3,
     .initial = kUnset, .afterReset = kZero},
    // The meter answers a new baud rate with the rate it took, read like the query's reply.
    {.value = 14, .name = "BAUD", .text = &S::m_strBaudRate, .query = At(20, 14, 15),
     .altQuery = At(53, 14, 15), .block = 12, .setCode = 53,
     .initial = kUnset, .afterReset = kZero},
    {.value = 15, .name = "INPUT_GAIN", .text = &S::m_strInputGain, .query = At(21, 15, 16),
     .block = 13, .setCode = 54, .change = ChangeTest::CurrentContains,
     .key = "INPUT_GAIN", .keyUse = kSaved, .keyLine = 4, .keyForm = CustomKeyForm::GainInDb,
     .initial = kUnset, .afterReset = kZero},
    {.value = 16, .name = "PROFILE_TIME", .text = &S::m_strProfileTime, .query = At(22, 17, 18),
     .block = 14, .setCode = 55, .key = "PROFILE_TIME", .keyUse = kSaved, .keyLine = 5,
     .initial = kUnset, .afterReset = kZero},
    {.value = 17, .name = "PROFILE_SPECTRUM_TIME", .text = &S::m_strProfileSpectrumTime,
     .query = At(23, 18, 19), .block = 15, .setCode = 56, .key = "PROFILE_SPECTRUM_TIME",
     .keyUse = kSaved, .keyLine = 6, .initial = kUnset, .afterReset = kZero},
    {.value = 18, .name = "INTEGRATION_TIME", .text = &S::m_strIntegrationTime,
     .query = At(24, 21, 22), .block = 16, .setCode = 57, .key = "INTEGRATION_TIME",
     .keyUse = kSaved, .keyLine = 7, .initial = kUnset, .afterReset = kZero},
    {.value = 19, .name = "ERASE_TIME", .text = &S::m_strEraseTime, .query = At(25, 15, 16),
     .block = 17, .setCode = 58, .key = "ERASE_TIME", .keyUse = kSaved, .keyLine = 8,
     .initial = kUnset, .afterReset = kZero},
    {.value = 20, .name = "EXCHANGE_RATE", .text = &S::m_strExchangeRate, .query = At(26, 18, 19),
     .cleanup = ValueCleanup::NoDecibel, .block = 18, .setCode = 59, .key = "EXCHANGE_RATE",
     .keyUse = kSaved, .keyLine = 9, .initial = kUnset, .afterReset = kZero},
    {.value = 21, .name = "DOSE_THRESHOLD", .text = &S::m_strDoseThreshold,
     .query = At(27, 19, 20), .cleanup = ValueCleanup::NoDecibel, .block = 20, .setCode = 60,
     .key = "DOSE_THRESHOLD", .keyUse = kSaved, .keyLine = 10, .initial = kUnset,
     .afterReset = kZero},
    {.value = 22, .name = "CRITERION_LEV", .text = &S::m_strCriterionLevel,
     .query = At(28, 20, 21), .cleanup = ValueCleanup::NoDecibel, .block = 19, .setCode = 61,
     .key = "CRITERION_LEV", .keyUse = kSaved, .keyLine = 11, .initial = kUnset,
     .afterReset = kZero},
    {.value = 23, .name = "OVERLOAD_LEV", .text = &S::m_strOverloadLevel,
     .query = At(29, 19, 20), .cleanup = ValueCleanup::NoDecibel, .block = 21, .setCode = 62,
     .key = "OVERLOAD_LEV", .keyUse = kSaved, .keyLine = 12, .initial = kUnset,
     .afterReset = kZero},
    {.value = 24, .name = "PERC1_LEV", .text = &S::m_strPerc1Level, .query = At(30, 17, 18),
     .block = 22, .setCode = 63, .key = "PERC1_LEV", .keyUse = kSaved, .keyLine = 13,
     .initial = kUnset, .afterReset = kZero},
    {.value = 25, .name = "PERC2_LEV", .text = &S::m_strPerc2Level, .query = At(31, 17, 18),
     .block = 23, .setCode = 64, .key = "PERC2_LEV", .keyUse = kSaved, .keyLine = 14,
     .initial = kUnset, .afterReset = kZero},
    {.value = 26, .name = "PERC3_LEV", .text = &S::m_strPerc3Level, .query = At(32, 17, 18),
     .block = 24, .setCode = 65, .key = "PERC3_LEV", .keyUse = kSaved, .keyLine = 15,
     .initial = kUnset, .afterReset = kZero},
    {.value = 27, .name = "PERC4_LEV", .text = &S::m_strPerc4Level, .query = At(33, 17, 18),
     .block = 25, .setCode = 66, .key = "PERC4_LEV", .keyUse = kSaved, .keyLine = 16,
     .initial = kUnset, .afterReset = kZero},
    {.value = 28, .name = "SLM1_PAR", .text = &S::m_strSlm1Param, .query = At(34, 20, 21),
     .cleanup = ValueCleanup::NoBlanks, .block = 26, .setCode = 67, .key = "SLM1_PAR",
     .keyUse = kSaved, .keyLine = 17, .initial = kUnset, .afterReset = kZero},
    {.value = 29, .name = "SLM2_PAR", .text = &S::m_strSlm2Param, .query = At(35, 20, 21),
     .cleanup = ValueCleanup::NoBlanks, .block = 27, .setCode = 68, .key = "SLM2_PAR",
     .keyUse = kSaved, .keyLine = 18, .initial = kUnset, .afterReset = kZero},
    {.value = 30, .name = "SLM3_PAR", .text = &S::m_strSlm3Param, .query = At(36, 20, 21),
     .cleanup = ValueCleanup::NoBlanks, .block = 28, .setCode = 69, .key = "SLM3_PAR",
     .keyUse = kSaved, .keyLine = 19, .initial = kUnset, .afterReset = kZero},
    {.value = 31, .name = "SLM4_PAR", .text = &S::m_strSlm4Param, .query = At(37, 20, 21),
     .cleanup = ValueCleanup::NoBlanks, .block = 29, .setCode = 70, .key = "SLM4_PAR",
     .keyUse = kSaved, .keyLine = 20, .initial = kUnset, .afterReset = kZero},
    {.value = 32, .name = "SLM5_PAR", .text = &S::m_strSlm5Param, .query = At(38, 20, 21),
     .cleanup = ValueCleanup::NoBlanks, .block = 30, .setCode = 71, .key = "SLM5_PAR",
     .keyUse = kSaved, .keyLine = 21, .initial = kUnset, .afterReset = kZero},
    {.value = 33, .name = "PROFILE_PARAM", .text = &S::m_strProfileParam,
     .query = At(39, 22, 23), .cleanup = ValueCleanup::NoBlanks, .block = 31, .setCode = 72,
     .key = "PROFILE_PARAM", .keyUse = kSaved, .keyLine = 22, .initial = kUnset,
     .afterReset = kZero},
    {.value = 34, .name = "SPECT_AUX_POND", .text = &S::m_strSpectAuxWeighting,
     .query = At(40, 19, 20), .block = 32, .setCode = 73, .key = "SPECT_AUX_POND",
     .keyUse = kSaved, .keyLine = 23, .initial = kUnset, .afterReset = kZero},
    {.value = 35, .name = "SPECT_TYPE", .text = &S::m_strSpectType, .query = At(41, 15, 16),
     .block = 33, .setCode = 74, .key = "SPECT_TYPE", .keyUse = kSaved, .keyLine = 24,
     .initial = kUnset, .afterReset = kZero},
    {.value = 36, .name = "SPECT_MEAN", .text = &S::m_strSpectMean, .query = At(42, 15, 16),
     .block = 34, .setCode = 75, .key = "SPECT_MEAN", .keyUse = kSaved, .keyLine = 25,
     .initial = kUnset, .afterReset = kZero},
    {.value = 37, .name = "SPECT_MEAN_WEIGHT", .text = &S::m_strSpectMeanWeighting,
     .query = At(43, 22, 23), .block = 35, .setCode = 76, .key = "SPECT_MEAN_WEIGHT",
     .keyUse = kSaved, .keyLine = 26, .initial = kUnset, .afterReset = kZero},
    {.value = 38, .name = "SPECT_SHIFT", .text = &S::m_strHalfBandShift, .query = At(44, 16, 17),
     .block = 36, .initial = kUnset, .afterReset = kZero},
    {.value = 39, .name = "PROF_DLOGGER", .text = &S::m_strProfDatalogger,
     .query = At(45, 17, 18), .setCode = 78, .key = "PROF_DLOGGER", .keyUse = kSaved, .keyLine = 29,
     .initial = kUnset, .afterReset = kZero},
    // QS4160 models log with SET:SLM_D, the others with SET:SLM+PROF.
    {.value = 40, .name = "SLM_DLOGGER", .text = &S::m_strSlmDatalogger,
     .query = At(46, 16, 17), .altQuery = AfterLastColon(206), .setCode = 79, .altSetCode = 207,
     .key = "SLM_DLOGGER", .keyUse = kSaved, .keyLine = 30, .initial = kUnset, .afterReset = kZero},
    {.value = 41, .name = "OCT_DLOGGER", .text = &S::m_strOctDatalogger,
     .query = At(47, 16, 17), .setCode = 80, .key = "OCT_DLOGGER", .keyUse = kSaved, .keyLine = 31,
     .initial = kUnset, .afterReset = kZero},
    {.value = 42, .name = "TOCT_DLOGGER", .text = &S::m_strToctDatalogger,
     .query = At(48, 17, 18), .setCode = 81, .key = "TOCT_DLOGGER", .keyUse = kSaved, .keyLine = 32,
     .initial = kUnset, .afterReset = kZero},
    {.value = 43, .name = "SHORTLEQ_DLOGGER", .text = &S::m_strShortLeqDatalogger,
     .query = At(201, 22), .setCode = 202, .key = "SHORTLEQ_DLOGGER", .keyUse = kSaved,
     .keyLine = 33, .keyGate = kReports,
     .initial = kUnset, .afterReset = kZero},
    {.value = 44, .name = "FFT_DLOGGER", .text = &S::m_strFftDatalogger, .query = At(203, 16),
     .setCode = 204, .key = "FFT_DLOGGER", .keyUse = kSaved, .keyLine = 34, .keyGate = kReports,
     .initial = kUnset, .afterReset = kZero},
    {.value = 45, .name = "FFT_BAND", .text = &S::m_strFftBand, .query = At(197, 13),
     .setCode = 198, .afterReset = kKept},
    {.value = 46, .name = "STAT_PAR", .text = &S::m_strStatParam, .query = At(199, 19),
     .cleanup = ValueCleanup::NoBlanks, .setCode = 200, .afterReset = kKept},
    {.value = 47, .name = "CAL_L", .text = &S::m_strCalLevel, .query = At(49, 14, 15),
     .block = 37, .setCode = 82, .change = ChangeTest::CurrentContains,
     .initial = kUnset, .afterReset = kZero},
    {.value = 48, .name = "MIC_RESP", .text = &S::m_strMicResponse, .query = At(90, 13, 14),
     .block = 39, .setCode = 91, .key = "MIC_RESP", .keyUse = CustomKeyUse::LoadOnly,
     .initial = kUnset, .afterReset = kZero},
    {.value = 49, .name = "WIND_SHIELD", .text = &S::m_strWindShield, .query = At(88, 17, 18),
     .block = 38, .setCode = 89, .key = "WIND_SHIELD", .keyUse = CustomKeyUse::LoadOnly,
     .initial = kUnset, .afterReset = kZero},
    {.value = 50, .name = "AMB_CORR", .text = &S::m_strAmbientCorrection,
     .query = At(92, 17, 18), .block = 40, .setCode = 93, .key = "AMB_CORR",
     .keyUse = CustomKeyUse::LoadOnly, .initial = kUnset, .afterReset = kZero},
    {.value = 51, .name = "MIC_CT", .text = &S::m_strMicTemperature, .query = At(94, 11, 12),
     .cleanup = ValueCleanup::DegreeSign, .block = 41, .initial = kUnset, .afterReset = kZero},
    {.value = 52, .name = "DATA_LOG", .number = &S::m_nDataLogging,
     .initial = kZero, .afterReset = kZero},
    {.value = 53, .name = "EXT_RNG", .number = &S::m_nExtendedRange,
     .query = {.code = 121, .form = ReplyForm::OnFlag}, .scope = RecordScope::CurrentOnly,
     .initial = kZero, .afterReset = kZero},
    {.value = 54, .name = "INTEGR_MODE", .text = &S::m_strIntegrationMode,
     .query = {.code = 127, .form = ReplyForm::Choice, .choices = kIntegrationModes},
     .block = 44, .setCode = 128, .key = "INTEGR_MODE", .keyUse = kSaved, .keyLine = 28,
     .initial = "SINGLE", .afterReset = "SINGLE"},
    {.value = 55, .name = "AUTOSTORE", .text = &S::m_strAutoStore,
     .query = {.code = 129, .form = ReplyForm::Choice, .choices = kAutoStoreStates},
     .setCode = 130, .key = "AUTOSTORE", .keyUse = kSaved, .keyLine = 27,
     .keyForm = CustomKeyForm::OnOff,
     .initial = "OFF", .afterReset = "OFF"},
    {.value = 56, .name = "REPORT_TIME", .text = &S::m_strReportTime, .query = At(143, 16),
     .setCode = 144, .key = "REPORT_TIME", .keyUse = kSaved, .keyLine = 35, .keyGate = kReports},
    {.value = 57, .name = "1_REPORT_PAR", .text = &S::m_strReport1Param, .query = At(145, 20),
     .cleanup = ValueCleanup::NoBlanks, .setCode = 146, .key = "1_REPORT_PAR", .keyUse = kSaved,
     .keyLine = 40, .keyGate = kReports},
    {.value = 58, .name = "2_REPORT_PAR", .text = &S::m_strReport2Param, .query = At(147, 20),
     .cleanup = ValueCleanup::NoBlanks, .setCode = 148, .key = "2_REPORT_PAR", .keyUse = kSaved,
     .keyLine = 41, .keyGate = kReports},
    {.value = 59, .name = "3_REPORT_PAR", .text = &S::m_strReport3Param, .query = At(149, 20),
     .cleanup = ValueCleanup::NoBlanks, .setCode = 150, .key = "3_REPORT_PAR", .keyUse = kSaved,
     .keyLine = 42, .keyGate = kReports},
    {.value = 60, .name = "4_REPORT_PAR", .text = &S::m_strReport4Param, .query = At(151, 20),
     .cleanup = ValueCleanup::NoBlanks, .setCode = 152, .key = "4_REPORT_PAR", .keyUse = kSaved,
     .keyLine = 43, .keyGate = kReports},
    {.value = 61, .name = "5_REPORT_PAR", .text = &S::m_strReport5Param, .query = At(153, 20),
     .cleanup = ValueCleanup::NoBlanks, .setCode = 154, .key = "5_REPORT_PAR", .keyUse = kSaved,
     .keyLine = 44, .keyGate = kReports},
    {.value = 62, .name = "STORE_REP_PAR", .text = &S::m_strStoreRepParams,
     .query = At(155, 19), .setCode = 156, .key = "STORE_REP_PAR", .keyUse = kSaved,
     .keyLine = 36, .keyGate = kReports},
    {.value = 63, .name = "STORE_REP_OCT", .text = &S::m_strStoreRepOctaves,
     .query = At(157, 15), .setCode = 158, .key = "STORE_REP_OCT", .keyUse = kSaved,
     .keyLine = 37, .keyGate = kReports},
    {.value = 64, .name = "STORE_REP_TOCT", .text = &S::m_strStoreRepThirdOctaves,
     .query = At(159, 16), .setCode = 160, .key = "STORE_REP_TOCT", .keyUse = kSaved,
     .keyLine = 38, .keyGate = kReports},
    {.value = 65, .name = "STORE_REP_STAT", .text = &S::m_strStoreRepStatistics,
     .query = At(161, 19), .setCode = 162, .key = "STORE_REP_STAT", .keyUse = kSaved,
     .keyLine = 39, .keyGate = kReports},
    {.value = 66, .name = "1_EVENT_PAR", .text = &S::m_strEvent1Param, .query = At(163, 20),
     .cleanup = ValueCleanup::NoBlanks, .setCode = 164, .key = "1_EVENT_PAR", .keyUse = kSaved,
     .keyLine = 56, .keyGate = kReports},
    {.value = 67, .name = "2_EVENT_PAR", .text = &S::m_strEvent2Param, .query = At(165, 20),
     .cleanup = ValueCleanup::NoBlanks, .setCode = 166, .key = "2_EVENT_PAR", .keyUse = kSaved,
     .keyLine = 57, .keyGate = kReports},
    {.value = 68, .name = "3_EVENT_PAR", .text = &S::m_strEvent3Param, .query = At(167, 20),
     .cleanup = ValueCleanup::NoBlanks, .setCode = 168, .key = "3_EVENT_PAR", .keyUse = kSaved,
     .keyLine = 58, .keyGate = kReports},
    {.value = 69, .name = "4_EVENT_PAR", .text = &S::m_strEvent4Param, .query = At(169, 20),
     .cleanup = ValueCleanup::NoBlanks, .setCode = 170, .key = "4_EVENT_PAR", .keyUse = kSaved,
     .keyLine = 59, .keyGate = kReports},
    {.value = 70, .name = "5_EVENT_PAR", .text = &S::m_strEvent5Param, .query = At(171, 20),
     .cleanup = ValueCleanup::NoBlanks, .setCode = 172, .key = "5_EVENT_PAR", .keyUse = kSaved,
     .keyLine = 60, .keyGate = kReports},
    {.value = 71, .name = "STORE_EVN_PAR", .text = &S::m_strStoreEvnParams,
     .query = At(173, 19), .setCode = 174, .key = "STORE_EVN_PAR", .keyUse = kSaved,
     .keyLine = 45, .keyGate = kReports},
    {.value = 72, .name = "STORE_EVN_OCT", .text = &S::m_strStoreEvnOctaves,
     .query = At(175, 15), .setCode = 176, .key = "STORE_EVN_OCT", .keyUse = kSaved,
     .keyLine = 46, .keyGate = kReports},
    {.value = 73, .name = "STORE_EVN_TOCT", .text = &S::m_strStoreEvnThirdOctaves,
     .query = At(177, 16), .setCode = 178, .key = "STORE_EVN_TOCT", .keyUse = kSaved,
     .keyLine = 47, .keyGate = kReports},
    {.value = 74, .name = "STORE_EVN_STAT", .text = &S::m_strStoreEvnStatistics,
     .query = At(179, 19), .setCode = 180, .key = "STORE_EVN_STAT", .keyUse = kSaved,
     .keyLine = 48, .keyGate = kReports},
    {.value = 75, .name = "EVN_TRIG", .text = &S::m_strEventTrigger, .query = At(181, 16),
     .setCode = 182, .key = "EVN_TRIG", .keyUse = kSaved, .keyLine = 49, .keyGate = kReports},
    // A level trigger has a polarity, an external one its own polarity command.
    {.value = 76, .name = "EVN_TRIG_POL", .text = &S::m_strTriggerPolarity,
     .query = At(183, 17), .altQuery = At(185, 24), .setCode = 184, .altSetCode = 186,
     .key = "EVN_TRIG_POL", .altKey = "EVN_TRIG_EXT_POL", .keyUse = kSaved, .keyLine = 51,
     .keyGate = kLevelTrigger},
    {.value = 77, .name = "EVN_TRIG_ON_LEV", .text = &S::m_strTriggerOnLevel,
     .query = At(187, 17), .cleanup = ValueCleanup::NoDecibel,
     .setCode = 188, .key = "EVN_TRIG_ON_LEV", .keyUse = kSaved, .keyLine = 52,
     .keyGate = kLevelTrigger},
    {.value = 78, .name = "EVN_TRIG_OFF_LEV", .text = &S::m_strTriggerOffLevel,
     .query = At(189, 18), .cleanup = ValueCleanup::NoDecibel,
     .setCode = 190, .key = "EVN_TRIG_OFF_LEV", .keyUse = kSaved, .keyLine = 53,
     .keyGate = kLevelTrigger},
    {.value = 79, .name = "EVN_TRIG_ON_TIME", .text = &S::m_strTriggerOnTime,
     .query = At(191, 16), .cleanup = ValueCleanup::NoSeconds,
     .setCode = 192, .key = "EVN_TRIG_ON_TIME", .keyUse = kSaved, .keyLine = 54,
     .keyGate = kLevelTrigger},
    {.value = 80, .name = "EVN_TRIG_OFF_TIME", .text = &S::m_strTriggerOffTime,
     .query = At(193, 17), .cleanup = ValueCleanup::NoSeconds,
     .setCode = 194, .key = "EVN_TRIG_OFF_TIME", .keyUse = kSaved, .keyLine = 55,
     .keyGate = kLevelTrigger},
    {.value = 81, .name = "EVN_TRIG_PRINT", .text = &S::m_strTriggerPrint, .query = At(195, 14),
     .setCode = 196, .key = "EVN_TRIG_PRINT", .keyUse = kSaved, .keyLine = 50, .keyGate = kReports},
}};
// clang-format on

template <typename Match>
const SetupValueRow* FindFirst(Match match) {
    for (const auto& row : kValues) {
        if (match(row))
            return &row;
    }
    return nullptr;
}

bool Same(const char* a, std::string_view b) {
    return a != nullptr && b == a;
}

}  // namespace

std::span<const SetupValueRow> SetupValueRows() {
    return kValues;
}

const SetupValueRow* FindSetupValue(int value) {
    if (value < 0 || value >= CInstrStatus::kValueCount)
        return nullptr;
    return &kValues[static_cast<size_t>(value)];
}

const SetupValueRow* FindSetupValueBySetupNumber(int number) {
    return FindSetupValue(ValueOfSetupNumber(number));
}

const SetupValueRow* FindSetupValueByQuery(int code) {
    if (code < 0)
        return nullptr;
    return FindFirst([code](const SetupValueRow& s) { return ReplyRuleFor(s, code) != nullptr; });
}

const SetupValueRow* FindSetupValueBySetCode(int code) {
    if (code < 0)
        return nullptr;
    return FindFirst(
        [code](const SetupValueRow& s) { return s.setCode == code || s.altSetCode == code; });
}

const SetupValueRow* FindSetupValueByName(std::string_view name) {
    return FindFirst([name](const SetupValueRow& s) { return Same(s.name, name); });
}

const SetupValueRow* FindSetupValueByKey(std::string_view key) {
    return FindFirst(
        [key](const SetupValueRow& s) { return Same(s.key, key) || Same(s.altKey, key); });
}

std::vector<const SetupValueRow*> CustomSettingsLineOrder() {
    std::vector<const SetupValueRow*> rows;
    for (const auto& row : kValues)
        if (row.keyUse == CustomKeyUse::LoadAndSave)
            rows.push_back(&row);
    std::ranges::sort(rows, {}, &SetupValueRow::keyLine);
    return rows;
}

const ReplyRule* ReplyRuleFor(const SetupValueRow& row, int code) {
    if (row.query.form != ReplyForm::None && row.query.code == code)
        return &row.query;
    if (row.altQuery.form != ReplyForm::None && row.altQuery.code == code)
        return &row.altQuery;
    return nullptr;
}
