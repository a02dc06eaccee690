#pragma once
// The verification bench in a test: a host that stands for the application and the view and
// owns the link session, the instrument log and the please-wait box the bench is handed, with
// the web service's stand-in behind its web client and the two keyed simulated meters on
// pseudo-terminals as COM3 (reference) and COM4 (instrument under test).

#include <gtest/gtest.h>

#include <QDialog>
#include <algorithm>
#include <filesystem>
#include <functional>

#include "../cipher/keyed_meters.h"
#include "../web/recording_feedback.h"
#include "link/link_session.h"
#include "link/link_side.h"
#include "link/link_test_support.h"
#include "link/port_record.h"
#include "link/quiet_link_host.h"
#include "link/serial.h"
#include "platform/com_ports.h"
#include "platform/files.h"
#include "report/instr_log.h"
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

class TestHost : public verification::BenchHost {
    const std::string& m_programDir;

public:
    explicit TestHost(const std::string& programDir) : m_programDir(programDir) {
        ref.m_nComPort = kRefCom;
        ref.m_nBaudRate = kPortIniBaudRate;
        target.m_nComPort = kTargetCom;
        target.m_nBaudRate = kPortIniBaudRate;
        // With no command awaited whatever a listener reads is a stray.
        link.Router().SetStrayTaker([this](const std::string&) { return ++portMessages > 0; });
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
    void SavePortIni() override {
        ::SavePortIni(platform::JoinPath(m_programDir, "port.ini"), ref, target);
    }
    bool ViewPresent() override { return view; }

    // The port of `side` as the link session set it up.
    CSerial& Port(LinkSide side) { return dynamic_cast<CSerial&>(link.PortOf(side)); }
    bool IsOpen(LinkSide side) { return link.IsPortOpen(side); }
    // The instrument log's lines so far, without their time stamps.
    std::vector<std::string> LogLines() const {
        std::vector<std::string> files;
        const auto folder = std::filesystem::path(m_programDir) / "archivio_verifiche";
        if (std::filesystem::exists(folder))
            for (const auto& entry : std::filesystem::directory_iterator(folder))
                files.push_back(entry.path().string());
        std::sort(files.begin(), files.end());
        // A line is "<date> <time>: <text>\r\n"; a text may hold a bare "\n".
        constexpr size_t kStampLength = sizeof("2024/01/31 12:00:00: ") - 1;
        std::vector<std::string> lines;
        for (const std::string& file : files) {
            const std::string text = platform::ReadWholeFile(file).value_or("");
            for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos;
                 at = end + 2)
                lines.push_back(text.substr(at + kStampLength, end - at - kStampLength));
        }
        return lines;
    }

    PortRecord ref;
    PortRecord target;
    // Whether the simulated meters answered all they were sent (the fixture's meters).
    std::function<bool()> answered;
    linktest::PatientClock clock{0, [this] { return !answered || answered(); }};
    linktest::QuietLinkHost linkHost{ref, target, [this](unsigned ms) { WaitWithMessages(ms); }};
    LinkSession link{linkHost, clock, linkHost.Settings()};
    InstrLog log{m_programDir, [] { return std::string(kTargetSerial); }, nullptr};
    bool view = true;
    int abortWait = 0;
    int abortRequests = 0;
    int portMessages = 0;
    std::function<void(unsigned)> onWait;
    std::function<void(const std::string&)> benchLog;
    std::vector<unsigned> waits;
    webtest::RecordingFeedback feedback;
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
        host.link.ClosePorts();
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
    verification::BenchTools tools{host.link,  databases, host.feedback, host.log,
                                   programDir, host.ref,  host.target};
    verification::BenchInstruments instruments;
    CSoundDlg dlg{host, tools, instruments};
};

}  // namespace benchtest
