#pragma once
// A meter's setup as the data list and the view's texts read it: a model with the five level
// parameters, the profile's and the spectra's auxiliary weighting set.

#include <string>

#include "link/instr_status.h"

namespace testsetups {

inline CInstrStatus MeterSetup(const std::string& model) {
    CInstrStatus setup;
    setup.m_strModel = model;
    setup.m_strSlm1Param = "Leq:A";
    setup.m_strSlm2Param = "LFmx:A";
    setup.m_strSlm3Param = "Lpk:C";
    setup.m_strSlm4Param = "LSmn:A";
    setup.m_strSlm5Param = "L1";
    setup.m_strProfileParam = "LAFp";
    setup.m_strSpectAuxWeighting = "LAeq";
    return setup;
}

}  // namespace testsetups
