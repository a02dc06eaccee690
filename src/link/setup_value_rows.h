#pragma once
// The rows of the setup value table (setup_value_table.h), one a value in value-number order:
// a new setting is a field of CInstrStatus, its commands in the command table and a row here;
// the setup pages bind their controls to a row by its name. The rows are constant expressions,
// so that a name no row has does not compile (RowOf).

#include <array>
#include <string_view>

#include "link/instr_status.h"
#include "link/setup_value_table.h"

namespace setup_rows {

using S = CInstrStatus;
using namespace setup_gate;

inline constexpr const char* kUnset = "-1";  // not read from a meter yet
inline constexpr const char* kZero = "0";
inline constexpr const char* kKept = nullptr;

constexpr ReplyRule At(int code, int offset, int minLength = 0) {
    return {.code = code, .form = ReplyForm::AtOffset, .offset = offset, .minLength = minLength};
}
constexpr ReplyRule After(int code, const char* key) {
    return {.code = code, .form = ReplyForm::AfterKey, .key = key};
}
constexpr ReplyRule AfterLastColon(int code) {
    return {.code = code, .form = ReplyForm::AfterLastColon};
}

inline constexpr ReplyChoice kIntegrationModes[] = {{"INT_MODE:SING", "SINGLE"},
                                                    {"INT_MODE:MULT", "MULTI"}};
inline constexpr ReplyChoice kAutoStoreStates[] = {{"AUTO_STORE:ON", "ON"},
                                                   {"AUTO_STORE:OFF", "OFF"}};

inline constexpr auto kSaved = CustomKeyUse::LoadAndSave;
inline constexpr auto kReportKey = CustomKeyGate::Reports;
inline constexpr auto kLevelTriggerKey = CustomKeyGate::LevelTrigger;

// The whole-setup read: what every model has, the QS4060's report and event settings, the
// QS4160's settings, its report and event settings and its microphone corrections, and what
// every read ends with, the display contrast last.
constexpr OrderPlace Read(int n) {
    return {100 + n};
}
constexpr OrderPlace ReadReports(int n, SetupGate gate = {}) {
    return {200 + n, kReportLetters | gate};
}
constexpr OrderPlace ReadQS4160(int n) {
    return {300 + n, kQS4160};
}
constexpr OrderPlace ReadQS4160Reports(int n) {
    return {400 + n, kQS4160Reports};
}
constexpr OrderPlace ReadQS4160Last(int n) {
    return {500 + n, kQS4160};
}
constexpr OrderPlace ReadLast(int n) {
    return {600 + n};
}

// A new session's setup queries: what every model has, then the QS4160's.
constexpr OrderPlace Session(int n) {
    return {100 + n};
}
constexpr OrderPlace SessionQS4160(int n) {
    return {200 + n, kQS4160};
}

// The send: what every model has, the QS4060's report and event settings, the QS4160's
// settings, its logging and its report and event settings while it stores normally, and its
// ambient correction last.
constexpr OrderPlace Send(int n) {
    return {100 + n};
}
constexpr OrderPlace SendReports(int n, SetupGate gate = {}) {
    return {200 + n, kReportLetters | gate};
}
constexpr OrderPlace SendQS4160(int n) {
    return {300 + n, kQS4160};
}
constexpr OrderPlace SendQS4160Logging(int n) {
    return {400 + n, kQS4160 | kLogging};
}
constexpr OrderPlace SendQS4160Reports(int n, SetupGate gate = {}) {
    return {500 + n, kQS4160Reports | kLogging | gate};
}
constexpr OrderPlace SendQS4160Last(int n) {
    return {600 + n, kQS4160};
}

// clang-format off
inline constexpr std::array<SetupValueRow, CInstrStatus::kValueCount> kRows = {{
    {.value = 0, .name = "INSTR_M", .text = &S::m_strModel,
     .query = After(0, "SET:INSTR_MODEL:"), .block = 0, .afterReset = kKept},
    {.value = 1, .name = "INSTR_N", .text = &S::m_strSerialNumber,
     .query = After(1, "SET:INSTR_NUMBER:"), .block = 1,
     .read = {Read(2)}, .session = Session(1)},
    {.value = 2, .name = "INSTR_V", .text = &S::m_strFirmwareVersion,
     .query = After(2, "SET:INSTR_VERSION:"), .block = 2,
     .read = {Read(1)}, .session = Session(2)},
    {.value = 3, .name = "CLASS", .text = &S::m_strClass,
     .query = AfterLastColon(205)},
    {.value = 4, .name = "MIC_M", .text = &S::m_strMicModel,
     .query = After(3, "SET:MIC_MODEL:"), .block = 3,
     .read = {Read(3)}, .session = Session(3)},
    {.value = 5, .name = "MIC_N", .text = &S::m_strMicSerialNumber,
     .query = After(5, "SET:MIC_NUMBER:"), .block = 5,
     .read = {Read(5)}, .session = Session(5)},
    {.value = 6, .name = "MIC_T", .text = &S::m_strMicType,
     .query = After(4, "SET:MIC_TYPE:"), .block = 4,
     .read = {Read(4)}, .session = Session(4)},
    {.value = 7, .name = "DATE", .text = &S::m_strDate, .query = At(6, 9, 10),
     .cleanup = ValueCleanup::DateSlashes, .block = 6, .setCode = 9, .clearedAfterSend = true,
     .initial = "2000/01/01", .afterReset = "2000/01/01",
     .read = {Read(6)}, .session = Session(6), .send = {Send(1)}},
    {.value = 8, .name = "TIME", .text = &S::m_strTime, .query = At(7, 9, 10),
     .block = 7, .setCode = 10, .clearedAfterSend = true,
     .initial = "00:00", .afterReset = "00:00",
     .read = {Read(7)}, .session = Session(7), .send = {Send(2)}},
    {.value = 9, .name = "MEM_S", .text = &S::m_strMemorySize, .query = At(16, 13, 14),
     .block = 8, .initial = kUnset,
     .read = {Read(8)}, .session = Session(8)},
    // Its reply, the last of a whole read, opens the setup sheet.
    {.value = 10, .name = "DISP_C", .text = &S::m_strDisplayContrast, .query = At(83, 18, 19),
     .setCode = 84, .initial = kUnset, .afterReset = kZero,
     .read = {ReadLast(6)}, .send = {Send(22)}},
    {.value = 11, .name = "AUTO_PWR_OFF", .text = &S::m_strAutoPowerOff, .query = At(17, 18, 18),
     .block = 9, .setCode = 50, .key = "AUTO_PWR_OFF", .keyUse = kSaved, .keyLine = 1,
     .initial = kUnset, .afterReset = kZero,
     .read = {Read(9)}, .session = Session(9), .send = {Send(3)}},
    {.value = 12, .name = "INPUT_CH", .text = &S::m_strInputChannel, .query = At(18, 15, 16),
     .block = 10, .setCode = 51, .key = "INPUT_CH", .keyUse = kSaved, .keyLine = 2,
     .initial = kUnset, .afterReset = kZero, .gate = kQS4160,
     .read = {ReadQS4160(1)}, .session = SessionQS4160(1), .send = {SendQS4160(1)}},
    {.value = 13, .name = "DA_OUTPUT", .text = &S::m_strDaOutput, .query = At(19, 14, 15),
     .block = 11, .setCode = 52, .key = "DA_OUTPUT", .keyUse = kSaved, .keyLine = 3,
     .initial = kUnset, .afterReset = kZero, .gate = kQS4160,
     .read = {ReadQS4160(2)}, .session = SessionQS4160(2), .send = {SendQS4160(2)}},
    // The meter answers a new baud rate with the rate it took, read like the query's reply.
    {.value = 14, .name = "BAUD", .text = &S::m_strBaudRate, .query = At(20, 14, 15),
     .altQuery = At(53, 14, 15), .block = 12, .setCode = 53,
     .initial = kUnset, .afterReset = kZero,
     .read = {Read(10)}, .session = Session(10), .send = {Send(23)}},
    {.value = 15, .name = "INPUT_GAIN", .text = &S::m_strInputGain, .query = At(21, 15, 16),
     .block = 13, .setCode = 54, .change = ChangeTest::CurrentContains,
     .key = "INPUT_GAIN", .keyUse = kSaved, .keyLine = 4, .keyForm = CustomKeyForm::GainInDb,
     .initial = kUnset, .afterReset = kZero,
     .read = {Read(11)}, .session = Session(11), .send = {Send(4)}},
    {.value = 16, .name = "PROFILE_TIME", .text = &S::m_strProfileTime, .query = At(22, 17, 18),
     .block = 14, .setCode = 55, .key = "PROFILE_TIME", .keyUse = kSaved, .keyLine = 5,
     .initial = kUnset, .afterReset = kZero, .gate = kQS4160,
     .read = {ReadQS4160(3)}, .session = SessionQS4160(3), .send = {SendQS4160(3)}},
    {.value = 17, .name = "PROFILE_SPECTRUM_TIME", .text = &S::m_strProfileSpectrumTime,
     .query = At(23, 18, 19), .block = 15, .setCode = 56, .key = "PROFILE_SPECTRUM_TIME",
     .keyUse = kSaved, .keyLine = 6, .initial = kUnset, .afterReset = kZero, .gate = kQS4160,
     .read = {ReadQS4160(4)}, .session = SessionQS4160(4), .send = {SendQS4160(4)}},
    {.value = 18, .name = "INTEGRATION_TIME", .text = &S::m_strIntegrationTime,
     .query = At(24, 21, 22), .block = 16, .setCode = 57, .key = "INTEGRATION_TIME",
     .keyUse = kSaved, .keyLine = 7, .initial = kUnset, .afterReset = kZero,
     .read = {Read(12)}, .session = Session(13), .send = {Send(5)}},
    {.value = 19, .name = "ERASE_TIME", .text = &S::m_strEraseTime, .query = At(25, 15, 16),
     .block = 17, .setCode = 58, .key = "ERASE_TIME", .keyUse = kSaved, .keyLine = 8,
     .initial = kUnset, .afterReset = kZero,
     .read = {Read(13)}, .session = Session(14), .send = {Send(6)}},
    {.value = 20, .name = "EXCHANGE_RATE", .text = &S::m_strExchangeRate, .query = At(26, 18, 19),
     .cleanup = ValueCleanup::NoDecibel, .block = 18, .setCode = 59, .key = "EXCHANGE_RATE",
     .keyUse = kSaved, .keyLine = 9, .initial = kUnset, .afterReset = kZero,
     .read = {Read(14)}, .session = Session(15), .send = {Send(7)}},
    {.value = 21, .name = "DOSE_THRESHOLD", .text = &S::m_strDoseThreshold,
     .query = At(27, 19, 20), .cleanup = ValueCleanup::NoDecibel, .block = 20, .setCode = 60,
     .key = "DOSE_THRESHOLD", .keyUse = kSaved, .keyLine = 10, .initial = kUnset,
     .afterReset = kZero,
     .read = {Read(15)}, .session = Session(16), .send = {Send(8)}},
    {.value = 22, .name = "CRITERION_LEV", .text = &S::m_strCriterionLevel,
     .query = At(28, 20, 21), .cleanup = ValueCleanup::NoDecibel, .block = 19, .setCode = 61,
     .key = "CRITERION_LEV", .keyUse = kSaved, .keyLine = 11, .initial = kUnset,
     .afterReset = kZero,
     .read = {Read(16)}, .session = Session(17), .send = {Send(9)}},
    {.value = 23, .name = "OVERLOAD_LEV", .text = &S::m_strOverloadLevel,
     .query = At(29, 19, 20), .cleanup = ValueCleanup::NoDecibel, .block = 21, .setCode = 62,
     .key = "OVERLOAD_LEV", .keyUse = kSaved, .keyLine = 12, .initial = kUnset,
     .afterReset = kZero,
     .read = {Read(17)}, .session = Session(18), .send = {Send(10)}},
    {.value = 24, .name = "PERC1_LEV", .text = &S::m_strPerc1Level, .query = At(30, 17, 18),
     .block = 22, .setCode = 63, .key = "PERC1_LEV", .keyUse = kSaved, .keyLine = 13,
     .initial = kUnset, .afterReset = kZero,
     .read = {Read(18)}, .session = Session(19), .send = {Send(11)}},
    {.value = 25, .name = "PERC2_LEV", .text = &S::m_strPerc2Level, .query = At(31, 17, 18),
     .block = 23, .setCode = 64, .key = "PERC2_LEV", .keyUse = kSaved, .keyLine = 14,
     .initial = kUnset, .afterReset = kZero,
     .read = {Read(19)}, .session = Session(20), .send = {Send(12)}},
    {.value = 26, .name = "PERC3_LEV", .text = &S::m_strPerc3Level, .query = At(32, 17, 18),
     .block = 24, .setCode = 65, .key = "PERC3_LEV", .keyUse = kSaved, .keyLine = 15,
     .initial = kUnset, .afterReset = kZero,
     .read = {Read(20)}, .session = Session(21), .send = {Send(13)}},
    {.value = 27, .name = "PERC4_LEV", .text = &S::m_strPerc4Level, .query = At(33, 17, 18),
     .block = 25, .setCode = 66, .key = "PERC4_LEV", .keyUse = kSaved, .keyLine = 16,
     .initial = kUnset, .afterReset = kZero,
     .read = {Read(21)}, .session = Session(22), .send = {Send(14)}},
    {.value = 28, .name = "SLM1_PAR", .text = &S::m_strSlm1Param, .query = At(34, 20, 21),
     .cleanup = ValueCleanup::NoBlanks, .block = 26, .setCode = 67, .key = "SLM1_PAR",
     .keyUse = kSaved, .keyLine = 17, .initial = kUnset, .afterReset = kZero,
     .read = {Read(22)}, .session = Session(23), .send = {Send(15)}},
    {.value = 29, .name = "SLM2_PAR", .text = &S::m_strSlm2Param, .query = At(35, 20, 21),
     .cleanup = ValueCleanup::NoBlanks, .block = 27, .setCode = 68, .key = "SLM2_PAR",
     .keyUse = kSaved, .keyLine = 18, .initial = kUnset, .afterReset = kZero,
     .read = {Read(23)}, .session = Session(24), .send = {Send(16)}},
    {.value = 30, .name = "SLM3_PAR", .text = &S::m_strSlm3Param, .query = At(36, 20, 21),
     .cleanup = ValueCleanup::NoBlanks, .block = 28, .setCode = 69, .key = "SLM3_PAR",
     .keyUse = kSaved, .keyLine = 19, .initial = kUnset, .afterReset = kZero,
     .read = {Read(24)}, .session = Session(25), .send = {Send(17)}},
    {.value = 31, .name = "SLM4_PAR", .text = &S::m_strSlm4Param, .query = At(37, 20, 21),
     .cleanup = ValueCleanup::NoBlanks, .block = 29, .setCode = 70, .key = "SLM4_PAR",
     .keyUse = kSaved, .keyLine = 20, .initial = kUnset, .afterReset = kZero, .gate = kQS4160,
     .read = {ReadQS4160(5)}, .session = SessionQS4160(5), .send = {SendQS4160(5)}},
    {.value = 32, .name = "SLM5_PAR", .text = &S::m_strSlm5Param, .query = At(38, 20, 21),
     .cleanup = ValueCleanup::NoBlanks, .block = 30, .setCode = 71, .key = "SLM5_PAR",
     .keyUse = kSaved, .keyLine = 21, .initial = kUnset, .afterReset = kZero, .gate = kQS4160,
     .read = {ReadQS4160(6)}, .session = SessionQS4160(6), .send = {SendQS4160(6)}},
    {.value = 33, .name = "PROFILE_PARAM", .text = &S::m_strProfileParam,
     .query = At(39, 22, 23), .cleanup = ValueCleanup::NoBlanks, .block = 31, .setCode = 72,
     .key = "PROFILE_PARAM", .keyUse = kSaved, .keyLine = 22, .initial = kUnset,
     .afterReset = kZero, .gate = kQS4160,
     .read = {ReadQS4160(7)}, .session = SessionQS4160(7), .send = {SendQS4160(7)}},
    {.value = 34, .name = "SPECT_AUX_POND", .text = &S::m_strSpectAuxWeighting,
     .query = At(40, 19, 20), .block = 32, .setCode = 73, .key = "SPECT_AUX_POND",
     .keyUse = kSaved, .keyLine = 23, .initial = kUnset, .afterReset = kZero, .gate = kSpectrum,
     .read = {Read(25)}, .session = Session(26), .send = {Send(18)}},
    {.value = 35, .name = "SPECT_TYPE", .text = &S::m_strSpectType, .query = At(41, 15, 16),
     .block = 33, .setCode = 74, .key = "SPECT_TYPE", .keyUse = kSaved, .keyLine = 24,
     .initial = kUnset, .afterReset = kZero, .gate = kQS4160,
     .read = {ReadQS4160(8)}, .session = SessionQS4160(8), .send = {SendQS4160(8)}},
    {.value = 36, .name = "SPECT_MEAN", .text = &S::m_strSpectMean, .query = At(42, 15, 16),
     .block = 34, .setCode = 75, .key = "SPECT_MEAN", .keyUse = kSaved, .keyLine = 25,
     .initial = kUnset, .afterReset = kZero, .gate = kQS4160,
     .read = {ReadQS4160(9)}, .session = SessionQS4160(9), .send = {SendQS4160(9)}},
    {.value = 37, .name = "SPECT_MEAN_WEIGHT", .text = &S::m_strSpectMeanWeighting,
     .query = At(43, 22, 23), .block = 35, .setCode = 76, .key = "SPECT_MEAN_WEIGHT",
     .keyUse = kSaved, .keyLine = 26, .initial = kUnset, .afterReset = kZero, .gate = kQS4160,
     .read = {ReadQS4160(10)}, .session = SessionQS4160(10), .send = {SendQS4160(10)}},
    {.value = 38, .name = "SPECT_SHIFT", .text = &S::m_strHalfBandShift, .query = At(44, 16, 17),
     .block = 36, .initial = kUnset, .afterReset = kZero, .gate = kQS4160,
     .read = {ReadQS4160(11)}, .session = SessionQS4160(11)},
    {.value = 39, .name = "PROF_DLOGGER", .text = &S::m_strProfDatalogger,
     .query = At(45, 17, 18), .setCode = 78, .key = "PROF_DLOGGER", .keyUse = kSaved,
     .keyLine = 29, .initial = kUnset, .afterReset = kZero, .gate = kQS4160,
     .read = {ReadQS4160(12)}, .send = {SendQS4160Logging(1)}},
    // QS4160 models log with SET:SLM_D, the QS4060 report models with SET:SLM+PROF.
    {.value = 40, .name = "SLM_DLOGGER", .text = &S::m_strSlmDatalogger,
     .query = At(46, 16, 17), .altQuery = AfterLastColon(206), .setCode = 79, .altSetCode = 207,
     .key = "SLM_DLOGGER", .keyUse = kSaved, .keyLine = 30, .initial = kUnset,
     .afterReset = kZero,
     .read = {Second(ReadReports(1)), ReadQS4160(13)},
     .send = {Second(SendReports(1)), SendQS4160Logging(2)}},
    {.value = 41, .name = "OCT_DLOGGER", .text = &S::m_strOctDatalogger,
     .query = At(47, 16, 17), .setCode = 80, .key = "OCT_DLOGGER", .keyUse = kSaved,
     .keyLine = 31, .initial = kUnset, .afterReset = kZero, .gate = kQS4160,
     .read = {ReadQS4160(14)}, .send = {SendQS4160Logging(3)}},
    {.value = 42, .name = "TOCT_DLOGGER", .text = &S::m_strToctDatalogger,
     .query = At(48, 17, 18), .setCode = 81, .key = "TOCT_DLOGGER", .keyUse = kSaved,
     .keyLine = 32, .initial = kUnset, .afterReset = kZero, .gate = kQS4160,
     .read = {ReadQS4160(15)}, .send = {SendQS4160Logging(4)}},
    {.value = 43, .name = "SHORTLEQ_DLOGGER", .text = &S::m_strShortLeqDatalogger,
     .query = At(201, 22), .setCode = 202, .key = "SHORTLEQ_DLOGGER", .keyUse = kSaved,
     .keyLine = 33, .keyGate = kReportKey, .initial = kUnset, .afterReset = kZero,
     .gate = kShortLeqAndFft,
     .read = {ReadQS4160Reports(1)}, .send = {SendQS4160Reports(1)}},
    {.value = 44, .name = "FFT_DLOGGER", .text = &S::m_strFftDatalogger, .query = At(203, 16),
     .setCode = 204, .key = "FFT_DLOGGER", .keyUse = kSaved, .keyLine = 34,
     .keyGate = kReportKey, .initial = kUnset, .afterReset = kZero, .gate = kShortLeqAndFft,
     .read = {ReadQS4160Reports(2)}, .send = {SendQS4160Reports(2)}},
    {.value = 45, .name = "FFT_BAND", .text = &S::m_strFftBand, .query = At(197, 13),
     .setCode = 198, .afterReset = kKept, .gate = kShortLeqAndFft,
     .read = {ReadQS4160Reports(3)}, .send = {SendQS4160Reports(3)}},
    {.value = 46, .name = "STAT_PAR", .text = &S::m_strStatParam, .query = At(199, 19),
     .cleanup = ValueCleanup::NoBlanks, .setCode = 200, .afterReset = kKept, .gate = kReports,
     .read = {ReadReports(2), ReadQS4160Reports(4)},
     .send = {SendReports(2), SendQS4160Reports(4)}},
    {.value = 47, .name = "CAL_L", .text = &S::m_strCalLevel, .query = At(49, 14, 15),
     .block = 37, .setCode = 82, .change = ChangeTest::CurrentContains,
     .initial = kUnset, .afterReset = kZero,
     .read = {ReadLast(1)}, .session = Session(27), .send = {Send(19)}},
    {.value = 48, .name = "MIC_RESP", .text = &S::m_strMicResponse, .query = At(90, 13, 14),
     .block = 39, .setCode = 91, .key = "MIC_RESP", .keyUse = CustomKeyUse::LoadOnly,
     .initial = kUnset, .afterReset = kZero,
     .read = {ReadLast(3)}, .session = Session(29), .send = {Send(21)}},
    {.value = 49, .name = "WIND_SHIELD", .text = &S::m_strWindShield, .query = At(88, 17, 18),
     .block = 38, .setCode = 89, .key = "WIND_SHIELD", .keyUse = CustomKeyUse::LoadOnly,
     .initial = kUnset, .afterReset = kZero,
     .read = {ReadLast(2)}, .session = Session(28), .send = {Send(20)}},
    {.value = 50, .name = "AMB_CORR", .text = &S::m_strAmbientCorrection,
     .query = At(92, 17, 18), .block = 40, .setCode = 93, .key = "AMB_CORR",
     .keyUse = CustomKeyUse::LoadOnly, .initial = kUnset, .afterReset = kZero, .gate = kQS4160,
     .read = {ReadQS4160Last(1)}, .session = SessionQS4160(12), .send = {SendQS4160Last(1)}},
    {.value = 51, .name = "MIC_CT", .text = &S::m_strMicTemperature, .query = At(94, 11, 12),
     .cleanup = ValueCleanup::DegreeSign, .block = 41, .initial = kUnset, .afterReset = kZero,
     .gate = kQS4160,
     .read = {ReadQS4160Last(2)}, .session = SessionQS4160(13)},
    {.value = 52, .name = "DATA_LOG", .number = &S::m_nDataLogging,
     .initial = kZero, .afterReset = kZero},
    {.value = 53, .name = "EXT_RNG", .number = &S::m_nExtendedRange,
     .query = {.code = 121, .form = ReplyForm::OnFlag}, .scope = RecordScope::CurrentOnly,
     .initial = kZero, .afterReset = kZero},
    {.value = 54, .name = "INTEGR_MODE", .text = &S::m_strIntegrationMode,
     .query = {.code = 127, .form = ReplyForm::Choice, .choices = kIntegrationModes},
     .block = 44, .setCode = 128, .key = "INTEGR_MODE", .keyUse = kSaved, .keyLine = 28,
     .initial = "SINGLE", .afterReset = "SINGLE",
     .read = {ReadLast(4)}, .session = Session(12), .send = {Send(25)}},
    {.value = 55, .name = "AUTOSTORE", .text = &S::m_strAutoStore,
     .query = {.code = 129, .form = ReplyForm::Choice, .choices = kAutoStoreStates},
     .setCode = 130, .key = "AUTOSTORE", .keyUse = kSaved, .keyLine = 27,
     .keyForm = CustomKeyForm::OnOff, .initial = "OFF", .afterReset = "OFF",
     .read = {ReadLast(5)}, .session = Session(30), .send = {Send(24)}},
    {.value = 56, .name = "REPORT_TIME", .text = &S::m_strReportTime, .query = At(143, 16),
     .setCode = 144, .key = "REPORT_TIME", .keyUse = kSaved, .keyLine = 35,
     .keyGate = kReportKey, .gate = kReports,
     .read = {ReadReports(3), ReadQS4160Reports(5)},
     .send = {SendReports(3), SendQS4160Reports(5)}},
    {.value = 57, .name = "1_REPORT_PAR", .text = &S::m_strReport1Param, .query = At(145, 20),
     .cleanup = ValueCleanup::NoBlanks, .setCode = 146, .key = "1_REPORT_PAR", .keyUse = kSaved,
     .keyLine = 40, .keyGate = kReportKey, .gate = kReports,
     .read = {ReadReports(4), ReadQS4160Reports(6)},
     .send = {SendReports(4), SendQS4160Reports(6)}},
    {.value = 58, .name = "2_REPORT_PAR", .text = &S::m_strReport2Param, .query = At(147, 20),
     .cleanup = ValueCleanup::NoBlanks, .setCode = 148, .key = "2_REPORT_PAR", .keyUse = kSaved,
     .keyLine = 41, .keyGate = kReportKey, .gate = kReports,
     .read = {ReadReports(5), ReadQS4160Reports(7)},
     .send = {SendReports(5), SendQS4160Reports(7)}},
    {.value = 59, .name = "3_REPORT_PAR", .text = &S::m_strReport3Param, .query = At(149, 20),
     .cleanup = ValueCleanup::NoBlanks, .setCode = 150, .key = "3_REPORT_PAR", .keyUse = kSaved,
     .keyLine = 42, .keyGate = kReportKey, .gate = kReports,
     .read = {ReadReports(6), ReadQS4160Reports(8)},
     .send = {SendReports(6), SendQS4160Reports(8)}},
    {.value = 60, .name = "4_REPORT_PAR", .text = &S::m_strReport4Param, .query = At(151, 20),
     .cleanup = ValueCleanup::NoBlanks, .setCode = 152, .key = "4_REPORT_PAR", .keyUse = kSaved,
     .keyLine = 43, .keyGate = kReportKey, .gate = kReports,
     .read = {ReadReports(7), ReadQS4160Reports(9)},
     .send = {SendReports(7), SendQS4160Reports(9)}},
    {.value = 61, .name = "5_REPORT_PAR", .text = &S::m_strReport5Param, .query = At(153, 20),
     .cleanup = ValueCleanup::NoBlanks, .setCode = 154, .key = "5_REPORT_PAR", .keyUse = kSaved,
     .keyLine = 44, .keyGate = kReportKey, .gate = kReports,
     .read = {ReadReports(8), ReadQS4160Reports(10)},
     .send = {SendReports(8), SendQS4160Reports(10)}},
    {.value = 62, .name = "STORE_REP_PAR", .text = &S::m_strStoreRepParams,
     .query = At(155, 19), .setCode = 156, .key = "STORE_REP_PAR", .keyUse = kSaved,
     .keyLine = 36, .keyGate = kReportKey, .gate = kReports,
     .read = {ReadReports(9), ReadQS4160Reports(11)},
     .send = {SendReports(9), SendQS4160Reports(11)}},
    // A QS4060 reads its octave store for either letter, so twice with both.
    {.value = 63, .name = "STORE_REP_OCT", .text = &S::m_strStoreRepOctaves,
     .query = At(157, 15), .setCode = 158, .key = "STORE_REP_OCT", .keyUse = kSaved,
     .keyLine = 37, .keyGate = kReportKey, .gate = kReports,
     .read = {ReadReports(11, kThirdOctaveReports), ReadReports(13, kOctaveReportLetters),
              ReadQS4160Reports(12)},
     .send = {SendReports(11, kThirdOctaveReports), SendReports(13, kOctaveReportsOnly),
              SendQS4160Reports(12)}},
    {.value = 64, .name = "STORE_REP_TOCT", .text = &S::m_strStoreRepThirdOctaves,
     .query = At(159, 16), .setCode = 160, .key = "STORE_REP_TOCT", .keyUse = kSaved,
     .keyLine = 38, .keyGate = kReportKey, .gate = kReports,
     .read = {ReadReports(12, kThirdOctaveReports), ReadQS4160Reports(13)},
     .send = {SendReports(12, kThirdOctaveReports), SendQS4160Reports(13)}},
    {.value = 65, .name = "STORE_REP_STAT", .text = &S::m_strStoreRepStatistics,
     .query = At(161, 19), .setCode = 162, .key = "STORE_REP_STAT", .keyUse = kSaved,
     .keyLine = 39, .keyGate = kReportKey, .gate = kReports,
     .read = {ReadReports(10), ReadQS4160Reports(14)},
     .send = {SendReports(10), SendQS4160Reports(14)}},
    {.value = 66, .name = "1_EVENT_PAR", .text = &S::m_strEvent1Param, .query = At(163, 20),
     .cleanup = ValueCleanup::NoBlanks, .setCode = 164, .key = "1_EVENT_PAR", .keyUse = kSaved,
     .keyLine = 56, .keyGate = kReportKey, .gate = kReports,
     .read = {ReadReports(14), ReadQS4160Reports(15)},
     .send = {SendReports(14), SendQS4160Reports(15)}},
    {.value = 67, .name = "2_EVENT_PAR", .text = &S::m_strEvent2Param, .query = At(165, 20),
     .cleanup = ValueCleanup::NoBlanks, .setCode = 166, .key = "2_EVENT_PAR", .keyUse = kSaved,
     .keyLine = 57, .keyGate = kReportKey, .gate = kReports,
     .read = {ReadReports(15), ReadQS4160Reports(16)},
     .send = {SendReports(15), SendQS4160Reports(16)}},
    {.value = 68, .name = "3_EVENT_PAR", .text = &S::m_strEvent3Param, .query = At(167, 20),
     .cleanup = ValueCleanup::NoBlanks, .setCode = 168, .key = "3_EVENT_PAR", .keyUse = kSaved,
     .keyLine = 58, .keyGate = kReportKey, .gate = kReports,
     .read = {ReadReports(16), ReadQS4160Reports(17)},
     .send = {SendReports(16), SendQS4160Reports(17)}},
    {.value = 69, .name = "4_EVENT_PAR", .text = &S::m_strEvent4Param, .query = At(169, 20),
     .cleanup = ValueCleanup::NoBlanks, .setCode = 170, .key = "4_EVENT_PAR", .keyUse = kSaved,
     .keyLine = 59, .keyGate = kReportKey, .gate = kReports,
     .read = {ReadReports(17), ReadQS4160Reports(18)},
     .send = {SendReports(17), SendQS4160Reports(18)}},
    {.value = 70, .name = "5_EVENT_PAR", .text = &S::m_strEvent5Param, .query = At(171, 20),
     .cleanup = ValueCleanup::NoBlanks, .setCode = 172, .key = "5_EVENT_PAR", .keyUse = kSaved,
     .keyLine = 60, .keyGate = kReportKey, .gate = kReports,
     .read = {ReadReports(18), ReadQS4160Reports(19)},
     .send = {SendReports(18), SendQS4160Reports(19)}},
    {.value = 71, .name = "STORE_EVN_PAR", .text = &S::m_strStoreEvnParams,
     .query = At(173, 19), .setCode = 174, .key = "STORE_EVN_PAR", .keyUse = kSaved,
     .keyLine = 45, .keyGate = kReportKey, .gate = kReports,
     .read = {ReadReports(19), ReadQS4160Reports(20)},
     .send = {SendReports(25), SendQS4160Reports(20)}},
    {.value = 72, .name = "STORE_EVN_OCT", .text = &S::m_strStoreEvnOctaves,
     .query = At(175, 15), .setCode = 176, .key = "STORE_EVN_OCT", .keyUse = kSaved,
     .keyLine = 46, .keyGate = kReportKey, .gate = kReports,
     .read = {ReadReports(21, kThirdOctaveReports), ReadReports(23, kOctaveReportLetters),
              ReadQS4160Reports(21)},
     .send = {SendReports(27, kThirdOctaveReports), SendReports(29, kOctaveReportsOnly),
              SendQS4160Reports(21)}},
    {.value = 73, .name = "STORE_EVN_TOCT", .text = &S::m_strStoreEvnThirdOctaves,
     .query = At(177, 16), .setCode = 178, .key = "STORE_EVN_TOCT", .keyUse = kSaved,
     .keyLine = 47, .keyGate = kReportKey, .gate = kReports,
     .read = {ReadReports(22, kThirdOctaveReports), ReadQS4160Reports(22)},
     .send = {SendReports(28, kThirdOctaveReports), SendQS4160Reports(22)}},
    {.value = 74, .name = "STORE_EVN_STAT", .text = &S::m_strStoreEvnStatistics,
     .query = At(179, 19), .setCode = 180, .key = "STORE_EVN_STAT", .keyUse = kSaved,
     .keyLine = 48, .keyGate = kReportKey, .gate = kReports,
     .read = {ReadReports(20), ReadQS4160Reports(23)},
     .send = {SendReports(26), SendQS4160Reports(23)}},
    // Its reply asks for what the trigger needs: state_replies / setup_replies.
    {.value = 75, .name = "EVN_TRIG", .text = &S::m_strEventTrigger, .query = At(181, 16),
     .setCode = 182, .key = "EVN_TRIG", .keyUse = kSaved, .keyLine = 49,
     .keyGate = kReportKey, .gate = kReports,
     .read = {ReadReports(24), ReadQS4160Reports(24)},
     .send = {SendReports(19), SendQS4160Reports(24)}},
    // A level trigger has a polarity, an external one its own polarity command, which only a
    // QS4160 is sent.
    {.value = 76, .name = "EVN_TRIG_POL", .text = &S::m_strTriggerPolarity,
     .query = At(183, 17), .altQuery = At(185, 24), .setCode = 184, .altSetCode = 186,
     .key = "EVN_TRIG_POL", .altKey = "EVN_TRIG_EXT_POL", .keyUse = kSaved, .keyLine = 51,
     .keyGate = kLevelTriggerKey, .gate = kReports,
     .send = {SendReports(20, kLevelTrigger), SendQS4160Reports(25, kLevelTrigger),
              Second(SendQS4160Reports(30, kExternalTrigger))}},
    {.value = 77, .name = "EVN_TRIG_ON_LEV", .text = &S::m_strTriggerOnLevel,
     .query = At(187, 17), .cleanup = ValueCleanup::NoDecibel,
     .setCode = 188, .key = "EVN_TRIG_ON_LEV", .keyUse = kSaved, .keyLine = 52,
     .keyGate = kLevelTriggerKey, .gate = kReports,
     .send = {SendReports(21, kLevelTrigger), SendQS4160Reports(26, kLevelTrigger)}},
    {.value = 78, .name = "EVN_TRIG_OFF_LEV", .text = &S::m_strTriggerOffLevel,
     .query = At(189, 18), .cleanup = ValueCleanup::NoDecibel,
     .setCode = 190, .key = "EVN_TRIG_OFF_LEV", .keyUse = kSaved, .keyLine = 53,
     .keyGate = kLevelTriggerKey, .gate = kReports,
     .send = {SendReports(22, kLevelTrigger), SendQS4160Reports(27, kLevelTrigger)}},
    {.value = 79, .name = "EVN_TRIG_ON_TIME", .text = &S::m_strTriggerOnTime,
     .query = At(191, 16), .cleanup = ValueCleanup::NoSeconds,
     .setCode = 192, .key = "EVN_TRIG_ON_TIME", .keyUse = kSaved, .keyLine = 54,
     .keyGate = kLevelTriggerKey, .gate = kReports,
     .send = {SendReports(23, kLevelTrigger), SendQS4160Reports(28, kLevelTrigger)}},
    // A manual trigger has a minimum off time too.
    {.value = 80, .name = "EVN_TRIG_OFF_TIME", .text = &S::m_strTriggerOffTime,
     .query = At(193, 17), .cleanup = ValueCleanup::NoSeconds,
     .setCode = 194, .key = "EVN_TRIG_OFF_TIME", .keyUse = kSaved, .keyLine = 55,
     .keyGate = kLevelTriggerKey, .gate = kReports,
     .send = {SendReports(24, kLevelTrigger | kManualTrigger),
              SendQS4160Reports(29, kLevelTrigger | kManualTrigger)}},
    {.value = 81, .name = "EVN_TRIG_PRINT", .text = &S::m_strTriggerPrint, .query = At(195, 14),
     .setCode = 196, .key = "EVN_TRIG_PRINT", .keyUse = kSaved, .keyLine = 50,
     .keyGate = kReportKey, .gate = kReports,
     .read = {ReadReports(25), ReadQS4160Reports(25)},
     .send = {SendReports(30), SendQS4160Reports(31)}},
}};
// clang-format on

}  // namespace setup_rows

// The row of the value named `name`; a name no row has does not compile.
consteval const SetupValueRow& RowOf(std::string_view name) {
    for (const SetupValueRow& row : setup_rows::kRows)
        if (std::string_view(row.name) == name)
            return row;
    throw "no setup value of that name";
}
