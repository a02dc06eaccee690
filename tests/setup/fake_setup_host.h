#pragma once
// A setup host over two records of its own, recording what the setup asked of it.

#include <string>

#include "link/instr_status.h"
#include "link/setup_value_table.h"
#include "setup/setup_host.h"

namespace setuptest {

// A read setup whose every text is its value's name ("INPUT_GAIN"), so that a text shows which
// value went where; the percentiles are numbers.
inline void FillAsRead(CInstrStatus& s) {
    for (const SetupValueRow& row : SetupValueRows())
        if (row.text && row.value > 0)
            s.*row.text = row.name;
    s.m_strPerc1Level = "1";
    s.m_strPerc2Level = "10";
    s.m_strPerc3Level = "50";
    s.m_strPerc4Level = "90";
}

// A read setup as the simulated meter reports it, its texts cleaned as the replies clean them.
inline void FillAsMeter(CInstrStatus& s) {
    s.m_strDate = "2024/01/15";
    s.m_strTime = "10:30:00";
    s.m_strDisplayContrast = "5";
    s.m_strAutoPowerOff = "OFF";
    s.m_strInputChannel = "MIC";
    s.m_strDaOutput = "OFF";
    s.m_strBaudRate = "38.4k";
    s.m_strInputGain = "20dB";
    s.m_strProfileSpectrumTime = "0.5s";
    s.m_strIntegrationTime = "SS:10";
    s.m_strEraseTime = "5s";
    s.m_strOverloadLevel = "140";
    s.m_strCalLevel = "94.0";
    s.m_strWindShield = "OFF";
    s.m_strMicResponse = "FF";
    s.m_strAmbientCorrection = "OFF";
    s.m_strIntegrationMode = "SINGLE";
    s.m_strAutoStore = "OFF";
    s.m_strReportTime = "OFF";
    s.m_strSpectAuxWeighting = "A";
    s.m_strSpectType = "AVERAGE";
    s.m_strSpectMean = "LIN";
    s.m_strSpectMeanWeighting = "FAST";
    s.m_strHalfBandShift = "OFF";
    s.m_strFftBand = "LF";
}

// The names of the text values that differ between two records, blank-separated.
inline std::string Differences(const CInstrStatus& a, const CInstrStatus& b) {
    std::string names;
    for (const SetupValueRow& row : SetupValueRows())
        if (row.text && a.*row.text != b.*row.text)
            names += (names.empty() ? "" : " ") + std::string(row.name);
    return names;
}

class FakeSetupHost : public setup::SetupHost {
public:
    CInstrStatus& Current() override { return current; }
    CInstrStatus& Edited() override { return edited; }
    // Marked, so that a test sees the name went through the host.
    std::string ParameterName(const std::string& stored) const override {
        return "<" + stored + ">";
    }
    std::string ProgramDir() const override { return programDir; }
    bool StopAcquisition() override {
        ++stopRequests;
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
    std::string programDir = "/nonexistent/";
    bool stops = true;
    int stopRequests = 0;
    int sends = 0;
};

}  // namespace setuptest
