#include "app/frame_bench.h"

#include "app/frame_boxes.h"
#include "link/link_session.h"
#include "link/link_side.h"
#include "platform/operator.h"
#include "report/instr_log.h"
#include "verification/instrument_connection.h"
#include "web/server_databases.h"

FrameBench::FrameBench(const Uses& uses)
    : m_tools(uses.tools),
      m_boxes(uses.boxes),
      m_host(uses.views, uses.abortWait),
      m_calibExpiry(maintenance::CalibExpiryUpdate::Uses{
          .host = m_host,
          .link = m_tools.link,
          .web = m_tools.databases.Client(),
          .log = m_tools.log,
          .programDir = m_tools.programDir,
          .technicianId = uses.technicianId,
          .unlockTarget = [this] { return m_window.UnlockTargetCryp(); },
      }) {}

BOOL FrameBench::ConnectInstrumentUnderTest() {
    return verification::ConnectInstrumentUnderTest(m_host, m_tools, m_instruments);
}

std::string FrameBench::TargetSilentText() const {
    return verification::TargetSilentText(m_tools);
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
    InstrLog& log = m_tools.log;
    log.WriteInstrLog(kAligning);
    m_boxes.ShowPleaseWait(kAligning);
    if (m_window.AlignTargetKeys())
        return true;
    log.WriteInstrLog("Err:Allineamento chiavi di comunicazione fallito");
    m_boxes.ClosePleaseWait();
    platform::AfxMessageBox("DUT: Allineamento chiavi di comunicazione fallito.");
    m_tools.link.ClosePort(LinkSide::Target);
    return false;
}
