#pragma once
// The verification bench in a test: a host that stands for the application, the frame and the
// view and owns the bench's exchange and please-wait box, with the web service's stand-in behind
// its web client and the two keyed simulated meters on pseudo-terminals as COM3 (reference) and
// COM4 (instrument under test).

#include <gtest/gtest.h>

#include <QDialog>
#include <functional>

#include "../cipher/keyed_meters.h"
#include "../web/recording_feedback.h"
#include "link/direct_exchange.h"
#include "link/link_ports.h"
#include "link/link_test_support.h"
#include "link/port_record.h"
#include "link/serial_line_settings.h"
#include "link/serial_wnd.h"
#include "platform/com_ports.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "support/test_env.h"
#include "verification/bench_host.h"
#include "verification/sound_dlg.h"
#include "web/server_databases.h"
#include "web/web_client.h"
#include "webstub/webstub_process.h"

namespace benchtest {

inline constexpr const char* kRefSerial = "R100";
inline constexpr const char* kTargetSerial = "T200";
inline constexpr int kRefCom = 3;
inline constexpr int kTargetCom = 4;

class TestHost : public verification::BenchHost, public platform::MessageTarget {
public:
    explicit TestHost(const std::string& programDir) : m_programDir(programDir) {
        ref.m_nComPort = kRefCom;
        ref.m_nBaudRate = kPortIniBaudRate;
        target.m_nComPort = kTargetCom;
        target.m_nBaudRate = kPortIniBaudRate;
    }

    void WaitWithMessages(unsigned ms) override {
        waits.push_back(ms);
        if (onWait)
            onWait(ms);
        // With the clock this fast a 250 ms wait is a few real milliseconds, shorter than a
        // busy machine may take to let the simulated meters answer: it lasts until they did.
        if (platform::EventLoop::Wait(ms, &abortWait) == platform::EventLoop::WaitEnd::Elapsed &&
            answered)
            linktest::PumpUntil(answered);
    }
    void RequestAbortWait() override {
        abortWait = 1;
        ++abortRequests;
    }
    void SetBenchLog(std::function<void(const std::string&)> log) override {
        benchLog = std::move(log);
    }
    std::string ProgramDir() override { return m_programDir; }
    PortRecord& RefPortRecord() override { return ref; }
    PortRecord& TargetPortRecord() override { return target; }
    void SavePortIni() override {
        ::SavePortIni(platform::JoinPath(m_programDir, "port.ini"), ref, target);
    }
    bool ViewPresent() override { return view; }
    LinkPort* RefPort() override { return view ? &refPort : nullptr; }
    LinkPort* TargetPort() override { return view ? &targetPort : nullptr; }
    // As the link session opens its ports, with the host as their listeners' owner.
    bool OpenPort(LinkSide side, const PortSettings& settings) override {
        if (!view)
            return false;
        CSerialMFC& port = PortOf(side);
        port.Close();
        opened.push_back(settings);
        if (port.OpenFor(settings.comNumber, this) != 0)
            return false;
        if (port.SetUp(settings) != 0) {
            port.Close();
            return false;
        }
        return true;
    }
    void ClosePort(LinkSide side) override { PortOf(side).Close(); }
    CSerialMFC& PortOf(LinkSide side) { return side == LinkSide::Reference ? refPort : targetPort; }
    void OnMessage(unsigned, std::uintptr_t, std::intptr_t) override { ++portMessages; }
    void WriteInstrLog(const std::string& text) override { instrLog.push_back(text); }

    std::shared_ptr<LinkReplyState> link = std::make_shared<LinkReplyState>();
    CSerialMFC targetPort{link, 0};
    CSerialMFC refPort{link, 1};
    // Whether the simulated meters answered all they were sent (the fixture's meters).
    std::function<bool()> answered;
    linktest::PatientClock clock{0, [this] { return !answered || answered(); }};
    DirectExchange exchange{*link, clock, [this](unsigned ms) { WaitWithMessages(ms); }};
    PortRecord ref;
    PortRecord target;
    // The settings each port was opened on.
    std::vector<PortSettings> opened;
    bool view = true;
    int abortWait = 0;
    int abortRequests = 0;
    int portMessages = 0;
    std::function<void(unsigned)> onWait;
    std::function<void(const std::string&)> benchLog;
    std::vector<unsigned> waits;
    std::vector<std::string> instrLog;
    webtest::RecordingFeedback feedback;

private:
    const std::string& m_programDir;
};

template <typename Widget>
Widget* Control(QDialog* window, const QString& name) {
    return window ? window->findChild<Widget*>(name) : nullptr;
}

class BenchTest : public ::testing::Test, protected keytest::KeyedMeters {
protected:
    BenchTest() : KeyedMeters(31, 42) {
        for (auto* meter : {&referenceMeter, &targetMeter})
            meter->SetSetting("INSTR_M", "QS4060KRTN");
        referenceMeter.SetSetting("INSTR_N", kRefSerial);
        targetMeter.SetSetting("INSTR_N", kTargetSerial);
        platform::SetComDevice(kRefCom, referenceMeter.SlavePath());
        platform::SetComDevice(kTargetCom, targetMeter.SlavePath());
        client.SetEndpoint({stub.Host(), stub.PortText(), "tecnico", "segreto", stub.PortText()});
        client.SetWaitFunction([](std::uint32_t ms) { platform::EventLoop::Wait(ms); });
        databases.m_bInternetAvailable = 1;
        dlg.SetRandomSource([] { return 945; });
        host.answered = [this] { return referenceMeter.Answered() && targetMeter.Answered(); };
    }
    ~BenchTest() override {
        dlg.DestroyWindow();
        host.refPort.Close();
        host.targetPort.Close();
        platform::ClearComDevices();
    }

    void SetUp() override { ASSERT_TRUE(stub.Running()) << stub.StartError(); }

    std::string RefKeyLine() const { return keytest::KeyLine(kRefSerial, referenceKeyData); }
    std::string TargetKeyLine() const { return keytest::KeyLine(kTargetSerial, targetKeyData); }
    void ServeBothKeys() const {
        stub.ServeKeyFile(kRefSerial, RefKeyLine() + "\n");
        stub.ServeKeyFile(kTargetSerial, TargetKeyLine() + "\n");
    }

    // Both meters connected as the bench's start-up connects them.
    void ConnectBoth() {
        dlg.Create();
        op.ExpectBox("Accendere strumentazione.");
        ASSERT_TRUE(dlg.RunStartup());
    }

    bool InStep(const simmeter::CipherResponder& meter, cipher::Meter which) {
        return keytest::InStep(dlg.Bench().Of(which).cipher, meter);
    }

    PortRecord SavedRecord(cipher::Meter meter) {
        return keytest::SavedRecord(folder.File("port.ini"), meter);
    }

    size_t KeyDownloads() const {
        size_t count = 0;
        for (const auto& request : stub.Requests())
            count += request.uri.find("hash_keys") != std::string::npos;
        return count;
    }

    platform::ScopedClockSpeed fast{100.0};
    testenv::ScratchFolder folder;
    testenv::TestOperator op;
    webstub::WebStub stub;
    web::WebClient client;
    const std::string programDir = folder.Path();
    web::ServerDatabases databases{client, programDir};
    TestHost host{programDir};
    verification::BenchTools tools{host.exchange, databases, host.feedback};
    verification::BenchInstruments instruments;
    CSoundDlg dlg{host, tools, instruments};
};

}  // namespace benchtest
