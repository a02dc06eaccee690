#include "app/frame_bench.h"

#include "app/frame_boxes.h"
#include "app/frame_web.h"
#include "app/main_frame.h"
#include "platform/operator.h"
#include "verification/instrument_connection.h"

BOOL FrameBench::ConnectInstrumentUnderTest() {
    return verification::ConnectInstrumentUnderTest(m_host, m_tools, m_instruments);
}

BOOL FrameBench::ConnectReferenceInstrument() {
    return verification::ConnectReferenceInstrument(m_host, m_tools, m_instruments);
}

bool FrameBench::AlignTargetKeys() {
    constexpr const char* kAligning = "Allineamento chiavi di comunicazione...";
    if (!m_window.HasWindow()) {
        m_window.Create();
        m_window.m_bFirstShow = 1;
    }
    if (!m_window.HasWindow())
        return true;
    m_window.SetTargetSerial(m_instruments.target.serial);
    m_window.m_bKeyAlignOnly = 1;
    m_window.ShowWindow(false);
    InstrLog& log = m_frame.Web().Log();
    log.WriteInstrLog(kAligning);
    m_frame.Boxes().ShowPleaseWait(kAligning);
    if (m_window.AlignTargetKeys())
        return true;
    log.WriteInstrLog("Err:Allineamento chiavi di comunicazione fallito");
    m_frame.Boxes().ClosePleaseWait();
    platform::AfxMessageBox("DUT: Allineamento chiavi di comunicazione fallito.");
    m_frame.Link().ClosePort(LinkSide::Target);
    return false;
}
