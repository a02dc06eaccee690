#pragma once
// A setup host over two records of its own, recording what the setup asked of it.

#include <string>

#include "link/instr_status.h"
#include "setup/setup_host.h"

namespace setuptest {

// The setup of a meter as a read leaves it.
inline void FillAsRead(CInstrStatus& s) {
    s.m_strSerialNumber = "A12345";
    s.m_strFirmwareVersion = "2.05";
    s.m_strMemorySize = "2048k";
    s.m_strMicModel = "MK250";
    s.m_strMicSerialNumber = "M5678";
    s.m_strMicType = "FREE FIELD";
    s.m_strDate = "2024/01/15";
    s.m_strTime = "10:30:00";
    s.m_strDisplayContrast = "5";
    s.m_strAutoPowerOff = "OFF";
    s.m_strInputChannel = "MIC";
    s.m_strInputGain = "20dB";
    s.m_strDaOutput = "OFF";
    s.m_strBaudRate = "38.4k";
    s.m_strIntegrationTime = "MM:05";
    s.m_strEraseTime = "5s";
    s.m_strOverloadLevel = "140";
    s.m_strSlm1Param = "Leq:A";
    s.m_strSlm2Param = "LFmx:A";
    s.m_strSlm3Param = "LFmn:A";
    s.m_strSlm4Param = "Lpk:C";
    s.m_strSlm5Param = "LFp:A";
    s.m_strProfileParam = "LFp:A";
    s.m_strProfileTime = "0.5s";
    s.m_strSpectAuxWeighting = "A";
    s.m_strSpectType = "AVERAGE";
    s.m_strSpectMean = "LIN";
    s.m_strSpectMeanWeighting = "FAST";
    s.m_strHalfBandShift = "OFF";
    s.m_strProfileSpectrumTime = "1s";
    s.m_strStatParam = "LFp:A";
    s.m_strPerc1Level = "1";
    s.m_strPerc2Level = "10";
    s.m_strPerc3Level = "50";
    s.m_strPerc4Level = "90";
    s.m_strExchangeRate = "3";
    s.m_strCriterionLevel = "85";
    s.m_strDoseThreshold = "80";
    s.m_strSlmDatalogger = "ON";
    s.m_strProfDatalogger = "ON";
    s.m_strOctDatalogger = "ON";
    s.m_strToctDatalogger = "OFF";
    s.m_strShortLeqDatalogger = "A";
    s.m_strFftDatalogger = "ON";
    s.m_strFftBand = "HF";
    s.m_strCalLevel = "94.0dB";
    s.m_strMicResponse = "FF";
    s.m_strWindShield = "SAV";
    s.m_strAmbientCorrection = "OFF";
    s.m_strMicTemperature = "23.0\xB0";
    s.m_strReportTime = "10s";
    s.m_strReport1Param = "Leq:A";
    s.m_strReport2Param = "Lpk:C";
    s.m_strReport3Param = "LFmx:A";
    s.m_strReport4Param = "LE:A";
    s.m_strReport5Param = "L1:";
    s.m_strStoreRepParams = "ON";
    s.m_strStoreRepOctaves = "ON";
    s.m_strStoreRepThirdOctaves = "ON";
    s.m_strStoreRepStatistics = "OFF";
    s.m_strEvent1Param = "Leq:A";
    s.m_strEvent2Param = "Lpk:Z";
    s.m_strEvent3Param = "LSmx:C";
    s.m_strEvent4Param = "LImn:A";
    s.m_strEvent5Param = "LE:A";
    s.m_strStoreEvnParams = "ON";
    s.m_strStoreEvnOctaves = "ON";
    s.m_strStoreEvnThirdOctaves = "ON";
    s.m_strStoreEvnStatistics = "ON";
    s.m_strEventTrigger = "LEV";
    s.m_strTriggerPolarity = "POS";
    s.m_strTriggerOnLevel = "80";
    s.m_strTriggerOffLevel = "70";
    s.m_strTriggerOnTime = "1";
    s.m_strTriggerOffTime = "2";
    s.m_strTriggerPrint = "OFF";
}

class FakeSetupHost : public setup::SetupHost {
public:
    CInstrStatus& Current() override { return current; }
    CInstrStatus& Edited() override { return edited; }
    // Marked, so that a test sees the name went through the host.
    std::string ParameterName(const std::string& stored) const override {
        return "<" + stored + ">";
    }
    bool IsAcquiring() const override { return acquiring; }
    bool StopAcquisition() override {
        ++stopRequests;
        if (stops)
            acquiring = false;
        return stops;
    }
    void SendSetup() override { ++sends; }

    // Both records as a read of `model` leaves them.
    void ReadAs(const std::string& model) {
        current = CInstrStatus();
        current.m_strModel = model;
        edited = current;
    }

    CInstrStatus current;
    CInstrStatus edited;
    bool acquiring = false;
    bool stops = true;
    int stopRequests = 0;
    int sends = 0;
};

}  // namespace setuptest
