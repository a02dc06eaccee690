#include "app/frame_ui.h"

#include "link/instr_status.h"
#include "platform/text.h"

std::string NormalFrameTitle(const CInstrStatus& current) {
    return platform::Format("KX9Monitor %s - %s", current.m_strModel.c_str(),
                            current.m_strSerialNumber.c_str());
}
