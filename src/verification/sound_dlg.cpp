#include "verification/sound_dlg.h"

#include "cipher/enciphered_exchange.h"
#include "link/direct_exchange.h"
#include "link/link_port.h"
#include "link/link_session.h"
#include "link/link_side.h"
#include "link/port_record.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/operator.h"
#include "report/instr_log.h"
#include "verification/instrument_connection.h"
#include "verification/meter_commands.h"
#include "web/server_databases.h"
#include "web/wait_feedback.h"

using cipher::Meter;

namespace {

constexpr unsigned kManualReadingStepMs = 200;

size_t Index(Meter meter) {
    return meter == Meter::Reference ? 0 : 1;
}

}  // namespace

// The bench as the key work sees it, all through the window and its host.
class CSoundDlg::CipherHost : public cipher::BenchExchangeHost, public cipher::KeyHost {
public:
    explicit CipherHost(CSoundDlg& dlg) : m_dlg(dlg) {}

    void Wait(unsigned ms) override { m_dlg.m_host.WaitWithMessages(ms); }
    void AddLog(const std::string& text) override { m_dlg.AddLog(text); }
    bool WindowsPresent() override { return m_dlg.m_host.ViewPresent() && m_dlg.HasWindow(); }
    LinkPort* Port(Meter meter) override {
        return verification::BenchPort(
            m_dlg.m_host, m_dlg.m_tools,
            meter == Meter::Reference ? LinkSide::Reference : LinkSide::Target);
    }
    std::optional<std::string> Exchange(Meter meter, const ExchangeRequest& request) override {
        LinkPort* port = Port(meter);
        if (!port)
            return std::nullopt;
        return m_dlg.m_tools.link.Direct().Exchange(*port, request);
    }
    void DiscardPending(Meter meter) override {
        if (LinkPort* port = Port(meter))
            m_dlg.m_tools.link.Direct().DiscardPending(*port);
    }
    void ShowValue(Meter meter, int channel, const std::string& text) override {
        m_dlg.ShowValue(meter, channel, text);
    }
    int Random() override { return m_dlg.m_random(); }

    bool InternetAvailable() override { return m_dlg.m_tools.databases.m_bInternetAvailable != 0; }
    std::string DownloadKeyText(const std::string& serial) override {
        return m_dlg.m_tools.databases.Client().DownloadKeyFile(serial);
    }
    std::string DownloadError() override { return m_dlg.m_tools.databases.Client().HttpError(); }
    std::string ProgramPath(const std::string& relative) override {
        return platform::JoinPath(m_dlg.m_tools.programDir, relative);
    }
    PortRecord& PortRecordOf(Meter meter) override {
        return meter == Meter::Reference ? m_dlg.m_tools.refRecord : m_dlg.m_tools.targetRecord;
    }
    void SavePortIni() override { m_dlg.m_host.SavePortIni(); }
    std::string SendCommand(Meter meter, const std::string& command, const std::string& statusQuery,
                            const std::string& expected, unsigned waitMs) override {
        return verification::SendMeterCommand(m_dlg.m_bench, *this, meter, command, statusQuery,
                                              expected, waitMs);
    }
    cipher::ManualReadingEntry EnterManualReading(
        const cipher::ManualReadingLabels& labels) override {
        return m_dlg.EnterManualReading(labels);
    }

private:
    CSoundDlg& m_dlg;
};

CSoundDlg::CSoundDlg(verification::BenchHost& host, const verification::BenchTools& tools,
                     verification::BenchInstruments& instruments)
    : m_host(host),
      m_tools(tools),
      m_instruments(instruments),
      m_cipherHost(std::make_unique<CipherHost>(*this)),
      m_keys(m_bench, *m_cipherHost, *m_cipherHost),
      m_random(cipher::StandardRandom),
      m_self(std::make_shared<CSoundDlg*>(this)) {}

CSoundDlg::~CSoundDlg() {
    *m_self = nullptr;
    DestroyWindow();
}

ui::HookedDialog::Hooks CSoundDlg::WindowHooks() {
    return {.shown = [this] { OnShown(); }, .ok = [] {}, .cancel = [this] { OnCancel(); }};
}

void CSoundDlg::BuildWindow(QDialog& dialog) {
    LayOutControls(dialog);
    SyncWindow();
    // The application's long waits and the reads that had to wait are logged here now.
    m_host.SetBenchLog([this](const std::string& text) { AddLog(text); });
}

void CSoundDlg::OnDestroy() {
    m_host.SetBenchLog(nullptr);
    m_ManualReadingDlg.DestroyWindow();
}

void CSoundDlg::ShowDebugControls(bool debug) {
    m_debugControls = debug;
    SyncWindow();
}

void CSoundDlg::SetTargetSerial(const std::string& serial) {
    m_bench.target.serialNumber = serial;
    cipher::TakeRecordedCounters(m_bench.target, m_tools.targetRecord);
}

