#include "setup/current_settings.h"

#include <initializer_list>

#include "link/instr_status.h"
#include "link/model_rules.h"
#include "link/state_replies.h"
#include "platform/text.h"
#include "setup/setup_host.h"

namespace setup {

using namespace current_ids;

namespace {

const char* C(const std::string& text) {
    return text.c_str();
}

int Number(const std::string& text) {
    return platform::Atoi(text);
}

std::string Percentiles(const std::string& head, const CInstrStatus& s) {
    return head + platform::Format(
                      "Perc.1: %.2d      Perc.2: %.2d\n"
                      "Perc.3: %.2d      Perc.4: %.2d",
                      Number(s.m_strPerc1Level), Number(s.m_strPerc2Level),
                      Number(s.m_strPerc3Level), Number(s.m_strPerc4Level));
}

// The five parameters and four store entries of a report or event summary.
struct StoreFields {
    std::string params[5];
    std::string storeParams, storeOctaves, storeThirdOctaves, storeStatistics;
};

constexpr const char* kParamLines = "Par1: %s   Par2: %s\nPar3: %s   Par4: %s\nPar5: %s\n";

std::string ParamLines(const StoreFields& f) {
    return platform::Format(kParamLines, C(f.params[0]), C(f.params[1]), C(f.params[2]),
                            C(f.params[3]), C(f.params[4]));
}

std::string StoreLines(const StoreFields& f) {
    return platform::Format("Store Par1-5: %s\nStore Oct: %s\nStore TOct: %s\nStore Stat: %s",
                            C(f.storeParams), C(f.storeOctaves), C(f.storeThirdOctaves),
                            C(f.storeStatistics));
}

void MarkStorageTheModelLacks(std::string_view model, StoreFields& f, const char* word) {
    if (model_rules::ReportsLackSpectra(model))
        f.storeOctaves = word;
    if (model_rules::ReportsLackThirdOctaves(model))
        f.storeThirdOctaves = word;
}

StoreFields ReportFields(const CInstrStatus& s) {
    return {{s.m_strReport1Param, s.m_strReport2Param, s.m_strReport3Param, s.m_strReport4Param,
             s.m_strReport5Param},
            s.m_strStoreRepParams,
            s.m_strStoreRepOctaves,
            s.m_strStoreRepThirdOctaves,
            s.m_strStoreRepStatistics};
}

StoreFields EventFields(const CInstrStatus& s) {
    return {{s.m_strEvent1Param, s.m_strEvent2Param, s.m_strEvent3Param, s.m_strEvent4Param,
             s.m_strEvent5Param},
            s.m_strStoreEvnParams,
            s.m_strStoreEvnOctaves,
            s.m_strStoreEvnThirdOctaves,
            s.m_strStoreEvnStatistics};
}

std::string ReportSummary(const CInstrStatus& current, const CInstrStatus& edited) {
    const std::string& model = current.m_strModel;
    StoreFields fields = ReportFields(current);
    bool blankBeforeStore = true;
    if (!model_rules::IsQS4160(model)) {
        if (edited.m_strReportTime == "OFF")
            fields = {};
        else
            MarkStorageTheModelLacks(model, fields, "Disabled");
        blankBeforeStore = model_rules::ReportsLackThirdOctaves(model);
    }
    return platform::Format("Report Interval: %s\n\n", C(current.m_strReportTime)) +
           ParamLines(fields) + (blankBeforeStore ? "\n" : "") + StoreLines(fields);
}

std::string EventSummary(const CInstrStatus& s) {
    const std::string& model = s.m_strModel;
    const std::string& trigger = s.m_strEventTrigger;
    StoreFields fields = EventFields(s);
    std::string notify = s.m_strTriggerPrint;
    if (!model_rules::IsQS4160(model)) {
        if (trigger == "OFF") {
            fields = {};
            notify.clear();
        } else {
            MarkStorageTheModelLacks(model, fields, trigger == "MAN" ? "Disabled" : "Disabeld");
        }
    }
    std::string text = ParamLines(fields) + "\n" + StoreLines(fields) +
                       platform::Format("\n\nTrig: %s", C(trigger));
    const bool plainTrigger = trigger == "OFF" || trigger == "MAN";
    if (model_rules::IsQS4160(model) && trigger == "OFF")
        return text;
    if (!plainTrigger)
        text += platform::Format(
            "\nTrig.Pol: %s\nTrig On Lev: %sdB\nTrig Off Lev: %sdB\nTrig On time: %ss\n"
            "Trig Off Time: %ss",
            C(s.m_strTriggerPolarity), C(s.m_strTriggerOnLevel), C(s.m_strTriggerOffLevel),
            C(s.m_strTriggerOnTime), C(s.m_strTriggerOffTime));
    return text + platform::Format("\nSerial Notify: %s", C(notify));
}

}  // namespace

std::string ModelDisplayText(std::string_view model) {
    for (const char* cls : {"1", "2"}) {
        const std::string marker = std::string("$") + cls;
        if (platform::Contains(model, marker))
            return platform::ReplaceAll(model, marker, "") + " Cl" + cls;
    }
    return std::string(model);
}

CurrentSettings::CurrentSettings(SetupHost& host) : SetupPage(host, SetupPageKind::Current) {}

void CurrentSettings::OnSetActive() {
    const CInstrStatus& s = Current();
    const std::string& model = Model();
    const bool qs4160 = model_rules::IsQS4160(model);
    const bool qs4160Reports = model_rules::IsQS4160WithReports(model);
    const bool shifted = s.m_strHalfBandShift == "ON";
    PageControls& c = Controls();
    auto name = [this](const std::string& stored) { return Host().ParameterName(stored); };

    c.SetText(kInstrument,
              platform::Format("Model: %s\nSerial Num.: %s\nSoftware: %s\nMemory Size: %s",
                               C(ModelDisplayText(model)), C(s.m_strSerialNumber),
                               C(s.m_strFirmwareVersion), C(s.m_strMemorySize)));
    c.SetText(kMicrophone,
              platform::Format("Model: %s\nSerial Num.: %s\nResponse: %s\n", C(s.m_strMicModel),
                               C(s.m_strMicSerialNumber), C(s.m_strMicType)));
    c.SetText(kGeneral,
              platform::Format("Date: %s\nTime: %s\nContrast: %s\nAuto Off: %s", C(s.m_strDate),
                               C(s.m_strTime), C(s.m_strDisplayContrast), C(s.m_strAutoPowerOff)));
    c.SetText(kInOut,
              qs4160 ? platform::Format("In Channel: %s\nIn Gain: %s\nDA Output: %s\nBaudrate: %s",
                                        C(s.m_strInputChannel), C(s.m_strInputGain),
                                        C(s.m_strDaOutput), C(s.m_strBaudRate))
                     : platform::Format("In Gain: %s\nBaudrate: %s", C(s.m_strInputGain),
                                        C(s.m_strBaudRate)));
    c.SetText(kMeasurement, platform::Format("Integration Mode: %s\nIntegration Time: %s\n"
                                             "Back Erase Time: %s\nOverload: %s dB",
                                             C(s.m_strIntegrationMode),
                                             C(IntegrationTimeText(s.m_strIntegrationTime)),
                                             C(s.m_strEraseTime), C(s.m_strOverloadLevel)));
    c.SetText(kSlm,
              qs4160
                  ? platform::Format("SLM 1: %s\nSLM 2: %s\nSLM 3: %s\nSLM 4: %s\nSLM 5: %s",
                                     C(name(s.m_strSlm1Param)), C(name(s.m_strSlm2Param)),
                                     C(name(s.m_strSlm3Param)), C(name(s.m_strSlm4Param)),
                                     C(name(s.m_strSlm5Param)))
                  : platform::Format("SLM 1: %s\nSLM 2: %s\nSLM 3: %s", C(name(s.m_strSlm1Param)),
                                     C(name(s.m_strSlm2Param)), C(name(s.m_strSlm3Param))));

    if (shifted)
        c.SetText(kProfile, "DISABLED");
    else if (qs4160)
        c.SetText(kProfile, platform::Format("Channel: %s\nStep: %s\n",
                                             C(name(s.m_strProfileParam)), C(s.m_strProfileTime)));
    else
        c.SetText(kProfile, "Channel: LFmx A\nStep: 0.125s\n");

    if (qs4160)
        c.SetText(
            kSpectrum,
            platform::Format("Aux Pond: %s\nMode: %s\nMean mode: %s\nMean Weight: %s\n"
                             "Band Shift: %s\nStep: %s",
                             C(s.m_strSpectAuxWeighting), C(s.m_strSpectType), C(s.m_strSpectMean),
                             s.m_strSpectMean == "LIN" ? "---" : C(s.m_strSpectMeanWeighting),
                             C(s.m_strHalfBandShift), C(s.m_strProfileSpectrumTime)));
    else
        c.SetText(kSpectrum, platform::Format("Aux Pond: %s", C(s.m_strSpectAuxWeighting)));

    c.SetText(kStatistics,
              Percentiles(platform::Format("Param: %s\n\n",
                                           qs4160Reports ? C(name(s.m_strStatParam)) : "LAFp"),
                          s));
    c.SetText(kDose, platform::Format("Exch.Rate: %s dB\nCrit.Lev: %s dB\nThr.Lev: %s dB\n",
                                      C(s.m_strExchangeRate), C(s.m_strCriterionLevel),
                                      C(s.m_strDoseThreshold)));

    // The logging summary.
    const std::string profileLogging = shifted ? "DISABLED" : s.m_strProfDatalogger;
    const std::string octaveLogging = shifted ? "DISABLED" : s.m_strOctDatalogger;
    std::string left, right, logging;
    if (qs4160) {
        logging = platform::Format("Auto Store: %s", C(s.m_strAutoStore));
        if (model_rules::HasShortLeqAndFft(model)) {
            left = platform::Format(
                "SLM DataLogger:            %s\nProfile DataLogger:          %s\n"
                "Short Leq DataLogger:    %s",
                C(s.m_strSlmDatalogger), C(profileLogging), C(s.m_strShortLeqDatalogger));
            right = platform::Format(
                "Octave DataLogger:        %s\nT.Octave DataLogger:     %s\n"
                "FFT DataLogger:              %s",
                C(octaveLogging), C(s.m_strToctDatalogger),
                s.m_strFftDatalogger == "ON" ? C(s.m_strFftBand) : C(s.m_strFftDatalogger));
        } else {
            left =
                platform::Format("SLM DataLogger:            %s\nProfile DataLogger:          %s",
                                 C(s.m_strSlmDatalogger), C(profileLogging));
            right = platform::Format("Octave DataLogger:        %s\nT.Octave DataLogger:     %s",
                                     C(octaveLogging), C(s.m_strToctDatalogger));
        }
    } else if (!model_rules::HasReports(model)) {
        left = platform::Format("Auto Store: %s", C(s.m_strAutoStore));
        logging =
            model_rules::HasDataLoggerOption(model) ? "DATALOGGER ENABLED" : "DATALOGGER DISABLED";
    } else {
        logging = platform::Format("SLM + PROFILE : %s", C(s.m_strSlmDatalogger));
    }
    c.SetText(kLogging, logging);
    c.SetText(kLoggingLeft, left);
    c.SetText(kLoggingRight, right);

    const bool reports = qs4160 ? qs4160Reports : model_rules::HasReports(model);
    c.SetText(kReport, reports ? ReportSummary(s, Edited()) : std::string());
    c.SetText(kEvent, reports ? EventSummary(s) : std::string());
    c.Enable(kReportGroup, reports);
    c.Enable(kEventGroup, reports);

    if (qs4160)
        c.SetText(kCalibration,
                  platform::Format("Cal.Lev: %s\nAcoustic Field: %s\nWind Shield: %s\n"
                                   "Mic. ambiental corr: %s\nMic.temp coeff: %s",
                                   C(s.m_strCalLevel), C(s.m_strMicResponse), C(s.m_strWindShield),
                                   C(s.m_strAmbientCorrection), C(s.m_strMicTemperature)));
    else if (model_rules::HasFixedMicrophone(model))
        c.SetText(kCalibration, "Cal.Lev: 94.0dB");
    else
        c.SetText(kCalibration, platform::Format("Cal.Lev: %s\nAcoustic Field: %s\nWind Shield: %s",
                                                 C(s.m_strCalLevel), C(s.m_strMicResponse),
                                                 C(s.m_strWindShield)));

    // A meter without data logging has no profile, spectrum or logging to summarise.
    const bool logs = model_rules::HasDataLogging(model);
    for (int id : {kProfile, kSpectrum, kLoggingLeft, kLoggingRight, kLogging})
        c.Show(id, logs);
    for (int id : {kProfileGroup, kSpectrumGroup, kLoggingGroup})
        c.Enable(id, logs);
}

}  // namespace setup
