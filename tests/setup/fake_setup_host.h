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

class FakeSetupHost : public setup::SetupHost {
public:
    CInstrStatus& Current() override { return current; }
    CInstrStatus& Edited() override { return edited; }
    // Marked, so that a test sees the name went through the host.
    std::string ParameterName(const std::string& stored) const override {
        return "<" + stored + ">";
    }
    std::string ProgramDir() const override { return programDir; }
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
    std::string programDir = "/nonexistent/";
    bool acquiring = false;
    bool stops = true;
    int stopRequests = 0;
    int sends = 0;
};

}  // namespace setuptest