void CSoundDlg::AddLog(const std::string& text) {
    // A serial read that waited on a listener thread logs too; the log is the window's.
    if (!platform::IsUiThread()) {
        platform::PostToUiThread([self = std::weak_ptr<CSoundDlg*>(m_self), text] {
            if (auto alive = self.lock(); alive && *alive)
                (*alive)->AddLog(text);
        });
        return;
    }
    m_tools.log.WriteInstrLog(text);
    m_eventLog.push_back(text);
    while (m_eventLog.size() > kShownLogLines)
        m_eventLog.pop_front();
    AppendToLogControl(text);
}

std::string CSoundDlg::SendRefCommand(const std::string& command, const std::string& statusQuery,
                                      const std::string& expected, unsigned waitMs) {
    return m_cipherHost->SendCommand(Meter::Reference, command, statusQuery, expected, waitMs);
}

std::string CSoundDlg::SendTargetCommand(const std::string& command, const std::string& statusQuery,
                                         const std::string& expected, unsigned waitMs) {
    return m_cipherHost->SendCommand(Meter::Target, command, statusQuery, expected, waitMs);
}

std::string CSoundDlg::ValueText(Meter meter, int channel) const {
    return m_values.at(Index(meter)).at(static_cast<size_t>(channel));
}

void CSoundDlg::ShowValue(Meter meter, int channel, const std::string& text) {
    m_values.at(Index(meter)).at(static_cast<size_t>(channel)) = text;
    SyncWindow();
}

void CSoundDlg::ShowForSchedulerRecording() {
    DestroyWindow();
    Create();
    m_bSchedulerRecording = 1;
    ShowWindow(true);
}

void CSoundDlg::OnShown() {
    if (!m_bFirstShow)
        return;
    m_bFirstShow = 0;
    // A window shown for a scheduled run's recording connects no meter and asks nothing.
    if (m_bSchedulerRecording)
        return;
    // Not inside the showing itself: the start-up asks the operator and waits.
    platform::PostToUiThread([self = std::weak_ptr<CSoundDlg*>(m_self)] {
        if (auto alive = self.lock(); alive && *alive && (*alive)->HasWindow())
            (*alive)->RunStartup();
    });
}

void CSoundDlg::OnCancel() {
    if (m_bRunning) {
        platform::AfxMessageBox(
            "ATTENZIONE: Verifica in corso.\nInterrompere la verifica e riprovare.", MB_ICONSTOP);
        return;
    }
    m_host.RequestAbortWait();
    m_bFirstShow = 1;
    // The next showing is a verification's unless a scheduled run asks again.
    m_bSchedulerRecording = 0;
    ShowWindow(false);
}

bool CSoundDlg::RunStartup() {
    if (m_bKeyAlignOnly)
        return true;
    platform::AfxMessageBox("Accendere strumentazione.", MB_ICONINFORMATION);
    web::WaitFeedback& pleaseWait = m_tools.pleaseWait;
    pleaseWait.ShowPleaseWait("Connessione con lo strumento di riferimento...");
    if (!verification::ConnectReferenceInstrument(m_host, m_tools, m_instruments)) {
        pleaseWait.HidePleaseWait();
        AddLog("Connessione strumento di riferimento FALLITA");
        platform::AfxMessageBox(
            "Strumento di riferimento non risponde.\nVerificare impostazioni porta seriale.",
            MB_ICONSTOP);
        return false;
    }
    m_bench.reference.serialNumber = m_instruments.refSerial;
    cipher::TakeRecordedCounters(m_bench.reference, m_tools.refRecord);

    pleaseWait.ShowPleaseWait("Connessione con lo strumento da verificare...");
    const BOOL answered = verification::ConnectInstrumentUnderTest(m_host, m_tools, m_instruments);
    pleaseWait.HidePleaseWait();
    if (!answered) {
        AddLog("Connessione strumento da verificare FALLITA");
        platform::AfxMessageBox(verification::TargetSilentText(m_tools));
        return false;
    }
    const verification::InstrumentIdentity target = m_instruments.target;
    if (target.model.empty())
        return false;
    SetTargetSerial(target.serial);
    AddLog("Strumenti collegati: REF SN " + m_bench.reference.serialNumber + " DUT SN " +
           target.serial);
    return true;
}

cipher::ManualReadingEntry CSoundDlg::EnterManualReading(
    const cipher::ManualReadingLabels& labels) {
    CSet_VScale_Dlg& dlg = m_ManualReadingDlg;
    if (!dlg.HasWindow()) {
        dlg.Create();
        dlg.m_strLabels = labels.labels;
        dlg.ShowOverloadBox(labels.overloadShown);
    }
    dlg.ShowWindow(true);
    // Nobody will answer once the program is ending or the bench window went away.
    while (dlg.IsWindowVisible() && !platform::EventLoop::QuitPending() && HasWindow())
        m_host.WaitWithMessages(kManualReadingStepMs);
    cipher::ManualReadingEntry entry;
    entry.values = dlg.m_strValues;
    entry.overload = dlg.m_bOverload != 0;
    entry.accepted = dlg.Accepted() && !dlg.IsWindowVisible();
    dlg.DestroyWindow();
    return entry;
}
