#pragma once
// Everything the program knows about the connected meter: its identity and each of its
// settings. The application keeps two of these, the settings as last read from the meter and
// the settings the operator wants; sending the setup sends only where they differ.
//
// Values are numbered two ways. The link numbers them 0..81 in the meter's setup order (the
// "value number"); the setup pages number the same values from 2 on, with 1 the date-time flag
// (the "setup number" = value number + 2). The table in setup_value_table.h says, for each
// value, which field holds it, which commands read and write it and when; both numberings come
// from it.

#include <string>

class CInstrStatus {
public:
    static constexpr int kValueCount = 82;
    static constexpr int kSetupNumberOfFirstValue = 2;
    static constexpr int kDateTimeFlagSetupNumber = 1;

    CInstrStatus();
    virtual ~CInstrStatus();
    CInstrStatus(const CInstrStatus&) = default;
    CInstrStatus& operator=(const CInstrStatus&) = default;

    // Blanks the identity and settings for a fresh read; the model, the FFT band and the
    // statistics parameter keep their texts.
    void Reset();

    // Access by value number; nullptr when the number is out of range or names the other kind.
    std::string* Text(int value);
    const std::string* Text(int value) const;
    int* Number(int value);
    const int* Number(int value) const;
    // The text of a value, empty for an int or an unknown number.
    std::string GetText(int value) const;

    // Access by setup number; number 1 is the date-time flag.
    std::string* TextAtSetupNumber(int number);
    const std::string* TextAtSetupNumber(int number) const;
    int* NumberAtSetupNumber(int number);
    const int* NumberAtSetupNumber(int number) const;

    // On the edited record: the operator asked for the meter's clock to be set from the PC.
    int m_nDateTimeFlag = 0;

    // Identity.
    std::string m_strModel;  // decorated with options and class, see identity_replies.h
    std::string m_strSerialNumber;
    std::string m_strFirmwareVersion;
    std::string m_strClass;
    std::string m_strMicModel;
    std::string m_strMicSerialNumber;
    std::string m_strMicType;
    std::string m_strDate;
    std::string m_strTime;
    std::string m_strMemorySize;
    std::string m_strDisplayContrast;

    // General settings.
    std::string m_strAutoPowerOff;
    std::string m_strInputChannel;
    std::string m_strDaOutput;
    std::string m_strBaudRate;
    std::string m_strInputGain;
    std::string m_strProfileTime;
    std::string m_strProfileSpectrumTime;
    std::string m_strIntegrationTime;
    std::string m_strEraseTime;
    std::string m_strExchangeRate;
    std::string m_strDoseThreshold;
    std::string m_strCriterionLevel;
    std::string m_strOverloadLevel;
    std::string m_strPerc1Level;
    std::string m_strPerc2Level;
    std::string m_strPerc3Level;
    std::string m_strPerc4Level;
    std::string m_strSlm1Param;
    std::string m_strSlm2Param;
    std::string m_strSlm3Param;
    std::string m_strSlm4Param;
    std::string m_strSlm5Param;
    std::string m_strProfileParam;

    // Spectrum.
    std::string m_strSpectAuxWeighting;
    std::string m_strSpectType;
    std::string m_strSpectMean;
    std::string m_strSpectMeanWeighting;
    std::string m_strHalfBandShift;

    // Data logging.
    std::string m_strProfDatalogger;
    std::string m_strSlmDatalogger;
    std::string m_strOctDatalogger;
    std::string m_strToctDatalogger;
    std::string m_strShortLeqDatalogger;
    std::string m_strFftDatalogger;
    std::string m_strFftBand;
    std::string m_strStatParam;

    // Calibration and microphone.
    std::string m_strCalLevel;
    std::string m_strMicResponse;
    std::string m_strWindShield;
    std::string m_strAmbientCorrection;
    std::string m_strMicTemperature;

    int m_nDataLogging = 0;
    int m_nExtendedRange = 0;

    std::string m_strIntegrationMode;  // "SINGLE" or "MULTI"
    std::string m_strAutoStore;        // "ON" or "OFF"

    // Reports and events.
    std::string m_strReportTime;
    std::string m_strReport1Param;
    std::string m_strReport2Param;
    std::string m_strReport3Param;
    std::string m_strReport4Param;
    std::string m_strReport5Param;
    std::string m_strStoreRepParams;
    std::string m_strStoreRepOctaves;
    std::string m_strStoreRepThirdOctaves;
    std::string m_strStoreRepStatistics;
    std::string m_strEvent1Param;
    std::string m_strEvent2Param;
    std::string m_strEvent3Param;
    std::string m_strEvent4Param;
    std::string m_strEvent5Param;
    std::string m_strStoreEvnParams;
    std::string m_strStoreEvnOctaves;
    std::string m_strStoreEvnThirdOctaves;
    std::string m_strStoreEvnStatistics;
    std::string m_strEventTrigger;  // "OFF", "LEV", "MAN" or "EXT"
    std::string m_strTriggerPolarity;
    std::string m_strTriggerOnLevel;
    std::string m_strTriggerOffLevel;
    std::string m_strTriggerOnTime;
    std::string m_strTriggerOffTime;
    std::string m_strTriggerPrint;
};
