// The calibration-expiry dialog with a simulated meter and the web service's stand-in: what it
// reads, what it writes and how its result string ends each way out. The unlock is played by
// the host (the enciphered exchange itself is tested with the bench).
#include <gtest/gtest.h>

#include <QWidget>
#include <functional>
#include <map>
#include <memory>

#include "link/link_test_support.h"
#include "link/serial_wnd.h"
#include "maintenance/fono_config_dlg.h"
#include "maintenance/protected_fields.h"
#include "platform/com_ports.h"
#include "platform/event_loop.h"
#include "platform/messages.h"
#include "sim_meter.h"
#include "support/test_env.h"
#include "web/web_client.h"
#include "web/web_test_env.h"

namespace {

using Fields = std::map<std::string, std::string>;

constexpr const char* kDone = "Aggiornamento data di scadenza taratura completato.";

class TestHost : public maintenance::CalibExpiryHost, public platform::MessageTarget {
public:
    CSerialMFC* TargetPort() override { return &port; }
    DirectExchange& LinkExchange() override { return link.exchange; }
    std::string UnlockTargetCryp() override {
        ++unlocks;
        return unlock();
    }
    web::WebClient& Web() override { return client; }
    std::string ProgramDir() override { return programDir; }
    std::string TechnicianId() override { return "654321"; }
    void WriteInstrLog(const std::string& text) override { log.push_back(text); }
    void OnMessage(unsigned, std::uintptr_t, std::intptr_t) override {}

    linktest::ProgramExchange link;
    CSerialMFC port;
    web::WebClient client;
    std::string programDir;
    std::function<std::string()> unlock;
    int unlocks = 0;
    std::vector<std::string> log;
};

class FonoConfigDlgTest : public ::testing::Test {
protected:
    FonoConfigDlgTest() {
        meter.SetSetting("INSTR_M", "QS4060KRTN");
        meter.SetSetting("INSTR_N", "T7");
        meter.SetBaud(0);
        meter.Modify([](simmeter::MeterState& s) {
            s.protectedFields = {{"CERT_DATE", "2023/01/01"},
                                 {"CALIB_CERT_DATE", "2023/01/02"},
                                 {"HOMOLOGATION", "OM-1"},
                                 {"MAKER", "Corvanex"}};
        });
        platform::SetComDevice(5, meter.SlavePath());
        host.programDir = folder.Path();
        host.client.SetWaitFunction([](std::uint32_t ms) { platform::EventLoop::Wait(ms); });
        host.unlock = [this] {
            meter.Modify([](simmeter::MeterState& s) { s.protectedUnlocked = true; });
            return std::string("1");
        };
    }
    ~FonoConfigDlgTest() override {
        host.port.Close();
        platform::ClearComDevices();
    }
    void SetUp() override {
        ASSERT_TRUE(stub.Running()) << stub.StartError();
        host.client.SetEndpoint({stub.Host(), stub.PortText(), "", ""});
        stub.WriteState("cert_dates", "T7;2025/06/30\n");
        ASSERT_EQ(host.port.Open("COM5", &host, 0, 0, 2048, 2048), 0);
    }

    Fields MeterFields() {
        Fields fields;
        meter.Modify([&](simmeter::MeterState& s) { fields = s.protectedFields; });
        return fields;
    }
    void Answer(int answer) {
        op.ExpectDialog("CFonoConfigDlg", [answer](platform::ModalDialog&) { return answer; });
    }

    platform::ScopedClockSpeed fast{50.0};
    testenv::ScratchFolder folder;
    testenv::TestOperator op;
    webstub::WebStub stub;
    simmeter::SimMeter meter;
    TestHost host;
    CFonoConfigDlg dlg{host};
};

TEST_F(FonoConfigDlgTest, ApplyingWritesTheChangedFieldsOnlyAndSaysOK) {
    // No associated calibrator on the server, no "setup.ini" in the folder.
    Answer(IDOK);
    op.ExpectBox(kDone);

    dlg.Create();

    EXPECT_EQ(dlg.m_strResult, "OK");
    EXPECT_FALSE(dlg.HasWindow());
    EXPECT_EQ(MeterFields().at("CERT_DATE"), "2025/06/30");
    EXPECT_EQ(MeterFields().at("CALIB_CERT_DATE"), "2023/01/02");
    EXPECT_EQ(host.unlocks, 1);
    const auto& fields = dlg.Update().Fields();
    EXPECT_EQ(fields[0].inMeter, "2023/01/01");
    EXPECT_EQ(fields[0].after, "2025/06/30");
    EXPECT_EQ(dlg.Update().Serial(), "T7");
    EXPECT_EQ(stub.ReadState("server_logs/calib_expiry_T7.txt"),
              "SN T7; TECNICO 654321; CERT_DATE 2023/01/01 -> 2025/06/30\n");

    // A second run finds the meter up to date and writes nothing.
    Answer(IDOK);
    op.ExpectBox("I dati dello strumento sono gia' aggiornati.");
    dlg.Create();
    EXPECT_EQ(dlg.m_strResult, "OK");
    EXPECT_EQ(host.unlocks, 1);
}

TEST_F(FonoConfigDlgTest, OnScreenTheWindowWaitsForItsButtons) {
    op.ExpectDialog("CFonoConfigDlg",
                    [](platform::ModalDialog& dialog) { return dialog.RunOnScreen(); });
    folder.Write("setup.ini", "MAKER=Corvanex Srl\n");
    dlg.Create();
    ASSERT_TRUE(dlg.HasWindow());
    EXPECT_TRUE(dlg.m_strResult.empty());
    EXPECT_TRUE(dlg.Window()->isVisible());

    op.ExpectBox(kDone);
    dlg.OnApply();
    EXPECT_EQ(dlg.m_strResult, "OK");
    EXPECT_EQ(MeterFields().at("MAKER"), "Corvanex Srl");
    EXPECT_EQ(host.unlocks, 2);
}

TEST_F(FonoConfigDlgTest, AnUnknownCertificateOrASilentMeterEndsTheReadingWithoutAsking) {
    stub.WriteState("cert_dates", "");
    op.ExpectBox("Certificato di taratura dello strumento T7 non trovato sul server (NOT_FOUND)");
    dlg.Create();
    EXPECT_EQ(dlg.m_strResult, "-1");
    EXPECT_FALSE(dlg.HasWindow());

    stub.WriteState("cert_dates", "T7;2025/06/30\n");
    meter.SilenceNext("SET:PROT:MAKER", -1);
    op.ExpectBox("Lettura dei dati dello strumento fallita.");
    dlg.Create();
    EXPECT_EQ(dlg.m_strResult, "-1");
    EXPECT_FALSE(dlg.HasWindow());
    EXPECT_EQ(host.unlocks, 0);
}

TEST_F(FonoConfigDlgTest, ARefusedUnlockOrWriteLeavesTheMeterAsItWas) {
    host.unlock = [] { return std::string("-1"); };
    Answer(IDOK);
    op.ExpectBox("DUT: Sblocco scrittura dati protetti fallito.");
    dlg.Create();
    EXPECT_EQ(dlg.m_strResult, "-1");
    EXPECT_EQ(MeterFields().at("CERT_DATE"), "2023/01/01");

    // Unlocked in name only: the meter refuses the write.
    host.unlock = [] { return std::string("1"); };
    Answer(IDOK);
    op.ExpectBox("ATTENZIONE:\nScrittura di CERT_DATE nello strumento fallita.");
    dlg.Create();
    EXPECT_EQ(dlg.m_strResult, "-1");
    EXPECT_EQ(MeterFields().at("CERT_DATE"), "2023/01/01");
    EXPECT_FALSE(stub.ReadState("server_logs/calib_expiry_T7.txt"));
}

TEST_F(FonoConfigDlgTest, AChangeTheServerDidNotRecordIsStillTheMetersNewState) {
    stub.AddFault("log_user.php", "status 500");
    Answer(IDOK);
    op.ExpectBox("la registrazione della modifica sul server e' fallita");
    dlg.Create();
    EXPECT_EQ(dlg.m_strResult, "OK");
    EXPECT_EQ(MeterFields().at("CERT_DATE"), "2025/06/30");
}

TEST(ProtectedFieldsTest, RepliesDatesAndSetupFile) {
    EXPECT_EQ(maintenance::ProtectedValue("SET:PROT:MAKER:A:B\x03", "MAKER"), "A:B");
    EXPECT_EQ(maintenance::ProtectedValue("SET:PROT:MAKERX:1", "MAKER"), std::nullopt);
    EXPECT_EQ(maintenance::CertificateDate(" 2025-06-30 "), "2025/06/30");
    EXPECT_EQ(maintenance::CertificateDate("30/06/2025"), "2025/06/30");
    for (const char* answer : {"", "NOT_FOUND", "2025/02/30"})
        EXPECT_EQ(maintenance::CertificateDate(answer), std::nullopt) << answer;

    testenv::ScratchFolder folder;
    folder.Write("setup.ini", "; note\r\nHOMOLOGATION = OM 7 \r\n=x\r\nMAKER=\r\n");
    EXPECT_EQ(maintenance::ReadSetupIni(folder.File("setup.ini")),
              (Fields{{"HOMOLOGATION", "OM 7"}, {"MAKER", ""}}));
    EXPECT_TRUE(maintenance::ReadSetupIni(folder.File("none.ini")).empty());
}

}  // namespace
